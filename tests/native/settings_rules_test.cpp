#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "SettingsRules.h"

namespace qs {
namespace {

const std::string kError(kMissingSetting);

// Start-up: "Encodepath" alone decides whether anything stored is applied; once it is, the others are applied as
// read ("Error" included), and only a missing bitrate is mended.
TEST(SettingsRules, LoadsettingsSentinelCombinations) {
  struct TCase {
    const char* Name;
    TStoredSettings Stored;
    TSettingsToApply Expected;
  };
  const TCase cases[] = {
      {"first start, nothing stored",
       {kError, kError, kError, kError},
       {std::nullopt, std::nullopt, std::nullopt, "c:\\", std::nullopt, std::nullopt}},
      {"save folder without encoder is ignored",
       {kError, "C:\\Music\\", "D:\\Out\\", "96000"},
       {std::nullopt, std::nullopt, std::nullopt, "c:\\", std::nullopt, std::nullopt}},
      {"all stored",
       {"C:\\Enc\\", "C:\\Music\\", "D:\\Out\\", "96000"},
       {"C:\\Music\\", "D:\\Out\\", "C:\\Enc\\", "D:\\Out\\", "C:\\Enc\\", "96000"}},
      {"save folder missing shows Error",
       {"C:\\Enc\\", "C:\\Music\\", kError, "96000"},
       {"C:\\Music\\", kError, "C:\\Enc\\", kError, "C:\\Enc\\", "96000"}},
      {"load folder missing is applied as Error",
       {"C:\\Enc\\", kError, "D:\\Out\\", "96000"},
       {kError, "D:\\Out\\", "C:\\Enc\\", "D:\\Out\\", "C:\\Enc\\", "96000"}},
      {"bitrate missing becomes the default",
       {"C:\\Enc\\", "C:\\Music\\", "D:\\Out\\", kError},
       {"C:\\Music\\", "D:\\Out\\", "C:\\Enc\\", "D:\\Out\\", "C:\\Enc\\", "128000"}},
      {"only the encoder stored",
       {"C:\\Enc\\", kError, kError, kError},
       {kError, kError, "C:\\Enc\\", kError, "C:\\Enc\\", "128000"}},
      {"typed bitrate kept verbatim",
       {"C:\\Enc\\", "C:\\Music\\", "D:\\Out\\", "96k"},
       {"C:\\Music\\", "D:\\Out\\", "C:\\Enc\\", "D:\\Out\\", "C:\\Enc\\", "96k"}},
      {"sentinel is case-sensitive",
       {"error", "ERROR", "Error ", "error"},
       {"ERROR", "Error ", "error", "Error ", "error", "error"}},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    EXPECT_EQ(DecideLoadedSettings(c.Stored), c.Expected);
  }
}

// Only a file named encode.bat (any ASCII case) designates the encoder; its folder keeps the backslash.
TEST(SettingsRules, EncoderFolderFromChosenBatch) {
  struct TCase {
    const char* Name;
    std::string_view Path;
    std::optional<std::string> Folder;
  };
  const TCase cases[] = {
      {"lower case", "C:\\Enc\\encode.bat", "C:\\Enc\\"},
      {"upper case", "C:\\Tools\\ENCODE.BAT", "C:\\Tools\\"},
      {"mixed case", "C:\\Tools\\Encode.Bat", "C:\\Tools\\"},
      {"UTF-8 folder", "C:\\M\xC3\xBCsik\\encode.bat", "C:\\M\xC3\xBCsik\\"},
      {"similar name", "C:\\Tools\\encoder.bat", std::nullopt},
      {"name ending in encode.bat", "C:\\Tools\\myencode.bat", std::nullopt},
      {"folder named encode.bat", "C:\\encode.bat\\readme.txt", std::nullopt},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    EXPECT_EQ(EncoderFolderFromBatch(c.Path), c.Folder);
  }
}

// The save dialog's file name only marks a folder.
TEST(SettingsRules, SaveFolderCutFromDialogFile) {
  EXPECT_EQ(SaveFolderFromDialog("C:\\Out\\example.aac"), "C:\\Out\\");
  EXPECT_EQ(SaveFolderFromDialog("D:\\example.aac"), "D:\\");
}

// "Loadpath" is never replaced by an empty folder: without a folder in the Add dialog's file name the stored value
// stays.
TEST(SettingsRules, LoadpathStoredOnlyWhenTheAddDialogHasAFolder) {
  struct TCase {
    const char* Name;
    std::string_view AddDialogFileName;
    std::optional<std::string> Stored;
  };
  const TCase cases[] = {
      {"file chosen", "C:\\Music\\Song.wav", "C:\\Music\\"},
      {"queue filled by drops only", "", std::nullopt},
      {"name without folder", "Song.wav", std::nullopt},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    EXPECT_EQ(LoadpathToStore(c.AddDialogFileName), c.Stored);
  }
}

} // namespace
} // namespace qs
