#include "BitmapCanvas.h"

namespace qs {

TBitmapCanvas::TBitmapCanvas(const TBitmap& bitmap) : FSelect(FDC.Get(), bitmap.Handle()), FCanvas(FDC.Get()) {
  if (!bitmap.Palette().Empty()) FPalette.emplace(FDC.Get(), bitmap.Palette().Handle(), false);
  FCanvas.SetBrushColor(bitmap.BrushColor());
}

} // namespace qs
