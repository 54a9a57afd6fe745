#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <vector>

#include "TB97FloatLayout.h"

namespace qs {
namespace {

std::string Name(TIntPoint p) { return "(" + std::to_string(p.X) + ", " + std::to_string(p.Y) + ")"; }

// The docked client area: a 2-pixel frame all round, plus the drag handle on the side the dock lets it drag from.
TEST(FloatLayout, DockedFrame) {
  struct TCase {
    const char* Name;
    bool Vertical;
    bool AllowDrag;
    TDragHandleStyle Style;
    TIntRect Client;
  };
  const TIntSize window{100, 30};
  const TCase cases[] = {
      {"horizontal double: 13 narrower, 4 lower", false, true, dhDouble, {11, 2, 98, 28}},
      {"horizontal single: 10 narrower", false, true, dhSingle, {8, 2, 98, 28}},
      {"horizontal without handle", false, true, dhNone, {2, 2, 98, 28}},
      {"dock without dragging: no handle", false, false, dhDouble, {2, 2, 98, 28}},
      {"vertical double: handle on top", true, true, dhDouble, {2, 11, 98, 28}},
      {"vertical single", true, true, dhSingle, {2, 8, 98, 28}},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    const TIntRect client = DockedClientRect(window, c.Vertical, c.AllowDrag, c.Style);
    EXPECT_EQ(client, c.Client);
    EXPECT_EQ(DockedWindowSize({client.Width(), client.Height()}, c.Vertical, c.AllowDrag, c.Style), window);
  }
}

// In its dock a tool window's client area fills its row across the dock; a FullSize one runs the dock's length.
TEST(FloatLayout, DockedClientSizeInRow) {
  struct TCase {
    const char* Name;
    TIntSize Layout;
    bool Vertical;
    int Row;
    bool FullSize;
    TIntSize Expected;
  };
  const TIntSize dockClient{500, 400};
  const TCase cases[] = {
      {"row thicker than the toolbar", {212, 22}, false, 30, false, {212, 30}},
      {"toolbar thicker than its row", {212, 22}, false, 8, false, {212, 22}},
      {"full size: the dock's width less the frame", {212, 22}, false, 22, true, {487, 22}},
      {"vertical row", {73, 152}, true, 80, false, {80, 152}},
      {"vertical full size: the dock's height less the frame", {73, 152}, true, 73, true, {73, 387}},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    // The docked frame of a dhDouble window: 13 along the dock, 4 across it.
    const TIntSize frame = c.Vertical ? TIntSize{4, 13} : TIntSize{13, 4};
    EXPECT_EQ(DockedClientSizeInRow(c.Layout, c.Vertical, c.Row, c.FullSize, dockClient, frame), c.Expected);
  }
}

// Frame 4 x 4, caption 16, client 100 wide: the strip is 15 high at (4, 4); the close button is its last 15
// pixels; the line under it is the strip's width; the client area starts under the caption.
TEST(FloatLayout, FloatingFrameParts) {
  const TIntPoint frame{4, 4};
  const TFloatingCaptionRects withClose = FloatingCaptionRects(frame, 16, 100, true);
  EXPECT_EQ(withClose.Strip, (TIntRect{4, 4, 104, 19}));
  EXPECT_EQ(withClose.Caption, (TIntRect{4, 4, 89, 19}));
  EXPECT_EQ(withClose.CloseButton, (TIntRect{89, 4, 104, 19}));
  EXPECT_EQ(withClose.LineBelow, (TIntRect{4, 19, 104, 20}));

  const TFloatingCaptionRects plain = FloatingCaptionRects(frame, 16, 100, false);
  EXPECT_EQ(plain.Caption, plain.Strip);
  EXPECT_TRUE(plain.CloseButton.IsEmpty());

  const TIntSize window = FloatingWindowSize({100, 22}, frame, 16);
  EXPECT_EQ(window, (TIntSize{108, 46}));
  EXPECT_EQ(FloatingClientRect(window, frame, 16), (TIntRect{4, 20, 104, 42}));
}

struct THitCase {
  TIntPoint Point;
  int Expected;
  int DefaultAnswer = htNowhere;
};

void ExpectHits(const TFloatingHitTest& base, const std::vector<THitCase>& cases) {
  for (const THitCase& c : cases) {
    SCOPED_TRACE(Name(c.Point) + " default " + std::to_string(c.DefaultAnswer));
    TFloatingHitTest input = base;
    input.Point = c.Point;
    input.DefaultAnswer = c.DefaultAnswer;
    EXPECT_EQ(FloatingHitTest(input), c.Expected);
  }
}

// Window 108 x 60, frame 4 x 4, caption 16, client 100 wide. Zones: left x 0..3, right x 103..107 (one pixel
// wider), top y 0..3, bottom y 55..59. Corner zones reach 16 + 4 - 1 = 19 pixels along each edge.
TFloatingHitTest SampleWindow() {
  TFloatingHitTest input;
  input.WindowSize = {108, 60};
  input.FrameMetrics = {4, 4};
  input.CaptionHeight = 16;
  input.ClientWidth = 100;
  return input;
}

TEST(FloatLayout, HitTestWithCornerSizing) {
  ExpectHits(SampleWindow(), {
                                 {{0, 0}, htTopLeft},
                                 {{0, 18}, htTopLeft},
                                 {{0, 19}, htLeft},
                                 {{3, 40}, htLeft},
                                 {{0, 41}, htBottomLeft},
                                 {{107, 18}, htTopRight},
                                 {{103, 30}, htRight},
                                 {{107, 41}, htBottomRight},
                                 {{18, 2}, htTopLeft},
                                 {{19, 2}, htTop},
                                 {{88, 3}, htTop},
                                 {{89, 0}, htTopRight},
                                 {{50, 55}, htBottom},
                                 {{18, 59}, htBottomLeft},
                                 {{89, 59}, htBottomRight},
                                 {{50, 54}, htNowhere},
                                 {{50, 19}, htNowhere}, // the line under the caption is frame, not caption
                                 {{50, 30}, htClient, htClient},
                                 {{4, 30}, htClient, htClient},
                             });
}

TEST(FloatLayout, HitTestCaptionAndCloseButton) {
  ExpectHits(SampleWindow(), {
                                 {{4, 4}, htClient},
                                 {{88, 18}, htClient},
                                 {{89, 4}, htClose},
                                 {{95, 10}, htClose},
                                 {{103, 18}, htClose}, // the strip wins over the right zone it overlaps
                             });
  TFloatingHitTest noClose = SampleWindow();
  noClose.CloseButton = false;
  ExpectHits(noClose, {{{95, 10}, htClient}, {{103, 10}, htClient}});
}

// The toolbar's frame has no corners: top and bottom take the whole width, then left and right.
TEST(FloatLayout, HitTestWithoutCornerSizing) {
  TFloatingHitTest input = SampleWindow();
  input.CornerSizing = false;
  ExpectHits(input, {
                        {{0, 0}, htTop},
                        {{107, 3}, htTop},
                        {{0, 55}, htBottom},
                        {{107, 59}, htBottom},
                        {{0, 4}, htLeft},
                        {{3, 54}, htLeft},
                        {{103, 30}, htRight},
                        {{102, 30}, htNowhere},
                    });
}

// A frame that is not sizable never resizes, and the system's own sizing answers become "nowhere".
TEST(FloatLayout, HitTestNotSizable) {
  TFloatingHitTest input = SampleWindow();
  input.FloatSizable = false;
  ExpectHits(input, {
                        {{0, 30}, htNowhere, htLeft},
                        {{0, 0}, htNowhere, htTopLeft},
                        {{0, 30}, htNowhere},
                        {{95, 10}, htClose},
                        {{50, 30}, htClient, htClient},
                    });
}

TEST(FloatLayout, MoveOnScreen) {
  struct TCase {
    const char* Name;
    TIntRect Bounds;
    TIntRect WorkArea;
    bool OnlyIfFullyOffscreen;
    TIntRect Expected;
  };
  const TIntRect primary{0, 0, 1024, 738};
  const TIntRect secondLeft{-1280, 0, 0, 1024}; // a monitor left of the primary one
  const TCase cases[] = {
      {"fully off to the right", {1100, 100, 1200, 150}, primary, true, {924, 100, 1024, 150}},
      {"fully off above", {100, -300, 200, -250}, primary, true, {100, 0, 200, 50}},
      {"fully off below and left", {-400, 900, -300, 950}, primary, true, {0, 688, 100, 738}},
      {"partly on stays", {1000, 100, 1100, 150}, primary, true, {1000, 100, 1100, 150}},
      {"partly on moved when asked", {1000, 100, 1100, 150}, primary, false, {924, 100, 1024, 150}},
      {"inside stays", {10, 10, 110, 60}, primary, false, {10, 10, 110, 60}},
      {"larger than the work area: top-left wins", {-50, -50, 1100, 800}, primary, false, {0, 0, 1150, 850}},
      {"on the second monitor stays there", {-600, 200, -500, 250}, secondLeft, true, {-600, 200, -500, 250}},
      {"off the second monitor's left edge", {-1500, 200, -1400, 250}, secondLeft, true, {-1280, 200, -1180, 250}},
      {"off the second monitor's right edge", {-50, 200, 50, 250}, secondLeft, false, {-100, 200, 0, 250}},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    EXPECT_EQ(MoveOnScreen(c.Bounds, c.WorkArea, c.OnlyIfFullyOffscreen), c.Expected);
  }
}

// The resize loop moves only the edges the hit test names; an edge pulled too far stops at the minimum size.
TEST(FloatLayout, SizingRectNeverBelowMinimum) {
  struct TCase {
    const char* Name;
    int HitTest;
    TIntPoint Travel;
    TIntRect Expected;
  };
  const TIntRect start{100, 100, 300, 200};
  const TIntSize minimum{50, 40};
  const TCase cases[] = {
      {"right out", htRight, {30, 99}, {100, 100, 330, 200}},
      {"right in past the minimum", htRight, {-180, 0}, {100, 100, 150, 200}},
      {"left in", htLeft, {30, 0}, {130, 100, 300, 200}},
      {"left in past the minimum", htLeft, {190, 0}, {250, 100, 300, 200}},
      {"left past the right edge", htLeft, {500, 0}, {250, 100, 300, 200}},
      {"top up", htTop, {7, -20}, {100, 80, 300, 200}},
      {"top down past the minimum", htTop, {0, 90}, {100, 160, 300, 200}},
      {"bottom down", htBottom, {10, 10}, {100, 100, 300, 210}},
      {"bottom up past the minimum", htBottom, {0, -95}, {100, 100, 300, 140}},
      {"bottom-right corner", htBottomRight, {10, 20}, {100, 100, 310, 220}},
      {"top-left corner past both minimums", htTopLeft, {500, 500}, {250, 160, 300, 200}},
      {"top-right corner", htTopRight, {-10, -10}, {100, 90, 290, 200}},
      {"bottom-left corner", htBottomLeft, {-10, 10}, {90, 100, 300, 210}},
      {"not a sizing zone", htClient, {40, 40}, {100, 100, 300, 200}},
  };
  const TIntPoint cursorStart{300, 150};
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    const TIntPoint now{cursorStart.X + c.Travel.X, cursorStart.Y + c.Travel.Y};
    const TIntRect r = SizingRect(start, c.HitTest, cursorStart, now, minimum);
    EXPECT_EQ(r, c.Expected);
    EXPECT_GE(r.Width(), minimum.Width);
    EXPECT_GE(r.Height(), minimum.Height);
  }
  // The minimum is the smallest client size plus the frame.
  EXPECT_EQ(MinimumWindowSize({0, 0}, {108, 46}, {100, 22}), (TIntSize{8, 24}));
}

// UTF-16 code units of a UTF-8 text, or -1 when the text is not well-formed UTF-8 (a split character).
int Utf16Units(std::string_view text) {
  int units = 0;
  for (std::size_t i = 0; i < text.size();) {
    const auto lead = static_cast<unsigned char>(text[i]);
    const std::size_t length = lead < 0x80 ? 1 : lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC2 ? 2 : 0;
    if (length == 0 || i + length > text.size()) return -1;
    for (std::size_t k = 1; k < length; ++k)
      if ((static_cast<unsigned char>(text[i + k]) & 0xC0) != 0x80) return -1;
    units += length == 4 ? 2 : 1;
    i += length;
  }
  return units;
}

// The caption font stand-in: 10 pixels per UTF-16 unit (a surrogate pair is 20), and it refuses to measure a
// text in which a character was split, which is exactly the fault the shortening must never make.
int MeasureTenPerUnit(std::string_view text) {
  const int units = Utf16Units(text);
  EXPECT_GE(units, 0) << "measured a split character";
  return units * 10;
}

TEST(FloatLayout, ShortenCaptionKeepsWholeCharacters) {
  struct TCase {
    const char* Name;
    std::string Text;
    int Width;
    std::string Expected;
  };
  const TCase cases[] = {
      {"fits", "Toolbar97", 90, "Toolbar97"},
      {"one pixel too wide", "Toolbar971", 99, "Toolba..."},
      {"too narrow keeps one character and the dots", "Toolbar971", 5, "T..."},
      {"two characters", "Ab", 15, "A..."},
      {"one character too wide", "W", 5, "W..."},
      {"empty stays empty", "", -10, ""},
      {"Japanese loses whole characters",
       "\xE3\x83\x84\xE3\x83\xBC\xE3\x83\xAB\xE3\x83\x90\xE3\x83\xBC"
       "97",
       60, "\xE3\x83\x84\xE3\x83\xBC\xE3\x83\xAB..."}, // ツールバー97 -> ツール...
      {"emoji kept whole",
       "ab\xF0\x9F\x98\x80"
       "cdef",
       70, "ab\xF0\x9F\x98\x80..."},
      {"emoji removed whole",
       "ab\xF0\x9F\x98\x80"
       "cdef",
       69, "ab..."},
      {"accented Latin", "Caf\xC3\xA9 au lait", 60, "Caf..."},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    EXPECT_EQ(ShortenCaption(c.Text, c.Width, MeasureTenPerUnit), c.Expected);
  }
}

// A byte that starts no valid sequence is a character of its own: it is removed alone and takes nothing else.
TEST(FloatLayout, ShortenCaptionSurvivesBrokenUtf8) {
  int calls = 0;
  const auto measureBytes = [&calls](std::string_view text) {
    ++calls;
    return static_cast<int>(text.size()) * 10;
  };
  EXPECT_EQ(ShortenCaption("ab\xFF\xE3\x83"
                           "cd",
                           60, measureBytes),
            "ab\xFF...");
  EXPECT_GT(calls, 0);

  struct TCase {
    const char* Name;
    std::string Text;
    int Count;
  };
  const TCase cases[] = {
      {"empty", "", 0},
      {"ASCII", "abc", 3},
      {"three-byte characters", "\xE3\x83\x84\xE3\x83\xBC", 2},
      {"four-byte character", "\xF0\x9F\x98\x80", 1},
      {"stray continuation byte", "\x80", 1},
      {"cut sequence at the end", "a\xE3\x83", 3},
      {"lead byte followed by ASCII",
       "\xC3"
       "a",
       2},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    EXPECT_EQ(CodePointCount(c.Text), c.Count);
  }
}

} // namespace
} // namespace qs
