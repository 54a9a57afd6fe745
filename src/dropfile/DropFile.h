#pragma once
// Makes a windowed control a target for files dropped from the shell. The component registers the control's
// window with the shell (DragAcceptFiles), watches its messages through a window-procedure hook, and raises
// OnDropFile once for every dropped path, in the shell's order.
//
// Each hooked window gets a window procedure of its own: a slot in a small fixed table of procedures, one
// function per slot. A distinct procedure address per hook is what makes the hook safe to stack: two drop
// targets on one window (the owner is hooked at construction before the layout moves the hook to the list)
// and a foreign subclass installed on top of ours each call on to the right previous procedure, and unhooking
// can tell whether our procedure is still the window's. A window property holding `this` with one shared
// procedure could not tell two of our hooks apart on the same window.
#include "Component.h"
#include "WinControl.h"

#include <windows.h>

#include <functional>
#include <string>

namespace qs {

// Sender, then the path as the shell gave it, what follows its last backslash, and what follows the last dot
// of that name. Texts are UTF-8.
using TDropFileEvent =
    std::function<void(TComponent* sender, std::string fileWithPath, std::string fileName, std::string extension)>;

class TDropFile : public TComponent {
public:
  explicit TDropFile(TComponent* owner);
  ~TDropFile() override;

  bool EnableDrop() const { return FEnableDrop; }
  void SetEnableDrop(bool enable);

  // The control whose window receives the drops; none means the owner, when the owner is a windowed control.
  TWinControl* DropTarget() const { return FDropTarget; }
  void SetDropTarget(TWinControl* target);

  // The window as hooked; null while nothing is hooked.
  HWND HookedWindow() const { return FHookedWnd; }

  // Raised once per dropped path.
  TDropFileEvent OnDropFile;
  // Raised before the first and after the last OnDropFile of one drop (also when a handler failed), so that a
  // receiver can take the paths of one drop as one batch.
  TNotifyEvent OnDropStart;
  TNotifyEvent OnDropEnd;

protected:
  void Loaded() override;
  void Notification(TComponent* component, TOperation operation) override;

private:
  class THookTable;

  bool OwnerIsLoading() const;
  void HookTarget();
  void HookWindow(HWND wnd);
  void TargetWindowChanged(HWND wnd, bool created);
  void Unhook();
  void ApplyEnableDrop();
  // The hooked window is being destroyed: nothing is left to unhook.
  void WindowDestroyed();
  void HandleDrop(HDROP drop);
  void RaiseDropFiles(HDROP drop);

  bool FEnableDrop = true;
  TWinControl* FDropTarget = nullptr;
  HWND FHookedWnd = nullptr;
  int FHookSlot = -1;
};

} // namespace qs
