#include "ImageList.h"

#include "Exception.h"

namespace qs {

namespace {

// How many images the list makes room for at a time as it grows.
constexpr int GrowBy = 4;

// A screen-compatible copy of `source`: ImageList_AddMasked blackens the masked pixels of the bitmap it is
// given, and the caller's picture must not change.
TBitmapHandle CopyForImageList(const TBitmap& source) {
  TWindowDC screen(nullptr);
  TBitmapHandle copy(CreateCompatibleBitmap(screen.Get(), source.Width(), source.Height()));
  if (!copy) throw EOutOfResources("Cannot copy bitmap");
  TMemoryDC from(screen.Get());
  TMemoryDC to(screen.Get());
  TSelectGuard selectFrom(from.Get(), source.Handle());
  TSelectGuard selectTo(to.Get(), copy.Get());
  // A monochrome source is copied as black on white.
  SetTextColor(to.Get(), ColorToRGB(clBlack));
  SetBkColor(to.Get(), ColorToRGB(clWhite));
  BitBlt(to.Get(), 0, 0, source.Width(), source.Height(), from.Get(), 0, 0, SRCCOPY);
  return copy;
}

} // namespace

void TImageList::Create(int width, int height) {
  TImageListHandle list(ImageList_Create(width, height, ILC_COLOR24 | ILC_MASK, 0, GrowBy));
  if (!list) throw EOutOfResources("Cannot create image list");
  FHandle = std::move(list);
  FWidth = width;
  FHeight = height;
}

void TImageList::CheckAllocated() const {
  if (!FHandle) throw EInvalidOperation("Image list has not been created");
}

int TImageList::Count() const { return FHandle ? ImageList_GetImageCount(FHandle.Get()) : 0; }

int TImageList::AddMasked(const TBitmap& image, TColor transparent) {
  CheckAllocated();
  if (image.Empty()) throw EInvalidOperation("Cannot add an empty bitmap to an image list");
  TBitmapHandle copy = CopyForImageList(image);
  const int index = ImageList_AddMasked(FHandle.Get(), copy.Get(), ColorToRGB(transparent));
  if (index < 0) throw EInvalidOperation("Unable to add image");
  return index;
}

void TImageList::Draw(HDC dc, int x, int y, int index) const {
  CheckAllocated();
  ImageList_DrawEx(FHandle.Get(), index, dc, x, y, 0, 0, CLR_NONE, CLR_NONE, ILD_TRANSPARENT);
}

} // namespace qs
