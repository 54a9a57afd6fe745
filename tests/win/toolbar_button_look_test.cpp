// The flat toolbar button's look: its frame and picture in each state, the checker of a down button, the embossed
// disabled picture, transparency, and that many paints and a colour change leave no GDI object behind.
#include "ToolbarButtonFixture.h"

using namespace qs;
using namespace qs::test;

namespace {

// ---------------------------------------------------------------------------------------------------------
// The look of each state

// A flat button shows no frame at rest, BDR_RAISEDINNER under the pointer and BDR_SUNKENOUTER pressed, with
// the picture one pixel right and down; a raised one EDGE_RAISED and EDGE_SUNKEN. The program's pictures sit
// where they belong in a 23 x 22 button.
TEST_F(ToolbarButtonTest, FrameAndPictureFollowTheState) {
  enum TPose { Rest, Hot, Pressed };
  struct TCase {
    const char* Name;
    const wchar_t* Glyph;
    bool Flat;
    TPose Pose;
    std::optional<TEdge> Edge;
    TIntPoint At;
  };
  const TCase cases[] = {
      {"Add, flat, at rest", L"GLYPH_ADD", true, Rest, std::nullopt, {4, 3}},
      {"Add, flat, hot", L"GLYPH_ADD", true, Hot, TEdge{BDR_RAISEDINNER, FlatFlags}, {4, 3}},
      {"Add, flat, pressed", L"GLYPH_ADD", true, Pressed, TEdge{BDR_SUNKENOUTER, FlatFlags}, {5, 4}},
      {"Play, flat, at rest", L"GLYPH_PLAY", true, Rest, std::nullopt, {6, 6}},
      {"Play, flat, pressed", L"GLYPH_PLAY", true, Pressed, TEdge{BDR_SUNKENOUTER, FlatFlags}, {7, 7}},
      {"Stop, flat, hot", L"GLYPH_STOP", true, Hot, TEdge{BDR_RAISEDINNER, FlatFlags}, {6, 5}},
      {"Stop, flat, pressed", L"GLYPH_STOP", true, Pressed, TEdge{BDR_SUNKENOUTER, FlatFlags}, {7, 6}},
      {"Add, raised, at rest", L"GLYPH_ADD", false, Rest, TEdge{EDGE_RAISED, RaisedFlags}, {4, 3}},
      {"Add, raised, hot", L"GLYPH_ADD", false, Hot, TEdge{EDGE_RAISED, RaisedFlags}, {4, 3}},
      {"Add, raised, pressed", L"GLYPH_ADD", false, Pressed, TEdge{EDGE_SUNKEN, RaisedFlags}, {5, 4}},
  };
  ShowAndActivate();
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    TToolbarButton97* button = AddButton(c.Glyph);
    button->SetFlat(c.Flat);
    PumpMessages();
    if (c.Pose != Rest) PointAt(button, POINT{11, 11});
    if (c.Pose == Pressed) Post(button, WM_LBUTTONDOWN, MK_LBUTTON, POINT{11, 11});
    ExpectSame(Render(*button), Expected(23, 22, c.Edge, GlyphAt(c.Glyph, c.At)), "button face");
    if (c.Pose == Pressed) Release(button, POINT{-30, 11}); // away from every button: no click
    PointAway();
    delete button;
  }
}

// Held down in a group, the face shows the checker pattern inside the frame (highlight where x and y have the
// same parity), unless a flat button is hot; a raised button's pattern starts 2 pixels in, a flat one's 1.
TEST_F(ToolbarButtonTest, DownInAGroupShowsTheChecker) {
  struct TCase {
    const char* Name;
    bool Flat;
    bool Hot;
    TEdge Edge;
    std::optional<RECT> Checker;
  };
  const TCase cases[] = {
      {"flat", true, false, TEdge{BDR_SUNKENOUTER, FlatFlags}, Rect(1, 1, 22, 21)},
      {"flat and hot", true, true, TEdge{BDR_SUNKENOUTER, FlatFlags}, std::nullopt},
      {"raised", false, false, TEdge{EDGE_SUNKEN, RaisedFlags}, Rect(2, 2, 21, 20)},
      {"raised and hot", false, true, TEdge{EDGE_SUNKEN, RaisedFlags}, Rect(2, 2, 21, 20)},
  };
  ShowAndActivate();
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    TToolbarButton97* button = AddButton();
    button->SetFlat(c.Flat);
    button->SetGroupIndex(1);
    button->SetDown(true);
    if (c.Hot) PointAt(button, POINT{11, 11});
    EXPECT_EQ(button->DrawState(), TDs::dsExclusive);
    ExpectSame(Render(*button),
               Expected(23, 22, c.Edge,
                        [&](HDC dc) {
                          if (!c.Checker) return;
                          for (int y = c.Checker->top; y < c.Checker->bottom; ++y)
                            for (int x = c.Checker->left; x < c.Checker->right; ++x)
                              SetPixelV(dc, x, y, ColorToRGB(CheckerIsHighlight(x, y) ? clBtnHighlight : clBtnFace));
                        }),
               "down button");
    PointAway();
    delete button;
  }
}

