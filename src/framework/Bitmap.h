#pragma once
// A bitmap that owns its GDI handle. Colour pictures are loaded as DIB sections so that their pixels keep
// the colours of the file whatever the display; two-colour pictures stay monochrome so that they can be
// used as masks and drawn in the text and background colours of a DC. A picture can be put to sleep
// (Dormant): its pixels wait in memory and the GDI bitmap comes back when the handle is next asked for.
#include "ChangeNotifier.h"
#include "DibImage.h"
#include "Graphics.h"
#include "Handles.h"
#include "Palette.h"

#include <functional>
#include <initializer_list>
#include <optional>

namespace qs {

class TBitmap {
public:
  TBitmap() = default;
  // A copy of the picture and its palette; the listeners stay with the object they subscribed to.
  TBitmap(const TBitmap& other);
  TBitmap& operator=(const TBitmap& other);
  // The picture moves; both sides report the change.
  TBitmap(TBitmap&& other);
  TBitmap& operator=(TBitmap&& other);

  // Copies the picture, its palette and its kind (the copy of a dormant picture is dormant too).
  void Assign(const TBitmap& source);
  // Loads a BITMAP resource of the program; an Exception when there is none of that name.
  void LoadFromResourceName(const wchar_t* name);
  // Takes ownership of a bitmap made elsewhere (null empties the bitmap). The palette is kept.
  void SetHandle(TBitmapHandle bitmap);
  // Empties the bitmap (palette included).
  void Clear();

  // The GDI bitmap; a dormant picture gets a new one here. Null when empty.
  HBITMAP Handle() const;
  int Width() const { return FWidth; }
  int Height() const { return FHeight; }
  bool Empty() const { return FWidth == 0 || FHeight == 0; }
  bool Monochrome() const { return FMonochrome; }

  // A new size: the overlapping pixels are kept and the new area is filled with BrushColor. An empty bitmap
  // becomes a picture in the display's format, or a monochrome one after SetMonochrome(true).
  void SetSize(int width, int height);
  // To monochrome: every pixel of exactly BrushColor becomes a set (white) bit, every other pixel a clear
  // (black) one. Back to colour: a black and white picture in the display's format. On an empty bitmap it
  // only chooses the kind that SetSize makes.
  void SetMonochrome(bool monochrome);

  // The brush of this bitmap's canvas: fills new areas and is what TBitmapCanvas starts with.
  TColor BrushColor() const { return FBrushColor; }
  void SetBrushColor(TColor color) { FBrushColor = color; }

  // The colour table of a picture with up to 256 colours; empty otherwise. Set: kept with the picture and
  // selected whenever it is drawn on through a TBitmapCanvas.
  const TPalette& Palette() const { return FPalette; }
  void SetPalette(const TPalette& palette);

  // The colour of the bottom-left pixel, which by convention is the picture's background; clNone when empty.
  TColor TransparentColor() const;
  TColor Pixel(int x, int y) const;

  // A bitmap of the same size and palette in the display's format, its pixels transferred through a
  // device-independent copy (GetDIBits / SetDIBits): a colour picture whose pixels can be told apart by the
  // background-colour rule of monochrome blits, whatever this picture's own format.
  TBitmap DeviceCopy() const;

  // A monochrome picture of `area`'s size whose bits are set where the pixel of this picture in `area` is any
  // of `colors` (each colour the background colour of a monochrome blit in turn, or-ed together).
  TBitmap ColorMask(const RECT& area, std::initializer_list<TColor> colors) const;

  // Keeps the pixels as a device-independent copy in memory and releases the GDI bitmap.
  void Dormant();
  bool IsDormant() const { return FDormant.has_value(); }

  [[nodiscard]] TChangeLink Subscribe(std::function<void()> handler) { return FChanges.Subscribe(std::move(handler)); }
  // Tells the listeners; called by every change made here, and by whoever drew onto the picture.
  void Changed() { FChanges.Notify(); }

private:
  enum class TKind { Device, Monochrome, Section };

  void ReadInfo();
  void TakePicture(TBitmap& other);
  void CopyPicture(const TBitmap& source);
  TBitmapHandle NewBitmap(bool monochrome, int width, int height) const;
  void Wake() const;

  mutable TBitmapHandle FHandle;
  mutable std::optional<TDibImage> FDormant;
  TKind FKind = TKind::Device;
  int FWidth = 0;
  int FHeight = 0;
  bool FMonochrome = false; // of the picture; of the kind SetSize makes while empty
  TColor FBrushColor = clWhite;
  TPalette FPalette;
  TChangeNotifier FChanges;
};

} // namespace qs
