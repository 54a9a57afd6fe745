// A form with docks at the top, bottom, left and right, a toolbar and two buttons, the first with a two-level
// dropdown menu; and a script that a timer, which the menu's own loop keeps running, plays against a shown menu
// window ("#32768"): it reads where the menu is and sends the keys and clicks.
#pragma once

#include "Exception.h"
#include "InputKit.h"
#include "Menu.h"
#include "Screen.h"
#include "TB97Button.h"
#include "TB97DropdownList.h"
#include "ToolbarTestKit.h"

#include <windowsx.h>

#include <deque>
#include <functional>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

namespace qs {
inline void PrintTo(TPopupAlignment alignment, std::ostream* out) {
  *out << (alignment == TPopupAlignment::paLeft    ? "paLeft"
           : alignment == TPopupAlignment::paRight ? "paRight"
                                                   : "paCenter");
}
} // namespace qs

namespace qs::test {

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

} // namespace qs::test
