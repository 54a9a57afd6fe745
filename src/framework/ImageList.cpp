#include "ImageList.h"

#include "BitmapCanvas.h"
#include "Exception.h"

namespace qs {

namespace {

// How many images the list makes room for at a time as it grows.
constexpr int GrowBy = 4;

COLORREF ImageListColor(TColor color) {
  if (color == clNone) return CLR_NONE;
  if (color == clDefault) return CLR_DEFAULT;
  return ColorToRGB(color);
}

} // namespace

TImageList::TImageList(int width, int height, TComponent* owner) : TComponent(owner) { Create(width, height); }

void TImageList::Create(int width, int height) {
  TImageListHandle list(ImageList_Create(width, height, ILC_COLOR24 | ILC_MASK, 0, GrowBy));
  if (!list) throw EOutOfResources("Cannot create image list");
  FHandle = std::move(list);
  FWidth = width;
  FHeight = height;
  Changed();
}

void TImageList::CheckAllocated() const {
  if (!FHandle) throw EInvalidOperation("Image list has not been created");
}

int TImageList::ImageCount() const { return FHandle ? ImageList_GetImageCount(FHandle.Get()) : 0; }

int TImageList::Add(const TBitmap& image, const TBitmap* mask) {
  CheckAllocated();
  if (image.Empty()) throw EInvalidOperation("Cannot add an empty bitmap to an image list");
  const int index = ImageList_Add(FHandle.Get(), image.Handle(), mask ? mask->Handle() : nullptr);
  if (index < 0) throw EInvalidOperation("Unable to add image");
  Changed();
  return index;
}

int TImageList::AddMasked(const TBitmap& image, TColor maskColor) {
  CheckAllocated();
  if (image.Empty()) throw EInvalidOperation("Cannot add an empty bitmap to an image list");
  // ImageList_AddMasked blackens the masked pixels of the bitmap it is given: it gets a device copy, which
  // also makes a monochrome picture's white a colour of its own.
  const TBitmap copy = image.DeviceCopy();
  const int index = ImageList_AddMasked(FHandle.Get(), copy.Handle(), ColorToRGB(maskColor));
  if (index < 0) throw EInvalidOperation("Unable to add image");
  Changed();
  return index;
}

int TImageList::AddEmpty() {
  CheckAllocated();
  const int index = ImageCount();
  if (!ImageList_SetImageCount(FHandle.Get(), static_cast<UINT>(index + 1)))
    throw EInvalidOperation("Unable to add image");
  Changed();
  return index;
}

void TImageList::Replace(int index, const TBitmap& image, const TBitmap* mask) {
  CheckAllocated();
  // Checked here: some image lists accept any index below their capacity, beyond their last image.
  if (index < 0 || index >= ImageCount() ||
      !ImageList_Replace(FHandle.Get(), index, image.Handle(), mask ? mask->Handle() : nullptr))
    throw EInvalidOperation("Unable to Replace Image");
  Changed();
}

void TImageList::ReplaceMasked(int index, const TBitmap& image, TColor maskColor) {
  const TBitmap mask = image.ColorMask(Rect(0, 0, image.Width(), image.Height()), {maskColor});
  Replace(index, image, &mask);
}

void TImageList::Delete(int index) {
  CheckAllocated();
  if (!ImageList_Remove(FHandle.Get(), index)) throw EInvalidOperation("Unable to delete image");
  Changed();
}

void TImageList::Draw(HDC dc, int x, int y, int index, UINT style, TColor background, TColor foreground) const {
  CheckAllocated();
  ImageList_DrawEx(FHandle.Get(), index, dc, x, y, 0, 0, ImageListColor(background), ImageListColor(foreground), style);
}

} // namespace qs
