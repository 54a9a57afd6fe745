#include "Application.h"

#include "Exception.h"
#include "Form.h"
#include "HintWindow.h"
#include "Messages.h"
#include "Seams.h"
#include "WinControl.h"
#include "WindowClass.h"

#include <commctrl.h>

#include <algorithm>

namespace qs {

TApplication* Application = nullptr;

namespace {

constexpr wchar_t ApplicationClass[] = L"QsApplication";
constexpr UINT_PTR HintShowTimer = 1;
constexpr UINT_PTR HintHideTimer = 2;
// Posted to the application's window when a component was released.
constexpr UINT WM_RELEASED = WM_APP + 1;

bool IsPointerMessage(UINT msg) {
  return msg == WM_MOUSEMOVE || msg == WM_NCMOUSEMOVE || msg == WM_MOUSELEAVE || msg == WM_NCMOUSELEAVE;
}

// The nearest window up the parent chain that is one of ours.
TWinControl* FindOwnControl(HWND wnd) {
  while (wnd) {
    if (TWinControl* control = TWinControl::FindControl(wnd)) return control;
    wnd = GetParent(wnd);
  }
  return nullptr;
}

bool CancelsHint(UINT msg) {
  switch (msg) {
  case WM_LBUTTONDOWN:
  case WM_RBUTTONDOWN:
  case WM_MBUTTONDOWN:
  case WM_LBUTTONDBLCLK:
  case WM_RBUTTONDBLCLK:
  case WM_KEYDOWN:
  case WM_SYSKEYDOWN:
  case WM_NCLBUTTONDOWN:
  case WM_NCRBUTTONDOWN: return true;
  default: return false;
  }
}

} // namespace

TApplication::TApplication() : TComponent(nullptr) {
  if (!Application) Application = this;
  RegisterWindowClass(ApplicationClass, WndProc);
  // A hidden window of our own for the hint timers.
  FHandle = CreateWindowExW(WS_EX_TOOLWINDOW, ApplicationClass, L"", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr,
                            GetModuleHandleW(nullptr), nullptr);
  SetWindowLongPtrW(FHandle, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  // The pointer is followed wherever messages are retrieved: our loop, a menu's, a message box's or a capture
  // loop's.
  FGetMessageHook.Reset(SetWindowsHookExW(WH_GETMESSAGE, GetMessageHook, nullptr, GetCurrentThreadId()));
}

TApplication::~TApplication() {
  Destroying();
  FGetMessageHook.Reset();
  StopHintTimers();
  FreeReleasedComponents();
  DestroyComponents();
  FHintWindow = nullptr;
  if (FHandle) DestroyWindow(FHandle);
  if (Application == this) Application = nullptr;
}

void TApplication::Initialize() {
  INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_LISTVIEW_CLASSES | ICC_TAB_CLASSES | ICC_STANDARD_CLASSES};
  InitCommonControlsEx(&icc);
}

void TApplication::Run() {
  if (FMainForm) FMainForm->Show();
  while (!FTerminated) HandleMessage();
}

void TApplication::Terminate() { PostQuitMessage(0); }

bool TApplication::ProcessMessage() {
  MSG msg{};
  if (!PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) return false;
  if (msg.message == WM_QUIT) {
    FTerminated = true;
    return true;
  }
  if (!PreProcessMessage(msg)) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  return true;
}

void TApplication::ProcessMessages() {
  while (ProcessMessage()) {}
  PollWaits(0);
}

void TApplication::HandleMessage() {
  if (ProcessMessage()) {
    if (!FWaits.empty()) PollWaits(0);
    return;
  }
  PollWaits(INFINITE);
}

void TApplication::WaitFor(HANDLE handle, std::function<void()> onSignalled) {
  // One slot of MsgWaitForMultipleObjectsEx is taken by the message queue itself.
  if (FWaits.size() >= MAXIMUM_WAIT_OBJECTS - 1) throw EOutOfResources("Too many handles to wait for");
  FWaits.push_back(TWait{handle, std::move(onSignalled)});
}

void TApplication::CancelWait(HANDLE handle) {
  std::erase_if(FWaits, [handle](const TWait& w) { return w.Handle == handle; });
}

void TApplication::PollWaits(DWORD timeout) {
  std::vector<HANDLE> handles;
  handles.reserve(FWaits.size());
  for (const TWait& w : FWaits) handles.push_back(w.Handle);
  const DWORD result = MsgWaitForMultipleObjectsEx(static_cast<DWORD>(handles.size()), handles.data(), timeout,
                                                   QS_ALLINPUT, MWMO_INPUTAVAILABLE);
  if (result >= WAIT_OBJECT_0 + handles.size()) return;
  HANDLE signalled = handles[result - WAIT_OBJECT_0];
  auto it = std::find_if(FWaits.begin(), FWaits.end(), [signalled](const TWait& w) { return w.Handle == signalled; });
  if (it == FWaits.end()) return;
  auto callback = std::move(it->OnSignalled);
  FWaits.erase(it);
  try {
    if (callback) callback();
  } catch (const std::exception& e) {
    HandleException(e);
  }
}

void TApplication::HandleException(const std::exception& e) {
  if (OnException) OnException(e);
  else ShowException(e.what());
}

void TApplication::HandleExceptionFromCallback(const std::exception& e) {
  if (Application) {
    try {
      Application->HandleException(e);
    } catch (...) {
      // Nothing may leave a callback, not even a failing error box.
    }
  }
}

void TApplication::ShowException(const std::string& message) {
  const std::string text = ErrorBoxText(message);
  if (FErrorBoxOpen) {
    // The box's own message loop goes on dispatching: a failing WM_PAINT or WM_SETCURSOR would otherwise open
    // box after box on top of it.
    if (text != FErrorBoxText && std::find(FPendingErrors.begin(), FPendingErrors.end(), text) == FPendingErrors.end())
      FPendingErrors.push_back(text);
    return;
  }
  FErrorBoxOpen = true;
  FPendingErrors.push_back(text);
  try {
    while (!FPendingErrors.empty()) {
      FErrorBoxText = FPendingErrors.front();
      FPendingErrors.erase(FPendingErrors.begin());
      HWND owner = GetActiveWindow();
      if (!owner && FMainForm) owner = FMainForm->HandleIfAllocated();
      TSeams::ShowMessageBox(owner, FErrorBoxText, FTitle, MB_OK | MB_ICONSTOP);
    }
  } catch (...) {
    FErrorBoxOpen = false;
    FPendingErrors.clear();
    throw;
  }
  FErrorBoxOpen = false;
  FErrorBoxText.clear();
}

void TApplication::ReleaseComponent(TComponent* component) {
  if (!component || std::find(FReleased.begin(), FReleased.end(), component) != FReleased.end()) return;
  FReleased.push_back(component);
  component->FreeNotification(this);
  PostMessageW(FHandle, WM_RELEASED, 0, 0);
}

void TApplication::FreeReleasedComponents() {
  while (!FReleased.empty()) {
    TComponent* component = FReleased.back();
    FReleased.pop_back();
    component->RemoveFreeNotification(this);
    delete component;
  }
}

void TApplication::HelpContext(int context) {
  if (OnHelp) OnHelp(context);
}

void TApplication::HelpCommand(UINT command, ULONG_PTR data) {
  if (OnHelpCommand) OnHelpCommand(command, data);
}

void TApplication::SetHint(const std::string& hint) {
  if (hint == FHint) return;
  FHint = hint;
  if (OnHint) OnHint(this);
}

void TApplication::SetShowHint(bool show) {
  if (show == FShowHint) return;
  FShowHint = show;
  if (show) {
    if (!FHintWindow) {
      FHintWindow = new THintWindow(this);
      FHintWindow->SetColor(FHintColor);
    }
  } else {
    CancelHint();
    delete FHintWindow;
    FHintWindow = nullptr;
  }
}

void TApplication::SetHintColor(TColor color) {
  FHintColor = color;
  if (FHintWindow) FHintWindow->SetColor(color);
}

TControl* TApplication::FindControlAtScreen(POINT screenPos, bool allowDisabled) {
  TWinControl* control = FindOwnControl(WindowFromPoint(screenPos));
  if (!control) return nullptr;
  // Windows skips disabled windows; our own tree does not, so walk down from the nearest one we know.
  for (;;) {
    POINT p = screenPos;
    ScreenToClient(control->HandleIfAllocated(), &p);
    TControl* child = control->ControlAtPos(p, allowDisabled, true);
    if (!child) return control;
    if (!child->IsWindowed()) return child;
    auto* win = static_cast<TWinControl*>(child);
    if (!win->HandleAllocated()) return win;
    control = win;
  }
}

bool TApplication::PreProcessMessage(MSG& msg) {
  if (CancelsHint(msg.message)) CancelHint();
  if (IsPointerMessage(msg.message)) HintMouseMessage();
  if (IsKeyMessage(msg.message)) {
    if (IsDialogKeyMessage(msg)) return true;
    HWND root = GetAncestor(msg.hwnd, GA_ROOT);
    if (dynamic_cast<TForm*>(TWinControl::FindControl(root)) && IsDialogMessageW(root, &msg)) return true;
  }
  return false;
}

bool TApplication::IsDialogKeyMessage(const MSG& msg) {
  if (msg.message != WM_KEYDOWN && msg.message != WM_SYSCHAR) return false;
  TWinControl* control = FindOwnControl(msg.hwnd);
  // The form whose controls may take the key: for a floating tool window, whose window has no parent, that
  // is the hidden form it belongs to.
  TForm* form = GetParentForm(control);
  if (!form) return false;
  if (msg.message == WM_SYSCHAR) return form->Perform(CM_DIALOGCHAR, msg.wParam, msg.lParam) != 0;
  const WPARAM key = msg.wParam;
  if (key != VK_RETURN && key != VK_ESCAPE) return false;
  MSG copy = msg;
  const LRESULT wants = SendMessageW(msg.hwnd, WM_GETDLGCODE, key, reinterpret_cast<LPARAM>(&copy));
  if (wants & (DLGC_WANTALLKEYS | DLGC_WANTMESSAGE)) return false;
  return form->Perform(CM_DIALOGKEY, key, msg.lParam) != 0;
}

LRESULT CALLBACK TApplication::GetMessageHook(int code, WPARAM wParam, LPARAM lParam) {
  if (code == HC_ACTION && wParam == PM_REMOVE && Application) {
    const MSG& msg = *reinterpret_cast<const MSG*>(lParam);
    if (IsPointerMessage(msg.message)) {
      try {
        Application->UpdateMouseControl(msg);
      } catch (const std::exception& e) {
        HandleExceptionFromCallback(e);
      }
    }
  }
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

void TApplication::UpdateMouseControl(const MSG& msg) {
  POINT pos{};
  GetCursorPos(&pos);
  TControl* control = FindControlAtScreen(pos, true);
  // Asks for WM_MOUSELEAVE, so that leaving the window for the desktop or another program is seen too.
  if (control && msg.message == WM_MOUSEMOVE && TWinControl::FindControl(msg.hwnd)) {
    TRACKMOUSEEVENT tme{sizeof(tme), TME_LEAVE, msg.hwnd, 0};
    TrackMouseEvent(&tme);
  }
  TrackMouseControl(control);
}

void TApplication::TrackMouseControl(TControl* control) {
  if (control == FMouseControl) return;
  TControl* old = std::exchange(FMouseControl, control);
  if (control) control->FreeNotification(this);
  if (old) {
    if (old != FHintControl) old->RemoveFreeNotification(this);
    old->Perform(CM_MOUSELEAVE);
  }
  // The leave handler may have freed the control just entered.
  if (FMouseControl == control && control) control->Perform(CM_MOUSEENTER);
}

void TApplication::SetHintControl(TControl* control) {
  if (control == FHintControl) return;
  TControl* old = std::exchange(FHintControl, control);
  if (old && old != FMouseControl) old->RemoveFreeNotification(this);
  if (control) control->FreeNotification(this);
}

void TApplication::HintMouseMessage() {
  TControl* control = FMouseControl;
  const std::string hint = control ? control->GetHintText() : std::string();
  SetHint(hint);
  if (control == FHintControl) return;
  const bool wasShowing = FHintWindow && FHintWindow->IsShowing();
  StopHintTimers();
  HideHint();
  SetHintControl(control);
  if (!FShowHint || !control || !control->ShowHint() || hint.empty()) return;
  StartHintTimer(wasShowing ? FHintShortPause : FHintPause, HintShowTimer);
}

void TApplication::StartHintTimer(int ms, UINT_PTR id) { SetTimer(FHandle, id, static_cast<UINT>(ms), nullptr); }

void TApplication::StopHintTimers() {
  if (!FHandle) return;
  KillTimer(FHandle, HintShowTimer);
  KillTimer(FHandle, HintHideTimer);
}

void TApplication::HintTimerExpired(UINT_PTR id) {
  KillTimer(FHandle, id);
  if (id == HintShowTimer) {
    POINT pos{};
    GetCursorPos(&pos);
    ActivateHint(pos);
  } else {
    HideHint();
  }
}

void TApplication::ActivateHint(POINT screenPos) {
  if (!FShowHint || !FHintWindow) return;
  TControl* control = FindControlAtScreen(screenPos, true);
  if (!control) return;
  THintInfo info;
  info.HintControl = control;
  info.HintStr = control->GetHintText();
  info.HintColor = FHintColor;
  info.CursorPos = control->ScreenToClient(screenPos);
  info.HintPos = POINT{screenPos.x, screenPos.y + HintOffsetY};
  info.HideTimeout = FHintHidePause;
  if (info.HintStr.empty() ||
      control->Perform(CM_HINTSHOW, reinterpret_cast<WPARAM>(control), reinterpret_cast<LPARAM>(&info)) != 0)
    return;
  SetHintControl(control);
  FHintWindow->SetColor(info.HintColor);
  RECT r = FHintWindow->CalcHintRect(HintMaxWidth, info.HintStr);
  OffsetRect(&r, info.HintPos.x, info.HintPos.y);
  // Keep the whole hint on the screen.
  const int screenW = GetSystemMetrics(SM_CXSCREEN), screenH = GetSystemMetrics(SM_CYSCREEN);
  if (r.right > screenW) OffsetRect(&r, screenW - r.right, 0);
  if (r.bottom > screenH) OffsetRect(&r, 0, screenPos.y - r.bottom - 2);
  if (r.left < 0) OffsetRect(&r, -r.left, 0);
  FHintWindow->ActivateHint(r, info.HintStr);
  if (info.HideTimeout > 0) StartHintTimer(info.HideTimeout, HintHideTimer);
}

void TApplication::HideHint() {
  if (FHintWindow) FHintWindow->ReleaseHandle();
}

void TApplication::CancelHint() {
  StopHintTimers();
  HideHint();
  SetHintControl(nullptr);
}

void TApplication::Notification(TComponent* component, TOperation operation) {
  TComponent::Notification(component, operation);
  if (operation != TOperation::opRemove) return;
  if (component == FMouseControl) FMouseControl = nullptr;
  if (component == FHintControl) FHintControl = nullptr;
  std::erase(FReleased, component);
  if (component == FHintWindow) FHintWindow = nullptr;
  if (component == FMainForm) FMainForm = nullptr;
}

LRESULT CALLBACK TApplication::WndProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  auto* app = reinterpret_cast<TApplication*>(GetWindowLongPtrW(wnd, GWLP_USERDATA));
  if (app && msg == WM_RELEASED) {
    try {
      app->FreeReleasedComponents();
    } catch (const std::exception& e) {
      HandleExceptionFromCallback(e);
    }
    return 0;
  }
  if (app && msg == WM_TIMER) {
    try {
      app->HintTimerExpired(wParam);
    } catch (const std::exception& e) {
      HandleExceptionFromCallback(e);
    }
    return 0;
  }
  return DefWindowProcW(wnd, msg, wParam, lParam);
}

} // namespace qs