bool PlayIsBlack(int x, int y) {
  const int rowWidth = 5 - std::abs(y - 5); // a triangle pointing right, rows 1..9
  return y >= 1 && y <= 9 && x >= 3 && x < 3 + rowWidth;
}

// A disabled button draws its generated picture embossed: the dark pixels in the shadow colour, with the
// highlight one pixel right and down where the shadow does not cover it.
TEST_F(ToolbarButtonTest, ADisabledButtonShowsItsPictureEmbossed) {
  TToolbarButton97* button = AddButton(L"GLYPH_PLAY");
  button->SetEnabled(false);
  ShowAndActivate();
  const auto ink = [](int x, int y) { return PlayIsBlack(x - 6, y - 6); };
  ExpectSame(Render(*button),
             Expected(23, 22, std::nullopt,
                      [&](HDC dc) {
                        for (int y = 0; y < 22; ++y)
                          for (int x = 0; x < 23; ++x) {
                            if (ink(x, y)) SetPixelV(dc, x, y, ColorToRGB(clBtnShadow));
                            else if (ink(x - 1, y - 1)) SetPixelV(dc, x, y, ColorToRGB(clBtnHighlight));
                          }
                      }),
             "disabled Play");
}

// A flat button that is not opaque paints only its frame and picture: the toolbar shows through.
TEST_F(ToolbarButtonTest, ATransparentButtonLetsTheToolbarShowThrough) {
  TToolbarButton97* button = AddButton(L"GLYPH_PLAY");
  EXPECT_TRUE(button->ControlStyle() & csOpaque) << "opaque by default";
  button->SetOpaque(false);
  EXPECT_FALSE(button->ControlStyle() & csOpaque);
  const TPicture picture = Render(*button);
  EXPECT_EQ(picture.At(1, 1), ColorToRGB(Backdrop)) << "the backdrop under a transparent button";
  EXPECT_EQ(picture.At(6 + 4, 6 + 5), RGB(0, 0, 0)) << "its picture";
  button->SetFlat(false);
  EXPECT_TRUE(button->ControlStyle() & csOpaque) << "a raised button paints all of itself";
}

// ---------------------------------------------------------------------------------------------------------
// Resources

// Many hover, press and paint cycles leave the live GDI object count where it was; so does a change of the
// system colours, after which a down button's checker shows the new colours.
TEST_F(ToolbarButtonTest, NoGdiObjectLeaksOverManyCyclesAndAColourChange) {
  ShowAndActivate();
  TWindowDC screen(nullptr);
  TMemoryDC dc(screen.Get());
  TBitmapHandle bitmap(CreateCompatibleBitmap(screen.Get(), 80, 22));
  TSelectGuard select(dc.Get(), bitmap.Get());
  const long before = TGdiCounter::Live();
  {
    TToolbarButton97* glyphButton = AddButton(L"GLYPH_ADD");
    TToolbarButton97* captionButton = AddButton(nullptr, 73);
    captionButton->SetCaption("Encode");
    TToolbarButton97* downButton = AddButton();
    downButton->SetGroupIndex(3);
    downButton->SetDown(true);
    HWND toolbar = Toolbar->Handle();
    constexpr int Cycles = 10000;
    for (int i = 0; i < Cycles; ++i) {
      TToolbarButton97* button = i % 2 ? glyphButton : captionButton;
      const LPARAM at = ToolbarPoint(button, POINT{10, 10});
      SendMessageW(toolbar, WM_MOUSEMOVE, 0, at);
      SendMessageW(toolbar, WM_LBUTTONDOWN, MK_LBUTTON, at);
      button->PaintControl(dc.Get());
      SendMessageW(toolbar, WM_LBUTTONUP, 0, at);
      if (i % 3 == 0) button->SetEnabled(false);
      button->PaintControl(dc.Get());
      button->SetEnabled(true);
      if (i % 100 == 0) downButton->PaintControl(dc.Get());
    }
    PointAway();
    PumpMessages();

    const int elements[] = {COLOR_BTNFACE, COLOR_BTNHIGHLIGHT};
    const COLORREF saved[] = {GetSysColor(COLOR_BTNFACE), GetSysColor(COLOR_BTNHIGHLIGHT)};
    const COLORREF changed[] = {RGB(200, 180, 150), RGB(250, 240, 100)};
    ASSERT_TRUE(SetSysColors(2, elements, changed));
    PumpMessages();
    const TPicture recoloured = Render(*downButton);
    EXPECT_EQ(recoloured.At(2, 2), changed[1]) << "the checker's highlight";
    EXPECT_EQ(recoloured.At(3, 2), changed[0]) << "the checker's face";
    SetSysColors(2, elements, saved);
    PumpMessages();
    EXPECT_EQ(Render(*downButton).At(2, 2), saved[1]);
    for (TToolbarButton97* button : {glyphButton, captionButton, downButton}) delete button;
  }
  EXPECT_EQ(TGdiCounter::Live(), before);
}

} // namespace
