// Painting the toolbar button: the frame its state calls for, the checker fill of a button held down in its
// group, then glyph, caption and arrows, all through one off-screen bitmap unless the button lets its toolbar
// show through; and the repaint requests that spare the background an erase.
#include "TB97Button.h"

#include <algorithm>

namespace qs {

namespace {

UINT EdgeStyle(bool flat, TButtonEdge edge) {
  if (flat) return edge == TButtonEdge::beSunken ? BDR_SUNKENOUTER : BDR_RAISEDINNER;
  return edge == TButtonEdge::beSunken ? EDGE_SUNKEN : EDGE_RAISED;
}

// A raised button's edge fills its face too, softly lit at the inner corners.
UINT EdgeFlags(bool flat) { return flat ? BF_RECT : BF_RECT | BF_MIDDLE | BF_SOFT; }

void DrawButtonEdge(HDC dc, const TIntRect& r, bool flat, TButtonEdge edge) {
  if (edge == TButtonEdge::beNone) return;
  RECT rect = ToRect(r);
  DrawEdge(dc, &rect, EdgeStyle(flat, edge), EdgeFlags(flat));
}

} // namespace

void TToolbarButton97::Paint() {
  TCanvas& canvas = Canvas();
  if (FFlat && !FOpaque) {
    PaintFace(canvas);
    return;
  }
  // The face is made whole off screen and copied at once, so it never shows half painted.
  const int width = Width(), height = Height();
  TCanvas& buffer = OffscreenCanvas(width, height);
  buffer.Font().Assign(Font());
  buffer.FillRect(Rect(0, 0, width, height), Color());
  PaintFace(buffer);
  BitBlt(canvas.Handle(), 0, 0, width, height, buffer.Handle(), 0, 0, SRCCOPY);
}

TCanvas& TToolbarButton97::OffscreenCanvas(int width, int height) {
  TShared& shared = Shared();
  if (shared.OffscreenDC && width <= shared.OffscreenSize.Width && height <= shared.OffscreenSize.Height)
    return *shared.OffscreenCanvas;
  const TIntSize size{std::max(width, shared.OffscreenSize.Width), std::max(height, shared.OffscreenSize.Height)};
  shared.FreeOffscreen();
  // In the screen's format, whatever DC the first paint came with.
  TWindowDC screen(nullptr);
  shared.OffscreenDC.emplace(screen.Get());
  shared.OffscreenBitmap.Reset(CreateCompatibleBitmap(screen.Get(), size.Width, size.Height));
  shared.OffscreenDefaultBitmap = SelectObject(shared.OffscreenDC->Get(), shared.OffscreenBitmap.Get());
  shared.OffscreenSize = size;
  shared.OffscreenCanvas.emplace(shared.OffscreenDC->Get());
  return *shared.OffscreenCanvas;
}

void TToolbarButton97::PaintFace(TCanvas& canvas) {
  const bool comboWithMenu = FDropdownCombo && FHasMenu;
  const TButtonFrame frame = ComputeButtonFrame(
      TButtonFrameInput{TIntSize{Width(), Height()}, FFlat, FNoBorder, FDrawState, FMouseIn, comboWithMenu, FMenuDown});
  HDC dc = canvas.Handle();
  DrawButtonEdge(dc, frame.ArrowPartRect, FFlat, frame.ArrowPart);
  DrawButtonEdge(dc, frame.MainRect, FFlat, frame.Main);
  if (frame.CheckerFill) {
    // The pattern starts at the button's own top left, wherever the DC's origin is.
    POINT origin{}, oldBrushOrigin{};
    GetViewportOrgEx(dc, &origin);
    SetBrushOrgEx(dc, origin.x, origin.y, &oldBrushOrigin);
    const RECT r = ToRect(frame.Content);
    FillRect(dc, &r, CheckerBrush());
    SetBrushOrgEx(dc, oldBrushOrigin.x, oldBrushOrigin.y, nullptr);
  }
  const bool arrow = FDropdownArrow && !FDropdownCombo && FHasMenu;
  FGlyph.DrawContent(canvas, frame.Content, frame.PressOffset, FDisplayMode != TButtonDisplayMode::dmTextOnly,
                     FDisplayMode != TButtonDisplayMode::dmGlyphOnly, Caption(), FWordWrap, FAlignment, FLayout,
                     FMargin, FSpacing, arrow, FDrawState);
  if (frame.ComboArrow) FGlyph.DrawDropArrow(canvas, frame.ComboArrowAt.X, frame.ComboArrowAt.Y, FDrawState);
}

HBRUSH TToolbarButton97::CheckerBrush() {
  TShared& shared = Shared();
  if (shared.CheckerBrush) return shared.CheckerBrush.Get();
  shared.CheckerFace = GetSysColor(COLOR_BTNFACE);
  shared.CheckerHighlight = GetSysColor(COLOR_BTNHIGHLIGHT);
  TWindowDC screen(nullptr);
  shared.CheckerBitmap.Reset(CreateCompatibleBitmap(screen.Get(), CheckerSize, CheckerSize));
  {
    TMemoryDC dc(screen.Get());
    TSelectGuard select(dc.Get(), shared.CheckerBitmap.Get());
    for (int y = 0; y < CheckerSize; ++y)
      for (int x = 0; x < CheckerSize; ++x)
        SetPixelV(dc.Get(), x, y, CheckerIsHighlight(x, y) ? shared.CheckerHighlight : shared.CheckerFace);
  }
  shared.CheckerBrush.Reset(CreatePatternBrush(shared.CheckerBitmap.Get()));
  return shared.CheckerBrush.Get();
}

void TToolbarButton97::RequestRepaint(bool erase) {
  // Every change of how the button looks passes here, so clients hear of a changed state at once.
  AnnounceAccessibleChange();
  // A button that lets its toolbar show through needs the toolbar under it painted again, when asked to.
  if (FFlat && !FOpaque && erase) {
    Invalidate();
    return;
  }
  const unsigned style = ControlStyle();
  SetControlStyle(style | csOpaque);
  Invalidate();
  SetControlStyle(style);
}

} // namespace qs
