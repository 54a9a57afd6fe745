#pragma once
// A windowed control that paints itself: the window is our own class, Paint draws the client area and the
// windowless children are painted after it.
#include "Canvas.h"
#include "WinControl.h"

namespace qs {

class TCustomControl : public TWinControl {
public:
  explicit TCustomControl(TComponent* owner) : TWinControl(owner) {}

  void WndProc(TMessage& message) override;
  // Renders the whole client area (itself, then its windowless children) into `dc`; used by WM_PAINT and
  // by tests that read painted pixels.
  void PaintTo(HDC dc, const RECT& update);

protected:
  TCanvas& Canvas() { return FCanvas; }
  virtual void Paint();

private:
  void ExcludeOpaqueChildren(HDC dc) const;

  TCanvas FCanvas;
};

} // namespace qs
