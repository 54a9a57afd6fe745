#pragma once
// The small window that shows a control's hint: a borderless popup in the application's hint colour.
#include "CustomControl.h"

namespace qs {

class THintWindow : public TCustomControl {
public:
  explicit THintWindow(TComponent* owner);

  // The size the text needs, wrapped at `maxWidth`, with the border and margins.
  RECT CalcHintRect(int maxWidth, const std::string& hint);
  // Shows `hint` in `rect` (screen coordinates) without taking the focus.
  void ActivateHint(const RECT& rect, const std::string& hint);
  void ReleaseHandle();
  bool IsShowing() const;

protected:
  void CreateParams(TCreateParams& params) override;
  void Paint() override;

private:
  static constexpr int TextMargin = 2;
};

} // namespace qs
