// The flat toolbar button on a docked toolbar, driven by mouse messages through the message loop with the
// pointer really where the messages say: its frame and picture in each state, presses that are and are not
// clicks, groups, repeating, split buttons, the hover that ends when the pointer or the activation goes,
// keys, the dropdown menu, and that nothing is left behind.
#include "ControlTestKit.h"
#include "GdiCounter.h"
#include "Menu.h"
#include "TB97Button.h"
#include "TB97Dock.h"
#include "TB97GlyphCache.h"
#include "TB97Toolbar.h"
#include "Timer.h"

#include <atomic>
#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <thread>
#include <vector>

using namespace qs;
using namespace qs::test;

namespace {

using TDs = TButtonDrawState;

TBitmap Loaded(const wchar_t* name) {
  TBitmap bitmap;
  bitmap.LoadFromResourceName(name);
  return bitmap;
}

// The pixels of a picture of a given size, drawn by `draw` on a memory DC first filled with `fill`.
class TPicture {
public:
  TPicture(int width, int height, TColor fill, const std::function<void(HDC)>& draw) : FWidth(width), FHeight(height) {
    TWindowDC screen(nullptr);
    TMemoryDC dc(screen.Get());
    TBitmapHandle bitmap(CreateCompatibleBitmap(screen.Get(), width, height));
    TSelectGuard select(dc.Get(), bitmap.Get());
    TCanvas(dc.Get()).FillRect(Rect(0, 0, width, height), fill);
    draw(dc.Get());
    for (int y = 0; y < height; ++y)
      for (int x = 0; x < width; ++x) FPixels.push_back(GetPixel(dc.Get(), x, y));
  }
  COLORREF At(int x, int y) const { return FPixels[static_cast<size_t>(y * FWidth + x)]; }
  int Width() const { return FWidth; }
  int Height() const { return FHeight; }

private:
  int FWidth, FHeight;
  std::vector<COLORREF> FPixels;
};

// What the button paints of itself, on a backdrop it must cover when opaque.
TPicture Render(TToolbarButton97& button) {
  return TPicture(button.Width(), button.Height(), Backdrop, [&](HDC dc) { button.PaintControl(dc); });
}

// Pixel by pixel; reports the first difference.
void ExpectSame(const TPicture& actual, const TPicture& expected, const std::string& what) {
  ASSERT_EQ(actual.Width(), expected.Width()) << what;
  ASSERT_EQ(actual.Height(), expected.Height()) << what;
  for (int y = 0; y < actual.Height(); ++y)
    for (int x = 0; x < actual.Width(); ++x)
      if (actual.At(x, y) != expected.At(x, y)) {
        ADD_FAILURE() << what << ": pixel " << x << "," << y << " is " << std::hex << actual.At(x, y) << ", expected "
                      << expected.At(x, y);
        return;
      }
}

struct TEdge {
  UINT Style;
  UINT Flags;
};
constexpr UINT FlatFlags = BF_RECT;
constexpr UINT RaisedFlags = BF_RECT | BF_MIDDLE | BF_SOFT;

// A button face as it should look: the face colour, the frame, then whatever `content` draws.
TPicture Expected(int width, int height, std::optional<TEdge> edge, const std::function<void(HDC)>& content) {
  return TPicture(width, height, clBtnFace, [&](HDC dc) {
    if (edge) {
      RECT r{0, 0, width, height};
      DrawEdge(dc, &r, edge->Style, edge->Flags);
    }
    content(dc);
  });
}

// The picture of a glyph resource drawn where a button should put it.
std::function<void(HDC)> GlyphAt(const wchar_t* resource, TIntPoint at, TDs state = TDs::dsUp) {
  return [=](HDC dc) {
    TButtonGlyph glyph;
    glyph.SetGlyph(Loaded(resource));
    TCanvas canvas(dc);
    glyph.DrawStateImage(canvas, at, state);
  };
}

void Tick(TTimer* timer) {
  ASSERT_NE(timer, nullptr);
  timer->OnTimer()(timer);
}

// A form with a top dock holding one toolbar; the buttons go on the toolbar.
class ToolbarButtonTest : public FormTest {
protected:
  void SetUp() override {
    FormTest::SetUp();
    Dock = Place<TDock97>(FForm, FForm, 0, 0, FormWidth, 26);
    Toolbar = new TToolbar97(FForm);
    Toolbar->SetParent(Dock);
  }
  void TearDown() override {
    SetCursorPos(0, 0);
    FormTest::TearDown();
    EXPECT_EQ(TToolbarButton97::HotButton(), nullptr) << "a hot button outlived its form";
    EXPECT_EQ(TGlyphCache::Instance(), nullptr) << "a glyph list outlived its buttons";
  }

