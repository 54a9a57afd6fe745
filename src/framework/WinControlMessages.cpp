// The message switch of windowed controls: notifications reflected to the child that sent them, broadcasts of
// control messages to the children, size and show changes, and the default handling.
#include "WinControl.h"

#include "NonClientDC.h"

#include <utility>

namespace qs {

void TWinControl::ReflectToChild(TMessage& message, HWND child, UINT reflected) {
  TWinControl* control = FindControl(child);
  if (control && control != this) {
    message.Result = control->Perform(reflected, message.WParam, message.LParam);
    if (message.Result || reflected == CN_COMMAND || reflected == CN_NOTIFY) return;
  }
  DefaultHandler(message);
}

void TWinControl::ShowingChanged() { BroadcastToChildren(CM_SHOWINGCHANGED); }

void TWinControl::PaintNonClientFromMessage(const TMessage& message) {
  TNonClientDC dc(message.Wnd ? message.Wnd : FHandle, message.WParam);
  if (dc.Get()) PaintNonClient(dc.Get());
}

void TWinControl::WndProc(TMessage& message) {
  switch (message.Msg) {
  case WM_COMMAND:
    if (message.LParam) return ReflectToChild(message, reinterpret_cast<HWND>(message.LParam), CN_COMMAND);
    break;
  case WM_NOTIFY: return ReflectToChild(message, reinterpret_cast<NMHDR*>(message.LParam)->hwndFrom, CN_NOTIFY);
  case WM_CTLCOLORSTATIC:
  case WM_CTLCOLORBTN:
  case WM_CTLCOLOREDIT:
  case WM_CTLCOLORLISTBOX:
    return ReflectToChild(message, reinterpret_cast<HWND>(message.LParam), CN_BASE + message.Msg);
  case WM_DRAWITEM:
    return ReflectToChild(message, reinterpret_cast<DRAWITEMSTRUCT*>(message.LParam)->hwndItem, CN_DRAWITEM);
  case WM_SETCURSOR:
    if (HandleSetCursor(message)) return;
    break;
  case WM_CONTEXTMENU:
    if (HandleContextMenu(message)) return;
    break;
  case WM_CAPTURECHANGED:
    if (reinterpret_cast<HWND>(message.LParam) != FHandle && !FReleasingOwnCapture) {
      if (TControl* lost = std::exchange(FCaptureControl, nullptr)) lost->Perform(CM_CANCELMODE);
      // A press whose release will never come here is no click.
      CancelClick();
    }
    break;
  case WM_CANCELMODE:
    if (FCaptureControl) FCaptureControl->Perform(CM_CANCELMODE);
    CancelClick();
    break;
  case WM_SIZE:
    DefaultHandler(message);
    if (FHandle && !IsIconic(FHandle)) {
      UpdateBoundsFromWindow();
      Realign();
    }
    return;
  case WM_WINDOWPOSCHANGED: {
    DefaultHandler(message);
    const auto* pos = reinterpret_cast<const WINDOWPOS*>(message.LParam);
    if (FHandle && !IsIconic(FHandle)) UpdateBoundsFromWindow();
    if (pos->flags & (SWP_SHOWWINDOW | SWP_HIDEWINDOW)) ShowingChanged();
    return;
  }
  case WM_SYSCOLORCHANGE:
    DefaultHandler(message);
    Perform(CM_SYSCOLORCHANGE);
    return;
  case CM_SYSCOLORCHANGE:
  case CM_SHOWINGCHANGED: BroadcastToChildren(message.Msg); break;
  case CM_DIALOGKEY:
  case CM_DIALOGCHAR:
    // Offered to every control of the form, windowless ones included, until one takes it.
    Broadcast(message);
    if (message.Result != 0) return;
    break;
  case CM_FONTCHANGED:
  case CM_COLORCHANGED:
  case CM_SHOWHINTCHANGED: {
    if (message.Msg == CM_FONTCHANGED && FHandle)
      SendMessageW(FHandle, WM_SETFONT, reinterpret_cast<WPARAM>(Font().Handle()), TRUE);
    const UINT toChildren = message.Msg == CM_FONTCHANGED    ? CM_PARENTFONTCHANGED
                            : message.Msg == CM_COLORCHANGED ? CM_PARENTCOLORCHANGED
                                                             : CM_PARENTSHOWHINTCHANGED;
    for (size_t i = 0; i < FControls.size(); ++i) FControls[i]->Perform(toChildren);
    break;
  }
  default: break;
  }
  if (IsMouseMessage(message.Msg)) {
    if (RouteMouseToChild(message)) return;
    CaptureOwnClick(message);
  }
  TControl::WndProc(message);
}

void TWinControl::DefaultHandler(TMessage& message) {
  // The rest of a message belongs to the window it came to, even when a handler has recreated the control's
  // window meanwhile; a window already destroyed gets nothing more.
  HWND wnd = message.Wnd ? message.Wnd : FHandle;
  if (!wnd || (wnd != FHandle && !IsWindow(wnd))) {
    message.Result = 0;
    return;
  }
  message.Result = CallWindowProcW(FDefWndProc, wnd, message.Msg, message.WParam, message.LParam);
}

void TWinControl::FontChanged() { TControl::FontChanged(); }

} // namespace qs
