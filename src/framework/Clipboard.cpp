#include "Clipboard.h"

#include "TextRules.h"
#include "Unicode.h"

#include <cstring>
#include <utility>

namespace qs {

namespace {

// Open for the life of the object; only one window of the whole system can have it open at a time.
class TOpenClipboard {
public:
  explicit TOpenClipboard(HWND owner) : FOpen(OpenClipboard(owner) != FALSE) {}
  ~TOpenClipboard() {
    if (FOpen) CloseClipboard();
  }
  TOpenClipboard(const TOpenClipboard&) = delete;
  TOpenClipboard& operator=(const TOpenClipboard&) = delete;
  bool IsOpen() const { return FOpen; }

private:
  bool FOpen;
};

// A movable block the clipboard takes over once SetClipboardData accepts it; until then it is ours to free.
class TGlobalBlock {
public:
  explicit TGlobalBlock(size_t bytes) : FBlock(GlobalAlloc(GMEM_MOVEABLE, bytes)) {}
  ~TGlobalBlock() {
    if (FBlock) GlobalFree(FBlock);
  }
  TGlobalBlock(const TGlobalBlock&) = delete;
  TGlobalBlock& operator=(const TGlobalBlock&) = delete;
  HGLOBAL Get() const { return FBlock; }
  HGLOBAL Release() { return std::exchange(FBlock, nullptr); }

private:
  HGLOBAL FBlock;
};

} // namespace

bool CopyTextToClipboard(HWND owner, const std::string& text) {
  // The clipboard's text format wants "\r\n" between lines; a "\n" byte is never part of a longer character.
  const std::wstring wide = Widen(WithLineBreaks(text));
  const size_t bytes = (wide.size() + 1) * sizeof(wchar_t);
  TGlobalBlock block(bytes);
  if (!block.Get()) return false;
  void* data = GlobalLock(block.Get());
  if (!data) return false;
  std::memcpy(data, wide.c_str(), bytes);
  GlobalUnlock(block.Get());

  TOpenClipboard clipboard(owner);
  if (!clipboard.IsOpen() || !EmptyClipboard()) return false;
  if (!SetClipboardData(CF_UNICODETEXT, block.Get())) return false;
  block.Release();
  return true;
}

} // namespace qs