  TToolbarButton97* AddButton(const wchar_t* glyph = nullptr, int width = TToolbarButton97::DefaultWidth) {
    auto* button = new TToolbarButton97(FForm);
    button->SetBounds(Toolbar->ControlCount() * 100, 0, width, TToolbarButton97::DefaultHeight);
    if (glyph) button->SetGlyph(Loaded(glyph));
    button->SetParent(Toolbar);
    return button;
  }
  // Counts the button's clicks.
  int& CountClicks(TToolbarButton97* button) {
    auto& count = FClicks.emplace_back(0);
    button->OnClick = [&count](TComponent*) { ++count; };
    return count;
  }
  void ShowAndActivate() {
    ShowForm();
    ASSERT_TRUE(IsWindowVisible(Toolbar->Handle()));
    SetForegroundWindow(FForm->Handle());
    PumpMessages();
    ASSERT_EQ(GetActiveWindow(), FForm->Handle()) << "the test form must be active";
  }

  // A point of `control` in the toolbar's client coordinates, as the toolbar's window receives it.
  LPARAM ToolbarPoint(const TControl* control, POINT p) const {
    const POINT t = Toolbar->ScreenToClient(control->ClientToScreen(p));
    return MAKELPARAM(static_cast<WORD>(t.x), static_cast<WORD>(t.y));
  }
  // The pointer goes to `p` of `control` (client coordinates) and the toolbar sees it move there.
  void PointAt(const TControl* control, POINT p, WPARAM keys = 0) {
    const POINT s = control->ClientToScreen(p);
    SetCursorPos(s.x, s.y);
    PostMessageW(Toolbar->Handle(), WM_MOUSEMOVE, keys, ToolbarPoint(control, p));
    PumpMessages();
  }
  void Post(const TControl* control, UINT msg, WPARAM keys, POINT p) {
    PostMessageW(Toolbar->Handle(), msg, keys, ToolbarPoint(control, p));
    PumpMessages();
  }
  void Press(const TControl* control, POINT p) {
    PointAt(control, p);
    Post(control, WM_LBUTTONDOWN, MK_LBUTTON, p);
  }
  void Release(const TControl* control, POINT p) {
    PointAt(control, p, MK_LBUTTON);
    Post(control, WM_LBUTTONUP, 0, p);
  }
  void ClickOn(const TControl* control, POINT p = POINT{10, 10}) {
    Press(control, p);
    Release(control, p);
  }
  // The pointer on the form below the dock, away from every button.
  void PointAway() {
    const POINT p{10, FormHeight - 10};
    const POINT s = FForm->ClientToScreen(p);
    SetCursorPos(s.x, s.y);
    PostMessageW(FForm->Handle(), WM_MOUSEMOVE, 0, MAKELPARAM(p.x, p.y));
    PumpMessages();
  }

