#pragma once
// A system image list of same-sized pictures with masks, owned: the list is destroyed with the object.
#include "Bitmap.h"

#include <commctrl.h>

namespace qs {

struct TImageListHandleTraits {
  static HIMAGELIST Invalid() { return nullptr; }
  static void Close(HIMAGELIST h) { ImageList_Destroy(h); }
};
using TImageListHandle = TUniqueHandle<HIMAGELIST, TImageListHandleTraits>;

class TImageList {
public:
  TImageList() = default;
  TImageList(int width, int height) { Create(width, height); }
  virtual ~TImageList() = default;
  TImageList(TImageList&&) noexcept = default;
  TImageList& operator=(TImageList&&) noexcept = default;
  TImageList(const TImageList&) = delete;
  TImageList& operator=(const TImageList&) = delete;

  // Makes a new, empty list of width x height images (the old one, if any, is destroyed).
  void Create(int width, int height);
  bool HandleAllocated() const { return static_cast<bool>(FHandle); }
  HIMAGELIST Handle() const { return FHandle.Get(); }
  int Width() const { return FWidth; }
  int Height() const { return FHeight; }
  int Count() const;

  // Adds the picture (one image per Width() pixels across) with every pixel of `transparent` masked out;
  // returns the index of the first image added. The picture itself is left as it was.
  int AddMasked(const TBitmap& image, TColor transparent);
  // Draws image `index` with its mask at (x, y).
  void Draw(HDC dc, int x, int y, int index) const;

private:
  void CheckAllocated() const;

  TImageListHandle FHandle;
  int FWidth = 0;
  int FHeight = 0;
};

} // namespace qs
