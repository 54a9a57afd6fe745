// What the framework tells its controls and when: broadcasts to windowless children, dialog keys and
// accelerators, the parent told of its children's changes, the pointer followed through modal loops, hints
// that never dangle, and the screen's forms.
#include "ControlTestKit.h"
#include "GraphicControl.h"
#include "InputKit.h"
#include "Menu.h"
#include "Panel.h"
#include "Screen.h"
#include "Timer.h"

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

using namespace qs;
using namespace qs::test;

namespace {

// A windowless control that writes down the control messages it gets.
class TProbe : public TGraphicControl {
public:
  explicit TProbe(TComponent* owner) : TGraphicControl(owner) {}
  void WndProc(TMessage& message) override {
    Seen.push_back(message.Msg);
    if (message.Msg == CM_DIALOGKEY && message.WParam == TakesKey) {
      message.Result = 1;
      return;
    }
    if (message.Msg == CM_DIALOGCHAR && static_cast<wchar_t>(message.WParam) == TakesChar) {
      message.Result = 1;
      return;
    }
    if (OnMessage) OnMessage(message);
    TGraphicControl::WndProc(message);
  }
  int Count(UINT msg) const { return static_cast<int>(std::count(Seen.begin(), Seen.end(), msg)); }

  std::vector<UINT> Seen;
  WPARAM TakesKey = 0;
  wchar_t TakesChar = 0;
  std::function<void(const TMessage&)> OnMessage;
};

// Puts the pointer on the control's middle and moves it there, as a user's hand does.
void PointAtAndMove(const TControl& control) {
  const POINT p = control.ClientToScreen(POINT{control.Width() / 2, control.Height() / 2});
  SetCursorPos(p.x, p.y);
  SendMouse(MOUSEEVENTF_MOVE);
  PumpMessages();
}

class Messages : public FormTest {
protected:
  // A probe inside a panel inside the form: broadcasts must reach the second level too.
  TProbe* NestedProbe() {
    auto* panel = Place<TPanel>(FForm, FForm, 10, 10, 200, 100);
    return Place<TProbe>(FForm, panel, 10, 10, 50, 20);
  }
};

// ---- broadcasts

TEST_F(Messages, SystemColourAndShowingChangesReachNestedWindowlessControls) {
  TProbe* probe = NestedProbe();
  ShowForm();
  SendMessageW(FForm->Handle(), WM_SYSCOLORCHANGE, 0, 0);
  EXPECT_EQ(probe->Count(CM_SYSCOLORCHANGE), 1);

  probe->Seen.clear();
  bool showingWhenTold = true;
  probe->OnMessage = [&](const TMessage& m) {
    if (m.Msg == CM_SHOWINGCHANGED) showingWhenTold = probe->Showing();
  };
  ShowWindow(FForm->Handle(), SW_HIDE);
  EXPECT_EQ(probe->Count(CM_SHOWINGCHANGED), 1);
  EXPECT_FALSE(showingWhenTold) << "told after the window was hidden";
}

// Controls that follow a window's state (a dock listening to its tool window) must see the new state.
class TRecordingPanel : public TPanel {
public:
  explicit TRecordingPanel(TComponent* owner) : TPanel(owner) {}
  std::vector<bool> WindowVisible;
  void WndProc(TMessage& message) override {
    if (message.Msg == CM_VISIBLECHANGED) WindowVisible.push_back(IsWindowVisible(HandleIfAllocated()) != FALSE);
    TPanel::WndProc(message);
  }
};

TEST_F(Messages, AWindowedControlReportsVisibleChangedAfterItsWindowChanged) {
  ShowForm();
  auto* panel = Place<TRecordingPanel>(FForm, FForm, 120, 10, 100, 50);
  panel->HandleNeeded();
  panel->Hide();
  panel->Show();
  EXPECT_EQ(panel->WindowVisible, (std::vector<bool>{false, true}));
}

// ---- dialog keys and accelerators

TEST_F(Messages, EnterAndAltLetterReachWindowlessControlsOfTheFocusedForm) {
  TProbe* probe = NestedProbe();
  probe->TakesKey = VK_RETURN;
  probe->TakesChar = L'e';
  ShowForm();
  SetForegroundWindow(FForm->Handle());
  SetFocus(FForm->Handle());
  PumpMessages();
  PressKey(VK_RETURN);
  PumpMessages();
  EXPECT_EQ(probe->Count(CM_DIALOGKEY), 1);

  SendKey(VK_MENU, false);
  PressKey('E');
  SendKey(VK_MENU, true);
  PumpMessages();
  EXPECT_EQ(probe->Count(CM_DIALOGCHAR), 1);
}

// A window whose Windows parent is not a form (a floating tool window is a popup of its own) still takes its
// form's dialog keys, through its framework parent.
class TPopupPanel : public TPanel {
public:
  explicit TPopupPanel(TComponent* owner) : TPanel(owner) {}

protected:
  void CreateParams(TCreateParams& params) override {
    TPanel::CreateParams(params);
    params.WinClassName = L"QsTestPopupPanel";
    params.Style = WS_POPUP | WS_VISIBLE;
    params.WndParent = nullptr;
    params.X = 300;
    params.Y = 300;
  }
};

TEST_F(Messages, DialogKeysReachControlsInAPopupWhoseParentIsAForm) {
  ShowForm();
  auto* popup = Place<TPopupPanel>(FForm, FForm, 0, 0, 120, 60);
  auto* probe = Place<TProbe>(FForm, popup, 5, 5, 30, 20);
  probe->TakesKey = VK_ESCAPE;
  HWND wnd = popup->Handle();
  ASSERT_EQ(GetAncestor(wnd, GA_ROOT), wnd) << "the popup is a root window of its own";
  SetForegroundWindow(wnd);
  SetFocus(wnd);
  PumpMessages();
  PressKey(VK_ESCAPE);
  PumpMessages();
  EXPECT_EQ(probe->Count(CM_DIALOGKEY), 1);
}

// ---- the parent hears of its children

class TListeningPanel : public TPanel {
public:
  explicit TListeningPanel(TComponent* owner) : TPanel(owner) {}
  std::vector<std::string> Heard;
  void AlignControl(TControl* control) override {
    if (control) Heard.push_back("align " + control->Name());
    TPanel::AlignControl(control);
  }
  void WndProc(TMessage& message) override {
    if (message.Msg == CM_CONTROLCHANGE)
      Heard.push_back(std::string(message.LParam ? "insert " : "remove ") +
                      reinterpret_cast<TControl*>(message.WParam)->Name());
    TPanel::WndProc(message);
  }
};

TEST_F(Messages, AParentHearsOfInsertionsRemovalsAndMovesOfUnalignedChildrenInOrder) {
  auto* parent = Place<TListeningPanel>(FForm, FForm, 0, 0, 200, 100);
  auto make = [&](const char* name) {
    auto* c = new TProbe(FForm);
    c->SetName(name);
    c->SetBounds(0, 0, 10, 10);
    c->SetParent(parent);
    return c;
  };
  TProbe* a = make("A");
  TProbe* b = make("B");
  b->SetBounds(5, 0, 10, 10);
  a->Hide();
  a->SetParent(nullptr);
  delete a;
  EXPECT_EQ(parent->Heard, (std::vector<std::string>{"insert A", "align A", "insert B", "align B", "align B", "align A",
                                                     "remove A", "align A"}));
}

// ---- the pointer, also while a menu runs

TEST_F(Messages, ThePointerLeavingForAMenuIsSeenWhileTheMenuRuns) {
  auto* probe = Place<TProbe>(FForm, FForm, 20, 20, 60, 40);
  ShowForm();
  SetForegroundWindow(FForm->Handle());
  PointAtAndMove(*probe);
  ASSERT_EQ(Application->MouseControl(), probe);
  ASSERT_EQ(probe->Count(CM_MOUSEENTER), 1);

  TPopupMenu menu(nullptr);
  menu.AddItem("One", "One");
  int leavesSeenInsideMenu = -1;
  TTimer step(nullptr);
  step.SetInterval(50);
  int ticks = 0;
  const POINT menuAt = FForm->ClientToScreen(POINT{250, 150});
  step.SetOnTimer([&](TComponent*) {
    ++ticks;
    if (ticks == 1) {
      SetCursorPos(menuAt.x + 10, menuAt.y + 5);
      SendMouse(MOUSEEVENTF_MOVE);
    } else if (ticks == 4) {
      leavesSeenInsideMenu = probe->Count(CM_MOUSELEAVE);
      EndMenu();
    }
  });
  menu.Popup(menuAt.x, menuAt.y, FForm);
  step.SetEnabled(false);
  EXPECT_EQ(leavesSeenInsideMenu, 1);
}

// ---- hints never dangle

TEST_F(Messages, HintAndPointerControlsAreForgottenWhenFreedAndUnlinkedWhenLeft) {
  Application->SetShowHint(true);
  auto* hinted = Place<TProbe>(FForm, FForm, 20, 20, 60, 40);
  hinted->SetHint("Hinted");
  hinted->SetShowHint(true);
  auto* other = Place<TProbe>(FForm, FForm, 120, 20, 60, 40);
  ShowForm();
  SetForegroundWindow(FForm->Handle());

  // The hint shown for a control the pointer is not over (as a keyboard tool or a test asks for it).
  Application->ActivateHint(hinted->ClientToScreen(POINT{5, 5}));
  ASSERT_EQ(Application->HintControl(), hinted);
  PointAtAndMove(*other);
  delete hinted;
  EXPECT_NE(Application->HintControl(), static_cast<TControl*>(hinted));

  PointAtAndMove(*other);
  ASSERT_EQ(Application->MouseControl(), other);
  EXPECT_TRUE(other->HasFreeNotification(Application));
  const POINT away = FForm->ClientToScreen(POINT{300, 250});
  SetCursorPos(away.x, away.y);
  SendMouse(MOUSEEVENTF_MOVE);
  PumpMessages();
  EXPECT_NE(Application->MouseControl(), other);
  EXPECT_FALSE(other->HasFreeNotification(Application)) << "a control left behind keeps no link";
  Application->CancelHint();
}

// ---- the screen

TEST_F(Messages, TheScreenListsFormsInZOrderAndKnowsTheActiveOne) {
  ShowForm();
  auto* second = new TForm(Application);
  second->SetBounds(50, 50, 200, 100);
  second->Show();
  PumpMessages();
  std::vector<TForm*> forms = TScreen::Forms();
  const auto at = [&](TForm* f) { return std::find(forms.begin(), forms.end(), f) - forms.begin(); };
  ASSERT_LT(at(second), static_cast<long>(forms.size()));
  EXPECT_LT(at(second), at(FForm)) << "the form shown last is on top";
  EXPECT_EQ(TScreen::ActiveForm(), second);
  auto* nested = Place<TProbe>(FForm, Place<TPanel>(FForm, FForm, 0, 0, 50, 50), 0, 0, 5, 5);
  EXPECT_EQ(GetParentForm(nested), FForm);
  delete second;
}

} // namespace
