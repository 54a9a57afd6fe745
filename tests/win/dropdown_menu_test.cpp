// Toolbar buttons' dropdown menus on a form with docks at the top, bottom, left and right: where the menu opens
// for each dock and floating, the click that closes the menu over its own button (and one elsewhere), the split
// button's arrow part, the list of menus and its window, what the window passes back to the menus, and a popup
// that fails. Menus are really shown; a timer, which the menu's own loop keeps running, reads where the shown
// menu window ("#32768") is and sends the keys and clicks.
#include "Exception.h"
#include "InputKit.h"
#include "Menu.h"
#include "Screen.h"
#include "TB97Button.h"
#include "TB97DropdownList.h"
#include "ToolbarTestKit.h"

#include <windowsx.h>

#include <deque>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

namespace qs {
void PrintTo(TPopupAlignment alignment, std::ostream* out) {
  *out << (alignment == TPopupAlignment::paLeft    ? "paLeft"
           : alignment == TPopupAlignment::paRight ? "paRight"
                                                   : "paCenter");
}
} // namespace qs

using namespace qs;
using namespace qs::test;

namespace {

HWND ShownMenu() {
  HWND menu = FindWindowW(L"#32768", nullptr);
  return menu && IsWindowVisible(menu) ? menu : nullptr;
}

// A real click where the pointer is put.
void ClickAtScreen(POINT p) {
  MoveTo(p);
  SendMouse(MOUSEEVENTF_LEFTDOWN);
  SendMouse(MOUSEEVENTF_LEFTUP);
}

// Steps run from a timer while a menu is open: the first once a menu is shown, then one per tick. A menu still
// open some ticks after the last step (or one that never showed) ends the script, closed by EndMenu, so that
// no test can stay in a menu. Counts how often a menu appeared and where it was first seen.
class TMenuScript {
public:
  // How long the script waits for the menu to show.
  static constexpr int DefaultWaitTicks = 75;
  static constexpr int BriefWaitTicks = 8; // for a menu that should not show
  explicit TMenuScript(std::vector<std::function<void()>> steps, int waitTicks = DefaultWaitTicks)
      : FSteps(std::move(steps)), FTimer(nullptr), FWaitTicks(waitTicks) {
    FTimer.SetInterval(TickMs);
    FTimer.SetOnTimer([this](TComponent*) { Tick(); });
  }
  bool Done() const { return !FTimer.Enabled(); }
  int Appearances() const { return FAppearances; }
  const std::optional<RECT>& FirstShownAt() const { return FFirstShownAt; }
  // A menu had to be closed for the test.
  bool ClosedByForce() const { return FClosedByForce; }

private:
  static constexpr unsigned TickMs = 40;
  static constexpr int GraceTicks = 12; // after the last step, for a menu that should not be there

  void Tick() {
    HWND shown = ShownMenu();
    if (shown && !FWasShown) {
      ++FAppearances;
      RECT r{};
      GetWindowRect(shown, &r);
      if (!FFirstShownAt) FFirstShownAt = r;
    }
    FWasShown = shown != nullptr;
    if (FNext == 0 && !shown && FAppearances == 0) {
      if (++FWaited > FWaitTicks) FTimer.SetEnabled(false);
    } else if (FNext < FSteps.size()) {
      FSteps[FNext++]();
    } else if (++FAfterLast > GraceTicks || (!shown && FSteps.empty())) {
      if (shown) {
        FClosedByForce = true;
        EndMenu();
      }
      FTimer.SetEnabled(false);
    }
  }

