#pragma once
// A check box over the system's BUTTON class; the box toggles itself when clicked and reports the click.
#include "ButtonControl.h"

namespace qs {

class TCheckBox : public TButtonControl {
public:
  explicit TCheckBox(TComponent* owner);

  // The window holds the state while it exists; the field holds it before the window is made and after it
  // is gone, so the state survives a recreated window.
  bool Checked() const;
  void SetChecked(bool checked);


protected:
  void CreateParams(TCreateParams& params) override;
  void CreateWindowHandleDone() override;
  void DestroyWindowHandleStart() override;

private:
  bool FChecked = false;
};

} // namespace qs
