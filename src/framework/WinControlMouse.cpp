// Mouse input of a windowed control: routing to the windowless child under the pointer (or the one holding the
// capture), the capture of a press on the control itself, cursors and the right-click menu.
#include "WinControl.h"

#include "Menu.h"

#include <utility>

namespace qs {

namespace {

bool IsButtonDown(UINT msg) {
  return msg == WM_LBUTTONDOWN || msg == WM_LBUTTONDBLCLK || msg == WM_RBUTTONDOWN || msg == WM_MBUTTONDOWN;
}

bool IsButtonUp(UINT msg) { return msg == WM_LBUTTONUP || msg == WM_RBUTTONUP || msg == WM_MBUTTONUP; }

} // namespace

void TWinControl::SetCaptureControl(TControl* control) {
  FCaptureControl = control;
  if (control && FHandle) SetCapture(FHandle);
  else if (!control && FHandle && GetCapture() == FHandle) ReleaseCapture();
}

bool TWinControl::RouteMouseToChild(TMessage& message) {
  const POINT p{static_cast<short>(LOWORD(message.LParam)), static_cast<short>(HIWORD(message.LParam))};
  TControl* target = FCaptureControl ? FCaptureControl : ControlAtPos(p, false);
  if (!target) return false;
  if (IsButtonDown(message.Msg) && !FCaptureControl && (target->ControlStyle() & csCaptureMouse))
    SetCaptureControl(target);
  TMessage routed{message.Msg, message.WParam,
                  MAKELPARAM(static_cast<WORD>(p.x - target->Left()), static_cast<WORD>(p.y - target->Top())), 0};
  // Releasing before the child sees the button-up lets its click handler start a modal loop of its own.
  if (IsButtonUp(message.Msg) && FCaptureControl == target &&
      !(message.WParam & (MK_LBUTTON | MK_RBUTTON | MK_MBUTTON)))
    SetCaptureControl(nullptr);
  target->WndProc(routed);
  message.Result = routed.Result;
  return true;
}

void TWinControl::CaptureOwnClick(const TMessage& message) {
  // System classes track their own presses; ours take the mouse so that a release outside ends the click.
  if (FDefWndProc != DefWindowProcW || !(ControlStyle() & csCaptureMouse) || !FHandle) return;
  if (message.Msg == WM_LBUTTONDOWN || message.Msg == WM_LBUTTONDBLCLK) SetCapture(FHandle);
  else if (message.Msg == WM_LBUTTONUP && GetCapture() == FHandle && !FCaptureControl) {
    // Released before the click runs, so that its handler may start a modal loop of its own.
    FReleasingOwnCapture = true;
    ReleaseCapture();
    FReleasingOwnCapture = false;
  }
}

bool TWinControl::HandleSetCursor(TMessage& message) {
  if (reinterpret_cast<HWND>(message.WParam) != FHandle || LOWORD(message.LParam) != HTCLIENT) return false;
  POINT p{};
  GetCursorPos(&p);
  ::ScreenToClient(FHandle, &p);
  TControl* c = FCaptureControl ? FCaptureControl : ControlAtPos(p, true);
  LPCWSTR cursor = c ? c->Cursor() : Cursor();
  // The arrow is every class's own cursor (and system classes such as edits know better).
  if (cursor == IDC_ARROW) return false;
  ::SetCursor(LoadCursorW(nullptr, cursor));
  message.Result = TRUE;
  return true;
}

bool TWinControl::HandleContextMenu(TMessage& message) {
  if (reinterpret_cast<HWND>(message.WParam) != FHandle) return false;
  POINT p{static_cast<short>(LOWORD(message.LParam)), static_cast<short>(HIWORD(message.LParam))};
  TPopupMenu* menu = PopupMenu();
  if (p.x != -1 || p.y != -1) {
    POINT c = p;
    ::ScreenToClient(FHandle, &c);
    if (TControl* child = ControlAtPos(c, false); child && child->PopupMenu()) menu = child->PopupMenu();
  } else {
    p = ClientToScreen(POINT{0, 0});
  }
  if (!menu) return false;
  menu->Popup(p.x, p.y, this);
  message.Result = 0;
  return true;
}

} // namespace qs