  TDock97* Dock = nullptr;
  TToolbar97* Toolbar = nullptr;

private:
  // Counters stay where they are while more are added.
  std::deque<int> FClicks;
};

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
// Presses and clicks

// A click needs the release on the main part: anywhere else, or on a split button's arrow part, it is none.
TEST_F(ToolbarButtonTest, APressReleasedOutsideTheMainPartFiresNoClick) {
  struct TCase {
    const char* Name;
    bool Combo;
    POINT ReleaseAt;
    int Clicks;
  };
  const TCase cases[] = {
      {"released where pressed", false, POINT{10, 10}, 1},
      {"released at the last pixel", false, POINT{22, 21}, 1},
      {"released right of it", false, POINT{23, 10}, 0},
      {"released below it", false, POINT{10, 22}, 0},
      {"released far away", false, POINT{200, 60}, 0},
      {"split button, released on its main part", true, POINT{22, 10}, 1},
      {"split button, released on its arrow part", true, POINT{23, 10}, 0},
  };
  TPopupMenu menu(FForm);
  menu.AddItem("Item", "Item");
  ShowAndActivate();
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    TToolbarButton97* button = AddButton(L"GLYPH_ADD");
    int& clicks = CountClicks(button);
    if (c.Combo) {
      button->SetDropdownMenu(&menu);
      button->SetDropdownCombo(true);
    }
    Press(button, POINT{10, 10});
    EXPECT_EQ(button->DrawState(), TDs::dsDown);
    EXPECT_TRUE(button->Pressed());
    EXPECT_EQ(Toolbar->CaptureControl(), button) << "the press holds the mouse";
    Release(button, c.ReleaseAt);
    EXPECT_EQ(clicks, c.Clicks);
    EXPECT_FALSE(button->Pressed());
    EXPECT_EQ(Toolbar->CaptureControl(), nullptr);
    EXPECT_NE(GetCapture(), Toolbar->Handle());
    EXPECT_TRUE(button->DrawState() == TDs::dsUp || button->DrawState() == TDs::dsMouseIn);
    PointAway();
    delete button;
  }
}

// The right button released while the left is still held calls the click off; the left release that follows
// clicks nothing, and the button comes up.
TEST_F(ToolbarButtonTest, ARightReleaseWhileTheLeftIsHeldCancelsTheClick) {
  TToolbarButton97* button = AddButton(L"GLYPH_ADD");
  int& clicks = CountClicks(button);
  ShowAndActivate();
  Press(button, POINT{10, 10});
  Post(button, WM_RBUTTONDOWN, MK_LBUTTON | MK_RBUTTON, POINT{10, 10});
  Post(button, WM_RBUTTONUP, MK_LBUTTON, POINT{10, 10});
  EXPECT_FALSE(button->Pressed());
  EXPECT_EQ(button->DrawState(), TDs::dsUp);
  Post(button, WM_LBUTTONUP, 0, POINT{10, 10});
  EXPECT_EQ(clicks, 0);
  EXPECT_EQ(Toolbar->CaptureControl(), nullptr);
}

// While pressed, the pointer leaving the main part raises the button and coming back presses it again.
TEST_F(ToolbarButtonTest, APressedButtonFollowsThePointer) {
  TToolbarButton97* button = AddButton(L"GLYPH_ADD");
  int& clicks = CountClicks(button);
  ShowAndActivate();
  Press(button, POINT{10, 10});
  PointAt(button, POINT{40, 10}, MK_LBUTTON);
  EXPECT_EQ(button->DrawState(), TDs::dsUp);
  EXPECT_TRUE(button->MouseIn()) << "still hot while the press lasts";
  ExpectSame(Render(*button), Expected(23, 22, TEdge{BDR_RAISEDINNER, FlatFlags}, GlyphAt(L"GLYPH_ADD", {4, 3})),
             "pressed, outside");
  PointAt(button, POINT{12, 12}, MK_LBUTTON);
  EXPECT_EQ(button->DrawState(), TDs::dsDown);
  Release(button, POINT{12, 12});
  EXPECT_EQ(clicks, 1);
}

// Buttons with one GroupIndex on one toolbar: a click puts one down and the other up without its events; the
// down one stays down when clicked unless AllowAllUp, which the group shares.
TEST_F(ToolbarButtonTest, AGroupKeepsOneButtonDown) {
  TToolbarButton97* a = AddButton(L"GLYPH_ADD");
  TToolbarButton97* b = AddButton(L"GLYPH_PLAY");
  TToolbarButton97* other = AddButton(L"GLYPH_STOP");
  for (TToolbarButton97* button : {a, b}) button->SetGroupIndex(1);
  other->SetGroupIndex(2);
  int& clicksA = CountClicks(a);
  int& clicksB = CountClicks(b);
  ShowAndActivate();

  ClickOn(a);
  EXPECT_TRUE(a->Down());
  EXPECT_EQ(clicksA, 1);
  ClickOn(b);
  EXPECT_TRUE(b->Down());
  EXPECT_FALSE(a->Down()) << "the group's other button came up";
  EXPECT_EQ(a->DrawState(), TDs::dsUp);
  EXPECT_EQ(clicksA, 1) << "without an event of its own";
  other->SetDown(true);
  EXPECT_TRUE(b->Down()) << "another group leaves it alone";

  ClickOn(b);
  EXPECT_TRUE(b->Down()) << "without AllowAllUp the down button stays down";
  EXPECT_EQ(clicksB, 2);
  b->SetDown(false);
  EXPECT_TRUE(b->Down()) << "nor can Down be cleared";

  a->SetAllowAllUp(true);
  EXPECT_TRUE(b->AllowAllUp()) << "the group shares AllowAllUp";
  EXPECT_FALSE(other->AllowAllUp());
  ClickOn(b);
  EXPECT_FALSE(b->Down()) << "with AllowAllUp a click lets it up";
  EXPECT_FALSE(a->Down());

  a->SetDown(true);
  b->SetDown(true);
  EXPECT_FALSE(a->Down()) << "setting Down on another releases it";
  EXPECT_EQ(clicksA, 1);
  EXPECT_EQ(clicksB, 3);
}

