#include "TB97ToolbarSep.h"

#include "Exception.h"
#include "TB97Dock.h"
#include "TB97Toolbar.h"

namespace qs {

TToolbarSep97::TToolbarSep97(TComponent* owner) : TGraphicControl(owner) {
  // Transparent (only its lines are its own), and a press goes on to the toolbar rather than taking the mouse.
  SetControlStyle(ControlStyle() & ~(csCaptureMouse | csOpaque));
}

void TToolbarSep97::SetParent(TWinControl* parent) {
  if (parent && !dynamic_cast<TCustomToolbar97*>(parent))
    throw EInvalidOperation("TToolbarSep97 can only be placed on a TToolbar97");
  TGraphicControl::SetParent(parent);
}

void TToolbarSep97::SetBlank(bool blank) {
  if (blank == FBlank) return;
  FBlank = blank;
  Invalidate();
}

void TToolbarSep97::SetSizeHorz(int size) {
  size = std::max(size, 1);
  if (size == FSizeHorz) return;
  FSizeHorz = size;
  SizeChanged();
}

void TToolbarSep97::SetSizeVert(int size) {
  size = std::max(size, 1);
  if (size == FSizeVert) return;
  FSizeVert = size;
  SizeChanged();
}

void TToolbarSep97::SizeChanged() {
  if (auto* toolbar = dynamic_cast<TCustomToolbar97*>(Parent())) toolbar->ArrangeAndResize();
}

void TToolbarSep97::Paint() {
  auto* toolbar = dynamic_cast<TCustomToolbar97*>(Parent());
  if (!toolbar || FBlank) return;
  if (DockOrientation(toolbar->DockedTo()) != doVertical) {
    // A line across a horizontal (or floating) toolbar, just left of the middle.
    const int x = Width() / 2;
    Canvas().SetPenColor(clBtnShadow);
    Canvas().Line(x - 1, 0, x - 1, Height());
    Canvas().SetPenColor(clBtnHighlight);
    Canvas().Line(x, 0, x, Height());
  } else {
    const int y = Height() / 2;
    Canvas().SetPenColor(clBtnShadow);
    Canvas().Line(0, y - 1, Width(), y - 1);
    Canvas().SetPenColor(clBtnHighlight);
    Canvas().Line(0, y, Width(), y);
  }
}

void TToolbarSep97::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
  TGraphicControl::MouseDown(button, shift, x, y);
  auto* toolbar = dynamic_cast<TCustomToolbar97*>(Parent());
  if (!toolbar) return;
  // The press becomes the toolbar's own: a drag of the whole toolbar.
  const POINT p = toolbar->ScreenToClient(ClientToScreen(POINT{x, y}));
  toolbar->MouseDown(button, shift, p.x, p.y);
}

} // namespace qs
