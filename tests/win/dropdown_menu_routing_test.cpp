// What the dropdown menus' window passes back to the menus (commands, sub-menus, hints, help, errors), the
// filter that keeps the click closing a menu over its own button from opening it again, and a popup that fails.
// Menus are really shown and driven by a script (see DropdownMenuFixture.h).
#include "DropdownMenuFixture.h"

#include <windowsx.h>

#include <ostream>

using namespace qs;
using namespace qs::test;

namespace {

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
