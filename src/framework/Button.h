#pragma once
// A push button: the system's BUTTON class draws it, takes the keyboard focus and reports the click.
#include "ButtonControl.h"

namespace qs {

class TButton : public TButtonControl {
public:
  explicit TButton(TComponent* owner);


protected:
  void CreateParams(TCreateParams& params) override;
};

} // namespace qs
