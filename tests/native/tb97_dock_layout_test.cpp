#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <vector>

#include "TB97DockLayout.h"

namespace qs {
namespace {

TDockBarLayout Bar(int tag, int row, int pos, int width, int height, int thickness, bool fullSize = false) {
  TDockBarLayout bar;
  bar.Tag = tag;
  bar.DockRow = row;
  bar.DockPos = pos;
  bar.Width = width;
  bar.Height = height;
  bar.Thickness = thickness;
  bar.FullSize = fullSize;
  return bar;
}

const TDockBarLayout& ByTag(const TDockBars& bars, int tag) {
  for (const TDockBarLayout& bar : bars)
    if (bar.Tag == tag) return bar;
  ADD_FAILURE() << "no bar " << tag;
  return bars.front();
}

struct TExpectedBar {
  int Tag;
  int Row;
  int Pos;
  TIntRect Bounds;
};

// Whole arrangements: rows and positions rewritten, each bar's bounds, the dock's client thickness.
TEST(DockLayout, ArrangeBarsPlacesEveryBar) {
  struct TCase {
    const char* Name;
    bool Vertical;
    TIntSize Client;
    TDockBars Bars;
    std::vector<TExpectedBar> Expected;
    int Thickness;
    bool LimitToOneRow = false;
  };
  const TCase cases[] = {
      {"second bar pushed past the first",
       false,
       {400, 26},
       {Bar(1, 0, 0, 100, 26, 22), Bar(2, 0, 10, 50, 26, 22)},
       {{1, 0, 0, {0, 0, 100, 26}}, {2, 0, 100, {100, 0, 150, 26}}},
       26},
      {"lone bar in row 5 ends in row 0",
       false,
       {400, 26},
       {Bar(1, 5, 30, 100, 26, 22)},
       {{1, 0, 30, {30, 0, 130, 26}}},
       26},
      {"new bar at -1 starts at 0", false, {400, 26}, {Bar(1, 0, -1, 100, 26, 22)}, {{1, 0, 0, {0, 0, 100, 26}}}, 26},
      {"full-size bar sharing row 1 gets it alone",
       false,
       {300, 100},
       {Bar(1, 0, 0, 40, 26, 22), Bar(2, 1, 0, 50, 26, 22), Bar(3, 1, 60, 80, 26, 22, true), Bar(4, 2, 0, 30, 26, 22)},
       {{1, 0, 0, {0, 0, 40, 26}},
        {3, 1, 0, {0, 26, 300, 52}},
        {2, 2, 0, {0, 52, 50, 78}},
        {4, 3, 0, {0, 78, 30, 104}}},
       104},
      {"overflowing row shifted back by the overflow",
       false,
       {80, 26},
       {Bar(1, 0, 10, 40, 26, 22), Bar(2, 0, 50, 40, 26, 22)},
       {{1, 0, 0, {0, 0, 40, 26}}, {2, 0, 40, {40, 0, 80, 26}}},
       26},
      {"overflow past the start: first at 0, next after it",
       false,
       {100, 26},
       {Bar(1, 0, 0, 60, 26, 22), Bar(2, 0, 70, 50, 26, 22)},
       {{1, 0, 0, {0, 0, 60, 26}}, {2, 0, 60, {60, 0, 110, 26}}},
       26},
      {"rows of 22 and 22 make 52",
       false,
       {400, 52},
       {Bar(1, 0, 0, 100, 26, 22), Bar(2, 1, 0, 100, 26, 22)},
       {{1, 0, 0, {0, 0, 100, 26}}, {2, 1, 0, {0, 26, 100, 52}}},
       52},
      {"thin bars still make a row of 8 + 4",
       false,
       {400, 12},
       {Bar(1, 0, 0, 100, 9, 5)},
       {{1, 0, 0, {0, 0, 100, 12}}},
       12},
      {"vertical dock stacks rows rightward",
       true,
       {60, 300},
       {Bar(1, 0, 0, 27, 100, 23), Bar(2, 0, 20, 27, 60, 23), Bar(3, 1, 0, 77, 50, 73, true)},
       {{1, 0, 0, {0, 0, 27, 100}}, {2, 0, 100, {0, 100, 27, 160}}, {3, 1, 0, {27, 0, 104, 300}}},
       104},
      {"negative row joins row 0",
       false,
       {400, 26},
       {Bar(1, -2, 50, 20, 26, 22), Bar(2, 0, 0, 30, 26, 22)},
       {{2, 0, 0, {0, 0, 30, 26}}, {1, 0, 50, {50, 0, 70, 26}}},
       26},
      {"LimitToOneRow puts every bar in row 0, in row order",
       false,
       {400, 26},
       {Bar(1, 1, 0, 50, 26, 22), Bar(2, 0, 0, 40, 26, 22), Bar(3, 2, 20, 30, 26, 22)},
       {{2, 0, 0, {0, 0, 40, 26}}, {1, 0, 40, {40, 0, 90, 26}}, {3, 0, 90, {90, 0, 120, 26}}},
       26,
       true},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    TDockBars bars = c.Bars;
    const TDockArrangement arrangement = ArrangeBars(bars, {c.Vertical, c.Client, false, c.LimitToOneRow});
    EXPECT_TRUE(arrangement.ThicknessIsClient);
    EXPECT_EQ(arrangement.Thickness, c.Thickness);
    ASSERT_EQ(bars.size(), c.Bars.size());
    for (const TExpectedBar& expected : c.Expected) {
      SCOPED_TRACE("bar " + std::to_string(expected.Tag));
      const TDockBarLayout& bar = ByTag(bars, expected.Tag);
      EXPECT_EQ(bar.DockRow, expected.Row);
      EXPECT_EQ(bar.DockPos, expected.Pos);
      EXPECT_EQ(bar.Bounds, expected.Bounds);
    }
  }
}

// After an arrangement the rows are 0..n-1 without gaps, bars of a row are in DockPos order without overlap,
// and a full-size bar is alone in its row: checked over bars scattered across rows with random positions.
TEST(DockLayout, ArrangeBarsKeepsItsInvariants) {
  for (int seed = 0; seed < 200; ++seed) {
    SCOPED_TRACE("seed " + std::to_string(seed));
    TDockBars bars;
    unsigned state = static_cast<unsigned>(seed) * 2654435761u + 1;
    auto next = [&state](int range) {
      state = state * 1103515245u + 12345u;
      return static_cast<int>((state >> 16) % static_cast<unsigned>(range));
    };
    const int count = 1 + next(6);
    for (int tag = 0; tag < count; ++tag)
      bars.push_back(Bar(tag, next(5), next(300) - 20, 20 + next(80), 26, 8 + next(30), next(5) == 0));
    ArrangeBars(bars, {false, {200, 40}, false, seed % 7 == 0});
    const int highest = HighestRow(bars);
    for (int row = 0; row <= highest; ++row) {
      SCOPED_TRACE("row " + std::to_string(row));
      const int inRow = CountBarsInRow(bars, row, NoBar);
      EXPECT_GT(inRow, 0);
      int end = 0;
      for (const TDockBarLayout& bar : bars) {
        if (bar.DockRow != row) continue;
        EXPECT_GE(bar.DockPos, end);
        end = bar.Bounds.Right;
        if (bar.FullSize) {
          EXPECT_EQ(inRow, 1);
          EXPECT_EQ(bar.DockPos, 0);
        }
      }
    }
  }
}

// An empty dock is 0 thick (1 with FixAlign) as a whole window, whatever frame it has, and keeps its aligned edge.
TEST(DockLayout, EmptyDockCollapses) {
  struct TCase {
    const char* Name;
    TDockPosition Position;
    bool FixAlign;
    TIntRect Expected;
  };
  // Window (10, 20)-(110, 60) with a 1-pixel bound line on each side: client 98 x 38.
  const TIntRect window{10, 20, 110, 60};
  const TIntSize client{98, 38};
  const TCase cases[] = {
      {"top", dpTop, false, {10, 20, 110, 20}},
      {"top FixAlign", dpTop, true, {10, 20, 110, 21}},
      {"bottom keeps its bottom edge", dpBottom, false, {10, 60, 110, 60}},
      {"left", dpLeft, false, {10, 20, 10, 60}},
      {"right keeps its right edge", dpRight, true, {109, 20, 110, 60}},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    TDockBars none;
    const TDockArrangement arrangement = ArrangeBars(none, {IsVerticalDock(c.Position), client, c.FixAlign, false});
    EXPECT_FALSE(arrangement.ThicknessIsClient);
    EXPECT_TRUE(arrangement.RowThicknesses.empty());
    EXPECT_EQ(DockBoundsAfterArrange(c.Position, window, client, arrangement), c.Expected);
  }
}

// With bars, the thickness is a client size: the dock's frame is added, and the far edge moves for bottom and
// right docks.
TEST(DockLayout, DockBoundsAfterArrangeAddsTheFrame) {
  struct TCase {
    const char* Name;
    TDockPosition Position;
    TIntRect Expected;
  };
  const TIntRect window{10, 20, 110, 60}; // client 98 x 38: a 2-pixel frame in each direction
  const TIntSize client{98, 38};
  TDockArrangement arrangement;
  arrangement.Thickness = 52;
  const TCase cases[] = {
      {"top grows downward", dpTop, {10, 20, 110, 74}},
      {"bottom grows upward", dpBottom, {10, 6, 110, 60}},
      {"left grows rightward", dpLeft, {10, 20, 64, 60}},
      {"right grows leftward", dpRight, {56, 20, 110, 60}},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    EXPECT_EQ(DockBoundsAfterArrange(c.Position, window, client, arrangement), c.Expected);
  }
  // SetDockSize without the frame takes the sizes as they are.
  EXPECT_EQ(SetDockSizeBounds(dpBottom, window, client, false, 50, 30), (TIntRect{10, 30, 60, 60}));
}

// Every offset across the two-row example: the 5-pixel bands at row boundaries create rows, the rest joins one.
TEST(DockLayout, FindDropRowOverTwoRows) {
  const std::vector<int> rows{22, 22};
  struct TRange {
    int First, Last;
    TDropRow Expected;
  };
  const TRange ranges[] = {
      {-10, 5, {0, true}},  {6, 21, {0, false}}, {22, 31, {1, true}},
      {32, 47, {1, false}}, {48, 57, {2, true}}, {58, 400, {2, false}},
  };
  for (const TRange& range : ranges) {
    for (int offset = range.First; offset <= range.Last; ++offset) {
      SCOPED_TRACE("offset " + std::to_string(offset));
      const TDropRow drop = FindDropRow(rows, 1, offset);
      EXPECT_EQ(drop.Row, range.Expected.Row);
      EXPECT_EQ(drop.NewRow, range.Expected.NewRow);
    }
  }
  // The open end of the last row does not overflow.
  for (int offset : {INT_MAX - 6, INT_MAX - 5, INT_MAX}) {
    SCOPED_TRACE("offset " + std::to_string(offset));
    EXPECT_EQ(FindDropRow(rows, 1, offset).Row, 2);
    EXPECT_FALSE(FindDropRow(rows, 1, offset).NewRow);
  }
}

// An empty dock: new row 0 in the first band, row 0 (a new last row) beyond.
TEST(DockLayout, FindDropRowInAnEmptyDock) {
  const std::vector<int> none;
  for (int offset = -3; offset <= 30; ++offset) {
    SCOPED_TRACE("offset " + std::to_string(offset));
    const TDropRow drop = FindDropRow(none, -1, offset);
    EXPECT_EQ(drop.Row, 0);
    EXPECT_EQ(drop.NewRow, offset <= DropNewRowBand);
  }
}

// RowAtOffset counts each row with its frame; past the last row it answers the next row number.
TEST(DockLayout, RowAtOffset) {
  const std::vector<int> rows{22, 8};
  struct TCase {
    int Offset, Row;
  };
  const TCase cases[] = {{-5, 0}, {0, 0}, {25, 0}, {26, 1}, {37, 1}, {38, 2}, {1000, 2}};
  for (const TCase& c : cases) {
    SCOPED_TRACE("offset " + std::to_string(c.Offset));
    EXPECT_EQ(RowAtOffset(rows, 1, c.Offset), c.Row);
  }
  EXPECT_EQ(RowAtOffset({}, -1, 0), 0);
}

// Row bookkeeping: empty rows close up, InsertRow opens one, counts skip the bar asked about.
TEST(DockLayout, RowBookkeeping) {
  struct TCase {
    const char* Name;
    std::vector<int> Rows;
    void (*Step)(TDockBars&);
    std::vector<int> Expected;
  };
  const TCase cases[] = {
      {"gaps close", {0, 2, 2, 5}, RemoveEmptyRows, {0, 1, 1, 2}},
      {"no row 0", {3, 3, 4}, RemoveEmptyRows, {0, 0, 1}},
      {"already packed", {0, 1, 1}, RemoveEmptyRows, {0, 1, 1}},
      {"insert row 1", {0, 1, 2}, [](TDockBars& bars) { InsertRow(bars, 1); }, {0, 2, 3}},
      {"insert past the last", {0, 1}, [](TDockBars& bars) { InsertRow(bars, 2); }, {0, 1}},
      {"one row", {0, 3, 1}, PutAllInRowZero, {0, 0, 0}},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    TDockBars bars;
    for (std::size_t i = 0; i < c.Rows.size(); ++i) bars.push_back(Bar(static_cast<int>(i), c.Rows[i], 0, 10, 10, 8));
    c.Step(bars);
    std::vector<int> rows;
    for (const TDockBarLayout& bar : bars) rows.push_back(bar.DockRow);
    EXPECT_EQ(rows, c.Expected);
  }

  const TDockBars bars{Bar(1, 0, 0, 10, 10, 8), Bar(2, 1, 0, 10, 10, 8), Bar(3, 1, 20, 10, 10, 8)};
  EXPECT_EQ(CountBarsInRow(bars, 1, NoBar), 2);
  EXPECT_EQ(CountBarsInRow(bars, 1, 3), 1);
  EXPECT_EQ(CountBarsInRow(bars, 1, 99), 2);
  EXPECT_EQ(CountBarsInRow(bars, 4, NoBar), 0);
  EXPECT_EQ(HighestRow(bars), 1);
  EXPECT_EQ(HighestRow({}), -1);
}

// Stored thickness for known rows, the asking bar's own beyond them, 0 when nobody asks.
TEST(DockLayout, RowThicknesses) {
  const TDockBars bars{Bar(1, 0, 0, 10, 10, 22), Bar(2, 0, 20, 10, 10, 30), Bar(3, 2, 0, 10, 10, 3)};
  const std::vector<int> rows = BuildRowThicknesses(bars);
  EXPECT_EQ(rows, (std::vector<int>{30, MinRowThickness, MinRowThickness}));
  EXPECT_EQ(GetRowThickness(rows, 0, 5), 30);
  EXPECT_EQ(GetRowThickness(rows, 3, 17), 17);
  EXPECT_EQ(GetRowThickness(rows, 3), 0);
  EXPECT_EQ(GetRowThickness(rows, -1, 17), 17);
}

// Bound lines take a pixel off their side, never from a client area smaller than 2 x 2.
TEST(DockLayout, BoundLines) {
  struct TCase {
    const char* Name;
    TIntRect Proposed;
    bool Top, Bottom, Left, Right;
    TIntRect Expected;
  };
  const TCase cases[] = {
      {"all four", {0, 0, 100, 30}, true, true, true, true, {1, 1, 99, 29}},
      {"top only", {0, 0, 100, 30}, true, false, false, false, {0, 1, 100, 30}},
      {"bottom and right", {5, 5, 100, 30}, false, true, false, true, {5, 5, 99, 29}},
      {"2 x 2 still takes them", {0, 0, 2, 2}, true, true, true, true, {1, 1, 1, 1}},
      {"1 wide (an empty side dock) is left alone", {0, 0, 1, 30}, true, true, true, true, {0, 0, 1, 30}},
      {"0 high is left alone", {0, 0, 100, 0}, true, true, true, true, {0, 0, 100, 0}},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    EXPECT_EQ(DockClientWithBoundLines(c.Proposed, c.Top, c.Bottom, c.Left, c.Right), c.Expected);
  }
}

// Tiles start at the anchor (which may lie before the area painted) and cover it to its right and bottom edges.
TEST(DockLayout, BackgroundTiles) {
  EXPECT_EQ(BackgroundTileOrigins({-5, -3, 20, 10}, {10, 8}),
            (std::vector<TIntPoint>{{-5, -3}, {-5, 5}, {5, -3}, {5, 5}, {15, -3}, {15, 5}}));
  EXPECT_EQ(BackgroundTileOrigins({0, 0, 16, 16}, {16, 16}), (std::vector<TIntPoint>{{0, 0}}));
  EXPECT_TRUE(BackgroundTileOrigins({0, 0, 16, 16}, {0, 16}).empty());
  EXPECT_TRUE(BackgroundTileOrigins({0, 0, 0, 16}, {8, 8}).empty());
  EXPECT_EQ(BackgroundTileOrigins({INT_MAX - 10, 0, INT_MAX, 1}, {8, 8}).size(), 2u);
}

TEST(DockLayout, Orientation) {
  EXPECT_EQ(DockOrientationOf(dpTop), doHorizontal);
  EXPECT_EQ(DockOrientationOf(dpBottom), doHorizontal);
  EXPECT_EQ(DockOrientationOf(dpLeft), doVertical);
  EXPECT_EQ(DockOrientationOf(dpRight), doVertical);
}

} // namespace
} // namespace qs
