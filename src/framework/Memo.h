#pragma once
// A block of read-only text in several lines over the system's EDIT class: the lines wrap at the control's
// width and scroll, and the user can select them and copy them with Ctrl+C, but not change them.
#include "WinControl.h"

#include <string>

namespace qs {

class TMemo : public TWinControl {
public:
  explicit TMemo(TComponent* owner);

  // Lines are separated by "\n" here; the control itself needs "\r\n", which it gets and which Text() removes.
  void SetText(const std::string& text) override;
  std::string Text() const override;
  void SelectAll();

protected:
  void CreateParams(TCreateParams& params) override;
};

} // namespace qs
