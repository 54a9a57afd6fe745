#include "Image.h"

namespace qs {

TImage::TImage(TComponent* owner) : TGraphicControl(owner) {
  FPictureLink = FPicture.Subscribe([this] { Invalidate(); });
}

void TImage::SetCenter(bool center) {
  if (center == FCenter) return;
  FCenter = center;
  Invalidate();
}

POINT TImage::PicturePos() const {
  if (!FCenter) return POINT{0, 0};
  return POINT{(Width() - FPicture.Width()) / 2, (Height() - FPicture.Height()) / 2};
}

void TImage::Paint() {
  if (FPicture.Empty()) return;
  const POINT at = PicturePos();
  // A monochrome picture takes the DC's text and background colours; make them its own black and white.
  TSavedDC saved(Canvas().Handle());
  SetTextColor(Canvas().Handle(), ColorToRGB(clBlack));
  SetBkColor(Canvas().Handle(), ColorToRGB(clWhite));
  Canvas().Draw(at.x, at.y, FPicture.Handle());
}

} // namespace qs