TEST_F(ToolbarButtonTest, DownNeedsAGroup) {
  TToolbarButton97* button = AddButton(L"GLYPH_ADD");
  ShowAndActivate();
  button->SetDown(true);
  EXPECT_FALSE(button->Down());
  ClickOn(button);
  EXPECT_FALSE(button->Down()) << "a click does not toggle it";
  EXPECT_NE(button->DrawState(), TDs::dsExclusive);
}

// A repeating button clicks on the press, once its timer has run RepeatDelay, then at every RepeatInterval
// while held inside; outside it pauses, back inside it goes on, and the release adds no click. The timer is
// driven by hand (its intervals are set far beyond the test's length, so it never fires by itself).
TEST_F(ToolbarButtonTest, ARepeatingButtonClicksOnItsTimer) {
  TToolbarButton97* button = AddButton(L"GLYPH_ADD");
  EXPECT_EQ(button->RepeatDelay(), 400);
  EXPECT_EQ(button->RepeatInterval(), 100);
  constexpr int Delay = 600000, Interval = 300000;
  button->SetRepeating(true);
  button->SetRepeatDelay(Delay);
  button->SetRepeatInterval(Interval);
  int& clicks = CountClicks(button);
  ShowAndActivate();

  Press(button, POINT{10, 10});
  EXPECT_EQ(clicks, 1) << "on the press";
  TTimer* timer = button->RepeatTimer();
  ASSERT_NE(timer, nullptr);
  EXPECT_TRUE(timer->Enabled());
  EXPECT_EQ(timer->Interval(), static_cast<unsigned>(Delay));
  Tick(timer);
  EXPECT_EQ(clicks, 2) << "after the delay";
  EXPECT_EQ(timer->Interval(), static_cast<unsigned>(Interval));
  Tick(timer);
  EXPECT_EQ(clicks, 3) << "after an interval";

  PointAt(button, POINT{60, 10}, MK_LBUTTON);
  Tick(timer);
  EXPECT_EQ(clicks, 3) << "paused outside";
  EXPECT_FALSE(timer->Enabled());
  PointAt(button, POINT{12, 10}, MK_LBUTTON);
  EXPECT_TRUE(timer->Enabled()) << "going on inside";
  Tick(timer);
  EXPECT_EQ(clicks, 4);

  Release(button, POINT{12, 10});
  EXPECT_EQ(clicks, 4) << "the release adds nothing";
  EXPECT_EQ(button->RepeatTimer(), nullptr);
}

// A handler that disables its own repeating button ends the press from inside the timer's tick.
TEST_F(ToolbarButtonTest, ARepeatingButtonDisabledByItsOwnClickStopsCleanly) {
  TToolbarButton97* button = AddButton(L"GLYPH_ADD");
  button->SetRepeating(true);
  button->SetRepeatDelay(600000);
  int clicks = 0;
  button->OnClick = [&](TComponent*) {
    if (++clicks == 2) button->SetEnabled(false);
  };
  ShowAndActivate();
  Press(button, POINT{10, 10});
  Tick(button->RepeatTimer());
  EXPECT_EQ(clicks, 2);
  EXPECT_EQ(button->RepeatTimer(), nullptr);
  EXPECT_FALSE(button->Pressed());
  EXPECT_EQ(Toolbar->CaptureControl(), nullptr) << "disabling ended the capture";
  PumpMessages(); // the timer is freed from the message loop
  Post(button, WM_LBUTTONUP, 0, POINT{10, 10});
  EXPECT_EQ(clicks, 2);
}

