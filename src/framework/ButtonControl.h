#pragma once
// What every control over the system's BUTTON class shares: the system reports its own clicks (mouse, space
// bar, accelerator) as BN_CLICKED, so the generic mouse handling must not add a second one.
#include "WinControl.h"

namespace qs {

class TButtonControl : public TWinControl {
public:
  explicit TButtonControl(TComponent* owner) : TWinControl(owner) {
    SetControlStyle(ControlStyle() & ~csClickEvents);
  }

  void WndProc(TMessage& message) override {
    if (message.Msg == CN_COMMAND && HIWORD(message.WParam) == BN_CLICKED) {
      Click();
      message.Result = 0;
      return;
    }
    TWinControl::WndProc(message);
  }
};

} // namespace qs
