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

// Rows whose line could not reach the encoder intact are refused; the reason names the piece and the character.
TEST(EncodeRules, RowsThatCannotBeWrittenIntact) {
  const std::string fullwidthQuoteName = "C:\\Music\\a" + std::string(kFullwidthQuote) + " & calc.wav";
  const std::string bentQuoteReason = "not run: the input path holds the character \"" + std::string(kFullwidthQuote) +
                                      "\" (U+FF02), which the console's code page cannot hold";
  struct TCase {
    const char* Name;
    std::string Bitrate, Input, SaveFolder;
    TOemConverter Converter;
    TLineFault Fault;
    std::string Reason;
  };
  const TCase cases[] = {
      {"caret in input", "128000", "C:\\Music\\A^B.wav", "D:\\Out\\", ToCp437, lfCaret,
       "not run: the input path holds a caret (^), which the command interpreter would double"},
      {"caret in save folder", "128000", "C:\\Music\\Song.wav", "D:\\^Out\\", ToCp437, lfCaret,
       "not run: the save folder holds a caret (^), which the command interpreter would double"},
      {"double quote", "128000", "C:\\a\" & calc & \".wav", "D:\\Out\\", ToCp437, lfUnsafeCharacter,
       "not run: the input path holds a double quote (\"), which would break the command line"},
      {"line feed", "128000", "C:\\a\nb.wav", "D:\\Out\\", ToCp437, lfUnsafeCharacter,
       "not run: the input path holds the control character U+000A, which would break the command line"},
      {"tab in save folder", "128000", "C:\\a.wav", "D:\\O\tut\\", ToCp437, lfUnsafeCharacter,
       "not run: the save folder holds the control character U+0009, which would break the command line"},
      {"fullwidth quote not representable", "128000", fullwidthQuoteName, "D:\\Out\\", ToCp437, lfOutsideCodePage,
       bentQuoteReason},
      {"fullwidth quote bent by best fit", "128000", fullwidthQuoteName, "D:\\Out\\", ToCp437BestFit, lfOutsideCodePage,
       bentQuoteReason},
      {"character outside code page", "128000", "C:\\" + std::string(kJapaneseMusic) + "\\a.wav", "D:\\", ToCp437,
       lfOutsideCodePage,
       "not run: the input path holds the character \"\xE9\x9F\xB3\" (U+97F3), which the console's code page cannot "
       "hold"},
      {"save folder outside code page", "128000", "C:\\a.wav", "D:\\\xCE\xA9\\", ToCp437, lfOutsideCodePage,
       "not run: the save folder holds the character \"\xCE\xA9\" (U+03A9), which the console's code page cannot "
       "hold"},
      {"character beyond the first plane", "128000", "C:\\\xF0\x9F\x8E\xB5.wav", "D:\\", ToCp437, lfOutsideCodePage,
       "not run: the input path holds the character \"\xF0\x9F\x8E\xB5\" (U+1F3B5), which the console's code page "
       "cannot hold"},
      {"bitrate with a command", "128000 & mkdir X", "C:\\a.wav", "D:\\", ToCp437, lfBadBitrate,
       "not run: the bitrate \"128000 & mkdir X\" may hold only letters (A to Z), digits and dots"},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    const TEncodeLine prepared = PrepareEncodeLine({c.Bitrate, c.Input, std::nullopt, c.SaveFolder}, c.Converter);
    EXPECT_EQ(prepared.Fault, c.Fault);
    EXPECT_TRUE(prepared.OemBytes.empty());
    EXPECT_EQ(LineFaultReason(prepared), c.Reason);
  }
}

// Only letters, digits and dots can stand unquoted in the line; the refusal names the text as typed.
TEST(EncodeRules, BitrateRefusal) {
  struct TCase {
    const char* Name;
    std::string_view Bitrate;
    std::optional<std::string> Message;
  };
  const auto refused = [](std::string_view text) {
    return "The bitrate \"" + std::string(text) +
           "\" cannot be used: a bitrate may hold only letters (A to Z), digits and dots";
  };
  const TCase cases[] = {
      {"a listed choice", "128000", std::nullopt},
      {"typed with a unit", "96k", std::nullopt},
      {"letters, digits and dots", "1.5e5X", std::nullopt},
      {"empty", "", "The bitrate box is empty: type a bitrate such as 128000 or choose one"},
      {"a second command", "128000 & mkdir X", refused("128000 & mkdir X")},
      {"percent", "50%", refused("50%")},
      {"quote", "128\"000", refused("128\"000")},
      {"space", "128 000", refused("128 000")},
      {"leading minus", "-128000", refused("-128000")},
      {"letter outside A to Z", "128\xC3\xA9", refused("128\xC3\xA9")},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    EXPECT_EQ(BitrateRefusal(c.Bitrate), c.Message);
  }
}

