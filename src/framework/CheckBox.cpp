#include "CheckBox.h"

namespace qs {

namespace {

WPARAM CheckState(bool checked) { return checked ? BST_CHECKED : BST_UNCHECKED; }

} // namespace

TCheckBox::TCheckBox(TComponent* owner) : TButtonControl(owner) {}

void TCheckBox::CreateParams(TCreateParams& params) {
  TButtonControl::CreateParams(params);
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

} // namespace qs
