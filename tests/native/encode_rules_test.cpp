#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "EncodeRules.h"

namespace qs {
namespace {

// UTF-8 texts used below.
constexpr std::string_view kEAcute = "\xC3\xA9";                        // é, 0x82 in the console's code page 437
constexpr std::string_view kFullwidthQuote = "\xEF\xBC\x82";            // U+FF02, no exact counterpart in code page 437
constexpr std::string_view kJapaneseMusic = "\xE9\x9F\xB3\xE6\xA5\xBD"; // 音楽
constexpr char kOemEAcute = '\x82';

// Stands in for the console code page 437 conversion: ASCII and é convert, anything else has no exact counterpart.
std::optional<std::string> ToCp437(std::string_view utf8) {
  std::string out;
  for (std::size_t i = 0; i < utf8.size();) {
    if (utf8.substr(i, kEAcute.size()) == kEAcute) {
      out += kOemEAcute;
      i += kEAcute.size();
    } else if (static_cast<unsigned char>(utf8[i]) < 0x80) {
      out += utf8[i++];
    } else {
      return std::nullopt;
    }
  }
  return out;
}

// A faulty converter that maps the fullwidth quote onto '"' the way a best-fit table does.
std::optional<std::string> ToCp437BestFit(std::string_view utf8) {
  std::string bent(utf8);
  for (std::size_t at; (at = bent.find(kFullwidthQuote)) != std::string::npos;)
    bent.replace(at, kFullwidthQuote.size(), "\"");
  return ToCp437(bent);
}

std::string Line(std::string_view bitrate, std::string_view input, std::string_view output) {
  return "call aacenc -m tf -eb .aac -r " + std::string(bitrate) + " -c -aac_raw -vr -eo .wav  \"" +
         std::string(input) + "\" -o \"" + std::string(output) + "\"";
}

// The line for ordinary paths, byte for byte, including the two spaces before the input's quote.
TEST(EncodeRules, ExampleLineAndGoBatBytes) {
  const std::string line = BuildEncodeLine("128000", "C:\\Music\\Song.wav", "D:\\Out\\");
  EXPECT_EQ(line, "call aacenc -m tf -eb .aac -r 128000 -c -aac_raw -vr -eo .wav  \"C:\\Music\\Song.wav\" -o "
                  "\"D:\\Out\\Song.aac\"");
  EXPECT_EQ(GoBatContent(line), line + "\r\n");
}

// Bitrate and save folder go in as they stand; the output keeps the input's name and case and ends in ".aac".
TEST(EncodeRules, LineKeepsTextsVerbatim) {
  struct TCase {
    const char* Name;
    std::string_view Bitrate, Input, SaveFolder;
    std::string Output;
  };
  const TCase cases[] = {
      {"upper-case .WAV", "128000", "D:\\In\\Track.WAV", "c:\\", "c:\\Track.aac"},
      {"typed bitrate", "96k", "C:\\Music\\Song.wav", "D:\\Out\\", "D:\\Out\\Song.aac"},
      {"Error save folder is a prefix", "128000", "C:\\Music\\Song.wav", "Error", "ErrorSong.aac"},
      {"shell characters inside quotes", "128000", "C:\\R&B (live)\\A & B.wav", "D:\\Out\\", "D:\\Out\\A & B.aac"},
      {"folder named loops.wav", "128000", "C:\\loops.wav", "D:\\", "D:\\loops.aac"},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    EXPECT_EQ(BuildEncodeLine(c.Bitrate, c.Input, c.SaveFolder), Line(c.Bitrate, c.Input, c.Output));
    const TEncodeLine prepared = PrepareEncodeLine({c.Bitrate, c.Input, std::nullopt, c.SaveFolder}, ToCp437);
    EXPECT_EQ(prepared.OemBytes, Line(c.Bitrate, c.Input, c.Output));
  }
}

// The base name is cut by position: names too short to hold ".wav" give an empty name, not a wrapped index.
TEST(EncodeRules, BaseNameForOutputCutsFourCharacters) {
  EXPECT_EQ(BaseNameForOutput("D:\\In\\Track.WAV"), "Track");
  EXPECT_EQ(BaseNameForOutput("Song.wav"), "Song");
  EXPECT_EQ(BaseNameForOutput("C:\\a\\.wav"), "");
  EXPECT_EQ(BaseNameForOutput("C:\\a\\ab"), "");
  EXPECT_EQ(BaseNameForOutput("ab"), "");
}

// A literal '%' must survive the interpreter's expansion: twice on Windows (CALL), once under Wine.
TEST(EncodeRules, PercentEscapedPerInterpreter) {
  struct TCase {
    const char* Name;
    TInterpreterRule Rule;
    std::string Input, Output;
  };
  const TCase cases[] = {
      {"Windows cmd", irWindowsCmd, "C:\\100%%%%\\a%%%%b.wav", "D:\\%%%%\\a%%%%b.aac"},
      {"Wine cmd", irWineCmd, "C:\\100%%\\a%%b.wav", "D:\\%%\\a%%b.aac"},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    const TEncodeLine prepared =
        PrepareEncodeLine({"128000", "C:\\100%\\a%b.wav", std::nullopt, "D:\\%\\", c.Rule}, ToCp437);
    ASSERT_TRUE(prepared.Ok());
    EXPECT_EQ(prepared.OemBytes, Line("128000", c.Input, c.Output));
  }
}

// The bytes written are the console code page's, not UTF-8.
TEST(EncodeRules, LineWrittenInConsoleCodePage) {
  const std::string input = "C:\\Caf" + std::string(kEAcute) + "\\Song.wav";
  const TEncodeLine prepared = PrepareEncodeLine({"128000", input, std::nullopt, "D:\\Out\\"}, ToCp437);
  ASSERT_TRUE(prepared.Ok());
  EXPECT_EQ(prepared.OemBytes, Line("128000", std::string("C:\\Caf") + kOemEAcute + "\\Song.wav", "D:\\Out\\Song.aac"));
}

// Rows whose line could not reach the encoder intact are refused with a reason, and nothing is written for them.
TEST(EncodeRules, RowsThatCannotBeWrittenIntact) {
  const std::string fullwidthQuoteName = "C:\\Music\\a" + std::string(kFullwidthQuote) + " & calc.wav";
  struct TCase {
    const char* Name;
    std::string Input;
    std::string_view SaveFolder;
    TOemConverter Converter;
    TLineFault Fault;
  };
  const TCase cases[] = {
      {"caret in input", "C:\\Music\\A^B.wav", "D:\\Out\\", ToCp437, lfCaret},
      {"caret in save folder", "C:\\Music\\Song.wav", "D:\\^Out\\", ToCp437, lfCaret},
      {"double quote", "C:\\a\" & calc & \".wav", "D:\\Out\\", ToCp437, lfUnsafeCharacter},
      {"line feed", "C:\\a\nb.wav", "D:\\Out\\", ToCp437, lfUnsafeCharacter},
      {"fullwidth quote not representable", fullwidthQuoteName, "D:\\Out\\", ToCp437, lfOutsideCodePage},
      {"fullwidth quote bent by best fit", fullwidthQuoteName, "D:\\Out\\", ToCp437BestFit, lfOutsideCodePage},
      {"character outside code page", "C:\\" + std::string(kJapaneseMusic) + "\\a.wav", "D:\\", ToCp437,
       lfOutsideCodePage},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    const TEncodeLine prepared = PrepareEncodeLine({"128000", c.Input, std::nullopt, c.SaveFolder}, c.Converter);
    EXPECT_EQ(prepared.Fault, c.Fault);
    EXPECT_TRUE(prepared.OemBytes.empty());
    EXPECT_FALSE(LineFaultText(prepared.Fault).empty());
  }
}

// The limit counts characters of the line as the interpreter reads it: escapes count, UTF-8 bytes do not.
TEST(EncodeRules, InterpreterLineLimit) {
  // Only the input's folder grows, so the line grows by one character per folder character.
  const auto inputForLineLength = [](std::size_t lineLength, std::string_view folderCharacter,
                                     std::string_view lastCharacter) {
    const std::size_t shortest = BuildEncodeLine("128000", "C:\\\\a.wav", "D:\\").size();
    std::string folder;
    for (std::size_t i = shortest + 1; i < lineLength; ++i) folder += folderCharacter;
    return "C:\\" + folder + std::string(lastCharacter) + "\\a.wav";
  };
  struct TCase {
    const char* Name;
    std::string Input;
    TInterpreterRule Rule;
    TLineFault Fault;
  };
  const TCase cases[] = {
      {"at the limit", inputForLineLength(kInterpreterLineLimit, "x", "x"), irWindowsCmd, lfNone},
      {"one past the limit", inputForLineLength(kInterpreterLineLimit + 1, "x", "x"), irWindowsCmd, lfTooLong},
      {"accented characters count once", inputForLineLength(kInterpreterLineLimit, kEAcute, "x"), irWindowsCmd, lfNone},
      // One character short of the limit as typed; "%%%%" adds three, "%%" one.
      {"percent escaped for Windows", inputForLineLength(kInterpreterLineLimit - 1, "x", "%"), irWindowsCmd, lfTooLong},
      {"percent escaped for Wine", inputForLineLength(kInterpreterLineLimit - 1, "x", "%"), irWineCmd, lfNone},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    const TEncodeLine prepared = PrepareEncodeLine({"128000", c.Input, std::nullopt, "D:\\", c.Rule}, ToCp437);
    EXPECT_EQ(prepared.Fault, c.Fault);
  }
}

// The 8.3 form stands in for the input path only when the long one cannot be written and the short one can.
TEST(EncodeRules, ShortPathFallback) {
  const std::string japaneseFolder = "C:\\" + std::string(kJapaneseMusic) + "\\Song.wav";
  const std::string japaneseName = "C:\\Music\\" + std::string(kJapaneseMusic) + ".wav";
  const std::string shortOutsideCodePage = "C:\\" + std::string(kJapaneseMusic) + "~1\\Song.wav";
  struct TCase {
    const char* Name;
    std::string Input;
    std::optional<std::string_view> ShortInput;
    TLineFault Fault;
    bool UsedShortPath;
    std::string Line;
  };
  const TCase cases[] = {
      {"long path preferred", "C:\\Music\\Song.wav", "C:\\MUSIC\\SONG.WAV", lfNone, false,
       Line("128000", "C:\\Music\\Song.wav", "D:\\Out\\Song.aac")},
      {"folder outside code page", japaneseFolder, "C:\\E381~1\\Song.wav", lfNone, true,
       Line("128000", "C:\\E381~1\\Song.wav", "D:\\Out\\Song.aac")},
      {"caret in folder", "C:\\A^B\\Song.wav", "C:\\AB~1\\Song.wav", lfNone, true,
       Line("128000", "C:\\AB~1\\Song.wav", "D:\\Out\\Song.aac")},
      {"no short form", japaneseFolder, std::nullopt, lfOutsideCodePage, false, ""},
      {"empty short form", japaneseFolder, "", lfOutsideCodePage, false, ""},
      {"short form unusable too: long fault reported", "C:\\A^B\\Song.wav", shortOutsideCodePage, lfCaret, false, ""},
      // The output keeps the long name's base, so a name the console cannot show still cannot be written.
      {"name outside code page", japaneseName, "C:\\Music\\E381~1.WAV", lfOutsideCodePage, false, ""},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    const TEncodeLine prepared = PrepareEncodeLine({"128000", c.Input, c.ShortInput, "D:\\Out\\"}, ToCp437);
    EXPECT_EQ(prepared.Fault, c.Fault);
    EXPECT_EQ(prepared.UsedShortPath, c.UsedShortPath);
    EXPECT_EQ(prepared.OemBytes, c.Line);
  }
}

// The end report names every file with its reason, in queue order; a run without problems has no report at all.
TEST(EncodeRules, EndReportListsEveryProblemInOrder) {
  EXPECT_EQ(EndReportText({}), "");
  EXPECT_EQ(EndReportText({{"C:\\a.wav", ExitCodeReason(3)}}),
            "1 file was not encoded:\n\nC:\\a.wav: the encoder's run ended with exit code 3");
  const std::string report =
      EndReportText({{"C:\\b.wav", LineFaultText(lfCaret)}, {"C:\\a.wav", NotStartedReason("")}});
  EXPECT_EQ(report, "2 files were not encoded:\n\nC:\\b.wav: " + LineFaultText(lfCaret) +
                        "\nC:\\a.wav: not run: the command interpreter could not be started");
  // A crash status reads as the hexadecimal code people search for, not as a ten-digit number.
  EXPECT_EQ(ExitCodeReason(0xC0000005UL), "the encoder's run ended with exit code 0xC0000005");
}

TEST(EncodeRules, ProgressCaptionAndQuitQuestion) {
  EXPECT_EQ(EncodeProgressCaption("QuillStack V3", 3, 12), "QuillStack V3 - encoding 3 of 12");
  EXPECT_EQ(QuitWhileEncodingQuestion(4), "4 files are still waiting to be encoded. Quit anyway?");
  EXPECT_EQ(QuitWhileEncodingQuestion(1), "1 file is still waiting to be encoded. Quit anyway?");
}

} // namespace
} // namespace qs
