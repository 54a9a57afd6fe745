#pragma once
// Points, sizes and rectangles for the layout code that includes no <windows.h>, so that it can be tested on
// the host under the sanitizers. A rectangle's right and bottom edges are exclusive, as with RECT.
#include <cstdint>

namespace qs {

struct TIntPoint {
  int X = 0;
  int Y = 0;
  friend bool operator==(const TIntPoint&, const TIntPoint&) = default;
};

struct TIntSize {
  int Width = 0;
  int Height = 0;
  friend bool operator==(const TIntSize&, const TIntSize&) = default;
};

struct TIntRect {
  int Left = 0;
  int Top = 0;
  int Right = 0;
  int Bottom = 0;

  static TIntRect FromBounds(int left, int top, int width, int height) {
    return TIntRect{left, top, left + width, top + height};
  }
  int Width() const { return Right - Left; }
  int Height() const { return Bottom - Top; }
  bool IsEmpty() const { return Right <= Left || Bottom <= Top; }
  bool Contains(TIntPoint p) const { return p.X >= Left && p.X < Right && p.Y >= Top && p.Y < Bottom; }
  // True when the two share at least one pixel.
  bool Intersects(const TIntRect& r) const {
    return !IsEmpty() && !r.IsEmpty() && Left < r.Right && r.Left < Right && Top < r.Bottom && r.Top < Bottom;
  }
  TIntRect Offset(int dx, int dy) const { return TIntRect{Left + dx, Top + dy, Right + dx, Bottom + dy}; }
  TIntRect Inflate(int dx, int dy) const { return TIntRect{Left - dx, Top - dy, Right + dx, Bottom + dy}; }
  friend bool operator==(const TIntRect&, const TIntRect&) = default;
};

// a * b / c rounded half away from zero, with a 64-bit intermediate: the system's MulDiv, including its
// answer of -1 for a zero divisor or a result that does not fit.
inline int MulDivRound(int a, int b, int c) {
  if (c == 0) return -1;
  const std::int64_t product = static_cast<std::int64_t>(a) * b;
  const bool negative = (product < 0) != (c < 0);
  const std::int64_t absProduct = product < 0 ? -product : product;
  const std::int64_t absDivisor = c < 0 ? -static_cast<std::int64_t>(c) : c;
  const std::int64_t quotient = (absProduct + absDivisor / 2) / absDivisor;
  const std::int64_t result = negative ? -quotient : quotient;
  if (result > INT32_MAX || result < INT32_MIN) return -1;
  return static_cast<int>(result);
}

} // namespace qs
