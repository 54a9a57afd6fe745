#pragma once
// A control without a window: it paints on its parent's DC and gets its mouse input from the parent.
#include "Canvas.h"
#include "Control.h"

namespace qs {

class TGraphicControl : public TControl {
public:
  explicit TGraphicControl(TComponent* owner) : TControl(owner) {}

  void PaintControl(HDC dc) override {
    FCanvas.SetHandle(dc);
    FCanvas.Font().Assign(Font());
    Paint();
    FCanvas.SetHandle(nullptr);
  }

protected:
  TCanvas& Canvas() { return FCanvas; }
  // Draws the control in its own coordinates: (0, 0) is its top left corner.
  virtual void Paint() {}

private:
  TCanvas FCanvas;
};

} // namespace qs
