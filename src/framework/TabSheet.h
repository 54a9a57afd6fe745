#pragma once
// One page of a TPageControl: a plain panel in the button face colour that holds the page's controls.
#include "CustomControl.h"

namespace qs {

class TPageControl;

class TTabSheet : public TCustomControl {
public:
  explicit TTabSheet(TComponent* owner);
  ~TTabSheet() override;

  TPageControl* PageControl() const { return FPageControl; }
  // Moves the sheet to `pageControl` (as its last page) or, with null, off any page control.
  void SetPageControl(TPageControl* pageControl);
  // The sheet's place among its page control's pages; -1 when it is on none.
  int PageIndex() const;

protected:
  void CreateParams(TCreateParams& params) override;
  void TextChanged() override;

private:
  friend class TPageControl;
  TPageControl* FPageControl = nullptr;
};

} // namespace qs
