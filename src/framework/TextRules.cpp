#include "TextRules.h"

namespace qs {

namespace {

constexpr char kPathDelimiter = '\\';
constexpr char kExtensionDelimiter = '.';

constexpr char AsciiUpper(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }

} // namespace

bool SameTextAscii(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if (AsciiUpper(a[i]) != AsciiUpper(b[i])) return false;
  }
  return true;
}

std::string ExtractFileName(std::string_view path) {
  const size_t slash = path.rfind(kPathDelimiter);
  return std::string(slash == std::string_view::npos ? path : path.substr(slash + 1));
}

std::string ExtractFilePath(std::string_view path) {
  const size_t slash = path.rfind(kPathDelimiter);
  return slash == std::string_view::npos ? std::string() : std::string(path.substr(0, slash + 1));
}

std::string ExtensionAfterLastDot(std::string_view text) {
  const size_t dot = text.rfind(kExtensionDelimiter);
  return dot == std::string_view::npos ? std::string() : std::string(text.substr(dot + 1));
}

std::string WithLineBreaks(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (const char c : text) {
    if (c == '\n') out += '\r';
    out += c;
  }
  return out;
}

char32_t Utf8CodePoint(std::string_view character) {
  constexpr unsigned char ContinuationMask = 0xC0, ContinuationBits = 0x80, ContinuationPayload = 0x3F;
  constexpr int ContinuationShift = 6;
  if (character.empty()) return 0;
  const auto lead = static_cast<unsigned char>(character[0]);
  const size_t length = lead < 0x80 ? 1 : lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 0;
  if (length == 0 || length > character.size()) return 0;
  constexpr unsigned char LeadPayload[] = {0, 0x7F, 0x1F, 0x0F, 0x07};
  char32_t code = lead & LeadPayload[length];
  for (size_t k = 1; k < length; ++k) {
    const auto trail = static_cast<unsigned char>(character[k]);
    if ((trail & ContinuationMask) != ContinuationBits) return 0;
    code = (code << ContinuationShift) | (trail & ContinuationPayload);
  }
  return code;
}

} // namespace qs
