#include "Memo.h"

#include "TextRules.h"

namespace qs {

namespace {

std::string WithoutCarriageReturns(std::string text) {
  std::erase(text, '\r');
  return text;
}

} // namespace

TMemo::TMemo(TComponent* owner) : TWinControl(owner) {
  // The edit control reports its own clicks; the generic mouse handling must not add a second one.
  SetControlStyle(ControlStyle() & ~csClickEvents);
}

void TMemo::CreateParams(TCreateParams& params) {
  TWinControl::CreateParams(params);
  params.WinClassName = L"QsMemo";
  params.SysClassName = L"EDIT";
  // No ES_AUTOHSCROLL and no horizontal scroll bar: long lines wrap at the control's width.
  params.Style |= ES_MULTILINE | ES_READONLY | ES_AUTOVSCROLL | WS_VSCROLL | WS_TABSTOP;
  params.ExStyle |= WS_EX_CLIENTEDGE;
}

void TMemo::SetText(const std::string& text) { TWinControl::SetText(WithLineBreaks(text)); }

std::string TMemo::Text() const { return WithoutCarriageReturns(TWinControl::Text()); }

void TMemo::SelectAll() {
  if (HWND wnd = HandleIfAllocated()) SendMessageW(wnd, EM_SETSEL, 0, -1);
}

} // namespace qs
