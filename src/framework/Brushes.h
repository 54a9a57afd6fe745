#pragma once
// Brushes that are built rather than picked: the halftone pattern of drag outlines and the dithered
// background of pressed toggle buttons.
#include "Handles.h"

namespace qs {

// An 8 x 8 checkerboard of alternating pixels; XOR-ed with PatBlt it draws an outline that a second call
// erases exactly.
TBrushHandle CreateHalftoneBrush();

} // namespace qs
