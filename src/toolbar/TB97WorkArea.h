#pragma once
// The work area a floating tool window is kept on: that of the monitor nearest the window or the point, so
// that a window on a second monitor stays there.
#include "Geometry.h"

#include <windows.h>

namespace qs {

TIntRect WorkAreaNearRect(const RECT& r);
TIntRect WorkAreaNearPoint(POINT p);

} // namespace qs
