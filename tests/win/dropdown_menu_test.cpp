// Toolbar buttons' dropdown menus: where the menu opens for each dock and floating, the click that closes the
// menu over its own button (and one elsewhere), the split button's arrow part, and the list of menus and its
// window. Menus are really shown and driven by a script (see DropdownMenuFixture.h).
#include "DropdownMenuFixture.h"

using namespace qs;
using namespace qs::test;

namespace {

// ---------------------------------------------------------------------------------------------------------
// Where the menu opens

// Below the button's bottom-left corner in a top or bottom dock and floating, whatever the menu's own
// alignment; at its top-right corner in a left dock; with the menu's top-right corner at the button's top-left
// corner in a right dock. The menu's alignment is given back, and a menu of another class is asked to show
// itself at the same point with the same alignment.
TEST_F(DropdownMenus, TheMenuOpensBelowOrBesideTheButtonByItsDock) {
  enum TCorner { BelowLeft, RightTop, LeftTopOfRight };
  struct TCase {
    const char* Name;
    TDock97* Dock;
    TCorner Corner;
  };
  TOwnPopupMenu own(nullptr);
  own.AddItem("Own", "Own");
  const TCase cases[] = {
      {"top dock", Top, BelowLeft},  {"bottom dock", Bottom, BelowLeft},    {"floating", nullptr, BelowLeft},
      {"left dock", Left, RightTop}, {"right dock", Right, LeftTopOfRight},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    PlaceToolbar(c.Dock);
    ASSERT_EQ(Toolbar->DockedTo(), c.Dock);
    const POINT expected = c.Corner == BelowLeft  ? OnScreen(Button, POINT{0, Button->Height()})
                           : c.Corner == RightTop ? OnScreen(Button, POINT{Button->Width(), 0})
                                                  : OnScreen(Button, POINT{0, 0});
    const TPopupAlignment expectedAlignment =
        c.Corner == LeftTopOfRight ? TPopupAlignment::paRight : TPopupAlignment::paLeft;

    Button->SetDropdownMenu(Menu);
    Menu->SetAlignment(TPopupAlignment::paCenter);
    TMenuScript script({[] { EndMenu(); }});
    OpenAndRun(script);
    ASSERT_TRUE(script.FirstShownAt().has_value()) << "the menu never showed";
    const RECT shown = *script.FirstShownAt();
    EXPECT_EQ(c.Corner == LeftTopOfRight ? shown.right : shown.left, expected.x);
    EXPECT_EQ(shown.top, expected.y);
    EXPECT_EQ(Menu->Alignment(), TPopupAlignment::paCenter) << "the menu's own alignment is given back";
    EXPECT_EQ(Menu->PopupComponent(), Button);

    Button->SetDropdownMenu(&own);
    own.SetAlignment(TPopupAlignment::paCenter);
    own.ShownAt.reset();
    OpenOwnMenu();
    ASSERT_TRUE(own.ShownAt.has_value()) << "a menu of another class shows itself";
    EXPECT_EQ(own.ShownAt->x, expected.x);
    EXPECT_EQ(own.ShownAt->y, expected.y);
    EXPECT_EQ(own.AlignmentWhenShown, expectedAlignment);
    EXPECT_EQ(own.ComponentWhenShown, Button);
    EXPECT_EQ(own.Alignment(), TPopupAlignment::paCenter);
  }
  Button->SetDropdownMenu(Menu);
}

// ---------------------------------------------------------------------------------------------------------
// The click that closes the menu

// A real click while the menu is open closes it. On the button that opened it, the press is dropped so that the
// menu does not open again, and its release still arrives; on another button, press and release arrive and make
// that button's click.
TEST_F(DropdownMenus, AClickOnItsButtonClosesTheMenuForGoodAndAClickElsewhereArrives) {
  for (const bool onItsButton : {true, false}) {
    SCOPED_TRACE(onItsButton ? "on its own button" : "on another button");
    TToolbarButton97* target = onItsButton ? Button : Other;
    int releases = 0;
    target->OnMouseUp = [&](TControl*, TMouseButton button, TShiftState, int, int) {
      releases += button == TMouseButton::mbLeft;
    };
    const int popupsBefore = Popups;
    const int buttonClicksBefore = Clicks(Button);
    const int otherClicksBefore = Clicks(Other);
    const POINT at = CenterOf(target);
    TMenuScript script({[at] { ClickAtScreen(at); }});
    OpenAndRun(script);
    EXPECT_EQ(script.Appearances(), 1) << "the menu did not open again";
    EXPECT_FALSE(script.ClosedByForce()) << "the click closed the menu";
    EXPECT_EQ(Popups - popupsBefore, 1);
    EXPECT_EQ(releases, 1) << "the release of the closing click arrived";
    EXPECT_EQ(Clicks(Button) - buttonClicksBefore, 1) << "a menu button clicks once, as it opens its menu";
    EXPECT_EQ(Clicks(Other) - otherClicksBefore, onItsButton ? 0 : 1);
    EXPECT_FALSE(Button->InClick());
    target->OnMouseUp = nullptr;
  }
}

// A split button opens its menu from its 11-pixel arrow part only; the rest of it clicks.
TEST_F(DropdownMenus, ASplitButtonOpensItsMenuFromTheArrowPartOnly) {
  struct TCase {
    const char* Name;
    int FromRight; // the press's distance from the button's right edge, in pixels
    bool Opens;
  };
  const TCase cases[] = {
      {"the main part's first pixel", -1, false},
      {"the main part's last pixel", 12, false},
      {"the arrow part's first pixel", 11, true},
      {"the arrow part's last pixel", 1, true},
  };
  Button->SetDropdownCombo(true);
  PumpMessages();
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    const int x = c.FromRight < 0 ? 0 : Button->Width() - c.FromRight;
    const int popupsBefore = Popups;
    const int clicksBefore = Clicks(Button);
    TMenuScript script({[] { EndMenu(); }}, c.Opens ? TMenuScript::DefaultWaitTicks : TMenuScript::BriefWaitTicks);
    PressAndRun(Button, POINT{x, 5}, script, true);
    EXPECT_EQ(script.Appearances(), c.Opens ? 1 : 0);
    EXPECT_EQ(Popups - popupsBefore, c.Opens ? 1 : 0);
    EXPECT_EQ(Clicks(Button) - clicksBefore, c.Opens ? 0 : 1);
  }
}

