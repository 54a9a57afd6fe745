#include <gtest/gtest.h>

#include "AlignLayout.h"

#include <vector>

namespace qs {
namespace {

TIntRect B(int left, int top, int width, int height) { return TIntRect::FromBounds(left, top, width, height); }

// The main window's first page: a top dock, two side docks and the list in what is left, whatever order the
// children were made in; a hidden or unaligned child keeps its bounds and takes no room.
TEST(AlignLayout, EdgesTakeTheirThicknessAndTheClientFillsTheRest) {
  struct TCase {
    const char* Name;
    std::vector<TAlignItem> Items;
    std::vector<TIntRect> Expected;
  };
  const TIntRect page{0, 0, 473, 285};
  const TCase cases[] = {
      {"docks and list",
       {{TAlign::alTop, true, B(0, 0, 473, 26)},
        {TAlign::alLeft, true, B(0, 26, 9, 259)},
        {TAlign::alRight, true, B(464, 26, 9, 259)},
        {TAlign::alClient, true, B(9, 26, 455, 259)}},
       {B(0, 0, 473, 26), B(0, 26, 9, 259), B(464, 26, 9, 259), B(9, 26, 455, 259)}},
      {"empty side docks are 0 wide",
       {{TAlign::alTop, true, B(0, 0, 473, 26)},
        {TAlign::alLeft, true, B(0, 0, 0, 10)},
        {TAlign::alRight, true, B(0, 0, 0, 10)},
        {TAlign::alClient, true, B(1, 1, 1, 1)}},
       {B(0, 0, 473, 26), B(0, 26, 0, 259), B(473, 26, 0, 259), B(0, 26, 473, 259)}},
      {"client made first",
       {{TAlign::alClient, true, B(0, 0, 5, 5)}, {TAlign::alBottom, true, B(0, 0, 50, 30)}},
       {B(0, 0, 473, 255), B(0, 255, 473, 30)}},
      {"hidden and unaligned keep their bounds",
       {{TAlign::alTop, false, B(3, 4, 50, 60)},
        {TAlign::alNone, true, B(7, 8, 9, 10)},
        {TAlign::alTop, true, B(0, 0, 1, 20)}},
       {B(3, 4, 50, 60), B(7, 8, 9, 10), B(0, 0, 473, 20)}},
      {"two on one edge keep their order along it",
       {{TAlign::alTop, true, B(0, 40, 1, 10)}, {TAlign::alTop, true, B(0, 0, 1, 20)}},
       {B(0, 20, 473, 10), B(0, 0, 473, 20)}},
      {"no room left gives an empty client",
       {{TAlign::alLeft, true, B(0, 0, 500, 1)}, {TAlign::alClient, true, B(0, 0, 1, 1)}},
       {B(0, 0, 500, 285), B(500, 0, 0, 285)}},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    EXPECT_EQ(AlignItems(c.Items, page), c.Expected);
  }
}

} // namespace
} // namespace qs
