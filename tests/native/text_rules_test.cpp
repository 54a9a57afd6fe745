#include <gtest/gtest.h>

#include <string>
#include <utility>

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
    std::string FileName, FilePath;
  };
  const TCase cases[] = {
      {"full path", "C:\\Music\\Song.wav", "Song.wav", "C:\\Music\\"},
      {"no backslash", "song.wav", "song.wav", ""},
      {"folder only", "C:\\Out\\", "", "C:\\Out\\"},
      {"drive root", "c:\\x.wav", "x.wav", "c:\\"},
      {"UTF-8 names", "C:\\M\xC3\xBCsik\\Lied \xE2\x99\xAA.wav", "Lied \xE2\x99\xAA.wav", "C:\\M\xC3\xBCsik\\"},
      {"empty", "", "", ""},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    EXPECT_EQ(ExtractFileName(c.Path), c.FileName);
    EXPECT_EQ(ExtractFilePath(c.Path), c.FilePath);
  }
}

// Every "\n" gets its "\r", UTF-8 text passes byte for byte.
TEST(TextRules, LineBreaksGetTheirCarriageReturns) {
  const std::pair<std::string_view, std::string> cases[] = {
      {"one\ntwo\n", "one\r\ntwo\r\n"},
      {"\n\n", "\r\n\r\n"},
      {"Lied \xE2\x99\xAA\nend", "Lied \xE2\x99\xAA\r\nend"},
      {"", ""},
  };
  for (const auto& [text, expected] : cases) EXPECT_EQ(WithLineBreaks(text), expected) << text;
}

// A whole character gives its code point; anything that is not one gives 0.
TEST(TextRules, Utf8CodePointOfTheFirstCharacter) {
  const std::pair<std::string_view, char32_t> cases[] = {
      {"A", U'A'},
      {"\xC3\xA9t\xC3\xA9", U'\u00E9'},
      {"\xE2\x82\xAC", U'\u20AC'},
      {"\xF0\x9F\x8E\xB5", U'\U0001F3B5'},
      {"\xA9x", 0},    // a stray continuation byte
      {"\xE6\x97", 0}, // cut short
      {"\xC3x", 0},    // a lead byte without its continuation
      {"", 0},
  };
  for (const auto& [text, code] : cases)
    EXPECT_EQ(static_cast<unsigned>(Utf8CodePoint(text)), static_cast<unsigned>(code)) << text;
}

} // namespace
} // namespace qs
