#pragma once
// The pixels of a bitmap as a device-independent copy in memory (GetDIBits), and the way back to a GDI
// bitmap (SetDIBits). Bitmaps keep their pixels this way while dormant, and device copies go through it.
#include "Handles.h"

#include <cstddef>
#include <vector>

namespace qs {

class TDibImage {
public:
  // The pixels of `bitmap` (not selected into any DC) at `bitCount` bits per pixel: 1, 4 or 8 with a colour
  // table, or 32. 0 keeps the bitmap's own depth (above 8 bits: 32). Throws when the system refuses.
  static TDibImage Capture(HBITMAP bitmap, int bitCount = 0);

  int Width() const { return Header().biWidth; }
  int Height() const { return Header().biHeight; }
  int BitCount() const { return Header().biBitCount; }

  // A DIB section in this image's own format.
  TBitmapHandle CreateSection() const;
  // A device-dependent bitmap: monochrome for a one-bit image, otherwise in the display's format.
  TBitmapHandle CreateDeviceBitmap() const;

private:
  const BITMAPINFOHEADER& Header() const { return *reinterpret_cast<const BITMAPINFOHEADER*>(FInfo.data()); }
  const BITMAPINFO* Info() const { return reinterpret_cast<const BITMAPINFO*>(FInfo.data()); }
  void Transfer(HBITMAP target) const;

  std::vector<std::byte> FInfo; // BITMAPINFOHEADER and the colour table
  std::vector<std::byte> FBits;
};

} // namespace qs