  std::vector<std::function<void()>> FSteps;
  TTimer FTimer;
  int FWaitTicks;
  size_t FNext = 0;
  int FWaited = 0;
  int FAfterLast = 0;
  int FAppearances = 0;
  bool FWasShown = false;
  bool FClosedByForce = false;
  std::optional<RECT> FFirstShownAt;
};

// A menu of a class of its own: it shows itself, and notes how it was asked to.
class TOwnPopupMenu : public TPopupMenu {
public:
  using TPopupMenu::TPopupMenu;
  void Popup(int x, int y, TComponent* popupComponent) override {
    ShownAt = POINT{x, y};
    AlignmentWhenShown = Alignment();
    ComponentWhenShown = popupComponent;
    if (WhileShown) WhileShown();
  }
  std::function<void()> WhileShown;
  std::optional<POINT> ShownAt;
  TPopupAlignment AlignmentWhenShown = TPopupAlignment::paCenter;
  TComponent* ComponentWhenShown = nullptr;
};

class DropdownMenus : public DockedFormTest {
protected:
  void SetUp() override {
    DockedFormTest::SetUp();
    Bottom = MakeDock("Bottom", dpBottom);
    Menu = new TPopupMenu(Form);
    First = Menu->AddItem("First", "First", [this](TComponent*) { Chosen.push_back("First"); });
    First->SetHint("The first item");
    More = Menu->AddItem("More", "More");
    More->SetHint("More items");
    Inner = new TMenuItem(Form);
    Inner->SetCaption("Inner");
    Inner->OnClick = [this](TComponent*) { Chosen.push_back("Inner"); };
    More->Add(Inner);
    Menu->OnPopup = [this](TComponent* sender) {
      EXPECT_EQ(sender, Menu);
      ++Popups;
    };
    Button = AddButton(Menu);
    Other = AddButton(nullptr);
    ShowForm();
    ASSERT_EQ(GetActiveWindow(), Form->Handle()) << "the test form must be active";
  }
  void TearDown() override {
    Application->OnHint = nullptr;
    Application->OnHelp = nullptr;
    Application->OnHelpCommand = nullptr;
    Application->SetHint("");
    SetCursorPos(0, 0);
    DockedFormTest::TearDown();
    const TDropdownList* list = TDropdownList::Existing();
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(list->MenuCount(), 0) << "the menus went with the form";
    EXPECT_EQ(list->MenuOwnerWindow(), nullptr) << "and the window with the last menu";
  }

  TToolbarButton97* AddButton(TPopupMenu* menu) {
    auto* button = new TToolbarButton97(Form);
    button->SetParent(Toolbar);
    button->SetDropdownMenu(menu);
    auto& clicks = FClicks.emplace_back(0);
    button->OnClick = [&clicks](TComponent*) { ++clicks; };
    return button;
  }
  int Clicks(TToolbarButton97* button) const { return button == Button ? FClicks[0] : FClicks[1]; }
  void PlaceToolbar(TDock97* dock) {
    if (!dock) Toolbar->SetFloatingPosition(POINT{700, 300});
    Toolbar->SetDockedTo(dock);
    PumpMessages();
  }
  POINT OnScreen(const TControl* control, POINT p) const { return control->ClientToScreen(p); }
  POINT CenterOf(const TControl* control) const {
    return OnScreen(control, POINT{control->Width() / 2, control->Height() / 2});
  }
  // A press at `p` of the button (client coordinates), posted to its toolbar, and its release when asked for: a
  // menu the press opens is tracked from within. Returns once the script is through and what the menu left
  // queued has run.
  void PressAndRun(TToolbarButton97* button, POINT p, TMenuScript& script, bool release = false) {
    const POINT t = Toolbar->ScreenToClient(OnScreen(button, p));
    PostMessageW(Toolbar->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(t.x, t.y));
    if (release) PostMessageW(Toolbar->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(t.x, t.y));
    ASSERT_TRUE(PumpUntil([&] { return script.Done(); }));
    PumpMessages();
  }
  void OpenAndRun(TMenuScript& script) { PressAndRun(Button, POINT{5, 5}, script); }
  // Opens a menu of another class (which returns at once).
  void OpenOwnMenu() {
    const POINT t = Toolbar->ScreenToClient(OnScreen(Button, POINT{5, 5}));
    PostMessageW(Toolbar->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(t.x, t.y));
    PumpMessages();
  }

