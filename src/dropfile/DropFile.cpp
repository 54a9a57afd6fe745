#include "DropFile.h"

#include "Application.h"
#include "DropBlock.h"
#include "DropFileRules.h"
#include "Exception.h"

#include <shellapi.h>

#include <array>
#include <exception>
#include <string>
#include <utility>

namespace qs {

namespace {

// Releases a drop handle with DragFinish at scope end, that is after the message has gone on down the
// window's procedures (the list's own procedure may still read it). A drop that passes through two of our
// hooks on one window is released once, by the outer hook, after the inner one has finished with it.
class TDropRelease {
public:
  explicit TDropRelease(HDROP drop) : FDrop(drop != InFlight ? drop : nullptr) {
    if (FDrop) FOuter = std::exchange(InFlight, FDrop);
  }
  ~TDropRelease() {
    if (!FDrop) return;
    InFlight = FOuter;
    DragFinish(FDrop);
  }
  TDropRelease(const TDropRelease&) = delete;
  TDropRelease& operator=(const TDropRelease&) = delete;

private:
  static thread_local HDROP InFlight;
  HDROP FDrop;
  HDROP FOuter = nullptr;
};

thread_local HDROP TDropRelease::InFlight = nullptr;

// How many windows can be hooked at once, counting forwarders still held by a later subclass.
constexpr size_t SlotCount = 32;

struct THook {
  TDropFile* Component = nullptr; // null: a forwarder left behind by an unhook
  HWND Wnd = nullptr;             // null: the slot is free
  WNDPROC Previous = nullptr;
};

std::array<THook, SlotCount> Hooks;

} // namespace

// The table of hook procedures: slot N is served by Proc<N>, so every hooked window has its own procedure
// address. A slot stays reserved while any window procedure may still call it:
//  - unhooking while our procedure is the window's current one puts the previous procedure back and frees
//    the slot;
//  - unhooking while something subclassed the window after us leaves the slot as a plain forwarder (no
//    component) so that the later subclass still reaches the list's own procedure; the forwarder steps out
//    of the chain as soon as it finds itself on top again, or goes with the window.
class TDropFile::THookTable {
public:
  static int Install(TDropFile* component, HWND wnd) {
    const int slot = FreeSlot();
    if (slot < 0) throw EOutOfResources("Too many windows hooked as drop targets");
    THook& hook = Hooks[static_cast<size_t>(slot)];
    SetLastError(ERROR_SUCCESS);
    const LONG_PTR previous = SetWindowLongPtrW(wnd, GWLP_WNDPROC, ProcAddress(slot));
    if (!previous && GetLastError() != ERROR_SUCCESS) throw EInvalidOperation("Cannot hook the drop target's window");
    hook = {component, wnd, reinterpret_cast<WNDPROC>(previous)};
    return slot;
  }

  static void Remove(int slot) {
    THook& hook = Hooks[static_cast<size_t>(slot)];
    hook.Component = nullptr;
    RetireIfOnTop(static_cast<size_t>(slot));
  }

  // Whether any of our hooks on the window still wants drops: two drop targets may share a window for a while
  // (the owner during construction), and one leaving must not switch drops off for the other.
  static bool WantsDrops(HWND wnd) {
    for (const THook& hook : Hooks)
      if (hook.Wnd == wnd && hook.Component && hook.Component->FEnableDrop) return true;
    return false;
  }

  template <size_t Slot>
  static LRESULT CALLBACK Proc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    return Dispatch(Slot, wnd, msg, wParam, lParam);
  }

private:
  template <size_t... Slot>
  static constexpr std::array<WNDPROC, sizeof...(Slot)> MakeProcs(std::index_sequence<Slot...>) {
    return {&Proc<Slot>...};
  }

  static LONG_PTR ProcAddress(int slot) {
    static constexpr auto Procs = MakeProcs(std::make_index_sequence<SlotCount>{});
    return reinterpret_cast<LONG_PTR>(Procs[static_cast<size_t>(slot)]);
  }

  static int FreeSlot() {
    for (size_t i = 0; i < SlotCount; ++i)
      if (!Hooks[i].Wnd) return static_cast<int>(i);
    return -1;
  }

  // A forwarder whose procedure is the window's current one again leaves the chain for good.
  static void RetireIfOnTop(size_t slot) {
    THook& hook = Hooks[slot];
    if (hook.Component || !hook.Wnd) return;
    if (GetWindowLongPtrW(hook.Wnd, GWLP_WNDPROC) != ProcAddress(static_cast<int>(slot))) return;
    SetWindowLongPtrW(hook.Wnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(hook.Previous));
    hook = {};
  }

