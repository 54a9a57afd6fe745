#include "SpeedButton.h"

namespace qs {

namespace {

// BitBlt raster operation "PSDPxax": where the source is black the brush is drawn, where it is white the
// destination is kept. With a monochrome mask of the glyph's shape this paints the shape in one colour.
constexpr DWORD RopBrushWhereSourceBlack = 0x00B8074A;
// "DSna": keeps the destination where the source is black, blacks it out where the source is white.
constexpr DWORD RopDestAndNotSource = 0x00220326;

void PaintShape(HDC dc, HDC maskDC, int x, int y, int w, int h, TColor color) {
  TBrushHandle brush(CreateSolidBrush(ColorToRGB(color)));
  TSavedDC saved(dc);
  SelectObject(dc, brush.Get());
  SetTextColor(dc, RGB(0, 0, 0));
  SetBkColor(dc, RGB(255, 255, 255));
  BitBlt(dc, x, y, w, h, maskDC, 0, 0, RopBrushWhereSourceBlack);
}

} // namespace

TSpeedButton::TSpeedButton(TComponent* owner) : TGraphicControl(owner) {
  SetControlStyle(csCaptureMouse | csClickEvents);
}

void TSpeedButton::SetGlyphResource(const wchar_t* name) {
  FGlyph.LoadFromResourceName(name);
  Invalidate();
}

TSpeedButton::TState TSpeedButton::State() const {
  if (!Enabled()) return TState::bsDisabled;
  if (FPressed && FPointerInsideWhilePressed) return TState::bsDown;
  if (FMouseInControl || FPressed) return TState::bsHot;
  return TState::bsUp;
}

void TSpeedButton::WndProc(TMessage& message) {
  switch (message.Msg) {
  case CM_MOUSEENTER:
    FMouseInControl = true;
    Invalidate();
    break;
  case CM_MOUSELEAVE:
    FMouseInControl = false;
    Invalidate();
    break;
  case CM_ENABLEDCHANGED:
  case CM_CANCELMODE:
    FPressed = false;
    if (!Enabled()) FMouseInControl = false;
    Invalidate();
    break;
  default: break;
  }
  TGraphicControl::WndProc(message);
}

void TSpeedButton::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
  if (button == TMouseButton::mbLeft && Enabled()) {
    FPressed = true;
    FPointerInsideWhilePressed = true;
    Invalidate();
  }
  TGraphicControl::MouseDown(button, shift, x, y);
}

void TSpeedButton::MouseMove(TShiftState shift, int x, int y) {
  if (FPressed) {
    const bool inside = PtIn(ClientRect(), POINT{x, y});
    if (inside != FPointerInsideWhilePressed) {
      FPointerInsideWhilePressed = inside;
      Invalidate();
    }
  }
  TGraphicControl::MouseMove(shift, x, y);
}

void TSpeedButton::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
  if (button == TMouseButton::mbLeft && FPressed) {
    FPressed = false;
    Invalidate();
  }
  TGraphicControl::MouseUp(button, shift, x, y);
}

void TSpeedButton::Paint() {
  RECT r = ClientRect();
  const TState state = State();
  if (state == TState::bsHot) DrawEdge(Canvas().Handle(), &r, BDR_RAISEDINNER, BF_RECT);
  else if (state == TState::bsDown) DrawEdge(Canvas().Handle(), &r, BDR_SUNKENOUTER, BF_RECT);
  RECT content = r;
  if (state == TState::bsDown) OffsetRect(&content, 1, 1);
  const bool enabled = state != TState::bsDisabled;
  if (!FGlyph.Empty()) PaintGlyph(content, enabled);
  if (!Caption().empty()) PaintCaption(content, enabled);
}

void TSpeedButton::PaintGlyph(const RECT& content, bool enabled) {
  const int w = FGlyph.Width(), h = FGlyph.Height();
  const int captionWidth = Caption().empty() ? 0 : Canvas().TextExtent(Caption()).cx + Spacing;
  const int x = content.left + (content.right - content.left - w - captionWidth) / 2;
  const int y = content.top + (content.bottom - content.top - h) / 2;
  HDC dc = Canvas().Handle();
  // Read before the glyph is selected below: a bitmap can be selected into one DC only.
  const COLORREF transparent = ColorToRGB(FGlyph.TransparentColor());
  TMemoryDC glyphDC(dc);
  TSelectGuard selectGlyph(glyphDC.Get(), FGlyph.Handle());
  TBitmapHandle mask(CreateBitmap(w, h, 1, 1, nullptr));
  TMemoryDC maskDC(dc);
  TSelectGuard selectMask(maskDC.Get(), mask.Get());
  BuildMask(glyphDC.Get(), maskDC.Get(), w, h, transparent);
  if (!enabled) {
    // The classic embossed look: the shape in highlight, offset by one pixel, under the shape in shadow.
    PaintShape(dc, maskDC.Get(), x + 1, y + 1, w, h, clBtnHighlight);
    PaintShape(dc, maskDC.Get(), x, y, w, h, clBtnShadow);
    return;
  }
  // A copy of the glyph with its transparent area black, OR-ed onto the background with the shape cut out.
  TBitmapHandle colour(CreateCompatibleBitmap(dc, w, h));
  TMemoryDC colourDC(dc);
  TSelectGuard selectColour(colourDC.Get(), colour.Get());
  BitBlt(colourDC.Get(), 0, 0, w, h, glyphDC.Get(), 0, 0, SRCCOPY);
  // Monochrome sources take the destination's colours: 0 bits the text colour, 1 bits the background colour.
  SetTextColor(colourDC.Get(), RGB(0, 0, 0));
  SetBkColor(colourDC.Get(), RGB(255, 255, 255));
  BitBlt(colourDC.Get(), 0, 0, w, h, maskDC.Get(), 0, 0, RopDestAndNotSource);
  TSavedDC saved(dc);
  SetTextColor(dc, RGB(0, 0, 0));
  SetBkColor(dc, RGB(255, 255, 255));
  BitBlt(dc, x, y, w, h, maskDC.Get(), 0, 0, SRCAND);
  BitBlt(dc, x, y, w, h, colourDC.Get(), 0, 0, SRCPAINT);
}

void TSpeedButton::BuildMask(HDC glyphDC, HDC maskDC, int w, int h, COLORREF transparent) {
  // Pixel by pixel: converting a DIB section to monochrome maps colours by brightness, not by the background
  // colour, so BitBlt cannot be trusted to single out the transparent colour. Glyphs are a few hundred pixels.
  for (int py = 0; py < h; ++py)
    for (int px = 0; px < w; ++px)
      SetPixel(maskDC, px, py, GetPixel(glyphDC, px, py) == transparent ? RGB(255, 255, 255) : RGB(0, 0, 0));
}

void TSpeedButton::PaintCaption(const RECT& content, bool enabled) {
  RECT r = content;
  if (!FGlyph.Empty()) r.left += FGlyph.Width() + Spacing;
  const UINT flags = DT_CENTER | DT_VCENTER | DT_SINGLELINE;
  TCanvas& canvas = Canvas();
  if (enabled) {
    canvas.Font().SetColor(clBtnText);
    canvas.DrawTextIn(Caption(), r, flags);
    return;
  }
  RECT shifted = r;
  OffsetRect(&shifted, 1, 1);
  canvas.Font().SetColor(clBtnHighlight);
  canvas.DrawTextIn(Caption(), shifted, flags);
  canvas.Font().SetColor(clBtnShadow);
  canvas.DrawTextIn(Caption(), r, flags);
}

} // namespace qs
