#pragma once
// The work area of the monitor nearest a window, a rectangle or a point, so that what is placed on a second
// monitor stays there (a floating tool window, a report beside its window).
#include "Geometry.h"

#include <windows.h>

namespace qs {

TIntRect WorkAreaNearRect(const RECT& r);
TIntRect WorkAreaNearPoint(POINT p);
// Without a window, the primary monitor's.
TIntRect WorkAreaNearWindow(HWND window);

} // namespace qs
