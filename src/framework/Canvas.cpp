#include "Canvas.h"

#include "Unicode.h"

namespace qs {

void TCanvas::FillRect(const RECT& r) const { FillRect(r, FBrushColor); }

void TCanvas::FillRect(const RECT& r, TColor color) const {
  TBrushHandle brush(CreateSolidBrush(ColorToRGB(color)));
  ::FillRect(FHandle, &r, brush.Get());
}

void TCanvas::FrameRect(const RECT& r, TColor color) const {
  TBrushHandle brush(CreateSolidBrush(ColorToRGB(color)));
  ::FrameRect(FHandle, &r, brush.Get());
}

void TCanvas::Line(int x1, int y1, int x2, int y2) const {
  TPenHandle pen(CreatePen(PS_SOLID, 1, ColorToRGB(FPenColor)));
  TSelectGuard select(FHandle, pen.Get());
  MoveToEx(FHandle, x1, y1, nullptr);
  LineTo(FHandle, x2, y2);
}

void TCanvas::Polygon(const POINT* points, int count) const {
  TPenHandle pen(CreatePen(PS_SOLID, 1, ColorToRGB(FPenColor)));
  TBrushHandle brush(CreateSolidBrush(ColorToRGB(FBrushColor)));
  TSelectGuard selectPen(FHandle, pen.Get());
  TSelectGuard selectBrush(FHandle, brush.Get());
  ::Polygon(FHandle, points, count);
}

void TCanvas::Polyline(const POINT* points, int count) const {
  TPenHandle pen(CreatePen(PS_SOLID, 1, ColorToRGB(FPenColor)));
  TSelectGuard select(FHandle, pen.Get());
  ::Polyline(FHandle, points, count);
}

void TCanvas::TextAt(int x, int y, std::string_view text) const {
  TSavedDC saved(FHandle);
  SelectObject(FHandle, FFont.Handle());
  SetBkMode(FHandle, TRANSPARENT);
  SetTextColor(FHandle, ColorToRGB(FFont.Color()));
  const std::wstring w = Widen(text);
  TextOutW(FHandle, x, y, w.c_str(), static_cast<int>(w.size()));
}

SIZE TCanvas::TextExtent(std::string_view text) const {
  TSelectGuard select(FHandle, FFont.Handle());
  const std::wstring w = Widen(text);
  SIZE size{};
  GetTextExtentPoint32W(FHandle, w.c_str(), static_cast<int>(w.size()), &size);
  return size;
}

int TCanvas::DrawTextIn(std::string_view text, RECT& r, UINT flags) const {
  TSavedDC saved(FHandle);
  SelectObject(FHandle, FFont.Handle());
  SetBkMode(FHandle, TRANSPARENT);
  SetTextColor(FHandle, ColorToRGB(FFont.Color()));
  std::wstring w = Widen(text);
  return ::DrawTextW(FHandle, w.c_str(), static_cast<int>(w.size()), &r, flags);
}

void TCanvas::Draw(int x, int y, HBITMAP bitmap) const {
  if (!bitmap) return;
  BITMAP info{};
  GetObjectW(bitmap, sizeof(info), &info);
  TMemoryDC memory(FHandle);
  TSelectGuard select(memory.Get(), bitmap);
  BitBlt(FHandle, x, y, info.bmWidth, info.bmHeight, memory.Get(), 0, 0, SRCCOPY);
}

void TCanvas::PatBlt(const RECT& r, HBRUSH brush, DWORD rop) const {
  TSelectGuard select(FHandle, brush);
  ::PatBlt(FHandle, r.left, r.top, r.right - r.left, r.bottom - r.top, rop);
}

void TCanvas::BrushCopy(const RECT& dest, const TBitmap& bitmap, const RECT& source, TColor color) const {
  if (bitmap.Empty()) return;
  const TBitmap mask = bitmap.ColorMask(source, {color});
  const int width = source.right - source.left, height = source.bottom - source.top;
  {
    TMemoryDC from(FHandle);
    TSelectGuard select(from.Get(), bitmap.Handle());
    BitBlt(FHandle, dest.left, dest.top, width, height, from.Get(), source.left, source.top, SRCCOPY);
  }
  TMemoryDC maskDC(FHandle);
  TSelectGuard selectMask(maskDC.Get(), mask.Handle());
  TBrushHandle brush(CreateSolidBrush(ColorToRGB(FBrushColor)));
  TSavedDC saved(FHandle);
  SelectObject(FHandle, brush.Get());
  SetTextColor(FHandle, ColorToRGB(clBlack));
  SetBkColor(FHandle, ColorToRGB(clWhite));
  BitBlt(FHandle, dest.left, dest.top, width, height, maskDC.Get(), 0, 0, RopBrushWhereMaskSet);
}

} // namespace qs
