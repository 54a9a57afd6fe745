#include "GroupBox.h"

namespace qs {

TGroupBox::TGroupBox(TComponent* owner) : TCustomControl(owner) {}

void TGroupBox::CreateParams(TCreateParams& params) {
  TCustomControl::CreateParams(params);
  params.WinClassName = L"QsGroupBox";
  // Children are left out of our painting so that filling the background never wipes a button.
  params.Style |= WS_CLIPCHILDREN;
  // Tab and accelerator keys reach the controls inside.
  params.ExStyle |= WS_EX_CONTROLPARENT;
}

RECT TGroupBox::FrameRect(const RECT& client, int lineHeight) {
  return Rect(client.left, client.top + lineHeight / 2 - 1, client.right, client.bottom);
}

RECT TGroupBox::CaptionRect(int lineHeight, int captionWidth) {
  return Bounds(CaptionLeft, 0, captionWidth, lineHeight);
}

int TGroupBox::LineHeight() { return Canvas().TextExtent("0").cy; }

void TGroupBox::Paint() {
  const RECT client = ClientRect();
  const int lineHeight = LineHeight();
  Canvas().FillRect(client, Color());
  RECT frame = FrameRect(client, lineHeight);
  DrawEdge(Canvas().Handle(), &frame, EDGE_ETCHED, BF_RECT);
  if (Caption().empty()) return;
  RECT caption = CaptionRect(lineHeight, 0);
  Canvas().DrawTextIn(Caption(), caption, DT_CALCRECT | DT_SINGLELINE);
  caption = CaptionRect(lineHeight, caption.right - caption.left);
  Canvas().FillRect(caption, Color());
  Canvas().DrawTextIn(Caption(), caption, DT_SINGLELINE);
}

} // namespace qs
