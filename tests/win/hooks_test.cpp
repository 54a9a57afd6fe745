// The message hook service: one Windows hook per hook type however many clients register, removed with the
// last; each callback hears the kinds it registered for, and a throwing callback stops nothing.
#include "QsTest.h"
#include "TB97Hooks.h"

#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

using namespace qs;
using namespace qs::test;

namespace {

struct TEvent {
  char Client;
  THookKind Kind;
  HWND Wnd;
  WPARAM WParam;
  LPARAM LParam;
};

std::vector<TEvent> Events;

void Record(char client, THookKind kind, HWND wnd, WPARAM wParam, LPARAM lParam) {
  Events.push_back(TEvent{client, kind, wnd, wParam, lParam});
}
void ClientA(THookKind kind, HWND wnd, WPARAM wParam, LPARAM lParam) { Record('A', kind, wnd, wParam, lParam); }
void ClientB(THookKind kind, HWND wnd, WPARAM wParam, LPARAM lParam) { Record('B', kind, wnd, wParam, lParam); }
void ClientC(THookKind kind, HWND wnd, WPARAM wParam, LPARAM lParam) { Record('C', kind, wnd, wParam, lParam); }
void Throwing(THookKind kind, HWND wnd, WPARAM wParam, LPARAM lParam) {
  Record('T', kind, wnd, wParam, lParam);
  throw std::runtime_error("a client failed");
}

int ActivateAppSeen = 0;

LRESULT CALLBACK CountingWndProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_ACTIVATEAPP) ++ActivateAppSeen;
  return DefWindowProcW(wnd, msg, wParam, lParam);
}

// A plain top-level window of this thread.
HWND MakeWindow() {
  static const bool registered = [] {
    WNDCLASSW wc{};
    wc.lpfnWndProc = CountingWndProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"QsHookTestWindow";
    return RegisterClassW(&wc) != 0;
  }();
  EXPECT_TRUE(registered);
  return CreateWindowExW(0, L"QsHookTestWindow", L"hooks", WS_POPUP, 10, 10, 50, 50, nullptr, nullptr,
                         GetModuleHandleW(nullptr), nullptr);
}

int CountEvents(char client, THookKind kind, HWND wnd) {
  int n = 0;
  for (const TEvent& e : Events) n += e.Client == client && e.Kind == kind && e.Wnd == wnd;
  return n;
}

class HookTest : public ::testing::Test {
protected:
  void SetUp() override {
    Events.clear();
    ActivateAppSeen = 0;
    ASSERT_EQ(InstalledHook(WH_CALLWNDPROC), nullptr);
    ASSERT_EQ(InstalledHook(WH_CBT), nullptr);
    ASSERT_EQ(InstalledHook(WH_GETMESSAGE), nullptr);
  }
};

// Each step of registering and removing clients, with the hooks that must then be installed. A hook that
// stays installed from one step to the next keeps its handle: it is never installed twice.
TEST_F(HookTest, EachHookIsInstalledOnceAndRemovedWithItsLastClient) {
  struct TStep {
    const char* Name;
    std::function<void()> Action;
    bool CallWndProc, Cbt, GetMessage;
  };
  const TStep steps[] = {
      {"button registers {0, 3}",
       [] {
         AddHookClient(ClientA, {THookKind::hkActivateApp, THookKind::hkMouseMove}, false);
       },
       true, false, true},
      {"second button, same callback",
       [] {
         AddHookClient(ClientA, {THookKind::hkActivateApp, THookKind::hkMouseMove}, false);
       },
       true, false, true},
      {"tool window registers {0, 1, 2}",
       [] {
         AddHookClient(ClientB, {THookKind::hkActivateApp, THookKind::hkWindowPosChanged, THookKind::hkDestroyWindow},
                       false);
       },
       true, true, true},
      {"design-time registration", [] { AddHookClient(ClientC, {THookKind::hkMouseMove}, true); }, true, true, true},
      {"design-time removal gives back no hook", [] { RemoveHookClient(ClientC); }, true, true, true},
      {"one button goes", [] { RemoveHookClient(ClientA); }, true, true, true},
      {"the other button goes", [] { RemoveHookClient(ClientA); }, true, true, false},
      {"removing an unknown callback", [] { RemoveHookClient(ClientC); }, true, true, false},
      {"the tool window goes", [] { RemoveHookClient(ClientB); }, false, false, false},
  };
  const int ids[] = {WH_CALLWNDPROC, WH_CBT, WH_GETMESSAGE};
  HHOOK previous[3] = {};
  for (const TStep& step : steps) {
    SCOPED_TRACE(step.Name);
    step.Action();
    const bool expected[] = {step.CallWndProc, step.Cbt, step.GetMessage};
    for (int i = 0; i < 3; ++i) {
      const HHOOK now = InstalledHook(ids[i]);
      EXPECT_EQ(now != nullptr, expected[i]) << "hook type " << ids[i];
      if (now && previous[i]) {
        EXPECT_EQ(now, previous[i]) << "hook type " << ids[i] << " was installed again";
      }
      previous[i] = now;
    }
  }
}

