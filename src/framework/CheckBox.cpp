#include "CheckBox.h"

namespace qs {

namespace {

WPARAM CheckState(bool checked) { return checked ? BST_CHECKED : BST_UNCHECKED; }

} // namespace

TCheckBox::TCheckBox(TComponent* owner) : TWinControl(owner) {
  // The system box reports its own clicks; the generic mouse handling must not add a second one.
  SetControlStyle(ControlStyle() & ~csClickEvents);
}

void TCheckBox::CreateParams(TCreateParams& params) {
  TWinControl::CreateParams(params);
  params.WinClassName = L"QsCheckBox";
  params.SysClassName = L"BUTTON";
  params.Style |= BS_AUTOCHECKBOX | WS_TABSTOP;
}

bool TCheckBox::Checked() const {
  if (HWND wnd = HandleIfAllocated()) return SendMessageW(wnd, BM_GETCHECK, 0, 0) == BST_CHECKED;
  return FChecked;
}

void TCheckBox::SetChecked(bool checked) {
  if (checked == Checked()) return;
  FChecked = checked;
  if (HWND wnd = HandleIfAllocated()) SendMessageW(wnd, BM_SETCHECK, CheckState(checked), 0);
}

void TCheckBox::CreateWindowHandleDone() { SendMessageW(HandleIfAllocated(), BM_SETCHECK, CheckState(FChecked), 0); }

void TCheckBox::DestroyWindowHandleStart() { FChecked = Checked(); }

void TCheckBox::WndProc(TMessage& message) {
  if (message.Msg == CN_COMMAND && HIWORD(message.WParam) == BN_CLICKED) {
    Click();
    message.Result = 0;
    return;
  }
  TWinControl::WndProc(message);
}

} // namespace qs
