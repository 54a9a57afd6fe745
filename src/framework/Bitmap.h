#pragma once
// A bitmap that owns its GDI handle. Colour pictures are loaded as DIB sections so that their pixels keep
// the colours of the file whatever the display; two-colour pictures stay monochrome so that they can be
// used as masks and drawn in the text and background colours of a DC.
#include "Graphics.h"
#include "Handles.h"

#include <functional>

namespace qs {

class TBitmap {
public:
  TBitmap() = default;
  // The picture moves; OnChange stays with the object that set it (it refers to its owner). Both sides
  // report the change.
  TBitmap(TBitmap&& other);
  TBitmap& operator=(TBitmap&& other);
  TBitmap(const TBitmap&) = delete;
  TBitmap& operator=(const TBitmap&) = delete;

  // Loads a BITMAP resource of the program; an Exception when there is none of that name.
  void LoadFromResourceName(const wchar_t* name);
  // Takes ownership of a bitmap made elsewhere (null empties the bitmap).
  void SetHandle(TBitmapHandle bitmap);

  HBITMAP Handle() const { return FHandle.Get(); }
  int Width() const { return FWidth; }
  int Height() const { return FHeight; }
  bool Empty() const { return FWidth == 0 || FHeight == 0; }
  bool Monochrome() const { return FMonochrome; }
  // The colour of the bottom-left pixel, which by convention is the picture's background; clNone when empty.
  TColor TransparentColor() const;

  // Fired after the picture was replaced.
  std::function<void()> OnChange;

private:
  void ReadInfo();
  void TakePicture(TBitmap& other);
  void Changed();

  TBitmapHandle FHandle;
  int FWidth = 0;
  int FHeight = 0;
  bool FMonochrome = false;
};

} // namespace qs
