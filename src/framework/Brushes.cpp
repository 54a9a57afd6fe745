#include "Brushes.h"

namespace qs {

TBrushHandle CreateHalftoneBrush() {
  constexpr int PatternSize = 8;
  WORD rows[PatternSize];
  for (int i = 0; i < PatternSize; ++i) rows[i] = static_cast<WORD>(0x5555u << (i & 1));
  TBitmapHandle pattern(CreateBitmap(PatternSize, PatternSize, 1, 1, rows));
  return TBrushHandle(CreatePatternBrush(pattern.Get())); // the brush keeps its own copy of the pattern
}

} // namespace qs
