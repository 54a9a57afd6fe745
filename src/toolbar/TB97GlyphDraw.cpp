// Drawing a button's content: the ready state image, the caption and the dropdown arrow where
// ComputeLayout puts them.
#include "TB97ButtonGlyph.h"

namespace qs {

namespace {

UINT AlignmentFormat(TAlignment alignment) {
  switch (alignment) {
  case TAlignment::taLeftJustify: return DT_LEFT;
  case TAlignment::taRightJustify: return DT_RIGHT;
  case TAlignment::taCenter: return DT_CENTER;
  }
  return DT_LEFT;
}

void DrawArrowTriangle(TCanvas& canvas, TIntPoint origin, TColor color) {
  const auto points = DropArrowPoints(origin);
  POINT polygon[3];
  for (size_t i = 0; i < points.size(); ++i) polygon[i] = POINT{points[i].X, points[i].Y};
  canvas.SetPenColor(color);
  canvas.SetBrushColor(color);
  canvas.Polygon(polygon, 3);
}

} // namespace

void TButtonGlyph::DrawStateImage(TCanvas& canvas, TIntPoint position, TButtonDrawState state) {
  const TGlyphSlot image = EnsureStateImage(state);
  if (image.Slot == -1) return;
  List(image.Normal)->Draw(canvas.Handle(), position.X, position.Y, image.Slot, ILD_TRANSPARENT, clNone, clNone);
}

// The glyph takes room only when there is a picture to draw: an image index outside the image list lays
// the content out as for an empty glyph.
TIntSize TButtonGlyph::LaidOutGlyphSize(bool drawGlyph) const {
  if (!drawGlyph) return TIntSize{};
  if (FImages) {
    if (FImageIndex < 0 || FImageIndex >= FImages->ImageCount()) return TIntSize{};
    return TIntSize{FImages->Width(), FImages->Height()};
  }
  if (FGlyph.Empty()) return TIntSize{};
  return TIntSize{FGlyph.Width() / FNumGlyphs, FGlyph.Height()};
}

TIntRect TButtonGlyph::DrawContent(TCanvas& canvas, const TIntRect& client, TIntPoint pressOffset, bool drawGlyph,
                                   bool drawCaption, std::string_view caption, bool wordWrap, TAlignment alignment,
                                   TButtonLayout layout, int margin, int spacing, bool arrow, TButtonDrawState state) {
  TButtonContent content;
  content.Client = client;
  content.PressOffset = pressOffset;
  content.GlyphSize = LaidOutGlyphSize(drawGlyph);
  content.DrawCaption = drawCaption;
  content.Caption = caption;
  content.WordWrap = wordWrap;
  content.Layout = layout;
  content.Margin = margin;
  content.Spacing = spacing;
  content.Arrow = arrow;
  const TButtonContentPlacement placement =
      ComputeLayout(content, [&canvas](std::string_view text, int width, bool wrap) {
        RECT r{0, 0, width, 0};
        canvas.DrawTextIn(text, r, DT_CALCRECT | (wrap ? DT_WORDBREAK : 0u));
        return TIntSize{r.right - r.left, r.bottom - r.top};
      });
  if (drawGlyph) DrawStateImage(canvas, placement.Glyph, state);
  if (drawCaption) DrawCaptionText(canvas, caption, placement.Caption, state, alignment, wordWrap);
  if (arrow) DrawDropArrow(canvas, placement.Arrow.X, placement.Arrow.Y, state);
  return placement.Caption;
}

void TButtonGlyph::DrawCaptionText(TCanvas& canvas, std::string_view caption, const TIntRect& rect,
                                   TButtonDrawState state, TAlignment alignment, bool wordWrap) {
  const UINT format = AlignmentFormat(alignment) | DT_VCENTER | (wordWrap ? DT_WORDBREAK : DT_SINGLELINE);
  RECT r = ToRect(rect);
  if (state != TButtonDrawState::dsDisabled) {
    canvas.DrawTextIn(caption, r, format);
    return;
  }
  const TColor fontColor = canvas.Font().Color();
  RECT shifted = r;
  OffsetRect(&shifted, 1, 1);
  canvas.Font().SetColor(clBtnHighlight);
  canvas.DrawTextIn(caption, shifted, format);
  canvas.Font().SetColor(clBtnShadow);
  canvas.DrawTextIn(caption, r, format);
  canvas.Font().SetColor(fontColor);
}

void TButtonGlyph::DrawDropArrow(TCanvas& canvas, int x, int y, TButtonDrawState state) {
  const TColor pen = canvas.PenColor(), brush = canvas.BrushColor();
  if (state == TButtonDrawState::dsDisabled) {
    DrawArrowTriangle(canvas, TIntPoint{x + DropArrowHighlightOffset.X, y + DropArrowHighlightOffset.Y},
                      clBtnHighlight);
    DrawArrowTriangle(canvas, TIntPoint{x, y}, clBtnShadow);
  } else {
    DrawArrowTriangle(canvas, TIntPoint{x, y}, canvas.Font().Color());
  }
  canvas.SetPenColor(pen);
  canvas.SetBrushColor(brush);
}

} // namespace qs
