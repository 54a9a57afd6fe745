#include "FileDialogRules.h"

namespace qs {

namespace {

constexpr char kTextEnd = '\0';
constexpr char kBackslash = '\\';

std::vector<std::string_view> Texts(std::string_view result) {
  std::vector<std::string_view> texts;
  while (!result.empty()) {
    const std::size_t end = result.find(kTextEnd);
    const std::string_view text = result.substr(0, end);
    if (text.empty()) break;
    texts.push_back(text);
    if (end == std::string_view::npos) break;
    result.remove_prefix(end + 1);
  }
  return texts;
}

} // namespace

std::vector<std::string> SplitOpenDialogResult(std::string_view result) {
  const std::vector<std::string_view> texts = Texts(result);
  if (texts.size() <= 1) return {texts.begin(), texts.end()};
  std::string folder(texts.front());
  if (folder.back() != kBackslash) folder += kBackslash;
  std::vector<std::string> paths;
  paths.reserve(texts.size() - 1);
  for (auto name = texts.begin() + 1; name != texts.end(); ++name) paths.push_back(folder + std::string(*name));
  return paths;
}

} // namespace qs
