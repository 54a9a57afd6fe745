// The framework's spine under the situations the toolbar puts it in: a handler that recreates its own window,
// a control freed from its own click, components made while their owner loads, alignment requested from inside
// an alignment pass, a press released elsewhere, and an error that keeps coming while its box is open.
#include "ControlTestKit.h"
#include "Exception.h"
#include "GraphicControl.h"
#include "InputKit.h"
#include "Panel.h"

#include <cstring>
#include <functional>
#include <string>
#include <utility>
#include <vector>

using namespace qs;
using namespace qs::test;

namespace {

// Freed memory is overwritten and kept, so that any use of a freed control reads poison (and crashes on its
// first virtual call) instead of whatever the heap put there next.
template <typename Base>
class TPoisonedOnFree : public Base {
public:
  using Base::Base;
  static void operator delete(void* p, std::size_t size) { std::memset(p, 0xDD, size); }
};

class TClickTarget : public TGraphicControl {
public:
  explicit TClickTarget(TComponent* owner) : TGraphicControl(owner) {}

protected:
  void Paint() override { Canvas().FillRect(ClientRect(), clRed); }
};

class TWindowedClickTarget : public TCustomControl {
public:
  explicit TWindowedClickTarget(TComponent* owner) : TCustomControl(owner) {}
};

void PointAt(const TControl& control, POINT client) {
  const POINT p = control.ClientToScreen(client);
  SetCursorPos(p.x, p.y);
  PumpMessages();
}

class Lifetime : public FormTest {};

// ---- the rest of a message goes to the window it came to

class TRecreateOnSetText : public TCustomControl {
public:
  explicit TRecreateOnSetText(TComponent* owner) : TCustomControl(owner) {}
  void WndProc(TMessage& message) override {
    if (message.Msg == WM_SETTEXT && RecreateNow) {
      RecreateNow = false;
      RecreateWnd();
    }
    TCustomControl::WndProc(message);
  }
  bool RecreateNow = false;
};

TEST_F(Lifetime, AHandlerThatRecreatesItsWindowLeavesTheNewWindowOutOfTheOldMessage) {
  auto* control = Place<TRecreateOnSetText>(FForm, FForm, 10, 10, 100, 30);
  control->SetCaption("Made again");
  ShowForm();
  HWND old = control->Handle();
  control->RecreateNow = true;
  SendMessageW(old, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"Meant for the old window"));
  ASSERT_NE(control->Handle(), old);
  EXPECT_EQ(WindowText(control->Handle()), "Made again");
}

// ---- a control freed from its own events

TEST_F(Lifetime, AWindowlessControlFreedFromItsOwnClickIsNotTouchedAgain) {
  struct TCase {
    const char* Name;
    std::function<void(TControl*)> Arm;
  };
  const TCase cases[] = {
      {"OnClick", [](TControl* c) { c->OnClick = [](TComponent* sender) { delete sender; }; }},
      {"OnMouseUp",
       [](TControl* c) {
         c->OnMouseUp = [](TControl* sender, TMouseButton, TShiftState, int, int) { delete sender; };
       }},
      {"OnMouseDown",
       [](TControl* c) {
         c->OnMouseDown = [](TControl* sender, TMouseButton, TShiftState, int, int) { delete sender; };
       }},
  };
  ShowForm();
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    auto* button = Place<TPoisonedOnFree<TClickTarget>>(FForm, FForm, 20, 20, 40, 30);
    c.Arm(button);
    const TComponentWatch watch(button);
    ClickAt(FForm->Handle(), POINT{30, 30});
    EXPECT_FALSE(watch.Alive());
    EXPECT_EQ(FForm->ControlCount(), 0);
  }
}

TEST_F(Lifetime, AWindowedControlFreedFromItsOwnClickIsNotTouchedAgain) {
  ShowForm();
  auto* control = Place<TPoisonedOnFree<TWindowedClickTarget>>(FForm, FForm, 20, 20, 60, 40);
  control->OnClick = [](TComponent* sender) { delete sender; };
  HWND wnd = control->Handle();
  const TComponentWatch watch(control);
  ClickAt(wnd, POINT{5, 5});
  EXPECT_FALSE(watch.Alive());
  EXPECT_FALSE(IsWindow(wnd));
}

