#pragma once
// A push button: the system's BUTTON class draws it, takes the keyboard focus and reports the click.
#include "WinControl.h"

namespace qs {

class TButton : public TWinControl {
public:
  explicit TButton(TComponent* owner);

  void WndProc(TMessage& message) override;

protected:
  void CreateParams(TCreateParams& params) override;
};

} // namespace qs
