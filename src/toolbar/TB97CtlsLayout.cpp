#include "TB97CtlsLayout.h"

namespace qs {

namespace {

bool IsEmpty(TIntSize size) { return size.Width == 0 || size.Height == 0; }

// The width a caption is measured in: the client width less the arrow beside it and, when it wraps, less
// the room the glyph and the gaps will take.
int CaptionWidth(const TButtonContent& c, bool horizontal, TIntSize arrow) {
  int width = c.Client.Width();
  if (horizontal) width -= arrow.Width;
  if (!c.WordWrap) return width;
  if (horizontal && !IsEmpty(c.GlyphSize)) {
    width -= c.GlyphSize.Width + (c.Spacing == AutoSpacing ? AutoGapWhileMeasuring : c.Spacing);
    const int outerGap = c.Margin != AutoMargin     ? c.Margin
                         : c.Spacing != AutoSpacing ? c.Spacing
                                                    : AutoGapWhileMeasuring;
    return width - 2 * outerGap;
  }
  return width - 2 * AutoGapWhileMeasuring;
}

} // namespace

TButtonContentPlacement ComputeLayout(const TButtonContent& c, const TCaptionMeasure& measure) {
  const TIntSize cs{c.Client.Width(), c.Client.Height()};
  const TIntSize gs = c.GlyphSize;
  const TIntSize as = c.Arrow ? DropArrowSize : TIntSize{};
  const bool glyphEmpty = IsEmpty(gs);
  TButtonLayout layout = c.Layout;
  if ((layout == TButtonLayout::blGlyphTop || layout == TButtonLayout::blGlyphBottom) && glyphEmpty)
    layout = TButtonLayout::blGlyphLeft;
  const bool horizontal = layout == TButtonLayout::blGlyphLeft || layout == TButtonLayout::blGlyphRight;

  TIntSize ts{};
  if (c.DrawCaption && !c.Caption.empty()) ts = measure(c.Caption, CaptionWidth(c, horizontal, as), c.WordWrap);

  // Across the layout's direction everything is centred.
  TIntPoint g, a, tp;
  if (horizontal) {
    g.Y = (cs.Height - gs.Height + 1) / 2;
    tp.Y = (cs.Height - ts.Height + 1) / 2;
  } else {
    g.X = (cs.Width - gs.Width - as.Width + 1) / 2;
    tp.X = (cs.Width - ts.Width + 1) / 2;
    a.X = glyphEmpty ? tp.X + ts.Width : g.X + gs.Width;
  }

  // Along it, margin and spacing share out the free space when they are automatic.
  int margin = c.Margin;
  int spacing = IsEmpty(ts) || glyphEmpty ? 0 : c.Spacing;
  const auto along = [horizontal](TIntSize s) { return horizontal ? s.Width : s.Height; };
  if (margin == AutoMargin && spacing == AutoSpacing) {
    const TIntSize total{gs.Width + ts.Width + as.Width, gs.Height + ts.Height};
    margin = (along(cs) - along(total)) / 3;
    spacing = margin;
  } else if (margin == AutoMargin) {
    const TIntSize total{gs.Width + spacing + ts.Width + as.Width, gs.Height + spacing + ts.Height};
    margin = (along(cs) - along(total) + 1) / 2;
  } else if (spacing == AutoSpacing) {
    const TIntSize room{cs.Width - (margin + gs.Width + as.Width), cs.Height - (margin + gs.Height)};
    spacing = (along(room) - along(ts)) / 2;
  }

  switch (layout) {
  case TButtonLayout::blGlyphLeft:
    g.X = margin;
    tp.X = g.X + gs.Width + spacing;
    a.X = tp.X + ts.Width;
    break;
  case TButtonLayout::blGlyphRight:
    a.X = cs.Width - margin - as.Width;
    g.X = a.X - gs.Width;
    tp.X = g.X - spacing - ts.Width;
    break;
  case TButtonLayout::blGlyphTop:
    g.Y = margin;
    tp.Y = g.Y + gs.Height + spacing;
    break;
  case TButtonLayout::blGlyphBottom:
    g.Y = cs.Height - margin - gs.Height;
    tp.Y = g.Y - spacing - ts.Height;
    break;
  }
  a.Y = glyphEmpty ? tp.Y + (ts.Height - as.Height) / 2 : g.Y + (gs.Height - as.Height) / 2;

  const int dx = c.Client.Left + c.PressOffset.X, dy = c.Client.Top + c.PressOffset.Y;
  TButtonContentPlacement placement;
  placement.Glyph = TIntPoint{g.X + dx, g.Y + dy};
  placement.Arrow = TIntPoint{a.X + dx, a.Y + dy};
  placement.Caption = TIntRect::FromBounds(tp.X + dx, tp.Y + dy, ts.Width, ts.Height);
  return placement;
}

std::array<TIntPoint, 3> DropArrowPoints(TIntPoint origin) {
  return {TIntPoint{origin.X + 4, origin.Y}, TIntPoint{origin.X + 8, origin.Y}, TIntPoint{origin.X + 6, origin.Y + 2}};
}

} // namespace qs