TEST_F(HookTest, EachCallbackHearsTheKindsItRegisteredFor) {
  AddHookClient(ClientA, {THookKind::hkActivateApp, THookKind::hkMouseMove}, false);
  AddHookClient(ClientB, {THookKind::hkWindowPosChanged, THookKind::hkDestroyWindow}, false);
  HWND wnd = MakeWindow();
  ASSERT_NE(wnd, nullptr);
  PumpMessages();
  Events.clear();

  SendMessageW(wnd, WM_ACTIVATEAPP, FALSE, 0);
  SetWindowPos(wnd, nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_SHOWWINDOW);
  PostMessageW(wnd, WM_MOUSEMOVE, 0, MAKELPARAM(3, 4));
  PumpMessages();
  EXPECT_EQ(CountEvents('B', THookKind::hkWindowPosChanged, wnd), 1) << "shown";
  DestroyWindow(wnd); // hides the window (a second position change), then destroys it

  EXPECT_EQ(CountEvents('A', THookKind::hkActivateApp, wnd), 1);
  EXPECT_EQ(CountEvents('B', THookKind::hkDestroyWindow, wnd), 1);
  ASSERT_GE(CountEvents('A', THookKind::hkMouseMove, wnd), 1);
  for (const TEvent& e : Events) {
    if (e.Client == 'A' && e.Kind == THookKind::hkMouseMove && e.Wnd == wnd) {
      EXPECT_EQ(e.LParam, MAKELPARAM(3, 4));
    }
    const bool forA = e.Kind == THookKind::hkActivateApp || e.Kind == THookKind::hkMouseMove;
    EXPECT_EQ(e.Client == 'A', forA) << "client " << e.Client << " heard kind " << static_cast<int>(e.Kind);
  }

  RemoveHookClient(ClientA);
  RemoveHookClient(ClientB);
  Events.clear();
  HWND other = MakeWindow();
  SendMessageW(other, WM_ACTIVATEAPP, FALSE, 0);
  DestroyWindow(other);
  EXPECT_TRUE(Events.empty()) << "callbacks called after their removal";
}

// A callback that throws does not keep the others from their event, nor the window from its message.
TEST_F(HookTest, AThrowingCallbackStopsNothing) {
  AddHookClient(Throwing, {THookKind::hkActivateApp}, false);
  AddHookClient(ClientA, {THookKind::hkActivateApp}, false);
  AddHookClient(ClientA, {THookKind::hkActivateApp}, false);
  HWND wnd = MakeWindow();
  SendMessageW(wnd, WM_ACTIVATEAPP, TRUE, 0);
  EXPECT_EQ(CountEvents('T', THookKind::hkActivateApp, wnd), 1);
  EXPECT_EQ(CountEvents('A', THookKind::hkActivateApp, wnd), 1) << "a callback registered twice is called once";
  EXPECT_EQ(ActivateAppSeen, 1);

  RemoveHookClient(ClientA);
  SendMessageW(wnd, WM_ACTIVATEAPP, TRUE, 0);
  EXPECT_EQ(CountEvents('A', THookKind::hkActivateApp, wnd), 2) << "still registered once";
  DestroyWindow(wnd);
  RemoveHookClient(ClientA);
  RemoveHookClient(Throwing);
}

} // namespace
