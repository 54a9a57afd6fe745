#include "AlignLayout.h"

#include <algorithm>

namespace qs {

namespace {

// Controls nearer their edge come first: the topmost of the top-aligned ones, the bottommost of the
// bottom-aligned ones, and so on.
bool NearerToEdge(TAlign align, const TIntRect& a, const TIntRect& b) {
  switch (align) {
  case TAlign::alTop: return a.Top < b.Top;
  case TAlign::alBottom: return a.Bottom > b.Bottom;
  case TAlign::alLeft: return a.Left < b.Left;
  case TAlign::alRight: return a.Right > b.Right;
  default: return false;
  }
}

// Places one control on its edge and takes its thickness off the space left.
TIntRect PlaceOnEdge(TAlign align, const TIntRect& current, TIntRect& space) {
  const int width = current.Width(), height = current.Height();
  switch (align) {
  case TAlign::alTop: {
    const TIntRect r{space.Left, space.Top, space.Right, space.Top + height};
    space.Top += height;
    return r;
  }
  case TAlign::alBottom: {
    const TIntRect r{space.Left, space.Bottom - height, space.Right, space.Bottom};
    space.Bottom -= height;
    return r;
  }
  case TAlign::alLeft: {
    const TIntRect r{space.Left, space.Top, space.Left + width, space.Bottom};
    space.Left += width;
    return r;
  }
  case TAlign::alRight: {
    const TIntRect r{space.Right - width, space.Top, space.Right, space.Bottom};
    space.Right -= width;
    return r;
  }
  case TAlign::alClient:
    return TIntRect{space.Left, space.Top, space.Left + std::max(0, space.Width()),
                    space.Top + std::max(0, space.Height())};
  default: return current;
  }
}

} // namespace

std::vector<TIntRect> AlignItems(const std::vector<TAlignItem>& items, const TIntRect& client) {
  std::vector<TIntRect> result;
  result.reserve(items.size());
  for (const TAlignItem& item : items) result.push_back(item.Bounds);
  TIntRect space = client;
  for (TAlign align : {TAlign::alTop, TAlign::alBottom, TAlign::alLeft, TAlign::alRight, TAlign::alClient}) {
    std::vector<size_t> onEdge;
    for (size_t i = 0; i < items.size(); ++i)
      if (items[i].Visible && items[i].Align == align) onEdge.push_back(i);
    std::stable_sort(onEdge.begin(), onEdge.end(),
                     [&](size_t a, size_t b) { return NearerToEdge(align, items[a].Bounds, items[b].Bounds); });
    for (size_t i : onEdge) result[i] = PlaceOnEdge(align, items[i].Bounds, space);
  }
  return result;
}

} // namespace qs
