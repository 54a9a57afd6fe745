#include "SettingsRules.h"

#include "TextRules.h"

namespace qs {

TSettingsToApply DecideLoadedSettings(const TStoredSettings& stored) {
  TSettingsToApply apply;
  if (stored.Encodepath == kMissingSetting) {
    apply.SaveFolderCaption = std::string(kDefaultSaveFolder);
    return apply;
  }
  apply.AddDialogFolder = stored.Loadpath;
  apply.SaveDialogFolder = stored.Savepath;
  apply.EncoderDialogFolder = stored.Encodepath;
  apply.SaveFolderCaption = stored.Savepath;
  apply.EncoderCaption = stored.Encodepath;
  apply.BitrateText = stored.Bitrate == kMissingSetting ? std::string(kDefaultBitrate) : stored.Bitrate;
  return apply;
}

std::optional<std::string> EncoderFolderFromBatch(std::string_view path) {
  if (!SameTextAscii(ExtractFileName(path), kEncoderBatchName)) return std::nullopt;
  return std::string(path.substr(0, path.size() - kEncoderBatchName.size()));
}

std::string SaveFolderFromDialog(std::string_view path) { return ExtractFilePath(path); }

std::optional<std::string> LoadpathToStore(std::string_view addDialogFileName) {
  std::string folder = ExtractFilePath(addDialogFileName);
  if (folder.empty()) return std::nullopt;
  return folder;
}

} // namespace qs
