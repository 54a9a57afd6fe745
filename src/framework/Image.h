#pragma once
// A picture drawn on its parent, at the top left or centred in the control.
#include "Bitmap.h"
#include "GraphicControl.h"

namespace qs {

class TImage : public TGraphicControl {
public:
  explicit TImage(TComponent* owner);

  TBitmap& Picture() { return FPicture; }
  const TBitmap& Picture() const { return FPicture; }
  bool Center() const { return FCenter; }
  void SetCenter(bool center);

  // Where the picture's top left corner goes in the control.
  POINT PicturePos() const;

protected:
  void Paint() override;

private:
  TBitmap FPicture;
  TChangeLink FPictureLink;
  bool FCenter = false;
};

} // namespace qs
