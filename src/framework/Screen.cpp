#include "Screen.h"

#include "Form.h"

#include <windows.h>

namespace qs {

namespace {

BOOL CALLBACK CollectForm(HWND wnd, LPARAM data) {
  if (auto* form = dynamic_cast<TForm*>(TWinControl::FindControl(wnd)))
    reinterpret_cast<std::vector<TForm*>*>(data)->push_back(form);
  return TRUE;
}

} // namespace

std::vector<TForm*> TScreen::Forms() {
  // EnumThreadWindows walks the thread's top-level windows in Z-order, topmost first.
  std::vector<TForm*> forms;
  EnumThreadWindows(GetCurrentThreadId(), CollectForm, reinterpret_cast<LPARAM>(&forms));
  return forms;
}

TForm* TScreen::ActiveForm() { return dynamic_cast<TForm*>(TWinControl::FindControl(GetActiveWindow())); }

} // namespace qs
