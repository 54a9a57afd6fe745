#include "EncodeRules.h"

#include <algorithm>
#include <iomanip>
#include <iterator>
#include <optional>
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

// The bytes of the UTF-8 character that starts at `at` (a stray continuation byte counts alone).
std::size_t CharacterLength(std::string_view utf8, std::size_t at) {
  constexpr unsigned char kTwoByteLead = 0xC0, kThreeByteLead = 0xE0;
  const auto lead = static_cast<unsigned char>(utf8[at]);
  std::size_t length = 1;
  if (lead >= kFourByteLead) length = 4;
  else if (lead >= kThreeByteLead) length = 3;
  else if (lead >= kTwoByteLead) length = 2;
  return std::min(length, utf8.size() - at);
}

// The first character of `text` for which `isCulprit` holds, or nullopt.
template <typename TPredicate>
std::optional<std::string_view> FindCharacter(std::string_view text, TPredicate isCulprit) {
  for (std::size_t at = 0; at < text.size();) {
    const std::string_view character = text.substr(at, CharacterLength(text, at));
    if (isCulprit(character)) return character;
    at += character.size();
  }
  return std::nullopt;
}

bool IsUnsafeCharacter(std::string_view character) {
  const auto first = static_cast<unsigned char>(character.front());
  return character.front() == kQuote || first < kFirstPrintable;
}

bool IsBitrateCharacter(char c) {
  return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '.';
}

TEncodeLine Fault(TLineFault fault, TLinePart part = lpNone, std::string_view character = {}) {
  TEncodeLine line;
  line.Fault = fault;
  line.Part = part;
  line.Character = std::string(character);
  return line;
}

// A quote would close the quoted path early and let the rest run as commands; a control character would end or
// bend the line. Windows' CALL doubles every caret, quoted or not, and the second parse leaves quoted ones alone,
// so C:\a^b would arrive as C:\a^^b: no escape survives that. The output path is the save folder followed by a
// piece of the input path, so checking these two covers it.
TEncodeLine PathFault(std::string_view input, std::string_view saveFolder) {
  const std::pair<TLinePart, std::string_view> parts[] = {{lpInputPath, input}, {lpSaveFolder, saveFolder}};
  for (const auto& [part, text] : parts) {
    if (const auto unsafe = FindCharacter(text, IsUnsafeCharacter)) return Fault(lfUnsafeCharacter, part, *unsafe);
  }
  for (const auto& [part, text] : parts) {
    if (text.find(kCaret) != std::string_view::npos) return Fault(lfCaret, part, std::string_view(&kCaret, 1));
  }
  return {};
}

bool KeepsSpecialBytes(std::string_view before, std::string_view after) {
  return std::all_of(kBytesConversionMustKeep.begin(), kBytesConversionMustKeep.end(), [&](char special) {
    return std::count(before.begin(), before.end(), special) == std::count(after.begin(), after.end(), special);
  });
}

// The whole line did not convert; the report names the first character that does not convert on its own.
TEncodeLine CodePageFault(const TEncodeRow& row, const TOemConverter& toOem) {
  const auto unconvertible = [&](std::string_view character) {
    const std::optional<std::string> converted = toOem(character);
    return !converted || !KeepsSpecialBytes(character, *converted);
  };
  const std::pair<TLinePart, std::string_view> parts[] = {
      {lpBitrate, row.Bitrate}, {lpInputPath, row.InputPath}, {lpSaveFolder, row.SaveFolder}};
  for (const auto& [part, text] : parts) {
    if (const auto culprit = FindCharacter(text, unconvertible)) return Fault(lfOutsideCodePage, part, *culprit);
  }
  return Fault(lfOutsideCodePage);
}

