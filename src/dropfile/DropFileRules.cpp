#include "DropFileRules.h"

#include "TextRules.h"

namespace qs {

std::string DropFileName(std::string_view path) {
  const size_t slash = path.rfind('\\');
  return slash == std::string_view::npos ? std::string() : std::string(path.substr(slash + 1));
}

TDroppedPath SplitDroppedPath(std::string_view path) {
  TDroppedPath parts;
  parts.FileWithPath = std::string(path);
  parts.FileName = DropFileName(path);
  parts.Extension = ExtensionAfterLastDot(parts.FileName);
  return parts;
}

} // namespace qs
