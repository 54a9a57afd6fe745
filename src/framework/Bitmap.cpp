#include "Bitmap.h"

#include "Exception.h"
#include "Unicode.h"

#include <string>

namespace qs {

namespace {

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

} // namespace

TBitmap::TBitmap(TBitmap&& other) { TakePicture(other); }

TBitmap& TBitmap::operator=(TBitmap&& other) {
  if (this != &other) {
    TakePicture(other);
    Changed();
  }
  return *this;
}

void TBitmap::TakePicture(TBitmap& other) {
  FHandle = std::move(other.FHandle);
  ReadInfo();
  other.ReadInfo();
  other.Changed();
}

void TBitmap::LoadFromResourceName(const wchar_t* name) {
  HINSTANCE instance = GetModuleHandleW(nullptr);
  HRSRC resource = FindResourceW(instance, name, RT_BITMAP);
  if (!resource) throw Exception("Resource " + ResourceName(name) + " not found");
  // Without LR_MONOCHROME a two-colour picture would become a colour bitmap of the display's depth.
  const UINT flags = ResourceBitCount(instance, resource) == 1 ? LR_MONOCHROME : LR_CREATEDIBSECTION;
  TBitmapHandle bitmap(static_cast<HBITMAP>(LoadImageW(instance, name, IMAGE_BITMAP, 0, 0, flags)));
  if (!bitmap) throw EOutOfResources("Cannot load bitmap " + ResourceName(name));
  SetHandle(std::move(bitmap));
}

void TBitmap::SetHandle(TBitmapHandle bitmap) {
  FHandle = std::move(bitmap);
  ReadInfo();
  Changed();
}

void TBitmap::ReadInfo() {
  BITMAP info{};
  if (!FHandle || !GetObjectW(FHandle.Get(), sizeof(info), &info)) info = BITMAP{};
  FWidth = info.bmWidth;
  FHeight = info.bmHeight;
  FMonochrome = FHandle && info.bmPlanes * info.bmBitsPixel == 1;
}

TColor TBitmap::TransparentColor() const {
  if (Empty()) return clNone;
  TMemoryDC memory(nullptr);
  TSelectGuard select(memory.Get(), FHandle.Get());
  return static_cast<TColor>(GetPixel(memory.Get(), 0, FHeight - 1));
}

void TBitmap::Changed() {
  if (OnChange) OnChange();
}

} // namespace qs
