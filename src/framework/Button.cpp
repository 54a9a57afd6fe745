#include "Button.h"

namespace qs {

TButton::TButton(TComponent* owner) : TButtonControl(owner) {}

void TButton::CreateParams(TCreateParams& params) {
  TButtonControl::CreateParams(params);
  params.WinClassName = L"QsButton";
  params.SysClassName = L"BUTTON";
  params.Style |= BS_PUSHBUTTON | WS_TABSTOP;
}

} // namespace qs