  static LRESULT Dispatch(size_t slot, HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    // A copy: a drop handler may unhook (and so free or reuse the slot) while this message is on its way.
    const THook hook = Hooks[slot];
    if (!hook.Wnd) return DefWindowProcW(wnd, msg, wParam, lParam);
    const bool ourDrop = msg == WM_DROPFILES && hook.Component;
    TDropRelease release(ourDrop ? reinterpret_cast<HDROP>(wParam) : nullptr);
    if (ourDrop) {
      try {
        hook.Component->HandleDrop(reinterpret_cast<HDROP>(wParam));
      } catch (const std::exception& e) {
        TApplication::HandleExceptionFromCallback(e);
      }
    }
    const LRESULT result = CallWindowProcW(hook.Previous, wnd, msg, wParam, lParam);
    THook& current = Hooks[slot];
    if (current.Wnd == wnd) {
      if (msg == WM_NCDESTROY) {
        if (current.Component) current.Component->WindowDestroyed();
        current = {};
      } else {
        RetireIfOnTop(slot);
      }
    }
    return result;
  }
};

TDropFile::TDropFile(TComponent* owner) : TComponent(owner) {
  // While the owner's layout is being applied its target is not settled yet; Loaded() hooks the final one
  // instead of making the owner's window (and every child window) before the layout is complete.
  if (OwnerIsLoading()) return;
  HookTarget();
  ApplyEnableDrop();
}

TDropFile::~TDropFile() {
  Destroying();
  if (FDropTarget) FDropTarget->RemoveWindowListener(this);
  Unhook();
}

bool TDropFile::OwnerIsLoading() const { return IsLoading() || (Owner() && Owner()->IsLoading()); }

void TDropFile::SetEnableDrop(bool enable) {
  FEnableDrop = enable;
  ApplyEnableDrop();
}

void TDropFile::SetDropTarget(TWinControl* target) {
  if (FDropTarget && FDropTarget != target) {
    FDropTarget->RemoveWindowListener(this);
    FDropTarget->RemoveFreeNotification(this);
  }
  FDropTarget = target;
  if (FDropTarget) FDropTarget->FreeNotification(this);
  if (OwnerIsLoading()) return;
  Unhook();
  HookTarget();
  ApplyEnableDrop();
}

void TDropFile::Loaded() {
  TComponent::Loaded();
  if (FHookedWnd) return;
  HookTarget();
  ApplyEnableDrop();
}

void TDropFile::Notification(TComponent* component, TOperation operation) {
  TComponent::Notification(component, operation);
  if (operation != TOperation::opRemove || component != FDropTarget) return;
  // Normally the window has already gone (and taken the hook with it); a target freed before its window is
  // unhooked here so that no hook outlives the control it belongs to.
  Unhook();
  FDropTarget = nullptr;
}

void TDropFile::HookTarget() {
  if (!FDropTarget) {
    FDropTarget = dynamic_cast<TWinControl*>(Owner());
    if (FDropTarget) FDropTarget->FreeNotification(this);
  }
  if (!FDropTarget) return;
  // Windows are made from the top down: a child asked for its window before its parents have theirs would get
  // two, as making the parent's window makes the children's as well.
  TWinControl* topmost = FDropTarget;
  while (topmost->Parent()) topmost = topmost->Parent();
  topmost->HandleNeeded();
  HookWindow(FDropTarget->Handle());
  // A window made again (a list switched to single selection, say) must take drops as the old one did.
  FDropTarget->AddWindowListener(this, [this](HWND wnd, bool created) { TargetWindowChanged(wnd, created); });
}

void TDropFile::HookWindow(HWND wnd) {
  FHookSlot = THookTable::Install(this, wnd);
  FHookedWnd = wnd;
}

void TDropFile::TargetWindowChanged(HWND wnd, bool created) {
  if (!created) {
    if (wnd == FHookedWnd) Unhook();
    return;
  }
  if (FHookedWnd || OwnerIsLoading()) return;
  HookWindow(wnd);
  ApplyEnableDrop();
}

void TDropFile::Unhook() {
  if (!FHookedWnd) return;
  HWND wnd = std::exchange(FHookedWnd, nullptr);
  THookTable::Remove(std::exchange(FHookSlot, -1));
  DragAcceptFiles(wnd, THookTable::WantsDrops(wnd) ? TRUE : FALSE);
}

void TDropFile::ApplyEnableDrop() {
  if (FHookedWnd) DragAcceptFiles(FHookedWnd, THookTable::WantsDrops(FHookedWnd) ? TRUE : FALSE);
}

void TDropFile::WindowDestroyed() {
  FHookedWnd = nullptr;
  FHookSlot = -1;
}

void TDropFile::HandleDrop(HDROP drop) {
  SetForegroundWindow(FHookedWnd);
  if (OnDropStart) OnDropStart(this);
  try {
    RaiseDropFiles(drop);
  } catch (...) {
    // The receiver's batch must end even when one of its handlers failed.
    if (OnDropEnd) OnDropEnd(this);
    throw;
  }
  if (OnDropEnd) OnDropEnd(this);
}

void TDropFile::RaiseDropFiles(HDROP drop) {
  for (const std::string& fileWithPath : TDropBlock(drop).Paths()) {
    TDroppedPath path = SplitDroppedPath(fileWithPath);
    if (OnDropFile) OnDropFile(this, std::move(path.FileWithPath), std::move(path.FileName), std::move(path.Extension));
  }
}

} // namespace qs
