#pragma once
// The one line of go.bat for a queue row: built from the row's path, the bitrate and the save folder, escaped for
// the command interpreter that will read it, and refused when the interpreter could not receive it intact.
#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace qs {

// Which command interpreter runs go.bat; they disagree on how often a CALL line is percent-expanded.
enum TInterpreterRule : unsigned char { irWindowsCmd, irWineCmd };

// Why a row's line cannot be written intact. lfOutsideCodePage is found by the caller's conversion to the console
// code page; the others by the rules here.
enum TLineFault : unsigned char { lfNone, lfUnsafeCharacter, lfCaret, lfTooLong, lfOutsideCodePage, lfBadBitrate };

// The piece of the line that holds the culprit, for the report to name it.
enum TLinePart : unsigned char { lpNone, lpBitrate, lpInputPath, lpSaveFolder };

// The longest command line the interpreter accepts, in characters; a longer batch line is cut short.
inline constexpr std::size_t kInterpreterLineLimit = 8191;

// Converts UTF-8 to the bytes of the console's (OEM) code page, or nullopt when some character has no exact
// counterpart there. It must not substitute look-alikes: a best-fit fullwidth quote (U+FF02) would become '"'.
using TOemConverter = std::function<std::optional<std::string>(std::string_view utf8)>;

// The bitrate is written into the line unquoted, so anything but letters (A to Z, either case), digits and dots
// could end the option or start a command ("128000 & mkdir X"). The message for the error box when the text
// cannot be used, or nullopt when it can.
std::optional<std::string> BitrateRefusal(std::string_view bitrate);

// The input's name without its last 4 characters (".wav" in any case; queued paths always end in it).
std::string BaseNameForOutput(std::string_view inputPath);

// <saveFolder><base name>.aac: the save folder is used as it stands, so "Error" becomes a name prefix.
std::string OutputPathFor(std::string_view inputPath, std::string_view saveFolder);

// The line as the encoder should receive it, before any escaping for the interpreter.
std::string BuildEncodeLine(std::string_view bitrate, std::string_view inputPath, std::string_view saveFolder);

// Writes each '%' so that it reaches the encoder as one '%'.
std::string EscapePercents(std::string_view text, TInterpreterRule rule);

// go.bat holds exactly the one line and its CR LF.
std::string GoBatContent(std::string_view line);

struct TEncodeRow {
  std::string_view Bitrate; // verbatim, as typed
  std::string_view InputPath;
  std::optional<std::string_view> ShortInputPath; // the 8.3 form, when the file system has one
  std::string_view SaveFolder;
  TInterpreterRule Rule = irWindowsCmd;
};

struct TEncodeLine {
  std::string OemBytes; // the line to write, without CR LF; empty when Fault is set
  TLineFault Fault = lfNone;
  TLinePart Part = lpNone; // where the culprit is, when there is one to name
  std::string Character;   // the culprit character (UTF-8), or the whole bitrate text for lfBadBitrate
  std::size_t Length = 0;  // the line's length in the interpreter's characters, for lfTooLong
  bool UsedShortPath = false;
  bool Ok() const { return Fault == lfNone; }
};

// The long path is tried first. When its line cannot be written, the short form replaces the input path (the output
// keeps the long name's base); the fault reported for a row that fails both ways is the long path's.
TEncodeLine PrepareEncodeLine(const TEncodeRow& row, const TOemConverter& toOem);

// For the end-of-run report: completes "<file>: ...", naming the piece and the character at fault.
std::string LineFaultReason(const TEncodeLine& line);

// A row that did not end well, for the report at the end of a run.
struct TRowProblem {
  std::string File;
  std::string Reason; // completes "<file>: ..."

  bool operator==(const TRowProblem&) const = default;
};

// The reason for a row whose interpreter ended with a non-zero exit code.
std::string ExitCodeReason(unsigned long exitCode);

// The reason for a row whose interpreter could not be started; `why` is the system's own explanation.
std::string NotStartedReason(std::string_view why);

// The reasons for the row whose go.bat could not be written and for the rows after it, which that ends.
std::string GoBatNotWrittenReason();
std::string RunEndedEarlierReason();

// "53 of 101 files were not encoded".
std::string EndReportSummary(std::size_t notEncoded, std::size_t total);

// One "<file>: <reason>" line per problem, in queue order, joined by line feeds.
std::string EndReportLines(const std::vector<TRowProblem>& problems);

// The whole report as text (the summary, a blank line, the lines), for copying. Empty when there is no problem,
// because a run in which all went well shows nothing.
std::string EndReportText(const std::vector<TRowProblem>& problems, std::size_t total);

// The window caption while rows are waiting: "<caption> - encoding <current> of <total>", counted from 1.
std::string EncodeProgressCaption(std::string_view idleCaption, std::size_t current, std::size_t total);

// Asked when the window is closed while rows are still waiting.
std::string QuitWhileEncodingQuestion(std::size_t waiting);

} // namespace qs
