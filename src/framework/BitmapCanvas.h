#pragma once
// Drawing on a bitmap: a memory DC with the bitmap (and its palette) selected for the life of this object,
// and a canvas on it that starts with the bitmap's brush colour. A bitmap can be selected into one DC at a
// time, so a TBitmapCanvas lives only as long as the drawing it serves. Whoever changes the pixels calls the
// bitmap's Changed() when done, if its listeners should hear of it.
#include "Bitmap.h"
#include "Canvas.h"

#include <optional>

namespace qs {

class TBitmapCanvas {
public:
  explicit TBitmapCanvas(const TBitmap& bitmap);
  TBitmapCanvas(const TBitmapCanvas&) = delete;
  TBitmapCanvas& operator=(const TBitmapCanvas&) = delete;

  HDC Handle() const { return FDC.Get(); }
  TCanvas& Canvas() { return FCanvas; }

private:
  TMemoryDC FDC{nullptr};
  TSelectGuard FSelect;
  std::optional<TSelectPaletteGuard> FPalette;
  TCanvas FCanvas;
};

} // namespace qs
