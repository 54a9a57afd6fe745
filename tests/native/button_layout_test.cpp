#include <gtest/gtest.h>

#include <optional>
#include <ostream>
#include <string>
#include <string_view>

#include "TB97CtlsLayout.h"

namespace qs {

std::ostream& operator<<(std::ostream& out, const TIntPoint& p) { return out << "(" << p.X << ", " << p.Y << ")"; }
std::ostream& operator<<(std::ostream& out, const TIntRect& r) {
  return out << "(" << r.Left << ", " << r.Top << ", " << r.Right << ", " << r.Bottom << ")";
}

namespace {

// A caption font where every character is 6 pixels wide and a line 13 high; a wrapped caption takes as many
// lines as its width needs. Remembers the width it was asked to measure in.
constexpr int CharWidth = 6;
constexpr int LineHeight = 13;

struct TFakeMeasure {
  std::optional<int> AskedWidth;
  TIntSize operator()(std::string_view caption, int width, bool wordWrap) {
    AskedWidth = width;
    const int textWidth = static_cast<int>(caption.size()) * CharWidth;
    if (!wordWrap || textWidth <= width || width < CharWidth) return TIntSize{textWidth, LineHeight};
    const int perLine = width / CharWidth;
    const int lines = (static_cast<int>(caption.size()) + perLine - 1) / perLine;
    return TIntSize{perLine * CharWidth, lines * LineHeight};
  }
};

TButtonContentPlacement Place(const TButtonContent& content, TFakeMeasure* measure = nullptr) {
  TFakeMeasure own;
  TFakeMeasure& m = measure ? *measure : own;
  return ComputeLayout(content, [&m](std::string_view c, int w, bool wrap) { return m(c, w, wrap); });
}

// The client rectangle of a 23 x 22 flat button (its frame takes one pixel on each side).
const TIntRect FlatButtonClient{1, 1, 22, 21};

// The program's glyph buttons: each picture sits where a 23 x 22 flat button shows it, one pixel further
// right and down while pressed, whether or not a caption is kept but not drawn.
TEST(ButtonLayout, GlyphOnlyButtonsCentreTheirPicture) {
  struct TCase {
    const char* Name;
    TIntSize Glyph;
    bool Pressed;
    TIntPoint Expected;
  };
  const TCase cases[] = {
      {"16 x 16 glyph", {16, 16}, false, {4, 3}}, {"16 x 16 glyph pressed", {16, 16}, true, {5, 4}},
      {"11 x 11 Play", {11, 11}, false, {6, 6}},  {"11 x 11 Play pressed", {11, 11}, true, {7, 7}},
      {"12 x 13 Stop", {12, 13}, false, {6, 5}},  {"12 x 13 Stop pressed", {12, 13}, true, {7, 6}},
  };
  for (const TCase& c : cases) {
    for (bool captionKeptButHidden : {false, true}) {
      SCOPED_TRACE(std::string(c.Name) + (captionKeptButHidden ? ", caption not drawn" : ""));
      TButtonContent content;
      content.Client = FlatButtonClient;
      content.PressOffset = c.Pressed ? TIntPoint{1, 1} : TIntPoint{};
      content.GlyphSize = c.Glyph;
      content.Spacing = 4;
      content.Caption = captionKeptButHidden ? "Play" : "";
      content.DrawCaption = !captionKeptButHidden;
      const TButtonContentPlacement placement = Place(content);
      EXPECT_EQ(placement.Glyph, c.Expected);
      EXPECT_TRUE(placement.Caption.IsEmpty());
    }
  }
}

// A caption-only button with the default Margin -1 and Spacing 4: the spacing falls away and the caption is
// centred, margin = (client width - caption width + 1) div 2.
TEST(ButtonLayout, ACaptionOnlyButtonCentresItsCaption) {
  TButtonContent content;
  content.Client = TIntRect{1, 1, 72, 21}; // the 73 x 22 Encode button
  content.Caption = "Encode";              // 36 x 13
  content.Spacing = 4;
  EXPECT_EQ(Place(content).Caption, (TIntRect{1 + (71 - 36 + 1) / 2, 1 + (20 - 13 + 1) / 2, 55, 18}));
  content.PressOffset = {1, 1};
  EXPECT_EQ(Place(content).Caption, (TIntRect{20, 6, 56, 19}));
}

// Margin -1 and Spacing -1: the two outer gaps and the gap between glyph and caption are each a third of the
// free space, across the row or down the column.
TEST(ButtonLayout, AutomaticMarginAndSpacingShareTheFreeSpaceInThirds) {
  TButtonContent content;
  content.Client = TIntRect{0, 0, 100, 30};
  content.GlyphSize = {16, 16};
  content.Caption = "Hello"; // 30 x 13: 54 pixels free across
  TButtonContentPlacement placement = Place(content);
  EXPECT_EQ(placement.Glyph, (TIntPoint{18, 7}));
  EXPECT_EQ(placement.Caption, (TIntRect{52, 9, 82, 22}));

  content.Client = TIntRect{0, 0, 40, 60};
  content.Layout = TButtonLayout::blGlyphTop;
  content.Caption = "Open"; // 24 x 13: 31 pixels free down, thirds of 10
  placement = Place(content);
  EXPECT_EQ(placement.Glyph, (TIntPoint{12, 10}));
  EXPECT_EQ(placement.Caption, (TIntRect{8, 36, 32, 49}));
}

// A top or bottom layout needs a glyph to stack on: without one it is laid out as glyph-left.
TEST(ButtonLayout, TopAndBottomLayoutsWithoutAGlyphBehaveAsGlyphLeft) {
  for (TButtonLayout layout : {TButtonLayout::blGlyphTop, TButtonLayout::blGlyphBottom}) {
    for (TIntSize glyph : {TIntSize{0, 0}, TIntSize{16, 0}, TIntSize{0, 16}}) {
      SCOPED_TRACE(std::to_string(static_cast<int>(layout)) + " with glyph " + std::to_string(glyph.Width) + "x" +
                   std::to_string(glyph.Height));
      TButtonContent content;
      content.Client = TIntRect{2, 3, 60, 40};
      content.GlyphSize = glyph;
      content.Caption = "Menu";
      content.Arrow = true;
      content.Margin = 5;
      TButtonContent left = content;
      left.Layout = TButtonLayout::blGlyphLeft;
      content.Layout = layout;
      EXPECT_EQ(Place(content), Place(left));
    }
  }
}

// Fixed margins and spacings, the glyph on either side, the arrow after the content.
TEST(ButtonLayout, PlacesGlyphCaptionAndArrowByLayout) {
  struct TCase {
    const char* Name;
    TIntRect Client;
    TIntSize Glyph;
    std::string_view Caption;
    TButtonLayout Layout;
    int Margin, Spacing;
    bool Arrow;
    TButtonContentPlacement Expected;
  };
  const TCase cases[] = {
      // Arrow at the right margin, the glyph before it, the caption before the glyph.
      {"glyph right with arrow",
       {0, 0, 80, 22},
       {16, 16},
       "Go",
       TButtonLayout::blGlyphRight,
       3,
       2,
       true,
       {{52, 3}, {68, 9}, {38, 5, 50, 18}}},
      // Spacing -1 with a margin: what is left after margin, glyph and arrow is halved around the caption.
      {"margin set, spacing automatic",
       {0, 0, 100, 22},
       {16, 16},
       "Hello",
       TButtonLayout::blGlyphLeft,
       10,
       -1,
       false,
       {{10, 3}, {78, 11}, {48, 5, 78, 18}}},
      // No glyph: the arrow follows the caption and is centred on it.
      {"caption with arrow",
       {0, 0, 60, 22},
       {0, 0},
       "Menu",
       TButtonLayout::blGlyphLeft,
       -1,
       4,
       true,
       {{14, 11}, {38, 10}, {14, 5, 38, 18}}},
      // Stacked: the glyph at the bottom, the caption above it, the arrow beside the glyph.
      {"glyph bottom with arrow",
       {0, 0, 50, 50},
       {16, 16},
       "Up",
       TButtonLayout::blGlyphBottom,
       4,
       3,
       true,
       {{13, 30}, {29, 36}, {19, 14, 31, 27}}},
      {"client offset",
       {5, 7, 28, 27},
       {16, 16},
       "",
       TButtonLayout::blGlyphLeft,
       2,
       4,
       false,
       {{7, 9}, {23, 17}, {23, 17, 23, 17}}},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    TButtonContent content;
    content.Client = c.Client;
    content.GlyphSize = c.Glyph;
    content.Caption = c.Caption;
    content.Layout = c.Layout;
    content.Margin = c.Margin;
    content.Spacing = c.Spacing;
    content.Arrow = c.Arrow;
    const TButtonContentPlacement placement = Place(content);
    EXPECT_EQ(placement.Glyph, c.Expected.Glyph);
    EXPECT_EQ(placement.Arrow, c.Expected.Arrow);
    EXPECT_EQ(placement.Caption, c.Expected.Caption);
  }
}

// A wrapping caption is measured in the width left after the arrow, the glyph and the gaps that automatic
// margins and spacings will probably take; a single-line caption only loses the arrow's width.
TEST(ButtonLayout, AWrappingCaptionIsMeasuredInTheRoomLeftForIt) {
  struct TCase {
    const char* Name;
    TIntSize Glyph;
    TButtonLayout Layout;
    int Margin, Spacing;
    bool WordWrap;
    int ExpectedWidth;
  };
  const TCase cases[] = {
      {"automatic gaps", {16, 16}, TButtonLayout::blGlyphLeft, -1, -1, true, 100 - 9 - (16 + 4) - 2 * 4},
      {"spacing stands in for the margin", {16, 16}, TButtonLayout::blGlyphRight, -1, 2, true, 100 - 9 - 18 - 2 * 2},
      {"margin set", {16, 16}, TButtonLayout::blGlyphLeft, 5, -1, true, 100 - 9 - 20 - 2 * 5},
      {"no glyph", {0, 0}, TButtonLayout::blGlyphLeft, 5, 2, true, 100 - 9 - 2 * 4},
      {"stacked: the arrow is not beside the caption", {16, 16}, TButtonLayout::blGlyphTop, 5, 2, true, 100 - 2 * 4},
      {"single line", {16, 16}, TButtonLayout::blGlyphLeft, 5, 2, false, 100 - 9},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    TButtonContent content;
    content.Client = TIntRect{0, 0, 100, 60};
    content.GlyphSize = c.Glyph;
    content.Caption = "A caption long enough to wrap";
    content.Layout = c.Layout;
    content.Margin = c.Margin;
    content.Spacing = c.Spacing;
    content.WordWrap = c.WordWrap;
    content.Arrow = true;
    TFakeMeasure measure;
    Place(content, &measure);
    ASSERT_TRUE(measure.AskedWidth.has_value());
    EXPECT_EQ(*measure.AskedWidth, c.ExpectedWidth);
  }
}

TEST(ButtonLayout, CheckerAndArrowShapes) {
  int highlights = 0;
  for (int y = 0; y < CheckerSize; ++y)
    for (int x = 0; x < CheckerSize; ++x) highlights += CheckerIsHighlight(x, y);
  EXPECT_EQ(highlights, CheckerSize * CheckerSize / 2);
  EXPECT_TRUE(CheckerIsHighlight(0, 0));
  EXPECT_TRUE(CheckerIsHighlight(3, 5));
  EXPECT_FALSE(CheckerIsHighlight(1, 0));

  const auto points = DropArrowPoints(TIntPoint{10, 20});
  EXPECT_EQ(points[0], (TIntPoint{14, 20}));
  EXPECT_EQ(points[1], (TIntPoint{18, 20}));
  EXPECT_EQ(points[2], (TIntPoint{16, 22}));
}

} // namespace
} // namespace qs
