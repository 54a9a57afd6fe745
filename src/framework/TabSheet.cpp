#include "TabSheet.h"

#include "PageControl.h"

namespace qs {

TTabSheet::TTabSheet(TComponent* owner) : TCustomControl(owner) {
  // A sheet is shown when its page control makes it the active page.
  SetVisible(false);
  SetColor(clBtnFace);
}

TTabSheet::~TTabSheet() {
  if (FPageControl) FPageControl->RemovePage(this);
}

void TTabSheet::CreateParams(TCreateParams& params) {
  TCustomControl::CreateParams(params);
  params.WinClassName = L"QsTabSheet";
  params.Style |= WS_CLIPCHILDREN;
  params.ExStyle |= WS_EX_CONTROLPARENT;
}

void TTabSheet::SetPageControl(TPageControl* pageControl) {
  if (pageControl == FPageControl) return;
  if (FPageControl) {
    FPageControl->RemovePage(this);
    FPageControl = nullptr;
    if (!pageControl) SetParent(nullptr);
  }
  FPageControl = pageControl;
  if (pageControl) pageControl->InsertPage(this);
}

int TTabSheet::PageIndex() const { return FPageControl ? FPageControl->IndexOfPage(this) : -1; }

void TTabSheet::TextChanged() {
  TCustomControl::TextChanged();
  if (FPageControl) FPageControl->UpdateTab(this);
}

} // namespace qs
