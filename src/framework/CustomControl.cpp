#include "CustomControl.h"

namespace qs {

void TCustomControl::WndProc(TMessage& message) {
  switch (message.Msg) {
  case WM_ERASEBKGND:
    message.Result = 1; // Paint fills the background itself; erasing first would only flicker
    return;
  case WM_PAINT: {
    TPaintDC dc(HandleIfAllocated());
    PaintTo(dc.Get(), dc.UpdateRect());
    message.Result = 0;
    return;
  }
  case WM_PRINTCLIENT: {
    PaintTo(reinterpret_cast<HDC>(message.WParam), ClientRect());
    return;
  }
  default: TWinControl::WndProc(message);
  }
}

void TCustomControl::PaintTo(HDC dc, const RECT& update) {
  {
    TSavedDC saved(dc);
    ExcludeOpaqueChildren(dc);
    FCanvas.SetHandle(dc);
    FCanvas.Font().Assign(Font());
    Paint();
    FCanvas.SetHandle(nullptr);
  }
  PaintControls(dc, update);
}

void TCustomControl::ExcludeOpaqueChildren(HDC dc) const {
  // An opaque windowless child paints its whole bounds itself; painting under it first would only flicker.
  for (int i = 0; i < ControlCount(); ++i) {
    const TControl* c = Controls(i);
    if (c->IsWindowed() || !c->Visible() || !(c->ControlStyle() & csOpaque)) continue;
    const RECT b = c->BoundsRect();
    ExcludeClipRect(dc, b.left, b.top, b.right, b.bottom);
  }
}

void TCustomControl::Paint() { FCanvas.FillRect(ClientRect(), Color()); }

} // namespace qs
