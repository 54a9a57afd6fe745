#include "Panel.h"

namespace qs {

TPanel::TPanel(TComponent* owner) : TCustomControl(owner) {}

void TPanel::SetBevel(TPanelBevel bevel) {
  if (bevel == FBevel) return;
  FBevel = bevel;
  Invalidate();
}

void TPanel::CreateParams(TCreateParams& params) {
  TCustomControl::CreateParams(params);
  params.WinClassName = L"QsPanel";
  params.Style |= WS_CLIPCHILDREN;
  params.ExStyle |= WS_EX_CONTROLPARENT;
}

void TPanel::Paint() {
  RECT r = ClientRect();
  Canvas().FillRect(r, Color());
  if (FBevel != TPanelBevel::bvNone)
    DrawEdge(Canvas().Handle(), &r, FBevel == TPanelBevel::bvRaised ? BDR_RAISEDINNER : BDR_SUNKENOUTER, BF_RECT);
}

} // namespace qs
