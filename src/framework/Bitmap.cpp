#include "Bitmap.h"

#include "Canvas.h"
#include "Exception.h"
#include "Unicode.h"

#include <algorithm>
#include <string>

namespace qs {

namespace {

constexpr int MaxIndexedBits = 8;
constexpr int MaxPaletteColors = 256;
constexpr int TrueColorBits = 32;

std::string ResourceName(const wchar_t* name) {
  if (IS_INTRESOURCE(name)) return "#" + std::to_string(reinterpret_cast<ULONG_PTR>(name));
  return Narrow(name);
}

// The colour depth stored in the resource's own header (old-style core headers included).
int ResourceBitCount(HINSTANCE instance, HRSRC resource) {
  HGLOBAL data = LoadResource(instance, resource);
  const void* bits = data ? LockResource(data) : nullptr;
  if (!bits) return 0;
  const auto* header = static_cast<const BITMAPINFOHEADER*>(bits);
  if (header->biSize == sizeof(BITMAPCOREHEADER)) return static_cast<const BITMAPCOREHEADER*>(bits)->bcBitCount;
  return header->biBitCount;
}

// The colour table of a DIB section with up to 256 colours, as a palette.
TPalette SectionPalette(HBITMAP section) {
  TMemoryDC memory(nullptr);
  TSelectGuard select(memory.Get(), section);
  RGBQUAD table[MaxPaletteColors];
  const UINT count = GetDIBColorTable(memory.Get(), 0, MaxPaletteColors, table);
  return TPalette::FromColorTable(std::span<const RGBQUAD>(table, count));
}

} // namespace

TBitmap::TBitmap(const TBitmap& other) : FBrushColor(other.FBrushColor) { CopyPicture(other); }

TBitmap& TBitmap::operator=(const TBitmap& other) {
  Assign(other);
  return *this;
}

TBitmap::TBitmap(TBitmap&& other) { TakePicture(other); }

TBitmap& TBitmap::operator=(TBitmap&& other) {
  if (this != &other) {
    TakePicture(other);
    Changed();
  }
  return *this;
}

void TBitmap::Assign(const TBitmap& source) {
  if (this == &source) return;
  CopyPicture(source);
  Changed();
}

void TBitmap::TakePicture(TBitmap& other) {
  FHandle = std::move(other.FHandle);
  FDormant = std::move(other.FDormant);
  other.FDormant.reset();
  FKind = other.FKind;
  FPalette = std::move(other.FPalette);
  other.FPalette = TPalette();
  FWidth = other.FWidth;
  FHeight = other.FHeight;
  FMonochrome = other.FMonochrome;
  other.ReadInfo();
  other.Changed();
}

void TBitmap::CopyPicture(const TBitmap& source) {
  TBitmapHandle copy;
  std::optional<TDibImage> dormant;
  if (source.FDormant) {
    dormant = source.FDormant;
  } else if (source.FHandle) {
    const TDibImage pixels = TDibImage::Capture(source.FHandle.Get(), source.FKind == TKind::Section ? 0
                                                                      : source.FMonochrome           ? 1
                                                                                                     : TrueColorBits);
    copy = source.FKind == TKind::Section ? pixels.CreateSection() : pixels.CreateDeviceBitmap();
  }
  FHandle = std::move(copy);
  FDormant = std::move(dormant);
  FKind = source.FKind;
  FPalette = source.FPalette;
  FWidth = source.FWidth;
  FHeight = source.FHeight;
  FMonochrome = source.FMonochrome;
}

void TBitmap::LoadFromResourceName(const wchar_t* name) {
  HINSTANCE instance = GetModuleHandleW(nullptr);
  HRSRC resource = FindResourceW(instance, name, RT_BITMAP);
  if (!resource) throw Exception("Resource " + ResourceName(name) + " not found");
  // Without LR_MONOCHROME a two-colour picture would become a colour bitmap of the display's depth.
  const int bitCount = ResourceBitCount(instance, resource);
  const UINT flags = bitCount == 1 ? LR_MONOCHROME : LR_CREATEDIBSECTION;
  TBitmapHandle bitmap(static_cast<HBITMAP>(LoadImageW(instance, name, IMAGE_BITMAP, 0, 0, flags)));
  if (!bitmap) throw EOutOfResources("Cannot load bitmap " + ResourceName(name));
  FPalette = bitCount > 1 && bitCount <= MaxIndexedBits ? SectionPalette(bitmap.Get()) : TPalette();
  SetHandle(std::move(bitmap));
}

void TBitmap::SetHandle(TBitmapHandle bitmap) {
  FDormant.reset();
  FHandle = std::move(bitmap);
  ReadInfo();
  Changed();
}

void TBitmap::Clear() {
  FDormant.reset();
  FHandle.Reset();
  FPalette = TPalette();
  FKind = FMonochrome ? TKind::Monochrome : TKind::Device;
  ReadInfo();
  Changed();
}

void TBitmap::ReadInfo() {
  if (FDormant) return; // the size and kind stay what they were when the picture went to sleep
  BITMAP info{};
  if (!FHandle || !GetObjectW(FHandle.Get(), sizeof(info), &info)) {
    FWidth = FHeight = 0;
    FMonochrome = FKind == TKind::Monochrome;
    return;
  }
  FWidth = info.bmWidth;
  FHeight = info.bmHeight;
  FMonochrome = info.bmPlanes * info.bmBitsPixel == 1;
  DIBSECTION section{};
  const bool isSection = GetObjectW(FHandle.Get(), sizeof(section), &section) == sizeof(section);
  FKind = isSection ? TKind::Section : FMonochrome ? TKind::Monochrome : TKind::Device;
}

HBITMAP TBitmap::Handle() const {
  Wake();
  return FHandle.Get();
}

void TBitmap::Wake() const {
  if (!FDormant) return;
  FHandle = FKind == TKind::Section ? FDormant->CreateSection() : FDormant->CreateDeviceBitmap();
  FDormant.reset();
}

void TBitmap::Dormant() {
  if (!FHandle || Empty()) return;
  const int bitCount = FKind == TKind::Section ? 0 : FMonochrome ? 1 : TrueColorBits;
  FDormant = TDibImage::Capture(FHandle.Get(), bitCount);
  FHandle.Reset();
}

TBitmapHandle TBitmap::NewBitmap(bool monochrome, int width, int height) const {
  TBitmapHandle bitmap;
  if (monochrome) {
    bitmap.Reset(CreateBitmap(width, height, 1, 1, nullptr));
  } else {
    TWindowDC screen(nullptr);
    bitmap.Reset(CreateCompatibleBitmap(screen.Get(), width, height));
  }
  if (!bitmap) throw EOutOfResources("Cannot create bitmap");
  return bitmap;
}

void TBitmap::SetSize(int width, int height) {
  width = std::max(width, 0);
  height = std::max(height, 0);
  if (width == FWidth && height == FHeight) return;
  if (width == 0 || height == 0) {
    SetHandle(TBitmapHandle());
    return;
  }
  TBitmapHandle resized = NewBitmap(FMonochrome, width, height);
  {
    TMemoryDC to(nullptr);
    TSelectGuard selectTo(to.Get(), resized.Get());
    TCanvas(to.Get()).FillRect(Rect(0, 0, width, height), FBrushColor);
    if (!Empty()) {
      TMemoryDC from(nullptr);
      TSelectGuard selectFrom(from.Get(), Handle());
      BitBlt(to.Get(), 0, 0, std::min(width, FWidth), std::min(height, FHeight), from.Get(), 0, 0, SRCCOPY);
    }
  }
  SetHandle(std::move(resized));
}

void TBitmap::SetMonochrome(bool monochrome) {
  if (Empty()) {
    FKind = monochrome ? TKind::Monochrome : TKind::Device;
    FMonochrome = monochrome;
    return;
  }
  if (monochrome == FMonochrome) return;
  TBitmapHandle converted = NewBitmap(monochrome, FWidth, FHeight);
  {
    TMemoryDC to(nullptr);
    TSelectGuard selectTo(to.Get(), converted.Get());
    TMemoryDC from(nullptr);
    TSelectGuard selectFrom(from.Get(), Handle());
    // Colour to monochrome: pixels of the source DC's background colour become set bits. Monochrome to
    // colour: clear bits take the target's text colour, set bits its background colour.
    SetBkColor(from.Get(), ColorToRGB(FBrushColor));
    SetTextColor(to.Get(), ColorToRGB(clBlack));
    SetBkColor(to.Get(), ColorToRGB(clWhite));
    BitBlt(to.Get(), 0, 0, FWidth, FHeight, from.Get(), 0, 0, SRCCOPY);
  }
  SetHandle(std::move(converted));
}

void TBitmap::SetPalette(const TPalette& palette) {
  FPalette = palette;
  Changed();
}

TColor TBitmap::TransparentColor() const { return Empty() ? clNone : Pixel(0, FHeight - 1); }

TColor TBitmap::Pixel(int x, int y) const {
  if (Empty()) return clNone;
  TMemoryDC memory(nullptr);
  TSelectGuard select(memory.Get(), Handle());
  return static_cast<TColor>(GetPixel(memory.Get(), x, y));
}

TBitmap TBitmap::DeviceCopy() const {
  TBitmap copy;
  copy.FPalette = FPalette;
  if (!Empty()) {
    copy.FHandle = TDibImage::Capture(Handle(), TrueColorBits).CreateDeviceBitmap();
    copy.ReadInfo();
  }
  return copy;
}

TBitmap TBitmap::ColorMask(const RECT& area, std::initializer_list<TColor> colors) const {
  TBitmap mask;
  mask.SetMonochrome(true);
  mask.SetBrushColor(clBlack);
  mask.SetSize(area.right - area.left, area.bottom - area.top);
  if (Empty() || mask.Empty()) return mask;
  // Monochrome to monochrome blits copy bits whatever the colours: such a picture is read in colour.
  const TBitmap colourCopy = FMonochrome ? DeviceCopy() : TBitmap();
  const TBitmap& source = FMonochrome ? colourCopy : *this;
  TMemoryDC from(nullptr);
  TSelectGuard selectFrom(from.Get(), source.Handle());
  TMemoryDC to(nullptr);
  TSelectGuard selectTo(to.Get(), mask.Handle());
  DWORD rop = SRCCOPY;
  for (TColor color : colors) {
    SetBkColor(from.Get(), ColorToRGB(color));
    BitBlt(to.Get(), 0, 0, mask.Width(), mask.Height(), from.Get(), area.left, area.top, rop);
    rop = SRCPAINT;
  }
  return mask;
}

} // namespace qs
