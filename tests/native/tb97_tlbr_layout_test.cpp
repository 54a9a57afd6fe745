#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <string>
#include <vector>

#include "TB97FloatLayout.h"
#include "TB97TlbrLayout.h"

namespace qs {
namespace {

TToolbarChild Button(int tag, int width = 23, int height = 22) {
  TToolbarChild child;
  child.Tag = tag;
  child.Width = width;
  child.Height = height;
  return child;
}

TToolbarChild Separator(int tag, bool blank = false) {
  TToolbarChild child;
  child.Tag = tag;
  child.IsSeparator = true;
  child.Blank = blank;
  return child;
}

// The main window's toolbar in its ChildOrder: Newbutton, ToolbarButton972, ToolbarSep971, Deletebutton,
// ToolbarSep974, ToolbarButton973, ToolbarButton974, ToolbarSep972, Encode, ToolbarSep973. Tags 0..9.
std::vector<TToolbarChild> MainToolbar() {
  return {Button(0), Button(1), Separator(2), Button(3),     Separator(4),
          Button(5), Button(6), Separator(7), Button(8, 73), Separator(9)};
}

const TIntPoint Frame{4, 4};
constexpr int Caption = 15;

TToolbarLayoutParams Params(TDockOrientation orientation, int floatRightX = 0) {
  TToolbarLayoutParams params;
  params.Orientation = orientation;
  params.FloatRightX = floatRightX;
  return params;
}

std::vector<int> Tags(const TToolbarLayout& layout) {
  std::vector<int> tags;
  for (const TToolbarPlacement& placement : layout.Placements) tags.push_back(placement.Tag);
  return tags;
}

void ExpectBounds(const TToolbarLayout& layout, const std::vector<TIntRect>& expected) {
  ASSERT_EQ(layout.Placements.size(), expected.size());
  for (std::size_t i = 0; i < expected.size(); ++i) {
    SCOPED_TRACE("child " + std::to_string(layout.Placements[i].Tag));
    EXPECT_EQ(layout.Placements[i].Bounds, expected[i]);
  }
}

// Docked at the top: one line, no margins, in ChildOrder, 212 x 22.
TEST(TlbrLayout, MainToolbarDockedAtTheTop) {
  const TToolbarLayout layout = LayoutToolbar(MainToolbar(), Params(doHorizontal));
  const int lefts[] = {0, 23, 46, 52, 75, 81, 104, 127, 133, 206};
  const int widths[] = {23, 23, 6, 23, 6, 23, 23, 6, 73, 6};
  std::vector<TIntRect> expected;
  for (int i = 0; i < 10; ++i) expected.push_back(TIntRect::FromBounds(lefts[i], 0, widths[i], 22));
  ExpectBounds(layout, expected);
  EXPECT_EQ(layout.ClientSize, (TIntSize{212, 22}));
  EXPECT_TRUE(layout.RowLines.empty());
  ASSERT_EQ(layout.Segments.size(), 4u);
  EXPECT_EQ(layout.Segments[0].Children, (std::vector<int>{0, 1, 2}));
  EXPECT_EQ(layout.Segments[0].WidthSum, 46);
  EXPECT_EQ(layout.Segments[3].WidthSum, 73);
  EXPECT_EQ(layout.Segments[3].HeightSum, 22);
  // Nothing ever wraps in a dock, however small a FloatRightX is kept.
  EXPECT_EQ(MeasureToolbar(MainToolbar(), Params(doHorizontal, 40)), (TIntSize{212, 22}));
}

// Docked at the left: the same children stack downward; separators SizeVert tall and as wide as the row (the
// Encode button's 73), other buttons centred across it: (73 - 23) / 2 = 25.
TEST(TlbrLayout, MainToolbarDockedAtTheLeft) {
  std::vector<TToolbarChild> children = MainToolbar();
  for (TToolbarChild& child : children)
    if (child.IsSeparator) child.SizeVert = 5; // differs from SizeHorz, so the right one must be taken
  const TToolbarLayout layout = LayoutToolbar(children, Params(doVertical));
  const int tops[] = {0, 22, 44, 49, 71, 76, 98, 120, 125, 147};
  std::vector<TIntRect> expected;
  for (int i = 0; i < 10; ++i) {
    const TToolbarChild& child = children[static_cast<std::size_t>(i)];
    if (child.IsSeparator) expected.push_back(TIntRect::FromBounds(0, tops[i], 73, 5));
    else expected.push_back(TIntRect::FromBounds((73 - child.Width) / 2, tops[i], child.Width, 22));
  }
  ExpectBounds(layout, expected);
  EXPECT_EQ(layout.ClientSize, (TIntSize{73, 152}));
}

// Centring across the row truncates toward zero, also when the row is thinner than the control.
TEST(TlbrLayout, CentringTruncatesTowardZero) {
  struct TCase {
    const char* Name;
    TDockOrientation Orientation;
    std::optional<int> CrossSize;
    TIntRect Expected; // of the 20 x 20 button
  };
  const TCase cases[] = {
      {"20 in 25 across a vertical row", doVertical, std::nullopt, {2, 0, 22, 20}},
      {"20 in 25 across a horizontal row", doHorizontal, std::nullopt, {0, 2, 20, 22}},
      {"dock row thicker than the toolbar", doHorizontal, 31, {0, 5, 20, 25}},
      {"dock row thinner than the control: -5 / 2 = -2", doHorizontal, 15, {0, -2, 20, 18}},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    TToolbarLayoutParams params = Params(c.Orientation);
    params.CrossSize = c.CrossSize;
    const TToolbarLayout layout = LayoutToolbar({Button(1, 20, 20), Button(2, 25, 25)}, params);
    EXPECT_EQ(layout.Placements[0].Bounds, c.Expected);
  }
}

// No shown children: 8 x 8 docked (either way), 16 x 11 floating; hidden children change nothing.
TEST(TlbrLayout, EmptyToolbar) {
  std::vector<TToolbarChild> hidden{Button(1), Separator(2)};
  for (TToolbarChild& child : hidden) child.Shown = false;
  for (const std::vector<TToolbarChild>& children : {std::vector<TToolbarChild>{}, hidden}) {
    SCOPED_TRACE(children.size());
    EXPECT_EQ(MeasureToolbar(children, Params(doHorizontal)), (TIntSize{8, 8}));
    EXPECT_EQ(MeasureToolbar(children, Params(doVertical)), (TIntSize{8, 8}));
    EXPECT_EQ(MeasureToolbar(children, Params(doFloating)), (TIntSize{16, 11}));
    EXPECT_EQ(MeasureToolbar(children, Params(doFloating, 50)), (TIntSize{16, 11}));
    EXPECT_TRUE(LayoutToolbar(children, Params(doFloating)).Placements.empty());
  }
}

// Floating with FloatRightX 0: one row, 4 pixels of margin left and right, 2 at the top, 1 at the bottom.
TEST(TlbrLayout, FloatingSingleRowHasMargins) {
  const TToolbarLayout layout = LayoutToolbar(MainToolbar(), Params(doFloating));
  const int lefts[] = {4, 27, 50, 56, 79, 85, 108, 131, 137, 210};
  for (std::size_t i = 0; i < 10; ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(layout.Placements[i].Bounds.Left, lefts[i]);
    EXPECT_EQ(layout.Placements[i].Bounds.Top, 2);
  }
  EXPECT_EQ(layout.ClientSize, (TIntSize{220, 25}));
  EXPECT_TRUE(layout.RowLines.empty());
}

// Wrap width 100: rows break after ToolbarSep974 and ToolbarSep972. Those separators shrink to width 0, each next
// row starts 22 + 6 lower, and a row line sits at each new row's top (its shadow 4 and highlight 3 above it).
TEST(TlbrLayout, FloatingWrapsAtSeparators) {
  for (const bool blank : {false, true}) {
    SCOPED_TRACE(blank ? "blank separator" : "etched separator");
    std::vector<TToolbarChild> children = MainToolbar();
    children[4].Blank = blank;
    const TToolbarLayout layout = LayoutToolbar(children, Params(doFloating, 100));
    ExpectBounds(layout, {
                             {4, 2, 27, 24},
                             {27, 2, 50, 24},
                             {50, 2, 56, 24},
                             {56, 2, 79, 24},
                             {79, 2, 79, 24}, // ToolbarSep974 ends row 0: width 0
                             {4, 30, 27, 52},
                             {27, 30, 50, 52},
                             {50, 30, 50, 52}, // ToolbarSep972 ends row 1
                             {4, 58, 77, 80},
                             {77, 58, 83, 80}, // the last separator ends no row and keeps its width
                         });
    std::vector<int> endingRows;
    for (const TToolbarPlacement& placement : layout.Placements)
      if (placement.EndsWrappedRow) endingRows.push_back(placement.Tag);
    EXPECT_EQ(endingRows, (std::vector<int>{4, 7}));
    EXPECT_EQ(layout.RowLines, (std::vector<TToolbarRowLine>{{30, blank}, {58, false}}));
    // The trailing separators of wrapped rows do not count toward the width: 79 + 4, not 85 + 4.
    EXPECT_EQ(layout.ClientSize, (TIntSize{87, 81}));
  }
}

// A segment longer than the row breaks between its buttons with no gap and no line; the following segment then
// starts a new row, after a gap and a line.
TEST(TlbrLayout, LongSegmentBreaksWithoutALine) {
  const std::vector<TToolbarChild> children{Button(1), Button(2), Button(3), Separator(4), Button(5)};
  // Any wrap width below 31 is raised to the widest button + 8 = 31: one button per row.
  const TToolbarLayout layout = LayoutToolbar(children, Params(doFloating, 10));
  ExpectBounds(layout, {
                           {4, 2, 27, 24},
                           {4, 24, 27, 46},
                           {4, 46, 27, 68},
                           {27, 46, 27, 68},
                           {4, 74, 27, 96},
                       });
  EXPECT_EQ(layout.RowLines, (std::vector<TToolbarRowLine>{{74, false}}));
  EXPECT_EQ(layout.ClientSize, (TIntSize{31, 97}));
}

// Hiding a child removes it from the layout and the others close up; showing it again puts it back in its
// ChildOrder place. The layout needs nothing but the children in ChildOrder with their Shown flags.
TEST(TlbrLayout, HiddenChildLeavesAndComesBack) {
  std::vector<TToolbarChild> children = MainToolbar();
  children[3].Shown = false; // Deletebutton
  const TToolbarLayout hidden = LayoutToolbar(children, Params(doHorizontal));
  EXPECT_EQ(Tags(hidden), (std::vector<int>{0, 1, 2, 4, 5, 6, 7, 8, 9}));
  std::vector<int> lefts;
  for (const TToolbarPlacement& placement : hidden.Placements) lefts.push_back(placement.Bounds.Left);
  EXPECT_EQ(lefts, (std::vector<int>{0, 23, 46, 52, 58, 81, 104, 110, 183}));
  EXPECT_EQ(hidden.ClientSize, (TIntSize{189, 22}));

  children[3].Shown = true;
  const TToolbarLayout shown = LayoutToolbar(children, Params(doHorizontal));
  EXPECT_EQ(Tags(shown), (std::vector<int>{0, 1, 2, 3, 4, 5, 6, 7, 8, 9}));
  EXPECT_EQ(shown.Placements[3].Bounds.Left, 52);
  EXPECT_EQ(shown.ClientSize, (TIntSize{212, 22}));
}

// A hidden child still sets the least wrap width: its width + 8.
TEST(TlbrLayout, HiddenChildStillRaisesTheWrapWidth) {
  std::vector<TToolbarChild> children{Button(1), Separator(2), Button(3), Button(4, 73)};
  children[3].Shown = false;
  EXPECT_EQ(EffectiveWrapWidth(children, doFloating, 40), 81);
  EXPECT_EQ(MeasureToolbar(children, Params(doFloating, 40)), (TIntSize{60, 25})); // one row
  children.pop_back();
  EXPECT_EQ(EffectiveWrapWidth(children, doFloating, 40), 40);
  EXPECT_EQ(MeasureToolbar(children, Params(doFloating, 40)), (TIntSize{31, 53})); // two rows
  EXPECT_EQ(EffectiveWrapWidth(children, doFloating, 0), NoWrapWidth);
  EXPECT_EQ(EffectiveWrapWidth(children, doHorizontal, 40), NoWrapWidth);
}

// GetDockedThickness: the thickest shown non-separator across the dock, at least 8.
TEST(TlbrLayout, DockedThickness) {
  std::vector<TToolbarChild> children{Button(1, 23, 22), Button(2, 73, 22), Separator(3), Button(4, 5, 30)};
  children[3].Shown = false;
  EXPECT_EQ(ToolbarDockedThickness(children, doHorizontal), 22);
  EXPECT_EQ(ToolbarDockedThickness(children, doFloating), 22);
  EXPECT_EQ(ToolbarDockedThickness(children, doVertical), 73);
  EXPECT_EQ(ToolbarDockedThickness({Button(1, 5, 5), Separator(2)}, doHorizontal), MinToolbarThickness);
}

// The candidates as the rules define them: every wrap width from the single row's width - 1 down to T0 + 8 laid
// out, kept when the layout is exactly that wide, the narrower of two of one height winning. Laid out at every
// width, with no shortcut, as the reference for the builder. Unsorted.
std::vector<TSizeCandidate> CandidatesOneWidthAtATime(const std::vector<TToolbarChild>& children) {
  const auto window = [](TIntSize client) {
    const TIntSize size = FloatingWindowSize(client, Frame, Caption);
    return TSizeCandidate{static_cast<std::int16_t>(size.Width), static_cast<std::int16_t>(size.Height)};
  };
  const TIntSize single = MeasureToolbar(children, Params(doFloating));
  std::vector<TSizeCandidate> list{window(single)};
  int lastHeight = single.Height;
  const int lowest = ToolbarDockedThickness(children, doFloating) + WrapWidthChildMargin;
  for (int w = single.Width - 1; w >= lowest; --w) {
    const TIntSize size = MeasureToolbar(children, Params(doFloating, w));
    if (size.Width != w) continue;
    if (size.Height == lastHeight) list.pop_back();
    if (std::find(list.begin(), list.end(), window(size)) == list.end()) list.push_back(window(size));
    lastHeight = size.Height;
  }
  return list;
}

std::vector<TSizeCandidate> InSizeOrder(std::vector<TSizeCandidate> list) {
  std::sort(list.begin(), list.end(), [](const TSizeCandidate& a, const TSizeCandidate& b) {
    return a.Width != b.Width ? a.Width < b.Width : a.Height < b.Height;
  });
  return list;
}

// The main toolbar (frame 4 x 4, caption 15) snaps to three sizes: one row (220 x 25 client), three segments and
// Encode below (135 x 53), and two segments a row (87 x 81). Four rows are never offered: the last separator
// keeps its width there, so that layout is wider than the wrap width that makes it.
TEST(TlbrLayout, MainToolbarCandidates) {
  const std::vector<TSizeCandidate> byWidth = BuildSizeCandidates(MainToolbar(), Frame, Caption, false);
  EXPECT_EQ(byWidth, (std::vector<TSizeCandidate>{{228, 48}, {143, 76}, {95, 104}}));
  const std::vector<TSizeCandidate> byHeight = BuildSizeCandidates(MainToolbar(), Frame, Caption, true);
  EXPECT_EQ(byHeight, (std::vector<TSizeCandidate>{{95, 104}, {143, 76}, {228, 48}}));
}

// Toolbars of many shapes: the builder's list equals the width-by-width reference, starts with the single row,
// is sorted, holds no size twice, and every candidate is a real layout (its wrap width lays out to exactly it).
TEST(TlbrLayout, CandidatesMatchLayingOutEveryWidth) {
  struct TCase {
    const char* Name;
    std::vector<TToolbarChild> Children;
  };
  std::vector<TToolbarChild> forty;
  for (int i = 0; i < 50; ++i) forty.push_back(i % 5 == 4 ? Separator(i) : Button(i, 20 + (i * 7) % 13, 22));
  std::vector<TToolbarChild> noSeparators;
  for (int i = 0; i < 12; ++i) noSeparators.push_back(Button(i, 23, 22));
  std::vector<TToolbarChild> withHidden = MainToolbar();
  withHidden[8].Shown = false;
  withHidden.push_back(Button(10, 90, 30));
  withHidden.back().Shown = false;
  std::vector<TToolbarChild> mixed{Button(1, 40, 30), Separator(2, true), Button(3, 23, 22), Button(4, 23, 40),
                                   Separator(5),      Separator(6),       Button(7, 60, 22), Button(8, 10, 10)};
  const TCase cases[] = {
      {"main toolbar", MainToolbar()},
      {"40 buttons, 10 separators", forty},
      {"no separators", noSeparators},
      {"hidden children", withHidden},
      {"mixed sizes, blank and doubled separators", mixed},
  };
  for (const TCase& c : cases) {
    for (const bool byHeight : {false, true}) {
      SCOPED_TRACE(std::string(c.Name) + (byHeight ? " by height" : " by width"));
      const std::vector<TSizeCandidate> list = BuildSizeCandidates(c.Children, Frame, Caption, byHeight);
      // The same sizes (candidates of equal extent may come in either order: the sort is not stable).
      EXPECT_EQ(InSizeOrder(list), InSizeOrder(CandidatesOneWidthAtATime(c.Children)));
      ASSERT_FALSE(list.empty());
      const TSizeCandidate single = byHeight ? list.back() : list.front();
      EXPECT_EQ(single.Width, MeasureToolbar(c.Children, Params(doFloating)).Width + 2 * Frame.X);
      for (std::size_t i = 0; i < list.size(); ++i) {
        SCOPED_TRACE("candidate " + std::to_string(i));
        if (i > 0) {
          const int before = byHeight ? list[i - 1].Height : list[i - 1].Width;
          EXPECT_GE(before, byHeight ? list[i].Height : list[i].Width);
        }
        EXPECT_EQ(std::count(list.begin(), list.end(), list[i]), 1);
        const TIntSize client = MeasureToolbar(c.Children, Params(doFloating, list[i].Width - 2 * Frame.X));
        EXPECT_EQ(FloatingWindowSize(client, Frame, Caption), (TIntSize{list[i].Width, list[i].Height}));
      }
    }
  }
}

// The tolerance is 12, or less where a neighbouring candidate is nearer; never negative; 12 off the list.
TEST(TlbrLayout, SizingTolerance) {
  const std::vector<TSizeCandidate> list{{100, 30}, {95, 40}, {80, 50}, {79, 60}};
  struct TCase {
    const char* Name;
    TIntSize Window;
    bool ByHeight;
    int Expected;
  };
  const TCase cases[] = {
      {"first, next 5 narrower", {100, 30}, false, 4}, {"between 5 and 15", {95, 40}, false, 4},
      {"neighbour 1 narrower", {80, 50}, false, 0},    {"last", {79, 60}, false, 0},
      {"by height, 10 apart", {95, 40}, true, 9},      {"not a candidate", {90, 40}, false, SnapTolerance},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    EXPECT_EQ(SizingTolerance(c.ByHeight ? std::vector<TSizeCandidate>{list.rbegin(), list.rend()} : list, c.Window,
                              c.ByHeight),
              c.Expected);
  }
  EXPECT_EQ(SizingTolerance({{100, 30}, {100, 30}}, {100, 30}, false), 0);
  EXPECT_EQ(SizingTolerance({{100, 30}, {300, 20}}, {300, 20}, false), 0); // out of order: negative becomes 0
}

// Resizing the main toolbar floating at (100, 100) in its single row (228 x 48): where the cursor goes, which
// candidate the outline snaps to and which wrap width would be kept.
TEST(TlbrLayout, SizingSnapsToCandidates) {
  struct TCase {
    const char* Name;
    int HitTest;
    TIntSize Window; // at (100, 100)
    TIntPoint Cursor;
    TIntRect Expected;
    int WrapWidth;
  };
  const TCase cases[] = {
      {"right edge 5 in: within the tolerance, unchanged", htRight, {228, 48}, {323, 120}, {100, 100, 328, 148}, 0},
      {"right edge 11 out: unchanged", htRight, {228, 48}, {339, 120}, {100, 100, 328, 148}, 0},
      {"right edge 18 in: the largest not larger", htRight, {228, 48}, {310, 120}, {100, 100, 243, 176}, 135},
      {"right edge far in: the smallest", htRight, {228, 48}, {120, 120}, {100, 100, 195, 204}, 87},
      {"right edge out from two rows: the smallest larger", htRight, {143, 76}, {260, 120}, {100, 100, 328, 148}, 0},
      {"right edge out a little from two rows: next larger", htRight, {95, 104}, {230, 120}, {100, 100, 243, 176}, 135},
      {"left edge in", htLeft, {228, 48}, {228, 120}, {233, 100, 328, 204}, 87},
      {"bottom edge down", htBottom, {228, 48}, {150, 180}, {100, 100, 195, 204}, 87},
      {"bottom edge down a little", htBottom, {228, 48}, {150, 160}, {100, 100, 243, 176}, 135},
      {"bottom edge within the tolerance", htBottom, {228, 48}, {150, 159}, {100, 100, 328, 148}, 0},
      {"top edge up", htTop, {228, 48}, {150, 60}, {100, 44, 195, 148}, 87},
      {"bottom edge up from three rows: back to one", htBottom, {95, 104}, {150, 130}, {100, 100, 328, 148}, 0},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    TToolbarSizing sizing = BeginToolbarSizing(MainToolbar(), c.HitTest, 55, c.Window, Frame, Caption);
    EXPECT_EQ(sizing.ResultingWrapWidth, 55); // until the outline moves, the current wrap width stays
    const TIntRect window = TIntRect::FromBounds(100, 100, c.Window.Width, c.Window.Height);
    const TIntRect snapped = ToolbarSizingRect(sizing, window, window, Frame.X, c.Cursor);
    EXPECT_EQ(snapped, c.Expected);
    EXPECT_EQ(sizing.ResultingWrapWidth, c.WrapWidth);
    EXPECT_EQ(sizing.Snapped, snapped != window);
  }
}

// Whatever the cursor does, the outline is always one of the candidates, and the wrap width kept lays the
// toolbar out to exactly that size.
TEST(TlbrLayout, SizingNeverLeavesTheCandidates) {
  std::vector<TToolbarChild> children;
  for (int i = 0; i < 30; ++i) children.push_back(i % 4 == 3 ? Separator(i) : Button(i, 23, 22));
  for (const int hitTest : {htLeft, htRight, htTop, htBottom}) {
    SCOPED_TRACE("hit test " + std::to_string(hitTest));
    const TIntSize start = FloatingWindowSize(MeasureToolbar(children, Params(doFloating, 200)), Frame, Caption);
    const TIntRect window = TIntRect::FromBounds(500, 400, start.Width, start.Height);
    TToolbarSizing sizing = BeginToolbarSizing(children, hitTest, 200, start, Frame, Caption);
    for (int travel = -600; travel <= 600; travel += 7) {
      SCOPED_TRACE("travel " + std::to_string(travel));
      const bool horizontal = hitTest == htLeft || hitTest == htRight;
      const TIntPoint edge{hitTest == htLeft ? window.Left : window.Right,
                           hitTest == htTop ? window.Top : window.Bottom};
      const TIntPoint cursor{horizontal ? edge.X + travel : 600, horizontal ? 450 : edge.Y + travel};
      const TIntRect r = ToolbarSizingRect(sizing, window, window, Frame.X, cursor);
      const TSizeCandidate size{static_cast<std::int16_t>(r.Width()), static_cast<std::int16_t>(r.Height())};
      EXPECT_NE(std::find(sizing.Candidates.begin(), sizing.Candidates.end(), size), sizing.Candidates.end());
      const TIntSize client = MeasureToolbar(children, Params(doFloating, sizing.ResultingWrapWidth));
      EXPECT_EQ(FloatingWindowSize(client, Frame, Caption), (TIntSize{r.Width(), r.Height()}));
      // The edge opposite the dragged one stays put.
      const TIntPoint fixedCorner{hitTest == htLeft ? r.Right : r.Left, hitTest == htTop ? r.Bottom : r.Top};
      EXPECT_EQ(fixedCorner, (TIntPoint{hitTest == htLeft ? window.Right : window.Left,
                                        hitTest == htTop ? window.Bottom : window.Top}));
    }
  }
}

} // namespace
} // namespace qs
