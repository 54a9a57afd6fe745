#pragma once
// One shared image list of button state images of a single size. Slots are handed out and given back by
// the buttons; a freed slot keeps its system image and is the first to be reused, so the list only grows
// when every slot is taken.
#include "ImageList.h"

#include <vector>

namespace qs {

class TGlyphList : public TImageList {
public:
  TGlyphList(int width, int height) : TImageList(width, height) {}

  // The lowest free slot, marked used; a blank image is appended when every slot is taken.
  int AllocateSlot();
  // A slot holding `image` with `mask` (set bits transparent; none: opaque). The slot is freed again when
  // the image cannot be put into it.
  int AddImage(const TBitmap& image, const TBitmap* mask);
  // A slot holding `image` with every pixel of `maskColor` transparent.
  int AddMaskedImage(const TBitmap& image, TColor maskColor);
  // Gives a used slot back (its image stays for the next user); other slots are ignored.
  void ReleaseSlot(int slot);
  // Puts `image` into `slot` with every pixel of `maskColor` transparent. "Invalid image size" when the
  // image is smaller than the list's images, "Unable to Replace Image" when the system refuses; either way
  // no work bitmap and no temporary image is left behind.
  void ReplaceMaskedImage(int slot, const TBitmap& image, TColor maskColor);

  // The number of used slots.
  int Count() const { return FCount; }
  bool SlotUsed(int slot) const;

private:
  std::vector<bool> FUsed;
  int FCount = 0;
};

} // namespace qs