// A double click fires OnDblClick only on a button that is down.
TEST_F(ToolbarButtonTest, ADoubleClickCountsOnlyOnADownButton) {
  TToolbarButton97* button = AddButton(L"GLYPH_ADD");
  int doubles = 0;
  button->OnDblClick = [&](TComponent*) { ++doubles; };
  ShowAndActivate();
  const auto doubleClick = [&] {
    ClickOn(button);
    Post(button, WM_LBUTTONDBLCLK, MK_LBUTTON, POINT{10, 10});
    Release(button, POINT{10, 10});
  };
  doubleClick();
  EXPECT_EQ(doubles, 0);
  button->SetGroupIndex(1);
  button->SetAllowAllUp(true);
  doubleClick(); // the first click puts it down, the second press of the pair finds it down
  EXPECT_EQ(doubles, 1);
}

// ---------------------------------------------------------------------------------------------------------
// Properties with limits

TEST_F(ToolbarButtonTest, DropdownComboWidensAndNarrowsByItsArrowPart) {
  struct TCase {
    int Width;
    bool Combo;
    int Expected;
  };
  const TCase cases[] = {{23, true, 34}, {34, false, 23}, {5, false, 1}, {11, false, 1}, {12, false, 1}};
  for (const TCase& c : cases) {
    TToolbarButton97* button = AddButton(nullptr, c.Width);
    if (!c.Combo) {
      button->SetDropdownCombo(true);
      button->SetWidth(c.Width);
    }
    button->SetDropdownCombo(c.Combo);
    EXPECT_EQ(button->Width(), c.Expected) << c.Width << (c.Combo ? " set" : " cleared");
    delete button;
  }
  // While a layout is loading it already holds the width that goes with the arrow part.
  FForm->BeginLoading();
  TToolbarButton97* loading = AddButton(nullptr, 34);
  loading->SetDropdownCombo(true);
  EXPECT_EQ(loading->Width(), 34);
  FForm->EndLoading();
}

TEST_F(ToolbarButtonTest, NumGlyphsAndMarginKeepTheirLimits) {
  TToolbarButton97* button = AddButton();
  button->SetGlyph(TBitmap(Loaded(L"GLYPH_ADD")));
  const int numGlyphs[][2] = {{0, 1}, {9, 5}, {3, 3}, {-2, 1}};
  for (const auto& [asked, kept] : numGlyphs) {
    button->SetNumGlyphs(asked);
    EXPECT_EQ(button->NumGlyphs(), kept) << "NumGlyphs := " << asked;
  }
  button->SetMargin(2);
  button->SetMargin(-5);
  EXPECT_EQ(button->Margin(), 2) << "-5 is ignored";
  button->SetMargin(-1);
  EXPECT_EQ(button->Margin(), -1);
}

// ---------------------------------------------------------------------------------------------------------
// Hover

