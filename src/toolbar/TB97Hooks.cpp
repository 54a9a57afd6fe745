#include "TB97Hooks.h"

#include "Handles.h"

#include <algorithm>
#include <array>
#include <memory>
#include <vector>

namespace qs {

namespace {

struct TRegistration {
  THookProc Proc;
  int References;
  // How many of those references hold references of the Windows hooks (the ones added at run time).
  int HookReferences;
  THookKinds Kinds;
};

// The three Windows hooks, in this order: call-window-procedure, CBT, get-message.
enum THookSlot { CallWndProcHook, CbtHook, GetMessageHook, HookSlotCount };
constexpr std::array<int, HookSlotCount> WindowsHookIds = {WH_CALLWNDPROC, WH_CBT, WH_GETMESSAGE};

struct THook {
  THookHandle Handle;
  int References = 0;
};

struct THookService {
  std::vector<TRegistration> Registrations;
};

std::unique_ptr<THookService> Service;
std::array<THook, HookSlotCount> Hooks;

bool Needs(THookKinds kinds, THookSlot slot) {
  switch (slot) {
  case CallWndProcHook:
    return kinds.Contains(THookKind::hkActivateApp) || kinds.Contains(THookKind::hkWindowPosChanged);
  case CbtHook: return kinds.Contains(THookKind::hkDestroyWindow);
  case GetMessageHook: return kinds.Contains(THookKind::hkMouseMove);
  default: return false;
  }
}

TRegistration* Find(THookProc proc) {
  if (!Service) return nullptr;
  auto it = std::find_if(Service->Registrations.begin(), Service->Registrations.end(),
                         [proc](const TRegistration& r) { return r.Proc == proc; });
  return it == Service->Registrations.end() ? nullptr : &*it;
}

// Calls every callback registered for `kind`. A callback may register or remove callbacks meanwhile: the
// ones registered when the event arrived are called if they are still registered.
void Dispatch(THookKind kind, HWND wnd, WPARAM wParam, LPARAM lParam) {
  if (!Service) return;
  std::vector<THookProc> procs;
  for (const TRegistration& r : Service->Registrations)
    if (r.Kinds.Contains(kind)) procs.push_back(r.Proc);
  for (THookProc proc : procs) {
    if (!Find(proc)) continue;
    try {
      proc(kind, wnd, wParam, lParam);
    } catch (...) {
      // The hook chain of the thread must go on whatever one client does.
    }
  }
}

LRESULT CALLBACK CallWndProcHookProc(int code, WPARAM wParam, LPARAM lParam) {
  if (code == HC_ACTION) {
    const auto* call = reinterpret_cast<const CWPSTRUCT*>(lParam);
    if (call->message == WM_ACTIVATEAPP) Dispatch(THookKind::hkActivateApp, call->hwnd, call->wParam, call->lParam);
    else if (call->message == WM_WINDOWPOSCHANGED)
      Dispatch(THookKind::hkWindowPosChanged, call->hwnd, call->wParam, call->lParam);
  }
  return CallNextHookEx(Hooks[CallWndProcHook].Handle.Get(), code, wParam, lParam);
}

LRESULT CALLBACK CbtHookProc(int code, WPARAM wParam, LPARAM lParam) {
  if (code == HCBT_DESTROYWND) Dispatch(THookKind::hkDestroyWindow, reinterpret_cast<HWND>(wParam), wParam, lParam);
  return CallNextHookEx(Hooks[CbtHook].Handle.Get(), code, wParam, lParam);
}

LRESULT CALLBACK GetMessageHookProc(int code, WPARAM wParam, LPARAM lParam) {
  if (code == HC_ACTION) {
    const auto* message = reinterpret_cast<const MSG*>(lParam);
    if (message->message == WM_MOUSEMOVE)
      Dispatch(THookKind::hkMouseMove, message->hwnd, message->wParam, message->lParam);
  }
  return CallNextHookEx(Hooks[GetMessageHook].Handle.Get(), code, wParam, lParam);
}

constexpr std::array<HOOKPROC, HookSlotCount> HookProcs = {CallWndProcHookProc, CbtHookProc, GetMessageHookProc};

void AddHookReferences(THookKinds kinds) {
  for (int slot = 0; slot < HookSlotCount; ++slot) {
    if (!Needs(kinds, static_cast<THookSlot>(slot))) continue;
    THook& hook = Hooks[static_cast<size_t>(slot)];
    if (hook.References++ == 0)
      hook.Handle.Reset(SetWindowsHookExW(WindowsHookIds[static_cast<size_t>(slot)],
                                          HookProcs[static_cast<size_t>(slot)], nullptr, GetCurrentThreadId()));
  }
}

void DropHookReferences(THookKinds kinds) {
  for (int slot = 0; slot < HookSlotCount; ++slot) {
    if (!Needs(kinds, static_cast<THookSlot>(slot))) continue;
    THook& hook = Hooks[static_cast<size_t>(slot)];
    if (hook.References > 0 && --hook.References == 0) hook.Handle.Reset();
  }
}

} // namespace

void AddHookClient(THookProc proc, THookKinds kinds, bool designTime) {
  if (!Service) Service = std::make_unique<THookService>();
  TRegistration* registration = Find(proc);
  if (registration) ++registration->References;
  else registration = &Service->Registrations.emplace_back(TRegistration{proc, 1, 0, kinds});
  if (designTime) return;
  ++registration->HookReferences;
  AddHookReferences(registration->Kinds);
}

void RemoveHookClient(THookProc proc) {
  TRegistration* registration = Find(proc);
  if (!registration) return;
  const THookKinds kinds = registration->Kinds;
  // A reference taken at design time never held the hooks, so it gives none back.
  const bool heldHooks = registration->HookReferences > 0;
  if (heldHooks) --registration->HookReferences;
  if (--registration->References == 0)
    std::erase_if(Service->Registrations, [proc](const TRegistration& r) { return r.Proc == proc; });
  if (heldHooks) DropHookReferences(kinds);
  if (Service->Registrations.empty()) Service.reset();
}

HHOOK InstalledHook(int windowsHookId) {
  for (size_t slot = 0; slot < WindowsHookIds.size(); ++slot)
    if (WindowsHookIds[slot] == windowsHookId) return Hooks[slot].Handle.Get();
  return nullptr;
}

} // namespace qs