// The limit is the interpreter's 8,191 characters, counted as it reads the line: escapes count, UTF-8 bytes do not.
TEST(EncodeRules, InterpreterLineLimit) {
  constexpr std::size_t kLimit = 8191;
  ASSERT_EQ(kInterpreterLineLimit, kLimit);
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
    std::string Reason;
  };
  const std::string tooLong = "not run: its command line would be 8192 characters long, over the command "
                              "interpreter's limit of 8191";
  const TCase cases[] = {
      {"at the limit", inputForLineLength(kLimit, "x", "x"), irWindowsCmd, lfNone, ""},
      {"one past the limit", inputForLineLength(kLimit + 1, "x", "x"), irWindowsCmd, lfTooLong, tooLong},
      {"accented characters count once", inputForLineLength(kLimit, kEAcute, "x"), irWindowsCmd, lfNone, ""},
      // One character short of the limit as typed; "%%%%" adds three, "%%" one.
      {"percent escaped for Windows", inputForLineLength(kLimit - 1, "x", "%"), irWindowsCmd, lfTooLong,
       "not run: its command line would be 8193 characters long, over the command interpreter's limit of 8191"},
      {"percent escaped for Wine", inputForLineLength(kLimit - 1, "x", "%"), irWineCmd, lfNone, ""},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    const TEncodeLine prepared = PrepareEncodeLine({"128000", c.Input, std::nullopt, "D:\\", c.Rule}, ToCp437);
    EXPECT_EQ(prepared.Fault, c.Fault);
    EXPECT_EQ(LineFaultReason(prepared), c.Reason);
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

// The report: a summary counting the files not encoded against all, then every file with its reason in queue order;
// a run without problems has no report at all.
TEST(EncodeRules, EndReportCountsAndListsEveryProblemInOrder) {
  struct TSummaryCase {
    std::size_t NotEncoded, Total;
    const char* Text;
  };
  const TSummaryCase summaries[] = {
      {53, 101, "53 of 101 files were not encoded"},
      {1, 3, "1 of 3 files was not encoded"},
      {1, 1, "1 of 1 file was not encoded"},
      {2, 2, "2 of 2 files were not encoded"},
  };
  for (const TSummaryCase& c : summaries) EXPECT_EQ(EndReportSummary(c.NotEncoded, c.Total), c.Text) << c.Text;

  EXPECT_EQ(EndReportText({}, 4), "");
  const std::vector<TRowProblem> problems = {{"C:\\b.wav", ExitCodeReason(3)},
                                             {"C:\\a.wav", NotStartedReason("COMSPEC is not set")},
                                             {"C:\\c.wav", ExitCodeReason(0xC0000005UL)}};
  const std::string lines = "C:\\b.wav: the encoder's run ended with exit code 3\n"
                            "C:\\a.wav: not run: the command interpreter could not be started (COMSPEC is not set)\n"
                            // A crash status reads as the hexadecimal code people search for.
                            "C:\\c.wav: the encoder's run ended with exit code 0xC0000005";
  EXPECT_EQ(EndReportLines(problems), lines);
  EXPECT_EQ(EndReportText(problems, 5), "3 of 5 files were not encoded\n\n" + lines);
}

TEST(EncodeRules, ProgressCaptionAndQuitQuestion) {
  EXPECT_EQ(EncodeProgressCaption("QuillStack V3", 3, 12), "QuillStack V3 - encoding 3 of 12");
  EXPECT_EQ(QuitWhileEncodingQuestion(4), "4 files are still waiting to be encoded. Quit anyway?");
  EXPECT_EQ(QuitWhileEncodingQuestion(1), "1 file is still waiting to be encoded. Quit anyway?");
}

} // namespace
} // namespace qs