  TDock97* Bottom = nullptr;
  TPopupMenu* Menu = nullptr;
  TMenuItem* First = nullptr;
  TMenuItem* More = nullptr;
  TMenuItem* Inner = nullptr;
  TToolbarButton97* Button = nullptr;
  TToolbarButton97* Other = nullptr;
  int Popups = 0;
  std::vector<std::string> Chosen;

private:
  std::deque<int> FClicks;
};

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

// ---------------------------------------------------------------------------------------------------------
// What the window passes back to the menus

// Chosen by the keyboard in the open menu: the hint follows the highlighted item, a sub-menu's item too; the
// sub-menu asks its item as it opens; the chosen item runs once the menu has closed, through the window, with
// the button as the menu's popup component; the hint is empty again when the menu is gone.
TEST_F(DropdownMenus, TheOpenMenuShowsItsHintsPreparesItsSubMenuAndRunsTheChosenItem) {
  Inner->SetHint("The inner item");
  int moreOpened = 0;
  More->OnClick = [&](TComponent*) { ++moreOpened; };
  std::vector<std::string> hints;
  Application->OnHint = [&](TComponent*) { hints.push_back(Application->Hint()); };
  TComponent* popupComponent = nullptr;
  bool inClick = true;
  Inner->OnClick = [&](TComponent*) {
    Chosen.push_back("Inner");
    popupComponent = Menu->PopupComponent();
    inClick = Button->InClick();
  };
  TMenuScript script(
      {[] { PressKey(VK_DOWN); }, [] { PressKey(VK_DOWN); }, [] { PressKey(VK_RIGHT); }, [] { PressKey(VK_RETURN); }});
  OpenAndRun(script);
  EXPECT_EQ(moreOpened, 1);
  EXPECT_EQ(Chosen, std::vector<std::string>{"Inner"});
  EXPECT_EQ(popupComponent, Button);
  EXPECT_FALSE(inClick) << "the command came through the window after the menu closed";
  const std::vector<std::string> expected{"The first item", "More items", "The inner item", ""};
  EXPECT_EQ(hints, expected);
}

// Notifications sent straight to the window reach the menu whose item they name, among several listed menus;
// one that names no item changes nothing, but a highlight of no known item empties the hint.
TEST_F(DropdownMenus, TheWindowPassesEachNotificationToTheMenuItNames) {
  auto* second = new TPopupMenu(Form);
  TMenuItem* secondItem = second->AddItem("Second", "Second", [this](TComponent*) { Chosen.push_back("Second"); });
  secondItem->SetHint("The second menu's item");
  Other->SetDropdownMenu(second);
  int moreOpened = 0;
  More->OnClick = [&](TComponent*) { ++moreOpened; };
  Menu->Handle();
  second->Handle();
  HWND owner = TDropdownList::Existing()->MenuOwnerWindow();
  const auto menuLParam = reinterpret_cast<LPARAM>(Menu->Handle());
  struct TCase {
    const char* Name;
    UINT Msg;
    WPARAM WParam;
    LPARAM LParam;
    std::vector<std::string> Chosen;
    int MoreOpened;
    const char* Hint; // after a hint of "before"
  };
  const TCase cases[] = {
      {"a command of the first menu", WM_COMMAND, MAKEWPARAM(First->Command(), 0), 0, {"First"}, 0, "before"},
      {"a command of the second menu", WM_COMMAND, MAKEWPARAM(secondItem->Command(), 0), 0, {"Second"}, 0, "before"},
      {"a command no menu has", WM_COMMAND, MAKEWPARAM(0xFFFF, 0), 0, {}, 0, "before"},
      {"a sub-menu about to open", WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(More->Handle()), 1, {}, 1, "before"},
      {"a menu no list has", WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(CreatePopupMenu()), 0, {}, 0, "before"},
      {"the second menu's item highlighted",
       WM_MENUSELECT,
       MAKEWPARAM(secondItem->Command(), MF_STRING),
       reinterpret_cast<LPARAM>(second->Handle()),
       {},
       0,
       "The second menu's item"},
      {"a sub-menu's item highlighted", WM_MENUSELECT, MAKEWPARAM(1, MF_POPUP), menuLParam, {}, 0, "More items"},
      {"an unknown item highlighted", WM_MENUSELECT, MAKEWPARAM(0xFFFF, MF_STRING), menuLParam, {}, 0, ""},
      {"the menu closed", WM_MENUSELECT, MAKEWPARAM(0, 0xFFFF), 0, {}, 0, ""},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    Chosen.clear();
    moreOpened = 0;
    Application->SetHint("before");
    SendMessageW(owner, c.Msg, c.WParam, c.LParam);
    EXPECT_EQ(Chosen, c.Chosen);
    EXPECT_EQ(moreOpened, c.MoreOpened);
    EXPECT_EQ(Application->Hint(), c.Hint);
  }
}

// A help request on a menu item goes to the application's help: the item's context, or the context of the
// sub-menu it is in when it has none; as a popup when the active form shows the caption's help button; nothing
// without a context or an active form. A request about a menu no button has is left to the default handling.
TEST_F(DropdownMenus, HelpOnAnItemShowsItsContextThroughTheApplication) {
  First->SetHelpContext(11);
  More->SetHelpContext(22);
  TMenuItem* plain = Menu->AddItem("Plain", "Plain");
  Menu->Handle();
  TPopupMenu stranger(nullptr);
  stranger.AddItem("Stranger", "Stranger")->SetHelpContext(33);
  HWND owner = TDropdownList::Existing()->MenuOwnerWindow();
  struct TShown {
    UINT Command;
    ULONG_PTR Context;
    bool operator==(const TShown&) const = default;
  };
  std::vector<TShown> shown;
  Application->OnHelp = [&](int context) { shown.push_back({HELP_CONTEXT, static_cast<ULONG_PTR>(context)}); };
  Application->OnHelpCommand = [&](UINT command, ULONG_PTR data) { shown.push_back({command, data}); };
  enum TActive { FormActive, FormWithHelpButton, NoForm };
  struct TCase {
    const char* Name;
    const TMenuItem* Item;
    HMENU In;
    TActive Active;
    std::vector<TShown> Shown;
    LRESULT Result;
  };
  const TCase cases[] = {
      {"an item with a context", First, Menu->Handle(), FormActive, {{HELP_CONTEXT, 11}}, TRUE},
      {"a form with the help button", First, Menu->Handle(), FormWithHelpButton, {{HELP_CONTEXTPOPUP, 11}}, TRUE},
      {"an item without one, in a sub-menu", Inner, More->Handle(), FormActive, {{HELP_CONTEXT, 22}}, TRUE},
      {"no context anywhere", plain, Menu->Handle(), FormActive, {}, TRUE},
      {"no active form", First, Menu->Handle(), NoForm, {}, TRUE},
      {"a menu no button has", stranger.Items()->Items(0), stranger.Handle(), FormActive, {}, 0},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    shown.clear();
    Form->SetBorderIcons(c.Active == FormWithHelpButton ? biSystemMenu : biSystemMenu | biMinimize | biMaximize);
    const auto exStyle = GetWindowLongPtrW(Form->Handle(), GWL_EXSTYLE);
    SetWindowLongPtrW(Form->Handle(), GWL_EXSTYLE,
                      c.Active == FormWithHelpButton ? exStyle | WS_EX_CONTEXTHELP : exStyle & ~WS_EX_CONTEXTHELP);
    HWND notAForm = nullptr;
    if (c.Active == NoForm) {
      notAForm =
          CreateWindowExW(0, L"STATIC", L"", WS_POPUP | WS_VISIBLE, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
      SetForegroundWindow(notAForm);
      PumpMessages();
      ASSERT_EQ(TScreen::ActiveForm(), nullptr);
    } else {
      ASSERT_EQ(TScreen::ActiveForm(), Form);
    }
    HELPINFO info{sizeof(info), HELPINFO_MENUITEM, static_cast<int>(c.Item->Command()), c.In, 0, POINT{}};
    EXPECT_EQ(SendMessageW(owner, WM_HELP, 0, reinterpret_cast<LPARAM>(&info)), c.Result);
    EXPECT_EQ(shown, c.Shown);
    if (notAForm) {
      DestroyWindow(notAForm);
      SetForegroundWindow(Form->Handle());
      PumpMessages();
    }
  }
}

// F1 in the open menu asks for help on the highlighted item; an item without a context has the context of its
// sub-menu.
TEST_F(DropdownMenus, F1InTheOpenMenuAsksForHelpOnTheHighlightedItem) {
  First->SetHelpContext(11);
  More->SetHelpContext(22);
  std::vector<int> shown;
  Application->OnHelp = [&](int context) { shown.push_back(context); };
  TMenuScript script({[] { PressKey(VK_DOWN); }, [] { PressKey(VK_F1); }, [] { PressKey(VK_DOWN); },
                      [] { PressKey(VK_RIGHT); }, [] { PressKey(VK_F1); }, [] { EndMenu(); }});
  OpenAndRun(script);
  EXPECT_EQ(shown, (std::vector<int>{11, 22}));
}

// What a menu's handler throws reaches the application's error box, and the window answers as if nothing
// happened; the next notification is handled as before.
TEST_F(DropdownMenus, AnErrorInAHandlerGoesToTheErrorBoxAndTheWindowCarriesOn) {
  Menu->Handle();
  HWND owner = TDropdownList::Existing()->MenuOwnerWindow();
  const auto fail = [](const char* what) { return [what](auto&&...) { throw Exception(what); }; };
  HELPINFO info{sizeof(info), HELPINFO_MENUITEM, static_cast<int>(First->Command()), Menu->Handle(), 0, POINT{}};
  First->SetHelpContext(11);
  struct TCase {
    const char* Name;
    std::function<void()> Break;
    UINT Msg;
    WPARAM WParam;
    LPARAM LParam;
    const char* Error;
  };
  const TCase cases[] = {
      {"the chosen item", [&] { First->OnClick = fail("Broken item"); }, WM_COMMAND, MAKEWPARAM(First->Command(), 0), 0,
       "Broken item."},
      {"the sub-menu's item", [&] { More->OnClick = fail("Broken sub-menu"); }, WM_INITMENUPOPUP,
       reinterpret_cast<WPARAM>(More->Handle()), 1, "Broken sub-menu."},
      {"the hint", [&] { Application->OnHint = fail("Broken hint"); }, WM_MENUSELECT,
       MAKEWPARAM(First->Command(), MF_STRING), reinterpret_cast<LPARAM>(Menu->Handle()), "Broken hint."},
      {"the help", [&] { Application->OnHelp = fail("Broken help"); }, WM_HELP, 0, reinterpret_cast<LPARAM>(&info),
       "Broken help."},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    Seams().MessageBoxes.clear();
    c.Break();
    EXPECT_EQ(SendMessageW(owner, c.Msg, c.WParam, c.LParam), 0);
    ASSERT_EQ(Seams().MessageBoxes.size(), 1u);
    EXPECT_EQ(Seams().MessageBoxes[0].Text, c.Error);
    EXPECT_EQ(Seams().MessageBoxes[0].Caption, Application->Title());
    EXPECT_TRUE(Seams().MessageBoxes[0].Type & MB_ICONSTOP);
  }
  Application->OnHint = nullptr;
  First->OnClick = [this](TComponent*) { Chosen.push_back("First"); };
  SendMessageW(owner, WM_COMMAND, MAKEWPARAM(First->Command(), 0), 0);
  EXPECT_EQ(Chosen, std::vector<std::string>{"First"});
}

// ---------------------------------------------------------------------------------------------------------
// The closing-click filter, and a popup that fails

struct TQueued {
  HWND Wnd;
  UINT Msg;
  LPARAM LParam;
  bool operator==(const TQueued&) const = default;
};
std::ostream& operator<<(std::ostream& out, const TQueued& m) {
  return out << "msg 0x" << std::hex << m.Msg << " at " << std::dec << GET_X_LPARAM(m.LParam) << ","
             << GET_Y_LPARAM(m.LParam);
}

std::vector<TQueued> TakeMouseButtonMessages() {
  std::vector<TQueued> taken;
  MSG msg{};
  while (PeekMessageW(&msg, nullptr, WM_LBUTTONDOWN, WM_MBUTTONDBLCLK, PM_REMOVE))
    taken.push_back({msg.hwnd, msg.message, msg.lParam});
  return taken;
}

// The filter drops every kind of press and double-click on the button and keeps releases and presses elsewhere,
// in their order; when the test of a press fails, what was taken goes back all the same.
TEST_F(DropdownMenus, TheClosingClickFilterDropsOnlyPressesOnTheButton) {
  PumpMessages();
  HWND wnd = Toolbar->Handle();
  const auto at = [&](const TControl* control) {
    const POINT p = Toolbar->ScreenToClient(CenterOf(control));
    return MAKELPARAM(p.x, p.y);
  };
  RECT button{};
  const POINT topLeft = OnScreen(Button, POINT{0, 0});
  SetRect(&button, topLeft.x, topLeft.y, topLeft.x + Button->Width(), topLeft.y + Button->Height());
  const auto onButton = [&](POINT screen) { return PtInRect(&button, screen) != FALSE; };
  const std::vector<TQueued> posted{
      {wnd, WM_LBUTTONDOWN, at(Button)}, {wnd, WM_LBUTTONUP, at(Button)},     {wnd, WM_LBUTTONDBLCLK, at(Button)},
      {wnd, WM_RBUTTONDOWN, at(Button)}, {wnd, WM_RBUTTONUP, at(Button)},     {wnd, WM_RBUTTONDBLCLK, at(Button)},
      {wnd, WM_MBUTTONDOWN, at(Button)}, {wnd, WM_MBUTTONDBLCLK, at(Button)}, {wnd, WM_MBUTTONUP, at(Button)},
      {wnd, WM_LBUTTONDOWN, at(Other)},  {wnd, WM_RBUTTONDBLCLK, at(Other)},
  };
  for (const TQueued& m : posted) PostMessageW(m.Wnd, m.Msg, 0, m.LParam);
  DropClosingClicks(onButton);
  const std::vector<TQueued> kept{{wnd, WM_LBUTTONUP, at(Button)},
                                  {wnd, WM_RBUTTONUP, at(Button)},
                                  {wnd, WM_MBUTTONUP, at(Button)},
                                  {wnd, WM_LBUTTONDOWN, at(Other)},
                                  {wnd, WM_RBUTTONDBLCLK, at(Other)}};
  EXPECT_EQ(TakeMouseButtonMessages(), kept);

  for (const TQueued& m : std::vector<TQueued>{
           {wnd, WM_LBUTTONDOWN, at(Button)}, {wnd, WM_LBUTTONUP, at(Button)}, {wnd, WM_LBUTTONDOWN, at(Other)}})
    PostMessageW(m.Wnd, m.Msg, 0, m.LParam);
  EXPECT_THROW(DropClosingClicks([&](POINT screen) {
                 if (!onButton(screen)) throw Exception("cannot tell");
                 return true;
               }),
               Exception);
  const std::vector<TQueued> back{{wnd, WM_LBUTTONUP, at(Button)}, {wnd, WM_LBUTTONDOWN, at(Other)}};
  EXPECT_EQ(TakeMouseButtonMessages(), back) << "the message being tested when it failed is kept";
}

// A popup that fails, or one that disables the button, still gives the menu its alignment back and still runs
// the closing-click filter over what is queued: the press on the button is dropped (disabled or not), the rest
// is posted again.
TEST_F(DropdownMenus, AFailingPopupRestoresTheAlignmentAndRepostsTheQueue) {
  TOwnPopupMenu own(nullptr);
  own.AddItem("Own", "Own");
  enum TTrouble { OnPopupFails, PopupFails, ButtonDisabled };
  struct TCase {
    const char* Name;
    TTrouble Trouble;
  };
  const TCase cases[] = {
      {"the menu's OnPopup fails", OnPopupFails},
      {"a menu of another class fails to show", PopupFails},
      {"the button is disabled while its menu shows", ButtonDisabled},
  };
  PlaceToolbar(Right); // the alignment changes for the right dock
  HWND wnd = Toolbar->Handle();
  const auto at = [&](const TControl* control) {
    const POINT p = Toolbar->ScreenToClient(CenterOf(control));
    return MAKELPARAM(p.x, p.y);
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    TPopupMenu* menu = c.Trouble == OnPopupFails ? Menu : &own;
    Button->SetDropdownMenu(menu);
    Button->SetEnabled(true);
    menu->SetAlignment(TPopupAlignment::paCenter);
    Menu->OnPopup = [](TComponent*) { throw Exception("OnPopup fails"); };
    own.WhileShown = [&] {
      if (c.Trouble == PopupFails) throw Exception("Popup fails");
      Button->SetEnabled(false);
    };
    PumpMessages();
    const std::vector<TQueued> posted{{wnd, WM_LBUTTONDOWN, at(Button)},
                                      {wnd, WM_LBUTTONUP, at(Button)},
                                      {wnd, WM_LBUTTONDOWN, at(Other)},
                                      {wnd, WM_LBUTTONDBLCLK, at(Button)}};
    for (const TQueued& m : posted) PostMessageW(m.Wnd, m.Msg, 0, m.LParam);
    if (c.Trouble == ButtonDisabled) EXPECT_NO_THROW(ShowButtonMenu(*Button));
    else EXPECT_THROW(ShowButtonMenu(*Button), Exception);
    EXPECT_EQ(menu->Alignment(), TPopupAlignment::paCenter);
    const std::vector<TQueued> kept{{wnd, WM_LBUTTONUP, at(Button)}, {wnd, WM_LBUTTONDOWN, at(Other)}};
    EXPECT_EQ(TakeMouseButtonMessages(), kept);
  }
  Button->SetEnabled(true);
  Button->SetDropdownMenu(Menu);
}

} // namespace
