#pragma once
// The message hook service shared by the docking toolbar's tool windows and buttons: callbacks register for
// kinds of events, and one reference-counted Windows hook per hook type (for the current thread) serves
// them all, installed with the first registration that needs it and removed with the last.
#include <windows.h>

#include <cstdint>
#include <initializer_list>

namespace qs {

enum class THookKind : std::uint8_t {
  hkActivateApp = 0,      // WM_ACTIVATEAPP reaching a window procedure (WH_CALLWNDPROC)
  hkWindowPosChanged = 1, // WM_WINDOWPOSCHANGED reaching a window procedure (WH_CALLWNDPROC)
  hkDestroyWindow = 2,    // a window about to be destroyed (WH_CBT, HCBT_DESTROYWND)
  hkMouseMove = 3,        // WM_MOUSEMOVE taken from the thread's queue (WH_GETMESSAGE)
};

class THookKinds {
public:
  constexpr THookKinds() = default;
  constexpr THookKinds(std::initializer_list<THookKind> kinds) {
    for (THookKind kind : kinds) FBits |= Bit(kind);
  }
  constexpr bool Contains(THookKind kind) const { return (FBits & Bit(kind)) != 0; }

private:
  static constexpr unsigned Bit(THookKind kind) { return 1u << static_cast<unsigned>(kind); }
  unsigned FBits = 0;
};

// A callback is a plain function: its address is its identity, so one callback serves every instance of a
// class, registered once per instance and removed once per instance. It receives the event's window and
// the message's wParam and lParam (for hkDestroyWindow: the hook's). What it throws is ignored.
using THookProc = void (*)(THookKind kind, HWND wnd, WPARAM wParam, LPARAM lParam);

// A registered callback only gains a reference. Unless at design time, each Windows hook the kinds need
// gains a reference and is installed if it is not yet.
void AddHookClient(THookProc proc, THookKinds kinds, bool designTime);
// Drops one reference of the registration (removed at 0) and, when that reference came with hooks, one
// reference of each hook its kinds need; a hook whose count reaches 0 is removed.
void RemoveHookClient(THookProc proc);
// The installed hook of a Windows hook type (WH_CALLWNDPROC, WH_CBT, WH_GETMESSAGE), or null.
HHOOK InstalledHook(int windowsHookId);

} // namespace qs