TEST_F(Lifetime, ReleaseFreesFromTheMessageLoopAfterTheClick) {
  ShowForm();
  auto* button = Place<TClickTarget>(FForm, FForm, 20, 20, 40, 30);
  bool aliveAfterRelease = false;
  const TComponentWatch watch(button);
  button->OnClick = [&](TComponent* sender) {
    sender->Release();
    aliveAfterRelease = watch.Alive();
  };
  PostMessageW(FForm->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(30, 30));
  PostMessageW(FForm->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(30, 30));
  PumpMessages();
  EXPECT_TRUE(aliveAfterRelease) << "Release frees later, not at once";
  EXPECT_FALSE(watch.Alive());

  // A released component freed some other way first is simply forgotten.
  auto* other = Place<TClickTarget>(FForm, FForm, 20, 20, 40, 30);
  other->Release();
  delete other;
  PumpMessages();
}

// ---- components made while their owner loads

class TLoadProbe : public TComponent {
public:
  explicit TLoadProbe(TComponent* owner, std::function<void()> onLoaded = nullptr)
      : TComponent(owner), FOnLoaded(std::move(onLoaded)) {}
  int LoadedCount = 0;
  bool LoadingWhenLoaded = false;

protected:
  void Loaded() override {
    ++LoadedCount;
    LoadingWhenLoaded = IsLoading();
    TComponent::Loaded();
    if (FOnLoaded) FOnLoaded();
  }

private:
  std::function<void()> FOnLoaded;
};

TEST(Loading, ComponentsMadeWhileTheOwnerLoadsAreLoadingAndLoadedOnce) {
  TComponent owner(nullptr);
  auto* before = new TLoadProbe(&owner);
  owner.BeginLoading();
  auto* during = new TLoadProbe(&owner);
  TLoadProbe* madeByLoaded = nullptr;
  auto* maker = new TLoadProbe(&owner, [&] { madeByLoaded = new TLoadProbe(&owner); });
  EXPECT_TRUE(before->IsLoading());
  EXPECT_TRUE(during->IsLoading());
  EXPECT_TRUE(maker->IsLoading());
  owner.EndLoading();
  for (TLoadProbe* probe : {before, during, maker}) {
    EXPECT_EQ(probe->LoadedCount, 1);
    EXPECT_TRUE(probe->LoadingWhenLoaded) << "Loaded runs while the component still loads";
    EXPECT_FALSE(probe->IsLoading());
  }
  ASSERT_NE(madeByLoaded, nullptr);
  EXPECT_EQ(madeByLoaded->LoadedCount, 1) << "made during the loading pass, loaded by it too";
  EXPECT_FALSE(owner.IsLoading());
  auto* after = new TLoadProbe(&owner);
  EXPECT_FALSE(after->IsLoading());
  owner.EndLoading();
  EXPECT_EQ(during->LoadedCount, 1) << "a second EndLoading loads nothing twice";
}

// ---- alignment

class TCountingPanel : public TPanel {
public:
  explicit TCountingPanel(TComponent* owner) : TPanel(owner) {}
  int Passes = 0;

protected:
  void AlignControls() override {
    ++Passes;
    TPanel::AlignControls();
  }
};

// A child that, when the pass gives it a new size, changes a sibling: as a toolbar reacting to its dock does.
class TSiblingMover : public TPanel {
public:
  explicit TSiblingMover(TComponent* owner) : TPanel(owner) {}
  TControl* Sibling = nullptr;
  void SetBounds(int left, int top, int width, int height) override {
    TPanel::SetBounds(left, top, width, height);
    if (Sibling && width > 100) Sibling->SetWidth(width / 4);
  }
};

