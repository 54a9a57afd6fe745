#pragma once
// Drawing on a borrowed DC. Every operation selects what it needs and puts the DC back before it returns,
// so a canvas never leaves a pen, brush or font selected behind the caller's back.
#include "Bitmap.h"
#include "Font.h"
#include "Graphics.h"

#include <string_view>

namespace qs {

class TCanvas {
public:
  TCanvas() = default;
  explicit TCanvas(HDC dc) : FHandle(dc) {}

  HDC Handle() const { return FHandle; }
  void SetHandle(HDC dc) { FHandle = dc; }

  TFont& Font() { return FFont; }
  TColor BrushColor() const { return FBrushColor; }
  void SetBrushColor(TColor c) { FBrushColor = c; }
  TColor PenColor() const { return FPenColor; }
  void SetPenColor(TColor c) { FPenColor = c; }

  void FillRect(const RECT& r) const;
  void FillRect(const RECT& r, TColor color) const;
  void FrameRect(const RECT& r, TColor color) const;
  void Line(int x1, int y1, int x2, int y2) const; // excludes the end point, as LineTo does
  // Filled with the brush colour, outlined with the pen colour.
  void Polygon(const POINT* points, int count) const;
  // In the pen colour; excludes the last point, as LineTo does.
  void Polyline(const POINT* points, int count) const;
  // Text in the canvas font and font colour, transparent background.
  void TextAt(int x, int y, std::string_view text) const;
  SIZE TextExtent(std::string_view text) const;
  // DrawText with its DT_ flags; DT_CALCRECT changes `r`. Returns the text height.
  int DrawTextIn(std::string_view text, RECT& r, UINT flags) const;
  void Draw(int x, int y, HBITMAP bitmap) const;
  void PatBlt(const RECT& r, HBRUSH brush, DWORD rop) const;
  // Copies `source` of the bitmap to `dest` (same size) with every pixel of `color` replaced by the brush
  // colour: a picture's background made the colour of what it is drawn on.
  void BrushCopy(const RECT& dest, const TBitmap& bitmap, const RECT& source, TColor color) const;

private:
  HDC FHandle = nullptr;
  TFont FFont;
  TColor FBrushColor = clWhite;
  TColor FPenColor = clBlack;
};

} // namespace qs
