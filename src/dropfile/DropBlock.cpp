#include "DropBlock.h"

#include "Unicode.h"

#include <cstddef>
#include <string_view>

namespace qs {

namespace {

// Splits a list of zero-terminated texts that ends in an empty one (or at `end`).
template <typename Char, typename F>
void ForEachText(const Char* p, const Char* end, F&& onText) {
  while (p < end && *p) {
    const Char* start = p;
    while (p < end && *p) ++p;
    onText(std::basic_string_view<Char>(start, static_cast<size_t>(p - start)));
    ++p;
  }
}

std::wstring AnsiToWide(std::string_view ansi) {
  const int n = MultiByteToWideChar(CP_ACP, 0, ansi.data(), static_cast<int>(ansi.size()), nullptr, 0);
  std::wstring wide(static_cast<size_t>(n), L'\0');
  MultiByteToWideChar(CP_ACP, 0, ansi.data(), static_cast<int>(ansi.size()), wide.data(), n);
  return wide;
}

} // namespace

TDropBlock::TDropBlock(HDROP drop)
    : FDrop(drop), FHeader(static_cast<const DROPFILES*>(GlobalLock(drop))), FSize(GlobalSize(drop)) {}

TDropBlock::~TDropBlock() {
  if (FHeader) GlobalUnlock(FDrop);
}

std::vector<std::string> TDropBlock::Paths() const {
  std::vector<std::string> paths;
  if (!FHeader || FHeader->pFiles < sizeof(DROPFILES) || FHeader->pFiles >= FSize) return paths;
  const char* list = reinterpret_cast<const char*>(FHeader) + FHeader->pFiles;
  const char* end = reinterpret_cast<const char*>(FHeader) + FSize;
  if (FHeader->fWide) {
    const auto* wideList = reinterpret_cast<const wchar_t*>(list);
    const auto* wideEnd = wideList + (end - list) / static_cast<ptrdiff_t>(sizeof(wchar_t));
    ForEachText(wideList, wideEnd, [&](std::wstring_view path) { paths.push_back(Narrow(path)); });
  } else {
    // The older form of the block, in the ANSI code page, as some programs still build it.
    ForEachText(list, end, [&](std::string_view path) { paths.push_back(Narrow(AnsiToWide(path))); });
  }
  return paths;
}

} // namespace qs
