// The flat toolbar button under the mouse: presses that are and are not clicks, groups, repeating, double
// clicks, split buttons and the limits of its properties.
#include "ToolbarButtonFixture.h"

using namespace qs;
using namespace qs::test;

namespace {

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

} // namespace