TEncodeLine Attempt(const TEncodeRow& row, std::string_view input, std::string_view output,
                    const TOemConverter& toOem) {
  TEncodeLine result = PathFault(input, row.SaveFolder);
  if (!result.Ok()) return result;
  const std::string line = ComposeLine(row.Bitrate, EscapePercents(input, row.Rule), EscapePercents(output, row.Rule));
  if (const std::size_t length = InterpreterLength(line); length > kInterpreterLineLimit) {
    result.Fault = lfTooLong;
    result.Length = length;
    return result;
  }
  std::optional<std::string> oem = toOem(line);
  if (!oem || !KeepsSpecialBytes(line, *oem)) {
    TEncodeRow culpritRow = row;
    culpritRow.InputPath = input;
    return CodePageFault(culpritRow, toOem);
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

std::optional<std::string> BitrateRefusal(std::string_view bitrate) {
  if (bitrate.empty()) return std::string("The bitrate box is empty: type a bitrate such as 128000 or choose one");
  if (std::all_of(bitrate.begin(), bitrate.end(), IsBitrateCharacter)) return std::nullopt;
  return "The bitrate \"" + std::string(bitrate) +
         "\" cannot be used: a bitrate may hold only letters (A to Z), digits and dots";
}

TEncodeLine PrepareEncodeLine(const TEncodeRow& row, const TOemConverter& toOem) {
  if (BitrateRefusal(row.Bitrate)) return Fault(lfBadBitrate, lpBitrate, row.Bitrate);
  const std::string output = OutputPathFor(row.InputPath, row.SaveFolder);
  TEncodeLine longForm = Attempt(row, row.InputPath, output, toOem);
  if (longForm.Ok() || !row.ShortInputPath || row.ShortInputPath->empty()) return longForm;
  TEncodeLine shortForm = Attempt(row, *row.ShortInputPath, output, toOem);
  if (!shortForm.Ok()) return longForm;
  shortForm.UsedShortPath = true;
  return shortForm;
}

namespace {

std::string PartName(TLinePart part) {
  switch (part) {
  case lpBitrate: return "the bitrate";
  case lpInputPath: return "the input path";
  case lpSaveFolder: return "the save folder";
  case lpNone: break;
  }
  return "its command line";
}

// U+XXXX, at least four hexadecimal digits, for a character whose glyph may be invisible or unfamiliar.
std::string CodePointText(std::string_view utf8) {
  constexpr unsigned char kPayloadBits[] = {0x7F, 0x1F, 0x0F, 0x07};
  constexpr unsigned kContinuationPayload = 0x3F;
  constexpr int kContinuationShift = 6;
  constexpr int kMinimumDigits = 4;
  if (utf8.empty()) return {};
  const std::size_t length = std::min<std::size_t>(utf8.size(), std::size(kPayloadBits));
  unsigned codePoint = static_cast<unsigned char>(utf8[0]) & kPayloadBits[length - 1];
  for (std::size_t i = 1; i < length; ++i)
    codePoint = (codePoint << kContinuationShift) | (static_cast<unsigned char>(utf8[i]) & kContinuationPayload);
  std::ostringstream text;
  text << "U+" << std::uppercase << std::hex << std::setw(kMinimumDigits) << std::setfill('0') << codePoint;
  return text.str();
}

} // namespace

std::string LineFaultReason(const TEncodeLine& line) {
  const std::string part = PartName(line.Part);
  switch (line.Fault) {
  case lfNone: return {};
  case lfUnsafeCharacter:
    if (line.Character == std::string(1, kQuote))
      return "not run: " + part + " holds a double quote (\"), which would break the command line";
    return "not run: " + part + " holds the control character " + CodePointText(line.Character) +
           ", which would break the command line";
  case lfCaret: return "not run: " + part + " holds a caret (^), which the command interpreter would double";
  case lfTooLong:
    return "not run: its command line would be " + std::to_string(line.Length) +
           " characters long, over the command interpreter's limit of " + std::to_string(kInterpreterLineLimit);
  case lfOutsideCodePage:
    if (line.Character.empty())
      return "not run: its command line holds a character that the console's code page cannot hold";
    return "not run: " + part + " holds the character \"" + line.Character + "\" (" + CodePointText(line.Character) +
           "), which the console's code page cannot hold";
  case lfBadBitrate:
    return "not run: the bitrate \"" + line.Character + "\" may hold only letters (A to Z), digits and dots";
  }
  return {};
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

std::string GoBatNotWrittenReason() { return "not run: go.bat could not be written in the encoder folder"; }

std::string RunEndedEarlierReason() {
  return "not run: the run ended at an earlier file, whose go.bat could not be written";
}

std::string EndReportSummary(std::size_t notEncoded, std::size_t total) {
  return std::to_string(notEncoded) + " of " + std::to_string(total) + (total == 1 ? " file " : " files ") +
         (notEncoded == 1 ? "was" : "were") + " not encoded";
}

std::string EndReportLines(const std::vector<TRowProblem>& problems) {
  std::string lines;
  for (const TRowProblem& problem : problems) {
    if (!lines.empty()) lines += '\n';
    lines += problem.File + ": " + problem.Reason;
  }
  return lines;
}

std::string EndReportText(const std::vector<TRowProblem>& problems, std::size_t total) {
  if (problems.empty()) return {};
  return EndReportSummary(problems.size(), total) + "\n\n" + EndReportLines(problems);
}

std::string EncodeProgressCaption(std::string_view idleCaption, std::size_t current, std::size_t total) {
  return std::string(idleCaption) + " - encoding " + std::to_string(current) + " of " + std::to_string(total);
}

std::string QuitWhileEncodingQuestion(std::size_t waiting) {
  const std::string files = waiting == 1 ? "1 file is" : std::to_string(waiting) + " files are";
  return files + " still waiting to be encoded. Quit anyway?";
}

} // namespace qs
