#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "TB97DragLayout.h"

namespace qs {
namespace {

std::string Name(TIntPoint p) { return "(" + std::to_string(p.X) + ", " + std::to_string(p.Y) + ")"; }

// The cursor keeps its relative place whatever the outline's shape; MulDiv rounds half away from zero.
TEST(DragLayout, OutlineFollowsTheGrabPoint) {
  // A 100 x 30 docked window pressed at client (10, 5), its client area at (11, 2) inside the window.
  const TDragGrab grab = DragGrabOf({10, 5}, {11, 2}, {100, 30});
  EXPECT_EQ(grab.Grab, (TIntPoint{21, 7}));
  EXPECT_EQ(grab.Extent, (TIntPoint{99, 29}));

  struct TCase {
    const char* Name;
    TDragGrab Grab;
    TIntSize Size;
    TIntRect Expected;
  };
  const TCase cases[] = {
      {"same shape: cursor on the same pixel", grab, {100, 30}, {479, 293, 579, 323}},
      // 36 * 21 / 99 = 7.64 -> 8; 199 * 7 / 29 = 48.03 -> 48
      {"vertical shape", grab, {37, 200}, {492, 252, 529, 452}},
      // 3 * 1 / 2 = 1.5 -> 2
      {"half rounds away from zero", {{1, 1}, {2, 2}}, {4, 4}, {498, 298, 502, 302}},
      {"grabbed over the handle at the far left", {{0, 0}, {99, 29}}, {200, 40}, {500, 300, 700, 340}},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    EXPECT_EQ(DragOutline({500, 300}, c.Size, c.Grab), c.Expected);
  }
}

struct TZoneCase {
  TIntPoint Cursor;
  bool Hit;
};

void ExpectZone(const TIntRect& dock, bool vertical, TIntSize size, const TDragGrab& grab,
                const std::vector<TZoneCase>& cases) {
  for (const TZoneCase& c : cases) {
    SCOPED_TRACE(Name(c.Cursor));
    EXPECT_EQ(InDockingZone(dock, vertical, c.Cursor, size, grab), c.Hit);
  }
}

// A 200 x 30 window grabbed in the middle: 32 * 100 / 199 -> 16 of the horizontal slack lies right of the dock,
// 20 * 15 / 29 -> 10 of the vertical slack below it.
const TDragGrab MiddleGrab{{100, 15}, {199, 29}};

// An empty left dock is 0 wide at run time; widened to 2 pixels it still catches the cursor, and the outline
// (31 x 200: 15 pixels of it left of the cursor) must still meet those 2 pixels.
TEST(DragLayout, EmptyLeftDockCatchesTheCursor) {
  const TIntRect dock{0, 50, 0, 400};
  ExpectZone(dock, true, {31, 200}, MiddleGrab,
             {
                 {{5, 200}, true},
                 {{15, 200}, true},
                 {{16, 200}, false}, // in the slack, but the outline starts right of the widened dock
                 {{17, 200}, false}, // past the slack
                 {{-16, 200}, true},
                 {{-17, 200}, false}, // in the slack, but the outline ends left of the widened dock
                 {{-18, 200}, false},
                 {{5, 50}, true},
                 {{5, 49}, false}, // a vertical dock wants the cursor within its own height
                 {{5, 399}, true},
                 {{5, 400}, false},
             });
}

// A top dock: the slack alone decides here, split by where the window was grabbed.
TEST(DragLayout, TopDockSlackFollowsTheGrab) {
  const TIntRect dock{100, 100, 500, 126};
  ExpectZone(dock, false, {200, 30}, MiddleGrab,
             {
                 {{84, 110}, true},
                 {{83, 110}, false},
                 {{515, 110}, true},
                 {{516, 110}, false},
                 {{300, 90}, true},
                 {{300, 89}, false},
                 {{300, 135}, true},
                 {{300, 136}, false},
             });
  // Grabbed at the far left: the whole slack lies left of the dock, none right of it.
  ExpectZone(dock, false, {200, 30}, {{0, 0}, {199, 29}},
             {
                 {{68, 90}, true},
                 {{67, 90}, false},
                 {{499, 90}, true},
                 {{500, 90}, false},
                 {{300, 80}, true},
                 {{300, 79}, false},
                 {{300, 125}, true},
                 {{300, 126}, false},
             });
}

// An empty top dock (0 high) is widened above and below.
TEST(DragLayout, EmptyTopDockCatchesTheCursor) {
  const TIntRect dock{100, 100, 500, 100};
  ExpectZone(dock, false, {200, 30}, MiddleGrab,
             {
                 {{300, 100}, true},
                 {{300, 89}, true},
                 {{300, 88}, false},
                 {{300, 110}, true},
                 {{300, 111}, false},
             });
}

TEST(DragLayout, ClampCursorToWorkArea) {
  const TIntRect work{0, 0, 1024, 738};
  EXPECT_EQ(ClampToWorkArea({-5, 2000}, work), (TIntPoint{0, 737}));
  EXPECT_EQ(ClampToWorkArea({1024, 0}, work), (TIntPoint{1023, 0}));
  EXPECT_EQ(ClampToWorkArea({500, 300}, work), (TIntPoint{500, 300}));
  EXPECT_EQ(ClampToWorkArea({10, 10}, {-1280, 0, 0, 1024}), (TIntPoint{-1, 10}));
}

// Frame 4 x 4, caption 16: at least 8 pixels of the outline stay on the work area, and the top never rises
// above work top + 4 - 4 - 16 = -16, which leaves 4 pixels of the caption visible.
TEST(DragLayout, FloatingOutlineStaysReachable) {
  struct TCase {
    const char* Name;
    TIntRect Outline;
    TIntRect WorkArea;
    TIntRect Expected;
  };
  const TIntRect work{0, 0, 1024, 738};
  const TCase cases[] = {
      {"inside", {100, 100, 300, 150}, work, {100, 100, 300, 150}},
      {"far left", {-500, 100, -300, 150}, work, {-192, 100, 8, 150}},
      {"far right", {2000, 100, 2200, 150}, work, {1016, 100, 1216, 150}},
      {"far below", {100, 900, 300, 950}, work, {100, 730, 300, 780}},
      {"far above: the caption rule wins", {100, -500, 300, -450}, work, {100, -16, 300, 34}},
      {"caption slightly above", {100, -20, 300, 30}, work, {100, -16, 300, 34}},
      {"caption at the limit", {100, -16, 300, 34}, work, {100, -16, 300, 34}},
      {"on a monitor left of the primary", {100, 100, 300, 150}, {-1280, 0, 0, 1024}, {-8, 100, 192, 150}},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    EXPECT_EQ(ClampFloatingOutline(c.Outline, c.WorkArea, {4, 4}, 16), c.Expected);
  }
}

TDockBarLayout Bar(int tag, int row) {
  TDockBarLayout bar;
  bar.Tag = tag;
  bar.DockRow = row;
  return bar;
}

// A dock with two rows of 22 (bars 1 and 2) takes drops of a 30-high outline: the middle across the dock picks
// the row, boundary bands insert rows, a full-size bar never shares a row.
TEST(DragLayout, DropIntoDock) {
  struct TCase {
    const char* Name;
    bool Vertical;
    TIntRect Outline;
    bool FullSize;
    int SelfTag;
    TDockDrop Expected;
    std::vector<int> RowsAfter; // rows of bars 1 and 2
  };
  const TCase cases[] = {
      {"into row 0", false, {40, -9, 240, 21}, false, 9, {0, 40}, {0, 1}},
      {"odd middle truncates: 11 / 2 = 5 is still the band", false, {40, 0, 240, 11}, false, 9, {0, 40}, {1, 2}},
      {"middle 6 joins row 0", false, {40, 0, 240, 13}, false, 9, {0, 40}, {0, 1}},
      {"band before row 1 inserts a row", false, {0, 13, 200, 43}, false, 9, {1, 0}, {0, 2}},
      {"into row 1", false, {0, 25, 200, 55}, false, 9, {1, 0}, {0, 1}},
      {"past the last row: a new last row", false, {7, 45, 207, 75}, false, 9, {2, 7}, {0, 1}},
      {"full-size onto an occupied row gets the next", false, {0, -9, 200, 21}, true, 9, {1, 0}, {0, 2}},
      {"full-size onto its own row stays", false, {0, -9, 200, 21}, true, 1, {0, 0}, {0, 1}},
      {"vertical dock: middle across is x, position is top", true, {25, 70, 55, 270}, false, 9, {1, 70}, {0, 1}},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    TDockBars bars{Bar(1, 0), Bar(2, 1)};
    const TDockDrop drop = DropIntoDock(bars, {22, 22}, c.Vertical, c.Outline, c.FullSize, c.SelfTag);
    EXPECT_EQ(drop.DockRow, c.Expected.DockRow);
    EXPECT_EQ(drop.DockPos, c.Expected.DockPos);
    if (c.SelfTag == 1) {
      EXPECT_EQ(bars[0].DockRow, drop.DockRow);
      EXPECT_EQ(bars[0].DockPos, drop.DockPos);
      EXPECT_EQ(bars[1].DockRow, c.RowsAfter[1]);
    } else {
      EXPECT_EQ((std::vector<int>{bars[0].DockRow, bars[1].DockRow}), c.RowsAfter);
    }
  }
}

} // namespace
} // namespace qs
