#pragma once
// Colours and the small geometry helpers shared by every drawing routine.
#include "Geometry.h"

#include <windows.h>

#include <cstdint>

namespace qs {

// A colour: an RGB value in COLORREF order 0x00BBGGRR, or a system colour (high bit set, low byte = the
// COLOR_ index) so that controls follow the user's scheme.
using TColor = std::int32_t;
constexpr TColor SystemColor(int index) { return static_cast<TColor>(0x80000000u | static_cast<unsigned>(index)); }

constexpr TColor clBlack = 0x000000;
constexpr TColor clWhite = 0xFFFFFF;
constexpr TColor clBlue = 0xFF0000;
constexpr TColor clLime = 0x00FF00;
constexpr TColor clRed = 0x0000FF;
constexpr TColor clSilver = 0xC0C0C0;
constexpr TColor clNone = 0x1FFFFFFF;
constexpr TColor clDefault = 0x20000000;
constexpr TColor clBtnFace = SystemColor(COLOR_BTNFACE);
constexpr TColor clBtnShadow = SystemColor(COLOR_BTNSHADOW);
constexpr TColor clBtnHighlight = SystemColor(COLOR_BTNHIGHLIGHT);
constexpr TColor clBtnText = SystemColor(COLOR_BTNTEXT);
constexpr TColor clWindow = SystemColor(COLOR_WINDOW);
constexpr TColor clWindowText = SystemColor(COLOR_WINDOWTEXT);
constexpr TColor clInfoBk = SystemColor(COLOR_INFOBK);
constexpr TColor clInfoText = SystemColor(COLOR_INFOTEXT);
constexpr TColor clGrayText = SystemColor(COLOR_GRAYTEXT);
constexpr TColor clActiveCaption = SystemColor(COLOR_ACTIVECAPTION);
constexpr TColor clInactiveCaption = SystemColor(COLOR_INACTIVECAPTION);
constexpr TColor clCaptionText = SystemColor(COLOR_CAPTIONTEXT);

inline COLORREF ColorToRGB(TColor color) {
  if (color < 0) return GetSysColor(color & 0xFF);
  return static_cast<COLORREF>(color);
}

// Painting a brush through a monochrome mask blitted onto a colour DC whose text colour is black and
// background colour white (clear bits arrive black, set bits white):
// "PSDPxax" puts the brush where the mask is clear and keeps the destination where it is set;
constexpr DWORD RopBrushWhereMaskClear = 0x00B8074A;
// "DSPDxax" puts the brush where the mask is set and keeps the destination where it is clear.
constexpr DWORD RopBrushWhereMaskSet = 0x00E20746;

// Caption alignment inside its rectangle.
enum class TAlignment { taLeftJustify, taRightJustify, taCenter };

inline RECT Rect(int left, int top, int right, int bottom) { return RECT{left, top, right, bottom}; }
inline RECT Bounds(int left, int top, int width, int height) { return RECT{left, top, left + width, top + height}; }
inline TIntRect ToIntRect(const RECT& r) { return TIntRect{r.left, r.top, r.right, r.bottom}; }
inline RECT ToRect(const TIntRect& r) { return RECT{r.Left, r.Top, r.Right, r.Bottom}; }
inline bool PtIn(const RECT& r, POINT p) { return p.x >= r.left && p.x < r.right && p.y >= r.top && p.y < r.bottom; }

} // namespace qs
