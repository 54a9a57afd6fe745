// The settings kept in the registry, and the settings page.
#include "Main.h"

#include "Registry.h"
#include "SettingsRules.h"

namespace qs {

namespace {

std::string AsString(std::string_view text) { return std::string(text); }

// Every value is read before any is applied, so a value of the wrong type leaves the window at its design-time
// settings as a whole rather than half applied.
TStoredSettings ReadStoredSettings() {
  TRegistry registry;
  registry.OpenKey(AsString(kSettingsKey), true);
  TStoredSettings stored;
  const std::string missing = AsString(kMissingSetting);
  stored.Encodepath = registry.ReadStringOr(AsString(kEncodepathValue), missing);
  stored.Loadpath = registry.ReadStringOr(AsString(kLoadpathValue), missing);
  stored.Savepath = registry.ReadStringOr(AsString(kSavepathValue), missing);
  stored.Bitrate = registry.ReadStringOr(AsString(kBitrateValue), missing);
  registry.CloseKey();
  return stored;
}

void StoreSetting(std::string_view name, const std::string& text) {
  TRegistry registry;
  registry.OpenKey(AsString(kSettingsKey), true);
  registry.WriteString(AsString(name), text);
  registry.CloseKey();
}

} // namespace

void TMain::Loadsettings(TComponent*) {
  const TSettingsToApply apply = DecideLoadedSettings(ReadStoredSettings());
  if (apply.AddDialogFolder) OpenDialog1->SetInitialDir(*apply.AddDialogFolder);
  if (apply.SaveDialogFolder) SaveDialog1->SetInitialDir(*apply.SaveDialogFolder);
  if (apply.EncoderDialogFolder) Encodedir->SetInitialDir(*apply.EncoderDialogFolder);
  Label3->SetCaption(apply.SaveFolderCaption);
  if (apply.EncoderCaption) Enclocation->SetCaption(*apply.EncoderCaption);
  if (apply.BitrateText) Bitratebox->SetText(*apply.BitrateText);
}

void TMain::ChangeEncClick(TComponent*) {
  if (!Encodedir->Execute()) return;
  const std::optional<std::string> folder = EncoderFolderFromBatch(Encodedir->FileName());
  if (!folder) return;
  StoreSetting(kEncodepathValue, *folder);
  Enclocation->SetCaption(*folder);
  if (ListView1->Count() > 0) Encode->SetEnabled(true);
}

void TMain::ChangeSaveClick(TComponent*) {
  if (!SaveDialog1->Execute()) return;
  const std::string folder = SaveFolderFromDialog(SaveDialog1->FileName());
  StoreSetting(kSavepathValue, folder);
  Label3->SetCaption(folder);
}

void TMain::ResetbuttonClick(TComponent*) { Bitratebox->SetText(AsString(kDefaultBitrate)); }

std::string TMain::StoreRunSettings(const std::string& bitrate) {
  TRegistry registry;
  registry.OpenKey(AsString(kSettingsKey), true);
  std::string loadFolder;
  if (const std::optional<std::string> folder = LoadpathToStore(OpenDialog1->FileName())) {
    loadFolder = *folder;
    registry.WriteString(AsString(kLoadpathValue), loadFolder);
  } else {
    loadFolder = registry.ReadStringOr(AsString(kLoadpathValue), std::string());
  }
  registry.WriteString(AsString(kBitrateValue), bitrate);
  // With no encoder ever chosen, the folder of the last added files stands in for it.
  std::string encoderFolder = registry.ReadStringOr(AsString(kEncodepathValue), loadFolder);
  registry.CloseKey();
  return encoderFolder;
}

} // namespace qs
