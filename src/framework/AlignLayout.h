#pragma once
// Where aligned children go: each edge takes its controls in turn (top, bottom, left, right), each control as
// thick as it is and as long as the space left, and a client-aligned control fills what remains.
#include "Geometry.h"

#include <vector>

namespace qs {

enum class TAlign { alNone, alTop, alBottom, alLeft, alRight, alClient };

struct TAlignItem {
  TAlign Align = TAlign::alNone;
  bool Visible = true;
  TIntRect Bounds;
};

// The bounds of every item after alignment inside `client`, in the items' order; hidden and unaligned items
// keep theirs. Controls on one edge keep their order along it (by their current position, ties by list order).
std::vector<TIntRect> AlignItems(const std::vector<TAlignItem>& items, const TIntRect& client);

} // namespace qs
