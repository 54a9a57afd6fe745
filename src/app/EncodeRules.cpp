#include "EncodeRules.h"

#include <algorithm>
#include <iomanip>
#include <sstream>
#include <utility>

#include "TextRules.h"

namespace qs {

namespace {

constexpr std::string_view kCommandHead = "call aacenc -m tf -eb .aac -r ";
constexpr std::string_view kCommandOptions = " -c -aac_raw -vr -eo .wav  ";
constexpr std::string_view kOutputSwitch = " -o ";
constexpr std::string_view kOutputExtension = ".aac";
constexpr char kQuote = '"';
constexpr std::size_t kInputExtensionLength = 4; // ".wav"
constexpr std::string_view kLineEnd = "\r\n";

constexpr char kPercent = '%';
constexpr char kCaret = '^';
constexpr unsigned char kFirstPrintable = 0x20;

// Percent expansion turns "%%" into "%". Windows' cmd expands a batch line once while reading it and CALL expands
// the result a second time, so a literal '%' must be written "%%%%". Wine's cmd, when CALL's target is a program,
// expands only once, so "%%" is right there and "%%%%" would hand the encoder "%%".
constexpr std::string_view kEscapedPercentWindows = "%%%%";
constexpr std::string_view kEscapedPercentWine = "%%";

// A converter that maps a look-alike onto one of these would open the quotes or start a variable reference, so
// their count must not change in conversion. No double-byte code page uses either as a trail byte.
constexpr std::string_view kBytesConversionMustKeep = "\"%";

// Characters per UTF-8 lead byte as the interpreter counts them (UTF-16 units): four-byte sequences are pairs.
constexpr unsigned char kContinuationMask = 0xC0;
constexpr unsigned char kContinuationBits = 0x80;
constexpr unsigned char kFourByteLead = 0xF0;
constexpr std::size_t kSurrogatePairLength = 2;

std::size_t InterpreterLength(std::string_view utf8) {
  std::size_t length = 0;
  for (const char c : utf8) {
    const auto byte = static_cast<unsigned char>(c);
    if ((byte & kContinuationMask) == kContinuationBits) continue;
    length += byte >= kFourByteLead ? kSurrogatePairLength : 1;
  }
  return length;
}

std::string ComposeLine(std::string_view bitrate, std::string_view input, std::string_view output) {
  std::string line(kCommandHead);
  line += bitrate;
  line += kCommandOptions;
  line += kQuote;
  line += input;
  line += kQuote;
  line += kOutputSwitch;
  line += kQuote;
  line += output;
  line += kQuote;
  return line;
}

// A quote would close the quoted path early and let the rest run as commands; a control character would end or
// bend the line. Windows' CALL doubles every caret, quoted or not, and the second parse leaves quoted ones alone,
// so C:\a^b would arrive as C:\a^^b: no escape survives that.
TLineFault PathFault(std::string_view path) {
  for (const char c : path) {
    if (c == kQuote || static_cast<unsigned char>(c) < kFirstPrintable) return lfUnsafeCharacter;
  }
  if (path.find(kCaret) != std::string_view::npos) return lfCaret;
  return lfNone;
}

bool KeepsSpecialBytes(std::string_view before, std::string_view after) {
  return std::all_of(kBytesConversionMustKeep.begin(), kBytesConversionMustKeep.end(), [&](char special) {
    return std::count(before.begin(), before.end(), special) == std::count(after.begin(), after.end(), special);
  });
}

TEncodeLine Attempt(const TEncodeRow& row, std::string_view input, std::string_view output,
                    const TOemConverter& toOem) {
  TEncodeLine result;
  for (const std::string_view path : {input, output}) {
    result.Fault = PathFault(path);
    if (!result.Ok()) return result;
  }
  const std::string line = ComposeLine(row.Bitrate, EscapePercents(input, row.Rule), EscapePercents(output, row.Rule));
  if (InterpreterLength(line) > kInterpreterLineLimit) {
    result.Fault = lfTooLong;
    return result;
  }
  std::optional<std::string> oem = toOem(line);
  if (!oem || !KeepsSpecialBytes(line, *oem)) {
    result.Fault = lfOutsideCodePage;
    return result;
  }
  result.OemBytes = std::move(*oem);
  return result;
}

} // namespace

std::string BaseNameForOutput(std::string_view inputPath) {
  const std::size_t nameStart = inputPath.size() - ExtractFileName(inputPath).size();
  const std::size_t nameEnd = inputPath.size() - std::min(inputPath.size(), kInputExtensionLength);
  if (nameEnd <= nameStart) return {};
  return std::string(inputPath.substr(nameStart, nameEnd - nameStart));
}

std::string OutputPathFor(std::string_view inputPath, std::string_view saveFolder) {
  return std::string(saveFolder) + BaseNameForOutput(inputPath) + std::string(kOutputExtension);
}

std::string BuildEncodeLine(std::string_view bitrate, std::string_view inputPath, std::string_view saveFolder) {
  return ComposeLine(bitrate, inputPath, OutputPathFor(inputPath, saveFolder));
}

std::string EscapePercents(std::string_view text, TInterpreterRule rule) {
  const std::string_view escaped = rule == irWineCmd ? kEscapedPercentWine : kEscapedPercentWindows;
  std::string out;
  out.reserve(text.size());
  for (const char c : text) {
    if (c == kPercent) {
      out += escaped;
    } else {
      out += c;
    }
  }
  return out;
}

std::string GoBatContent(std::string_view line) { return std::string(line) + std::string(kLineEnd); }

std::string LineFaultText(TLineFault fault) {
  switch (fault) {
  case lfNone:
    return {};
  case lfUnsafeCharacter:
    return "not run: its path or the save folder holds a double quote or a control character, which would break "
           "the command line";
  case lfCaret:
    return "not run: its path or the save folder holds a caret (^), which the command interpreter would double";
  case lfTooLong:
    return "not run: its command line would be longer than the command interpreter's limit of " +
           std::to_string(kInterpreterLineLimit) + " characters";
  case lfOutsideCodePage:
    return "not run: its path, the save folder or the bitrate holds a character the command interpreter cannot "
           "receive in the console's code page";
  }
  return {};
}

TEncodeLine PrepareEncodeLine(const TEncodeRow& row, const TOemConverter& toOem) {
  const std::string output = OutputPathFor(row.InputPath, row.SaveFolder);
  TEncodeLine longForm = Attempt(row, row.InputPath, output, toOem);
  if (longForm.Ok() || !row.ShortInputPath || row.ShortInputPath->empty()) return longForm;
  TEncodeLine shortForm = Attempt(row, *row.ShortInputPath, output, toOem);
  if (!shortForm.Ok()) return longForm;
  shortForm.UsedShortPath = true;
  return shortForm;
}

namespace {

// Codes at or above this are NTSTATUS values (a crash, a kill), which are read in hexadecimal.
constexpr unsigned long kFirstStatusCode = 0xC0000000UL;
constexpr int kStatusCodeDigits = 8;

std::string ExitCodeText(unsigned long exitCode) {
  if (exitCode < kFirstStatusCode) return std::to_string(exitCode);
  std::ostringstream text;
  text << "0x" << std::uppercase << std::hex << std::setw(kStatusCodeDigits) << std::setfill('0') << exitCode;
  return text.str();
}

} // namespace

std::string ExitCodeReason(unsigned long exitCode) {
  return "the encoder's run ended with exit code " + ExitCodeText(exitCode);
}

std::string NotStartedReason(std::string_view why) {
  std::string reason = "not run: the command interpreter could not be started";
  if (!why.empty()) reason += " (" + std::string(why) + ")";
  return reason;
}

std::string EndReportText(const std::vector<TRowProblem>& problems) {
  if (problems.empty()) return {};
  std::string text = problems.size() == 1 ? "1 file was not encoded:\n"
                                          : std::to_string(problems.size()) + " files were not encoded:\n";
  for (const TRowProblem& problem : problems) text += "\n" + problem.File + ": " + problem.Reason;
  return text;
}

std::string EncodeProgressCaption(std::string_view idleCaption, std::size_t current, std::size_t total) {
  return std::string(idleCaption) + " - encoding " + std::to_string(current) + " of " + std::to_string(total);
}

std::string QuitWhileEncodingQuestion(std::size_t waiting) {
  const std::string files = waiting == 1 ? "1 file is" : std::to_string(waiting) + " files are";
  return files + " still waiting to be encoded. Quit anyway?";
}

} // namespace qs
