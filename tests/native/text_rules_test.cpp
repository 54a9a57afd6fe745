#include <gtest/gtest.h>

#include <string>

#include "TextRules.h"

namespace qs {
namespace {

// Only a–z and A–Z fold into each other; characters 0x20 apart that are not letters, and non-ASCII letters, do not.
TEST(TextRules, SameTextAsciiFoldsAsciiLettersOnly) {
  struct TCase {
    const char* Name;
    std::string_view A, B;
    bool Same;
  };
  const TCase cases[] = {
      {"mixed case", "wav", "WaV", true},
      {"encode.bat name", "ENCODE.BAT", "encode.bat", true},
      {"empty texts", "", "", true},
      {"different length", "wav", "wa", false},
      {"brackets are not letters", "[", "{", false},
      {"at sign is not a letter", "@", "`", false},
      {"accented letters keep their case", "\xC3\xA9", "\xC3\x89", false}, // é vs É
      {"different letters", "wav", "wab", false},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    EXPECT_EQ(SameTextAscii(c.A, c.B), c.Same);
  }
}

// The name and folder parts split at the last backslash, and a UTF-8 name is never cut inside a character.
TEST(TextRules, PathPartsSplitAtLastBackslash) {
  struct TCase {
    const char* Name;
    std::string_view Path;
    std::string FileName, DropName, FilePath;
  };
  const TCase cases[] = {
      {"full path", "C:\\Music\\Song.wav", "Song.wav", "Song.wav", "C:\\Music\\"},
      {"no backslash", "song.wav", "song.wav", "", ""},
      {"folder only", "C:\\Out\\", "", "", "C:\\Out\\"},
      {"drive root", "c:\\x.wav", "x.wav", "x.wav", "c:\\"},
      {"UTF-8 names", "C:\\M\xC3\xBCsik\\Lied \xE2\x99\xAA.wav", "Lied \xE2\x99\xAA.wav", "Lied \xE2\x99\xAA.wav",
       "C:\\M\xC3\xBCsik\\"},
      {"empty", "", "", "", ""},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    EXPECT_EQ(ExtractFileName(c.Path), c.FileName);
    EXPECT_EQ(DropFileName(c.Path), c.DropName);
    EXPECT_EQ(ExtractFilePath(c.Path), c.FilePath);
  }
}

// The Add dialog takes the extension from the whole path, the drop target from the name part only; both accept
// "wav" in any ASCII case and nothing else.
TEST(TextRules, WavTestsOfAddDialogAndDropTarget) {
  struct TCase {
    const char* Name;
    std::string_view Path;
    bool AddDialogAccepts;
    std::string DropExtension;
    bool DropAccepts;
  };
  const TCase cases[] = {
      {"upper-case extension", "C:\\a\\x.WAV", true, "WAV", true},
      {"mixed-case extension", "C:\\a\\Take1.Wav", true, "Wav", true},
      {"other type", "C:\\a\\y.mp3", false, "mp3", false},
      {"dot only in folder", "C:\\my.music\\song", false, "", false},
      {"file in folder named .wav", "C:\\old.wav\\song", false, "", false},
      {"last extension counts", "C:\\a\\archive.wav.bak", false, "bak", false},
      {"folder named loops.wav", "C:\\loops.wav", true, "wav", true},
      {"longer extension", "C:\\a\\x.wavx", false, "wavx", false},
      {"trailing dot", "C:\\a\\x.", false, "", false},
      {"name without backslash", "x.wav", true, "", false},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    EXPECT_EQ(HasWavExtension(c.Path), c.AddDialogAccepts);
    const TDroppedPath dropped = SplitDroppedPath(c.Path);
    EXPECT_EQ(dropped.FileWithPath, c.Path);
    EXPECT_EQ(dropped.Extension, c.DropExtension);
    EXPECT_EQ(IsWavExtension(dropped.Extension), c.DropAccepts);
  }
}

} // namespace
} // namespace qs
