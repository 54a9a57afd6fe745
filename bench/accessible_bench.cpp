// What telling accessibility clients about the main window's toolbar costs, against the repaint of one button that
// every change of a button's state causes anyway (PaintControl of the hot "Add file" into a memory DC):
//   - the check every repaint request now makes, when nothing a client sees has changed, and the invalidation and
//     the NotifyWinEvent that a state change is made of;
//   - a change of state (a grouped button's Down toggled), announced, with no client listening and with one;
//   - a client in this process reading the toolbar: its object, then name, role, state and place of each item.
// Timings take turns, round after round, and each figure is the best of its rounds.
#include "BenchKit.h"
#include "TB97Button.h"

#include <windows.h>

#include <oleacc.h>

#include <cstdio>
#include <functional>
#include <utility>
#include <vector>

using namespace qs;
using namespace qs::bench;

namespace {

constexpr int kRounds = 5;
constexpr int kCalls = 20000;
constexpr int kReads = 500;

int EventsHeard = 0;

void CALLBACK Listen(HWINEVENTHOOK, DWORD, HWND, LONG, LONG, DWORD, DWORD) { ++EventsHeard; }

// A client's whole reading of the toolbar, as a screen reader makes it when it first meets it.
void ReadToolbar(HWND toolbar) {
  IAccessible* object = nullptr;
  if (FAILED(AccessibleObjectFromWindow(toolbar, static_cast<DWORD>(OBJID_CLIENT), __uuidof(IAccessible),
                                        reinterpret_cast<void**>(&object))))
    return;
  long count = 0;
  object->get_accChildCount(&count);
  for (long id = 1; id <= count; ++id) {
    VARIANT child;
    VariantInit(&child);
    child.vt = VT_I4;
    child.lVal = id;
    BSTR name = nullptr;
    object->get_accName(child, &name);
    SysFreeString(name);
    VARIANT role, state;
    object->get_accRole(child, &role);
    object->get_accState(child, &state);
    long left = 0, top = 0, width = 0, height = 0;
    object->accLocation(&left, &top, &width, &height, child);
  }
  object->Release();
}

void Run(TMain& main, TApplication& application) {
  TToolbarButton97& button = *main.ToolbarButton972;
  TToolbarButton97& toggled = *main.ToolbarButton973;
  toggled.SetGroupIndex(1);
  toggled.SetAllowAllUp(true);
  const POINT over = button.ClientToScreen(POINT{11, 11});
  SetCursorPos(over.x, over.y);
  const POINT inToolbar = main.Toolbar971->ScreenToClient(over);
  PostMessageW(main.Toolbar971->Handle(), WM_MOUSEMOVE, 0, MAKELPARAM(inToolbar.x, inToolbar.y));
  application.ProcessMessages();

  TWindowDC screen(nullptr);
  TMemoryDC dc(screen.Get());
  TBitmapHandle bitmap(CreateCompatibleBitmap(screen.Get(), button.Width(), button.Height()));
  TSelectGuard select(dc.Get(), bitmap.Get());
  HWINEVENTHOOK hook = nullptr;
  const auto listening = [&](bool on) {
    if (on && !hook)
      hook = SetWinEventHook(EVENT_OBJECT_REORDER, EVENT_OBJECT_NAMECHANGE, nullptr, &Listen, GetCurrentProcessId(), 0,
                             WINEVENT_OUTOFCONTEXT);
    if (!on && hook) UnhookWinEvent(std::exchange(hook, nullptr));
  };
  std::vector<TMeasure> measures = {
      {"one button's repaint (baseline)", kCalls, [&] { button.PaintControl(dc.Get()); }},
      {"announce check, nothing changed", kCalls, [&] { main.Toolbar971->AnnounceAccessibleChanges(); }},
      // The two parts of a state change that were there before it was announced, and the announcement's own call.
      {"  the repaint request alone (InvalidateRect)", kCalls, [&] { toggled.Invalidate(); }},
      {"  one NotifyWinEvent alone, nobody listening", kCalls,
       [&] { NotifyWinEvent(EVENT_OBJECT_STATECHANGE, main.Toolbar971->Handle(), OBJID_CLIENT, 1); }},
      {"Down toggled and announced, nobody listening", kCalls, [&] { toggled.SetDown(!toggled.Down()); }},
      {"Down toggled and announced, a client listening", kCalls,
       [&] {
         listening(true);
         toggled.SetDown(!toggled.Down());
       }},
      {"a client reads the toolbar (10 items)", kReads, [&] { ReadToolbar(main.Toolbar971->Handle()); }},
  };
  TimeInTurns(measures, kRounds, [&] {
    listening(false);
    application.ProcessMessages();
  });
  std::printf("accessible_bench: the main window's toolbar, best of %d rounds\n", kRounds);
  PrintAgainstFirst(measures);
  std::printf("  events heard by the listening client: %d\n", EventsHeard);
}

} // namespace

int main() {
  CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  {
    TApplication application;
    TMain* main = OpenMainWindow(application, "accessible_bench");
    Run(*main, application);
  }
  CoUninitialize();
  return 0;
}
