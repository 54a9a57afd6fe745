#pragma once
// The application object: title, the message loop (which can also wait for kernel handles, so that a child
// process is followed without blocking the window), the error box of last resort, and the hints.
#include "Component.h"
#include "Graphics.h"
#include "Handles.h"

#include <windows.h>

#include <exception>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace qs {

class TForm;
class TControl;
class THintWindow;

class TApplication : public TComponent {
public:
  static constexpr int DefaultHintPause = 500;
  static constexpr int DefaultHintShortPause = 50;
  static constexpr int DefaultHintHidePause = 2500;
  static constexpr int HintOffsetY = 20; // below the pointer's hot spot, clear of the arrow
  static constexpr int HintMaxWidth = 300;

  TApplication();
  ~TApplication() override;

  void Initialize();
  const std::string& Title() const { return FTitle; }
  void SetTitle(const std::string& title) { FTitle = title; }
  TForm* MainForm() const { return FMainForm; }

  // Creates a form owned by the application; the first one becomes the main form. The form's creation
  // event runs once construction is complete.
  template <typename T>
  T* CreateForm() {
    auto* form = new T(this);
    if (!FMainForm) FMainForm = form;
    form->AfterConstruction();
    return form;
  }

  void Run();
  void Terminate();
  bool Terminated() const { return FTerminated; }
  // Handles one message if there is one; true when a message was handled.
  bool ProcessMessage();
  void ProcessMessages();
  // Handles one message, or waits for the next message or kernel handle.
  void HandleMessage();

  // Follows `handle` from the message loop: `onSignalled` runs on this thread once it is signalled.
  void WaitFor(HANDLE handle, std::function<void()> onSignalled);
  void CancelWait(HANDLE handle);
  size_t WaitCount() const { return FWaits.size(); }

  void HandleException(const std::exception& e);
  // For window, hook and timer procedures: no exception may cross into Windows.
  static void HandleExceptionFromCallback(const std::exception& e);
  // The error box. At most one is open at a time: an error raised while it is open (by a message that keeps
  // coming, such as WM_PAINT) is shown after it closes, and not at all when it says the same.
  void ShowException(const std::string& message);
  std::function<void(const std::exception&)> OnException;

  // Frees `component` from the message loop once the message being handled is over (TComponent::Release).
  void ReleaseComponent(TComponent* component);
  // Frees what was released so far; the message loop does this by itself.
  void FreeReleasedComponents();

  // Help for a help context number (a menu item's, say): passed to OnHelp.
  void HelpContext(int context);
  std::function<void(int context)> OnHelp;
  // Help asked for by a WinHelp command and its data (a context shown as a popup, HELP_CONTEXTPOPUP, say):
  // passed to OnHelpCommand.
  void HelpCommand(UINT command, ULONG_PTR data);
  std::function<void(UINT command, ULONG_PTR data)> OnHelpCommand;

  // Hints.
  bool ShowHint() const { return FShowHint; }
  void SetShowHint(bool show);
  TColor HintColor() const { return FHintColor; }
  void SetHintColor(TColor color);
  int HintPause() const { return FHintPause; }
  void SetHintPause(int ms) { FHintPause = ms; }
  int HintShortPause() const { return FHintShortPause; }
  int HintHidePause() const { return FHintHidePause; }
  void SetHintHidePause(int ms) { FHintHidePause = ms; }
  THintWindow* HintWindow() const { return FHintWindow; }
  TControl* HintControl() const { return FHintControl; }
  // Shows the hint of the control under `screenPos` at once (what the hint pause leads to).
  void ActivateHint(POINT screenPos);
  void CancelHint();
  void HideHint();
  // The control under a screen point, windowless ones included; disabled ones only when asked for.
  static TControl* FindControlAtScreen(POINT screenPos, bool allowDisabled);

  // The status-line text: the hint of the control under the pointer or of the highlighted menu item.
  const std::string& Hint() const { return FHint; }
  // Sets the status-line text and fires OnHint when it changed.
  void SetHint(const std::string& hint);
  std::function<void(TComponent*)> OnHint;
  // The control the pointer is over (windowless ones included), kept up to date in every message loop, menus,
  // message boxes and capture loops included; it has had CM_MOUSEENTER and will get CM_MOUSELEAVE.
  TControl* MouseControl() const { return FMouseControl; }

  HWND Handle() const { return FHandle; }

protected:
  void Notification(TComponent* component, TOperation operation) override;

private:
  static LRESULT CALLBACK WndProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam);
  static LRESULT CALLBACK GetMessageHook(int code, WPARAM wParam, LPARAM lParam);
  bool PreProcessMessage(MSG& msg);
  bool IsDialogKeyMessage(const MSG& msg);
  void HintMouseMessage();
  void UpdateMouseControl(const MSG& msg);
  void SetHintControl(TControl* control);
  void HintTimerExpired(UINT_PTR id);
  void StartHintTimer(int ms, UINT_PTR id);
  void StopHintTimers();
  void PollWaits(DWORD timeout);
  void TrackMouseControl(TControl* control);

  std::string FTitle;
  TForm* FMainForm = nullptr;
  HWND FHandle = nullptr;
  THookHandle FGetMessageHook;
  std::vector<TComponent*> FReleased;
  bool FErrorBoxOpen = false;
  std::string FErrorBoxText;
  std::vector<std::string> FPendingErrors;
  bool FTerminated = false;

  struct TWait {
    HANDLE Handle;
    std::function<void()> OnSignalled;
  };
  std::vector<TWait> FWaits;

  bool FShowHint = false;
  TColor FHintColor = clInfoBk;
  int FHintPause = DefaultHintPause;
  int FHintShortPause = DefaultHintShortPause;
  int FHintHidePause = DefaultHintHidePause;
  THintWindow* FHintWindow = nullptr;
  TControl* FHintControl = nullptr;
  TControl* FMouseControl = nullptr;
  std::string FHint;
};

// The one application object of the process.
extern TApplication* Application;

} // namespace qs
