#pragma once
// Where a toolbar button puts its glyph, caption and dropdown arrow, and the small fixed shapes it paints
// (the checker pattern behind a button held down, the arrow's triangle). Pure: sizes in, positions out.
#include "Geometry.h"

#include <array>
#include <cstdint>
#include <functional>
#include <string_view>

namespace qs {

// A button's look; the value is also the number of the glyph sub-image that shows it.
enum class TButtonDrawState : std::uint8_t { dsUp, dsDisabled, dsDown, dsExclusive, dsMouseIn };
constexpr int ButtonDrawStateCount = 5;
constexpr int StateIndex(TButtonDrawState state) { return static_cast<int>(state); }

// Where the glyph sits relative to the caption.
enum class TButtonLayout : std::uint8_t { blGlyphLeft, blGlyphRight, blGlyphTop, blGlyphBottom };

// Margin (button edge to content) and Spacing (glyph to caption) of -1 are worked out from the free space.
constexpr int AutoMargin = -1;
constexpr int AutoSpacing = -1;
// The gap assumed for an automatic margin or spacing while a wrapping caption is measured.
constexpr int AutoGapWhileMeasuring = 4;
// The dropdown arrow's box: its triangle is 5 pixels wide and 3 high, drawn 4 pixels into the box.
constexpr TIntSize DropArrowSize{9, 3};

// The size of `caption` as DrawText with DT_CALCRECT measures it in a rectangle `width` pixels wide
// (wrapped at that width when `wordWrap`).
using TCaptionMeasure = std::function<TIntSize(std::string_view caption, int width, bool wordWrap)>;

struct TButtonContent {
  TIntRect Client;       // the area inside the button's frame
  TIntPoint PressOffset; // (1, 1) while the button shows pressed
  TIntSize GlyphSize;    // of one glyph image; (0, 0) when no glyph is drawn
  bool DrawCaption = true;
  std::string_view Caption;
  bool WordWrap = false;
  TButtonLayout Layout = TButtonLayout::blGlyphLeft;
  int Margin = AutoMargin;
  int Spacing = AutoSpacing;
  bool Arrow = false;
};

struct TButtonContentPlacement {
  TIntPoint Glyph;  // top-left of the glyph image
  TIntPoint Arrow;  // origin of the dropdown arrow's box
  TIntRect Caption; // where the caption is drawn; empty when there is none
  friend bool operator==(const TButtonContentPlacement&, const TButtonContentPlacement&) = default;
};

// Places glyph, caption and arrow inside the client rectangle (divisions truncate toward zero).
TButtonContentPlacement ComputeLayout(const TButtonContent& content, const TCaptionMeasure& measure);

// The 8 x 8 pattern that fills a button held down in a group: highlight where x and y have the same parity
// (so (0, 0) is highlight), button face elsewhere.
constexpr int CheckerSize = 8;
constexpr bool CheckerIsHighlight(int x, int y) { return (x % 2) == (y % 2); }

// The dropdown arrow's filled triangle for an arrow box at `origin`. A disabled arrow draws it shifted by
// DropArrowHighlightOffset in the highlight colour first, then in place in the shadow colour.
std::array<TIntPoint, 3> DropArrowPoints(TIntPoint origin);
constexpr TIntPoint DropArrowHighlightOffset{1, 1};

} // namespace qs
