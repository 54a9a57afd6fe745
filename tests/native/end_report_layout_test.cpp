#include <gtest/gtest.h>

#include "EndReportLayout.h"

namespace qs {
namespace {

constexpr TIntSize kFrame{8, 31}; // a dialog frame with its caption
constexpr int kLineHeight = 13;

bool Inside(const TIntRect& inner, const TIntRect& outer) {
  return inner.Left >= outer.Left && inner.Top >= outer.Top && inner.Right <= outer.Right &&
         inner.Bottom <= outer.Bottom;
}

TIntRect ClientArea(const TEndReportLayout& layout) {
  return TIntRect::FromBounds(0, 0, layout.Window.Width() - kFrame.Width, layout.Window.Height() - kFrame.Height);
}

// However long the list, the window stays inside the work area with both buttons in its client area; a short
// list takes only the room it needs, a long one all that is left, and that room goes to the list alone.
TEST(EndReportLayout, FitsTheWorkAreaWhateverTheListsLength) {
  struct TCase {
    const char* Name;
    TIntRect WorkArea;
    int HeaderLines;
    int ListLines;
    bool ListFillsTheRoom;
  };
  const TCase cases[] = {
      {"one file, large screen", {0, 0, 1280, 1024}, 0, 1, false},
      {"101 files, large screen", {0, 0, 1280, 1024}, 0, 101, true},
      {"101 files, 640 x 480 with a taskbar", {0, 0, 640, 450}, 0, 101, true},
      {"101 files in the countdown", {0, 0, 800, 570}, 2, 101, true},
      {"second monitor left of the first", {-1024, 100, 0, 868}, 0, 101, true},
      {"work area narrower than the report", {0, 0, 400, 300}, 0, 40, true},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    const TEndReportLayout layout =
        LayOutEndReport({c.WorkArea, kFrame, kLineHeight, c.HeaderLines, true, c.ListLines});
    EXPECT_TRUE(Inside(layout.Window, c.WorkArea));
    const TIntRect client = ClientArea(layout);
    for (const TIntRect& part : {layout.Summary, layout.List, layout.CopyButton, layout.CloseButton}) {
      EXPECT_FALSE(part.IsEmpty());
      EXPECT_TRUE(Inside(part, client));
    }
    EXPECT_LT(layout.Summary.Bottom, layout.List.Top);
    EXPECT_LT(layout.List.Bottom, layout.CloseButton.Top);
    EXPECT_FALSE(layout.CopyButton.Intersects(layout.CloseButton));
    EXPECT_EQ(layout.Header.IsEmpty(), c.HeaderLines == 0);
    if (!layout.Header.IsEmpty()) {
      EXPECT_LT(layout.Header.Bottom, layout.Summary.Top);
    }
    const int wanted = c.ListLines * kLineHeight + kReportListChrome;
    if (c.ListFillsTheRoom) {
      EXPECT_LT(layout.List.Height(), wanted);
      EXPECT_EQ(layout.Window.Height(), c.WorkArea.Height()) << "all the height goes to the list";
    } else {
      EXPECT_EQ(layout.List.Height(), kReportMinimumListLines * kLineHeight + kReportListChrome);
    }
  }
}

// The report on its own on a large screen, pixel for pixel: centred, buttons at the bottom right.
TEST(EndReportLayout, ShortReportOnALargeScreen) {
  const TEndReportLayout layout = LayOutEndReport({{0, 0, 1280, 1024}, kFrame, kLineHeight, 0, true, 2});
  // 12 + 13 + 8 + (3 * 13 + 6) + 8 + 25 + 12 = 123 high, 560 wide.
  EXPECT_EQ(layout.Window, TIntRect::FromBounds((1280 - 568) / 2, (1024 - 154) / 2, 568, 154));
  EXPECT_EQ(layout.Summary, TIntRect::FromBounds(12, 12, 536, 13));
  EXPECT_EQ(layout.List, TIntRect::FromBounds(12, 33, 536, 45));
  EXPECT_EQ(layout.CloseButton, TIntRect::FromBounds(473, 86, 75, 25));
  EXPECT_EQ(layout.CopyButton, TIntRect::FromBounds(390, 86, 75, 25));
}

// The countdown without a report keeps only its text and Cancel.
TEST(EndReportLayout, CountdownWithoutReport) {
  const TEndReportLayout layout = LayOutEndReport({{0, 0, 1280, 1024}, kFrame, kLineHeight, 2, false, 0});
  EXPECT_EQ(layout.Header, TIntRect::FromBounds(12, 12, 536, 26));
  EXPECT_TRUE(layout.Summary.IsEmpty());
  EXPECT_TRUE(layout.List.IsEmpty());
  EXPECT_TRUE(layout.CopyButton.IsEmpty());
  EXPECT_EQ(layout.CloseButton, TIntRect::FromBounds(473, 46, 75, 25));
  EXPECT_EQ(layout.Window.Height(), 12 + 26 + 8 + 25 + 12 + kFrame.Height);
}

} // namespace
} // namespace qs
