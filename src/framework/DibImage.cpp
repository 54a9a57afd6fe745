#include "DibImage.h"

#include "Exception.h"

#include <cstring>

namespace qs {

namespace {

constexpr int TrueColorBits = 32;
constexpr int MaxIndexedBits = 8;

int StoredBitCount(int ownBits, int wanted) {
  if (wanted != 0) return wanted;
  return ownBits <= 1 ? 1 : ownBits <= 4 ? 4 : ownBits <= MaxIndexedBits ? MaxIndexedBits : TrueColorBits;
}

// Rows of a DIB are padded to whole 32-bit words.
size_t RowBytes(int width, int bitCount) { return static_cast<size_t>(((width * bitCount + 31) / 32) * 4); }

} // namespace

TDibImage TDibImage::Capture(HBITMAP bitmap, int bitCount) {
  BITMAP info{};
  if (!bitmap || !GetObjectW(bitmap, sizeof(info), &info)) throw EInvalidOperation("Invalid bitmap");
  const int bits = StoredBitCount(info.bmBitsPixel * info.bmPlanes, bitCount);
  const size_t colors = bits <= MaxIndexedBits ? size_t{1} << bits : 0;
  TDibImage image;
  image.FInfo.resize(sizeof(BITMAPINFOHEADER) + colors * sizeof(RGBQUAD));
  auto* header = reinterpret_cast<BITMAPINFOHEADER*>(image.FInfo.data());
  header->biSize = sizeof(BITMAPINFOHEADER);
  header->biWidth = info.bmWidth;
  header->biHeight = info.bmHeight; // bottom-up
  header->biPlanes = 1;
  header->biBitCount = static_cast<WORD>(bits);
  header->biCompression = BI_RGB;
  header->biClrUsed = static_cast<DWORD>(colors);
  image.FBits.resize(RowBytes(info.bmWidth, bits) * static_cast<size_t>(info.bmHeight));
  TWindowDC screen(nullptr);
  const int lines = GetDIBits(screen.Get(), bitmap, 0, static_cast<UINT>(info.bmHeight), image.FBits.data(),
                              reinterpret_cast<BITMAPINFO*>(image.FInfo.data()), DIB_RGB_COLORS);
  if (lines != info.bmHeight) throw EOutOfResources("Cannot read bitmap pixels");
  // GetDIBits may rewrite the header (size of the image); the format asked for stays.
  header->biCompression = BI_RGB;
  header->biClrUsed = static_cast<DWORD>(colors);
  return image;
}

TBitmapHandle TDibImage::CreateSection() const {
  void* bits = nullptr;
  TBitmapHandle section(CreateDIBSection(nullptr, Info(), DIB_RGB_COLORS, &bits, nullptr, 0));
  if (!section) throw EOutOfResources("Cannot create bitmap");
  std::memcpy(bits, FBits.data(), FBits.size());
  GdiFlush();
  return section;
}

TBitmapHandle TDibImage::CreateDeviceBitmap() const {
  TBitmapHandle bitmap;
  if (BitCount() == 1) {
    bitmap.Reset(CreateBitmap(Width(), Height(), 1, 1, nullptr));
  } else {
    TWindowDC screen(nullptr);
    bitmap.Reset(CreateCompatibleBitmap(screen.Get(), Width(), Height()));
  }
  if (!bitmap) throw EOutOfResources("Cannot create bitmap");
  Transfer(bitmap.Get());
  return bitmap;
}

void TDibImage::Transfer(HBITMAP target) const {
  TWindowDC screen(nullptr);
  if (SetDIBits(screen.Get(), target, 0, static_cast<UINT>(Height()), FBits.data(), Info(), DIB_RGB_COLORS) != Height())
    throw EOutOfResources("Cannot write bitmap pixels");
}

} // namespace qs
