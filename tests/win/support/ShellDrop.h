#pragma once
// A drop as the shell hands it to a window: a movable global block with a DROPFILES header followed by the
// paths, each ending in a zero, the list ending in one more. The receiver of WM_DROPFILES owns
// the handle and releases it with DragFinish. Header-only, so that the benchmarks can use it without gtest.
#include "Unicode.h"

#include <windows.h>

#include <shlobj.h>

#include <cstring>
#include <string>
#include <vector>

namespace qs::test {

// How the paths are stored: UTF-16 as the shell does, or in the ANSI code page as older programs do.
enum class TDropText { Wide, Ansi };

inline HDROP MakeShellDrop(const std::vector<std::string>& paths, TDropText text = TDropText::Wide) {
  std::string list; // the bytes of the path list
  for (const std::string& path : paths) {
    const std::wstring wide = Widen(path) + L'\0';
    if (text == TDropText::Wide) {
      list.append(reinterpret_cast<const char*>(wide.data()), wide.size() * sizeof(wchar_t));
    } else {
      const int n =
          WideCharToMultiByte(CP_ACP, 0, wide.data(), static_cast<int>(wide.size()), nullptr, 0, nullptr, nullptr);
      std::string ansi(static_cast<size_t>(n), '\0');
      WideCharToMultiByte(CP_ACP, 0, wide.data(), static_cast<int>(wide.size()), ansi.data(), n, nullptr, nullptr);
      list += ansi;
    }
  }
  list.append(text == TDropText::Wide ? sizeof(wchar_t) : 1, '\0');
  HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, sizeof(DROPFILES) + list.size());
  auto* header = static_cast<DROPFILES*>(GlobalLock(block));
  header->pFiles = sizeof(DROPFILES);
  header->fNC = FALSE;
  header->fWide = text == TDropText::Wide;
  std::memcpy(reinterpret_cast<char*>(header) + sizeof(DROPFILES), list.data(), list.size());
  GlobalUnlock(block);
  return static_cast<HDROP>(block);
}

// True once the block has been given back (DragFinish frees it).
inline bool DropReleased(HDROP drop) { return GlobalFlags(drop) == GMEM_INVALID_HANDLE; }

} // namespace qs::test
