#include "Button.h"

namespace qs {

TButton::TButton(TComponent* owner) : TWinControl(owner) {
  // The system button reports its own clicks (mouse, space bar, accelerator); a second click from the
  // generic mouse handling would run OnClick twice.
  SetControlStyle(ControlStyle() & ~csClickEvents);
}

void TButton::CreateParams(TCreateParams& params) {
  TWinControl::CreateParams(params);
  params.WinClassName = L"QsButton";
  params.SysClassName = L"BUTTON";
  params.Style |= BS_PUSHBUTTON | WS_TABSTOP;
}

void TButton::WndProc(TMessage& message) {
  if (message.Msg == CN_COMMAND && HIWORD(message.WParam) == BN_CLICKED) {
    Click();
    message.Result = 0;
    return;
  }
  TWinControl::WndProc(message);
}

} // namespace qs
