#pragma once
// The forms on the screen: those of this thread that have a window, in Z-order, and the active one.
#include <vector>

namespace qs {

class TForm;

class TScreen {
public:
  // Topmost first.
  static std::vector<TForm*> Forms();
  // The form whose window is the thread's active window, or none.
  static TForm* ActiveForm();
};

} // namespace qs