// One button at a time is hot: the pointer moving from one to the next ends the first one's hover; moving to
// the bare toolbar (the mouse-move hook) or off the window without a word (the hover timer) ends it too.
TEST_F(ToolbarButtonTest, OneButtonIsHotAndLosesItWhenThePointerGoes) {
  TToolbarButton97* a = AddButton(L"GLYPH_ADD");
  TToolbarButton97* b = AddButton(L"GLYPH_PLAY");
  std::vector<std::string> events;
  for (auto [button, name] : {std::pair{a, "a"}, std::pair{b, "b"}}) {
    button->OnMouseEnter = [&events, name](TComponent*) { events.push_back(std::string("enter ") + name); };
    button->OnMouseExit = [&events, name](TComponent*) { events.push_back(std::string("exit ") + name); };
  }
  ShowAndActivate();

  PointAt(a, POINT{5, 5});
  EXPECT_EQ(TToolbarButton97::HotButton(), a);
  EXPECT_EQ(a->DrawState(), TDs::dsMouseIn);
  ASSERT_NE(TToolbarButton97::HoverTimer(), nullptr);
  EXPECT_TRUE(TToolbarButton97::HoverTimer()->Enabled());
  EXPECT_EQ(TToolbarButton97::HoverTimer()->Interval(), 125u);
  PointAt(a, POINT{15, 15});
  PointAt(b, POINT{5, 5});
  EXPECT_EQ(TToolbarButton97::HotButton(), b);
  EXPECT_FALSE(a->MouseIn());
  EXPECT_EQ(a->DrawState(), TDs::dsUp);
  EXPECT_EQ(events, (std::vector<std::string>{"enter a", "exit a", "enter b"}));

  PointAway();
  EXPECT_EQ(TToolbarButton97::HotButton(), nullptr) << "the mouse-move hook";
  EXPECT_EQ(b->DrawState(), TDs::dsUp);
  EXPECT_FALSE(TToolbarButton97::HoverTimer()->Enabled());

  PointAt(b, POINT{5, 5});
  ASSERT_EQ(TToolbarButton97::HotButton(), b);
  SetCursorPos(0, 0); // off the window, with no message about it
  Tick(TToolbarButton97::HoverTimer());
  EXPECT_EQ(TToolbarButton97::HotButton(), nullptr) << "the hover timer";
  EXPECT_FALSE(b->MouseIn());
  ExpectSame(Render(*b), Expected(23, 22, std::nullopt, GlyphAt(L"GLYPH_PLAY", {6, 6})), "no border left");
}

// After its click the button under the pointer is hot again, and tracked: the pointer leaving without passing
// over it first still takes the border away.
TEST_F(ToolbarButtonTest, AfterAClickTheHoverIsTrackedAgain) {
  TToolbarButton97* button = AddButton(L"GLYPH_ADD");
  int& clicks = CountClicks(button);
  ShowAndActivate();
  ClickOn(button);
  EXPECT_EQ(clicks, 1);
  EXPECT_EQ(button->DrawState(), TDs::dsMouseIn);
  EXPECT_EQ(TToolbarButton97::HotButton(), button);
  SetCursorPos(0, 0);
  Tick(TToolbarButton97::HoverTimer());
  EXPECT_EQ(button->DrawState(), TDs::dsUp);
  EXPECT_FALSE(button->MouseIn());
}

// Deactivating the application takes the hot border away unless ShowBorderWhenInactive.
TEST_F(ToolbarButtonTest, DeactivatingTheApplicationEndsTheHover) {
  for (bool showWhenInactive : {false, true}) {
    SCOPED_TRACE(showWhenInactive ? "ShowBorderWhenInactive" : "default");
    TToolbarButton97* button = AddButton(L"GLYPH_ADD");
    button->SetShowBorderWhenInactive(showWhenInactive);
    ShowAndActivate();
    PointAt(button, POINT{5, 5});
    ASSERT_EQ(TToolbarButton97::HotButton(), button);
    SendMessageW(FForm->Handle(), WM_ACTIVATEAPP, FALSE, 0);
    EXPECT_EQ(button->MouseIn(), showWhenInactive);
    EXPECT_EQ(TToolbarButton97::HotButton() == button, showWhenInactive);
    const std::optional<TEdge> edge =
        showWhenInactive ? std::optional<TEdge>(TEdge{BDR_RAISEDINNER, FlatFlags}) : std::nullopt;
    ExpectSame(Render(*button), Expected(23, 22, edge, GlyphAt(L"GLYPH_ADD", {4, 3})), "after deactivation");
    PointAway();
    delete button;
  }
}