// ---------------------------------------------------------------------------------------------------------
// The list of menus and its window

int TimesListed(const TDropdownList& list, const TPopupMenu* menu) {
  int n = 0;
  for (int i = 0; i < list.MenuCount(); ++i) n += list.Menus(i) == menu;
  return n;
}

// A menu given to two buttons is listed once; freed, it leaves the list and both buttons let it go; the list's
// window stays while another menu is listed.
TEST_F(DropdownMenus, AMenuIsListedOnceAndLeavesTheListAndItsButtonsWhenFreed) {
  TDropdownList* list = TDropdownList::Existing();
  ASSERT_NE(list, nullptr);
  Other->SetDropdownMenu(Menu);
  EXPECT_EQ(TimesListed(*list, Menu), 1);
  EXPECT_TRUE(list->HasFreeNotification(Menu));
  auto* second = new TPopupMenu(Form);
  auto* third = new TPopupMenu(Form);
  list->AddMenu(second);
  list->AddMenu(third);
  EXPECT_EQ(list->MenuCount(), 3);
  EXPECT_EQ(list->Menus(0), Menu) << "in the order they were listed";
  EXPECT_EQ(list->Menus(2), third);
  HWND owner = list->MenuOwnerWindow();
  ASSERT_TRUE(IsWindow(owner));
  EXPECT_FALSE(IsWindowVisible(owner));

  delete Menu;
  for (const TToolbarButton97* button : {Button, Other}) {
    EXPECT_EQ(button->DropdownMenu(), nullptr);
    EXPECT_FALSE(button->HasMenu());
  }
  EXPECT_EQ(list->MenuCount(), 2);
  EXPECT_EQ(list->Menus(0), second);
  Other->SetDropdownMenu(second);
  Other->SetDropdownMenu(third);
  EXPECT_FALSE(Other->HasFreeNotification(second)) << "a menu given up is not watched any more";
  delete third;
  EXPECT_EQ(Other->DropdownMenu(), nullptr);
  EXPECT_EQ(list->MenuOwnerWindow(), owner) << "the second menu is still listed";
  delete second;
  EXPECT_EQ(list->MenuCount(), 0);
  EXPECT_EQ(list->MenuOwnerWindow(), nullptr);
  EXPECT_FALSE(IsWindow(owner));

  auto* again = new TPopupMenu(Form);
  Button->SetDropdownMenu(again);
  EXPECT_TRUE(IsWindow(list->MenuOwnerWindow())) << "a window again with the next menu";
}

// A list of its own: the window comes with the first menu and goes with the last, and a list freed with menus
// still listed leaves them nothing to call back.
TEST(DropdownList, TheWindowExistsExactlyWhileAMenuIsListed) {
  auto* list = new TDropdownList(nullptr);
  EXPECT_EQ(list->MenuOwnerWindow(), nullptr);
  auto* a = new TPopupMenu(nullptr);
  auto* b = new TPopupMenu(nullptr);
  list->AddMenu(a);
  HWND first = list->MenuOwnerWindow();
  ASSERT_TRUE(IsWindow(first));
  list->AddMenu(b);
  list->AddMenu(a);
  EXPECT_EQ(list->MenuCount(), 2);
  EXPECT_EQ(list->MenuOwnerWindow(), first);
  delete a;
  EXPECT_EQ(list->MenuOwnerWindow(), first);
  delete b;
  EXPECT_EQ(list->MenuOwnerWindow(), nullptr);
  EXPECT_FALSE(IsWindow(first));

  auto* c = new TPopupMenu(nullptr);
  list->AddMenu(c);
  HWND second = list->MenuOwnerWindow();
  EXPECT_TRUE(IsWindow(second));
  delete list;
  EXPECT_FALSE(IsWindow(second));
  EXPECT_FALSE(c->HasFreeNotification(list));
  delete c;
}

} // namespace
