#pragma once
// A system image list of same-sized pictures with masks, owned: the list is destroyed with the object. It is
// a component so that whoever refers to it can ask to be told when it goes (FreeNotification), and it tells
// its change listeners after every change of its images.
#include "Bitmap.h"
#include "ChangeNotifier.h"
#include "Component.h"

#include <commctrl.h>

namespace qs {

struct TImageListHandleTraits {
  static HIMAGELIST Invalid() { return nullptr; }
  static void Close(HIMAGELIST h) { ImageList_Destroy(h); }
};
// Counted with the GDI objects: a lost image list loses the two bitmaps it holds.
using TImageListHandle = TCountedHandle<HIMAGELIST, TImageListHandleTraits>;

class TImageList : public TComponent {
public:
  explicit TImageList(TComponent* owner = nullptr) : TComponent(owner) {}
  TImageList(int width, int height, TComponent* owner = nullptr);

  // Makes a new, empty list of width x height images (the old one, if any, is destroyed).
  void Create(int width, int height);
  bool HandleAllocated() const { return static_cast<bool>(FHandle); }
  HIMAGELIST Handle() const { return FHandle.Get(); }
  int Width() const { return FWidth; }
  int Height() const { return FHeight; }
  int ImageCount() const;

  // Adds the picture (one image per Width() pixels across) with a monochrome mask whose set bits are
  // transparent (none: every pixel shows); returns the index of the first image added.
  int Add(const TBitmap& image, const TBitmap* mask);
  // Adds the picture with every pixel of `maskColor` transparent. The picture itself is left as it was.
  int AddMasked(const TBitmap& image, TColor maskColor);
  // Appends one blank image and returns its index.
  int AddEmpty();
  // Puts a picture and its mask into image `index`: "Unable to Replace Image" when there is no such image or
  // the system refuses.
  void Replace(int index, const TBitmap& image, const TBitmap* mask);
  // As Replace, with every pixel of `maskColor` transparent.
  void ReplaceMasked(int index, const TBitmap& image, TColor maskColor);
  void Delete(int index);

  // ImageList_DrawEx at the image's own size with ILD_ style flags; `background` and `foreground` take clNone
  // (CLR_NONE) and clDefault (CLR_DEFAULT) as the system does.
  void Draw(HDC dc, int x, int y, int index, UINT style = ILD_TRANSPARENT, TColor background = clNone,
            TColor foreground = clNone) const;

  [[nodiscard]] TChangeLink Subscribe(std::function<void()> handler) { return FChanges.Subscribe(std::move(handler)); }
  void Changed() { FChanges.Notify(); }

private:
  void CheckAllocated() const;

  TImageListHandle FHandle;
  int FWidth = 0;
  int FHeight = 0;
  TChangeNotifier FChanges;
};

} // namespace qs
