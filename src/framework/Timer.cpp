#include "Timer.h"

#include "Application.h"
#include "Exception.h"
#include "WindowClass.h"

#include <map>

namespace qs {

LRESULT CALLBACK TimerWindowProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam);

namespace {

constexpr wchar_t TimerWindowClass[] = L"QsTimerWindow";

// The running timers by their SetTimer id; a WM_TIMER for an id no longer here belongs to a timer that was
// stopped or destroyed after Windows queued it.
std::map<UINT_PTR, TTimer*>& Timers() {
  static std::map<UINT_PTR, TTimer*> timers;
  return timers;
}

UINT_PTR NextTimerId() {
  static UINT_PTR last = 0;
  return ++last;
}

// One hidden window for every timer of the process: its WM_TIMER messages come through the message loop
// like any other, so no handler runs in the middle of another message.
HWND TimerWindow() {
  static HWND wnd = nullptr;
  if (wnd) return wnd;
  RegisterWindowClass(TimerWindowClass, TimerWindowProc);
  wnd = CreateWindowExW(0, TimerWindowClass, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, GetModuleHandleW(nullptr),
                        nullptr);
  if (!wnd) throw EOutOfResources("Not enough timers available");
  return wnd;
}

} // namespace

LRESULT CALLBACK TimerWindowProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg != WM_TIMER) return DefWindowProcW(wnd, msg, wParam, lParam);
  const auto it = Timers().find(static_cast<UINT_PTR>(wParam));
  if (it == Timers().end()) return 0;
  try {
    it->second->Timer();
  } catch (const std::exception& e) {
    TApplication::HandleExceptionFromCallback(e);
  }
  return 0;
}

TTimer::TTimer(TComponent* owner) : TComponent(owner), FId(NextTimerId()) {}

TTimer::~TTimer() {
  FEnabled = false;
  UpdateTimer();
}

void TTimer::SetInterval(unsigned ms) {
  if (ms == FInterval) return;
  FInterval = ms;
  UpdateTimer();
}

void TTimer::SetEnabled(bool enabled) {
  if (enabled == FEnabled) return;
  FEnabled = enabled;
  UpdateTimer();
}

void TTimer::SetOnTimer(TNotifyEvent onTimer) {
  FOnTimer = std::move(onTimer);
  UpdateTimer();
}

void TTimer::UpdateTimer() {
  if (FRunning) {
    KillTimer(TimerWindow(), FId);
    Timers().erase(FId);
    FRunning = false;
  }
  if (!FEnabled || FInterval == 0 || !FOnTimer) return;
  if (!SetTimer(TimerWindow(), FId, FInterval, nullptr)) throw EOutOfResources("Not enough timers available");
  Timers()[FId] = this;
  FRunning = true;
}

void TTimer::Timer() {
  if (FOnTimer) FOnTimer(this);
}

} // namespace qs