// With no active window in the thread a button does not become hot, unless ShowBorderWhenInactive.
TEST_F(ToolbarButtonTest, WithoutAnActiveWindowNoButtonBecomesHot) {
  TToolbarButton97* plain = AddButton(L"GLYPH_ADD");
  TToolbarButton97* always = AddButton(L"GLYPH_PLAY");
  always->SetShowBorderWhenInactive(true);
  ShowAndActivate();
  // Another thread's window takes the foreground: this thread has no active window any more.
  std::atomic<DWORD> otherThread{0};
  TKernelHandle ready(CreateEventW(nullptr, TRUE, FALSE, nullptr));
  std::thread foreground([&] {
    HWND other = CreateWindowExW(0, L"STATIC", L"other", WS_POPUP | WS_VISIBLE, 600, 600, 50, 50, nullptr, nullptr,
                                 GetModuleHandleW(nullptr), nullptr);
    SetForegroundWindow(other);
    otherThread = GetCurrentThreadId();
    SetEvent(ready.Get());
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) DispatchMessageW(&msg);
    DestroyWindow(other);
  });
  WaitForSingleObject(ready.Get(), 10000);
  struct TEndThread {
    std::thread& Thread;
    std::atomic<DWORD>& Id;
    ~TEndThread() {
      PostThreadMessageW(Id, WM_QUIT, 0, 0);
      Thread.join();
    }
  } endThread{foreground, otherThread};
  PumpMessages();
  if (GetActiveWindow() != nullptr) GTEST_SKIP() << "the form stayed active (a known gap of this session)";
  PointAt(plain, POINT{5, 5});
  EXPECT_EQ(TToolbarButton97::HotButton(), nullptr);
  EXPECT_FALSE(plain->MouseIn());
  PointAt(always, POINT{5, 5});
  EXPECT_EQ(TToolbarButton97::HotButton(), always);
  EXPECT_TRUE(always->MouseIn());
  PointAway();
}

// ---------------------------------------------------------------------------------------------------------
// Keys, disabled buttons, the menu

// Enter clicks a Default button and Escape a Cancel one, through the form's dialog keys; the click gives the
// button's ModalResult to the form.
TEST_F(ToolbarButtonTest, DefaultAndCancelButtonsTakeTheirKeys) {
  TToolbarButton97* ok = AddButton(L"GLYPH_ADD");
  TToolbarButton97* cancel = AddButton(L"GLYPH_STOP");
  ok->SetDefault(true);
  ok->SetModalResult(1);
  cancel->SetCancel(true);
  cancel->SetModalResult(2);
  int& okClicks = CountClicks(ok);
  int& cancelClicks = CountClicks(cancel);
  ShowAndActivate();
  PostMessageW(FForm->Handle(), WM_KEYDOWN, VK_RETURN, 0);
  PumpMessages();
  EXPECT_EQ(okClicks, 1);
  EXPECT_EQ(FForm->ModalResult(), 1);
  PostMessageW(FForm->Handle(), WM_KEYDOWN, VK_ESCAPE, 0);
  PumpMessages();
  EXPECT_EQ(cancelClicks, 1);
  EXPECT_EQ(FForm->ModalResult(), 2);
  EXPECT_EQ(okClicks, 1);
  ok->SetEnabled(false);
  PostMessageW(FForm->Handle(), WM_KEYDOWN, VK_RETURN, 0);
  PumpMessages();
  EXPECT_EQ(okClicks, 1) << "a disabled button takes no key";
}

// The caption's accelerator clicks the button, unless it shows no caption.
TEST_F(ToolbarButtonTest, TheAcceleratorClicksTheButton) {
  TToolbarButton97* button = AddButton(nullptr, 73);
  button->SetCaption("&Encode");
  int& clicks = CountClicks(button);
  ShowAndActivate();
  const auto altKey = [&](wchar_t c) {
    PostMessageW(FForm->Handle(), WM_SYSCHAR, c, 0);
    PumpMessages();
  };
  altKey(L'e');
  EXPECT_EQ(clicks, 1) << "either letter case";
  altKey(L'x');
  EXPECT_EQ(clicks, 1) << "another letter";
  button->SetDisplayMode(TButtonDisplayMode::dmGlyphOnly);
  altKey(L'E');
  EXPECT_EQ(clicks, 1) << "the caption is not shown";
  button->SetDisplayMode(TButtonDisplayMode::dmBoth);
  altKey(L'E');
  EXPECT_EQ(clicks, 2);
}