TEST_F(Lifetime, OneResizeAlignsOnceAndARequestDuringAPassRunsItOnceMore) {
  ShowForm();
  auto* panel = Place<TCountingPanel>(FForm, FForm, 0, 0, 200, 150);
  auto* top = Place<TPanel>(FForm, panel, 0, 0, 10, 20);
  top->SetAlign(TAlign::alTop);
  auto* client = Place<TPanel>(FForm, panel, 0, 0, 10, 10);
  client->SetAlign(TAlign::alClient);
  PumpMessages();

  panel->Passes = 0;
  panel->SetBounds(0, 0, 300, 200);
  EXPECT_EQ(panel->Passes, 1);
  EXPECT_EQ(top->BoundsRect(), Bounds(0, 0, 300, 20));
  EXPECT_EQ(client->BoundsRect(), Bounds(0, 20, 300, 180));

  panel->Passes = 0;
  panel->SetBounds(10, 10, 300, 200);
  EXPECT_EQ(panel->Passes, 0) << "a move changes nothing inside";

  auto* mover = Place<TSiblingMover>(FForm, panel, 0, 0, 10, 30);
  auto* left = Place<TPanel>(FForm, panel, 0, 0, 40, 10);
  left->SetAlign(TAlign::alLeft);
  mover->SetAlign(TAlign::alTop);
  mover->Sibling = left;
  panel->Passes = 0;
  panel->SetBounds(10, 10, 400, 200);
  EXPECT_EQ(panel->Passes, 2) << "the sibling's change asked for one more pass";
  EXPECT_EQ(left->Width(), 100);
  EXPECT_EQ(client->BoundsRect(), Bounds(100, 50, 300, 150)) << "the client area follows the sibling's new width";
}

// ---- a press released elsewhere

TEST_F(Lifetime, APressReleasedOverAnotherWindowIsNoClick) {
  ShowForm();
  auto* pressed = Place<TWindowedClickTarget>(FForm, FForm, 20, 20, 80, 60);
  auto* elsewhere = Place<TWindowedClickTarget>(FForm, FForm, 200, 20, 80, 60);
  int clicks = 0;
  pressed->OnClick = [&](TComponent*) { ++clicks; };
  SetForegroundWindow(FForm->Handle());
  PointAt(*pressed, POINT{40, 30});
  SendMouse(MOUSEEVENTF_LEFTDOWN);
  PumpMessages();
  PointAt(*elsewhere, POINT{40, 30});
  SendMouse(MOUSEEVENTF_LEFTUP);
  PumpMessages();
  EXPECT_EQ(GetCapture(), nullptr);
  // A release alone over the first control (as when the press had gone to another program).
  PointAt(*pressed, POINT{40, 30});
  SendMouse(MOUSEEVENTF_LEFTUP);
  PumpMessages();
  EXPECT_EQ(clicks, 0);

  PointAt(*pressed, POINT{40, 30});
  SendMouse(MOUSEEVENTF_LEFTDOWN);
  SendMouse(MOUSEEVENTF_LEFTUP);
  PumpMessages();
  EXPECT_EQ(clicks, 1) << "a press and release inside is still a click";
}

// ---- the error box

TEST(ErrorBox, AnErrorThatKeepsComingWhileItsBoxIsOpenIsShownOnce) {
  int open = 0, deepest = 0;
  bool raiseMore = true;
  std::vector<std::string> shown;
  TSeams::ShowMessageBox = [&](HWND, const std::string& text, const std::string&, UINT) {
    ++open;
    deepest = std::max(deepest, open);
    shown.push_back(text);
    if (std::exchange(raiseMore, false)) {
      // What a failing WM_PAINT does inside the box's own message loop, again and again.
      for (int i = 0; i < 3; ++i) Application->HandleException(Exception("Paint failed"));
      Application->HandleException(Exception("Another fault"));
      Application->HandleException(Exception("Another fault"));
    }
    --open;
    return IDOK;
  };
  Application->HandleException(Exception("Paint failed"));
  EXPECT_EQ(deepest, 1) << "never a box on top of a box";
  EXPECT_EQ(shown, (std::vector<std::string>{"Paint failed.", "Another fault."}));

  shown.clear();
  Application->HandleException(Exception("Paint failed"));
  EXPECT_EQ(shown, std::vector<std::string>{"Paint failed."}) << "once closed, the same error is shown again";
}

} // namespace
