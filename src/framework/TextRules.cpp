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

} // namespace qs
