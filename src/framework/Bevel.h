#pragma once
// A windowless etched line, vertical when the control is taller than wide: separates groups of buttons.
#include "GraphicControl.h"

namespace qs {

class TBevel : public TGraphicControl {
public:
  explicit TBevel(TComponent* owner) : TGraphicControl(owner) { SetControlStyle(0); }

protected:
  void Paint() override {
    RECT r = ClientRect();
    if (Height() > Width()) {
      const int x = Width() / 2 - 1;
      r = Rect(x, 0, x + 2, Height());
      DrawEdge(Canvas().Handle(), &r, EDGE_ETCHED, BF_LEFT);
    } else {
      const int y = Height() / 2 - 1;
      r = Rect(0, y, Width(), y + 2);
      DrawEdge(Canvas().Handle(), &r, EDGE_ETCHED, BF_TOP);
    }
  }
};

} // namespace qs
