#include "TB97GlyphList.h"

#include "BitmapCanvas.h"
#include "Exception.h"

#include <algorithm>

namespace qs {

namespace {

// Removes the images a masked add appended (one per list width of the picture), whatever happens.
class TTemporaryImages {
public:
  TTemporaryImages(TImageList& list, int first) : FList(list), FFirst(first) {}
  ~TTemporaryImages() {
    for (int i = FList.ImageCount() - 1; i >= FFirst; --i) ImageList_Remove(FList.Handle(), i);
  }
  TTemporaryImages(const TTemporaryImages&) = delete;
  TTemporaryImages& operator=(const TTemporaryImages&) = delete;

private:
  TImageList& FList;
  int FFirst;
};

} // namespace

bool TGlyphList::SlotUsed(int slot) const {
  return slot >= 0 && static_cast<size_t>(slot) < FUsed.size() && FUsed[static_cast<size_t>(slot)];
}

int TGlyphList::AllocateSlot() {
  auto it = std::find(FUsed.begin(), FUsed.end(), false);
  int slot = static_cast<int>(it - FUsed.begin());
  if (it == FUsed.end()) {
    slot = AddEmpty();
    FUsed.resize(static_cast<size_t>(slot) + 1, false);
  }
  FUsed[static_cast<size_t>(slot)] = true;
  return slot;
}

int TGlyphList::AddImage(const TBitmap& image, const TBitmap* mask) {
  const int slot = AllocateSlot();
  try {
    Replace(slot, image, mask);
  } catch (...) {
    FUsed[static_cast<size_t>(slot)] = false;
    throw;
  }
  ++FCount;
  return slot;
}

int TGlyphList::AddMaskedImage(const TBitmap& image, TColor maskColor) {
  const int slot = AllocateSlot();
  try {
    ReplaceMaskedImage(slot, image, maskColor);
  } catch (...) {
    FUsed[static_cast<size_t>(slot)] = false;
    throw;
  }
  ++FCount;
  return slot;
}

void TGlyphList::ReleaseSlot(int slot) {
  if (!SlotUsed(slot)) return;
  FUsed[static_cast<size_t>(slot)] = false;
  --FCount;
}

void TGlyphList::ReplaceMaskedImage(int slot, const TBitmap& image, TColor maskColor) {
  if (HandleAllocated()) {
    if (image.Width() < Width() || image.Height() < Height()) throw EInvalidOperation("Invalid image size");
    // The system makes the mask: the picture goes in as a temporary image masked by the colour, and comes
    // out again as a picture and a mask of the list's size.
    const int first = ImageCount();
    TTemporaryImages temporary(*this, first);
    const TBitmap copy = image.DeviceCopy(); // adding masked blackens the masked pixels of what it is given
    if (ImageList_AddMasked(Handle(), copy.Handle(), ColorToRGB(maskColor)) != first)
      throw EInvalidOperation("Unable to Replace Image");
    TBitmap picture;
    picture.SetSize(Width(), Height());
    TBitmap mask;
    mask.SetMonochrome(true);
    mask.SetSize(Width(), Height());
    {
      TBitmapCanvas pictureCanvas(picture);
      Draw(pictureCanvas.Handle(), 0, 0, first, ILD_NORMAL);
      TBitmapCanvas maskCanvas(mask);
      Draw(maskCanvas.Handle(), 0, 0, first, ILD_MASK);
    }
    // Checked here: some image lists accept any index below their capacity, the temporary one included.
    if (slot < 0 || slot >= first || !ImageList_Replace(Handle(), slot, picture.Handle(), mask.Handle()))
      throw EInvalidOperation("Unable to Replace Image");
  }
  Changed();
}

} // namespace qs