// A disabled button ignores a press, the pointer and its accelerator, and disabling one that is pressed and
// hot ends both.
TEST_F(ToolbarButtonTest, ADisabledButtonIgnoresPressesHoverAndItsAccelerator) {
  TToolbarButton97* button = AddButton(nullptr, 73);
  button->SetCaption("&Encode");
  int& clicks = CountClicks(button);
  ShowAndActivate();
  Press(button, POINT{10, 10});
  ASSERT_TRUE(button->Pressed());
  ASSERT_EQ(TToolbarButton97::HotButton(), button);
  button->SetEnabled(false);
  EXPECT_EQ(button->DrawState(), TDs::dsDisabled);
  EXPECT_FALSE(button->Pressed());
  EXPECT_FALSE(button->MouseIn());
  EXPECT_EQ(TToolbarButton97::HotButton(), nullptr);
  EXPECT_NE(GetCapture(), Toolbar->Handle()) << "the capture ended with the press";
  Release(button, POINT{10, 10});
  EXPECT_EQ(clicks, 0);

  PointAway();
  ClickOn(button);
  PointAt(button, POINT{30, 10});
  PostMessageW(FForm->Handle(), WM_SYSCHAR, L'e', 0);
  PumpMessages();
  EXPECT_EQ(clicks, 0);
  EXPECT_EQ(button->DrawState(), TDs::dsDisabled);
  EXPECT_EQ(TToolbarButton97::HotButton(), nullptr);

  button->SetEnabled(true);
  EXPECT_EQ(button->DrawState(), TDs::dsUp);
}

HWND ShownMenu() {
  HWND menu = FindWindowW(L"#32768", nullptr);
  return menu && IsWindowVisible(menu) ? menu : nullptr;
}

// A press on a menu button (anywhere, or on a split button's arrow part) shows its menu below the button,
// pressed meanwhile; a plain menu button fires OnClick first, a split one only from its main part.
TEST_F(ToolbarButtonTest, AMenuButtonShowsItsMenuBelowItself) {
  struct TCase {
    const char* Name;
    bool Combo;
    POINT PressAt;
    bool MenuShown;
    int Clicks;
  };
  const TCase cases[] = {
      {"menu button", false, POINT{10, 10}, true, 1},
      {"split button, arrow part", true, POINT{28, 10}, true, 0},
      {"split button, main part", true, POINT{10, 10}, false, 1},
  };
  TPopupMenu menu(FForm);
  menu.AddItem("Item", "Item");
  menu.SetAlignment(TPopupAlignment::paCenter);
  ShowAndActivate();
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    TToolbarButton97* button = AddButton(L"GLYPH_ADD");
    button->SetDropdownMenu(&menu);
    button->SetDropdownCombo(c.Combo);
    int& clicks = CountClicks(button);
    std::optional<RECT> shownAt;
    TDs stateWhileShown = TDs::dsUp;
    TComponent* popupComponent = nullptr;
    TTimer closer(nullptr);
    closer.SetInterval(50);
    closer.SetOnTimer([&](TComponent*) {
      HWND shown = ShownMenu();
      if (!shown) return;
      closer.SetEnabled(false);
      RECT r{};
      GetWindowRect(shown, &r);
      shownAt = r;
      stateWhileShown = button->DrawState();
      popupComponent = menu.PopupComponent();
      EndMenu();
    });
    Press(button, c.PressAt);
    PumpUntil([&] { return !closer.Enabled() || !c.MenuShown; }, 3000);
    Release(button, c.PressAt);
    EXPECT_EQ(clicks, c.Clicks);
    EXPECT_EQ(shownAt.has_value(), c.MenuShown);
    if (shownAt) {
      const POINT corner = button->ClientToScreen(POINT{0, button->Height()});
      EXPECT_EQ(shownAt->left, corner.x) << "below the button's bottom-left corner";
      EXPECT_EQ(shownAt->top, corner.y);
      EXPECT_EQ(stateWhileShown, TDs::dsDown);
      EXPECT_EQ(popupComponent, button);
    }
    EXPECT_EQ(menu.Alignment(), TPopupAlignment::paCenter) << "the menu's alignment is given back";
    EXPECT_FALSE(button->InClick());
    EXPECT_NE(button->DrawState(), TDs::dsDown);
    PointAway();
    delete button;
  }
}

// A menu that goes away leaves no reference behind, nor does an image list.
TEST_F(ToolbarButtonTest, AFreedMenuOrImageListIsLetGo) {
  TToolbarButton97* button = AddButton();
  auto* menu = new TPopupMenu(FForm);
  auto* images = new TImageList(16, 16, FForm);
  button->SetDropdownMenu(menu);
  button->SetImages(images);
  EXPECT_TRUE(button->HasMenu());
  delete menu;
  EXPECT_EQ(button->DropdownMenu(), nullptr);
  EXPECT_FALSE(button->HasMenu());
  delete images;
  EXPECT_EQ(button->Images(), nullptr);
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
