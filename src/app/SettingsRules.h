#pragma once
// What the settings page does with the four registry values, kept apart from the registry and the controls.
#include <array>
#include <optional>
#include <string>
#include <string_view>

namespace qs {

// HKEY_CURRENT_USER sub-key and its REG_SZ values.
inline constexpr std::string_view kSettingsKey = "SOFTWARE\\Quillstack";
inline constexpr std::string_view kEncodepathValue = "Encodepath";
inline constexpr std::string_view kSavepathValue = "Savepath";
inline constexpr std::string_view kLoadpathValue = "Loadpath";
inline constexpr std::string_view kBitrateValue = "Bitrate";

// Start-up reads every value with this default, so an absent value and one that holds "Error" look the same.
inline constexpr std::string_view kMissingSetting = "Error";

inline constexpr std::string_view kDefaultBitrate = "128000";
inline constexpr std::string_view kDefaultSaveFolder = "c:\\";
inline constexpr std::string_view kUnknownEncoderCaption = "Unknown";
inline constexpr std::string_view kEncoderBatchName = "encode.bat";

// Bitratebox's list, in order; the box stays editable and any typed text is used as it stands.
inline constexpr auto kBitrateChoices =
    std::to_array<std::string_view>({"32000", "40000", "48000", "56000", "64000", "80000", "96000", "112000", "128000",
                                     "160000", "192000", "224000", "256000", "320000"});

// The four texts as read at start-up, each kMissingSetting when absent.
struct TStoredSettings {
  std::string Encodepath;
  std::string Loadpath;
  std::string Savepath;
  std::string Bitrate;
};

// What start-up applies to the window. An empty optional leaves the control's design-time value in place.
struct TSettingsToApply {
  std::optional<std::string> AddDialogFolder;     // OpenDialog1 initial folder
  std::optional<std::string> SaveDialogFolder;    // SaveDialog1 initial folder
  std::optional<std::string> EncoderDialogFolder; // Encodedir initial folder
  std::string SaveFolderCaption;                  // Label3: always set
  std::optional<std::string> EncoderCaption;      // Enclocation
  std::optional<std::string> BitrateText;         // Bitratebox

  bool operator==(const TSettingsToApply&) const = default;
};

// Only a stored "Encodepath" makes the other values count; once it does, each of them is applied as read, so a
// missing "Savepath" shows as "Error". A missing "Bitrate" alone is mended to the default.
TSettingsToApply DecideLoadedSettings(const TStoredSettings& stored);

// The encoder folder for the encode.bat chosen in the encoder dialog (name compared ignoring ASCII case), keeping
// its trailing backslash; nullopt for any other file, which is ignored without a word.
std::optional<std::string> EncoderFolderFromBatch(std::string_view path);

// The save dialog's chosen file only marks a folder; the file itself is never created.
std::string SaveFolderFromDialog(std::string_view path);

// The "Loadpath" an encode run stores: the folder of the Add dialog's file name. nullopt when there is no folder
// to take (the queue was filled only by drops, so the dialog has no file name): the stored "Loadpath" is then kept
// and used as the load folder instead, so the value is never overwritten with an empty text.
std::optional<std::string> LoadpathToStore(std::string_view addDialogFileName);

} // namespace qs
