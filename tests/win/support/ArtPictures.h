#pragma once
// The program's pictures as its art script draws them, for tests that read them back pixel by pixel.
#include "Bitmap.h"

#include <windows.h>

#include <string_view>
#include <vector>

namespace qs::test {

// GLYPH_ADD, 16 x 16 in 16 colours, a key per pixel ("." is the transparent fuchsia).
inline const std::vector<std::string_view> AddRows = {
    ".KKKKKKK........", ".KWWWWWKK.......", ".KWWWWWKWK......", ".KWWWWWKWWK.....",
    ".KWWWWWKKKKK....", ".KWGGGGGGWSK....", ".KWWWWWWWWSK....", ".KWGGGGGGWSK....",
    ".KWWWWWWWWSK....", ".KWGGGGGggg.....", ".KWWWWWWgLg.....", ".KWGGGgggLggg...",
    ".KWWWWgLLLLLg...", ".KSSSSgggLggg...", ".KKKKKKKgLg.....", "........ggg.....",
};

inline COLORREF AddColor(char key) {
  switch (key) {
  case 'K': return RGB(0, 0, 0);
  case 'W': return RGB(255, 255, 255);
  case 'G': return RGB(128, 128, 128);
  case 'S': return RGB(192, 192, 192);
  case 'g': return RGB(0, 128, 0);
  case 'L': return RGB(0, 255, 0);
  default: return RGB(255, 0, 255);
  }
}

// One of the program's bitmap resources.
inline TBitmap Loaded(const wchar_t* name) {
  TBitmap bitmap;
  bitmap.LoadFromResourceName(name);
  return bitmap;
}

} // namespace qs::test
