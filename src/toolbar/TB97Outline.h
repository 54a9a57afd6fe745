#pragma once
// The hollow halftone outline shown while a tool window is dragged or resized.
//
// DrawDragOutline is the outline as drawn on a DC: the ring of the new rectangle XOR the ring of the old one is
// inverted through the halftone brush, so drawing an outline twice removes it and a move repaints only the
// pixels that changed. On screen the outline is shown by TOutlineWindow instead: a topmost popup that never
// activates, lets clicks through and whose window region is the ring, filled with the same brush. Drawing on
// the desktop's DC under a window-update lock shows nothing under Wine and leaves marks on composited desktops;
// a window of its own is exact everywhere.
#include "Handles.h"

#include <windows.h>

namespace qs {

void DrawDragOutline(HDC dc, const RECT* newRect, int newThickness, const RECT* oldRect, int oldThickness);

class TOutlineWindow {
public:
  TOutlineWindow();
  ~TOutlineWindow();
  TOutlineWindow(const TOutlineWindow&) = delete;
  TOutlineWindow& operator=(const TOutlineWindow&) = delete;

  // Shows the ring of `r` (screen coordinates), `thickness` pixels wide.
  void Show(const RECT& r, int thickness);
  void Hide();
  bool Visible() const;

private:
  TBrushHandle FHalftone;
  HWND FWnd = nullptr;
  RECT FRect{};
  int FThickness = 0;
};

} // namespace qs
