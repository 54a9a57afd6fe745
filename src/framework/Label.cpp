#include "Label.h"

namespace qs {

TLabel::TLabel(TComponent* owner) : TGraphicControl(owner) { AdjustBounds(); }

void TLabel::SetAutoSize(bool autoSize) {
  if (autoSize == FAutoSize) return;
  FAutoSize = autoSize;
  AdjustBounds();
}

void TLabel::SetWordWrap(bool wordWrap) {
  if (wordWrap == FWordWrap) return;
  FWordWrap = wordWrap;
  AdjustBounds();
  Invalidate();
}

void TLabel::SetTransparent(bool transparent) {
  if (transparent == FTransparent) return;
  FTransparent = transparent;
  // An opaque label covers its whole rectangle, so the parent need not paint behind it.
  SetControlStyle(transparent ? ControlStyle() & ~csOpaque : ControlStyle() | csOpaque);
  Invalidate();
}

void TLabel::SetShowAccelChar(bool show) {
  if (show == FShowAccelChar) return;
  FShowAccelChar = show;
  AdjustBounds();
  Invalidate();
}

void TLabel::TextChanged() {
  AdjustBounds();
  Invalidate();
}

void TLabel::FontChanged() {
  TGraphicControl::FontChanged();
  AdjustBounds();
}

void TLabel::Loaded() {
  TGraphicControl::Loaded();
  AdjustBounds();
}

UINT TLabel::TextFlags() const {
  UINT flags = DT_EXPANDTABS | DT_LEFT;
  if (FWordWrap) flags |= DT_WORDBREAK;
  if (!FShowAccelChar) flags |= DT_NOPREFIX;
  return flags;
}

std::string TLabel::MeasuredText() const {
  const std::string& text = Caption();
  if (text.empty() || (FShowAccelChar && text == "&")) return text + ' ';
  return text;
}

SIZE TLabel::MeasureText() const {
  RECT r = Rect(0, 0, FWordWrap ? Width() : 0, 0);
  TWindowDC screen(nullptr);
  TCanvas canvas(screen.Get());
  canvas.Font().Assign(Font());
  canvas.DrawTextIn(MeasuredText(), r, TextFlags() | DT_CALCRECT);
  return SIZE{r.right - r.left, r.bottom - r.top};
}

void TLabel::AdjustBounds() {
  if (!FAutoSize || IsLoading()) return;
  const SIZE text = MeasureText();
  SetBounds(Left(), Top(), FWordWrap ? Width() : text.cx, text.cy);
}

void TLabel::Paint() {
  const RECT client = ClientRect();
  if (!FTransparent) Canvas().FillRect(client, Color());
  if (Enabled()) {
    DrawCaption(client, Font().Color());
    return;
  }
  // Disabled text is embossed, as the system draws it: a highlight one pixel down and right, the shadow on top.
  RECT raised = client;
  OffsetRect(&raised, 1, 1);
  DrawCaption(raised, clBtnHighlight);
  DrawCaption(client, clBtnShadow);
  // Put the canvas font back in step with ours, so that the next paint need not make a new GDI font.
  Canvas().Font().SetColor(Font().Color());
}

void TLabel::DrawCaption(RECT r, TColor color) {
  Canvas().Font().SetColor(color);
  Canvas().DrawTextIn(Caption(), r, TextFlags());
}

} // namespace qs
