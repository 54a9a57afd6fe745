#include "TB97FloatingParent.h"

#include "TB97ToolWindow.h"

#include <algorithm>

namespace qs {

namespace {

std::vector<TCustomToolWindow97*>& FloatingList() {
  static std::vector<TCustomToolWindow97*> list;
  return list;
}

} // namespace

const std::vector<TCustomToolWindow97*>& FloatingToolWindows() { return FloatingList(); }

void JoinFloatingList(TCustomToolWindow97* window) {
  auto& list = FloatingList();
  if (std::find(list.begin(), list.end(), window) == list.end()) list.push_back(window);
}

void LeaveFloatingList(TCustomToolWindow97* window) { std::erase(FloatingList(), window); }

TFloatingWindowParent::TFloatingWindowParent(TForm* parentForm) : TForm(nullptr), FParentForm(parentForm) {
  SetBorderStyle(TFormBorderStyle::bsNone);
  SetBounds(0, 0, 0, 0);
  HandleNeeded();
  // Shown without taking the activation from the form.
  SetVisible(true);
}

void TFloatingWindowParent::CreateParams(TCreateParams& params) {
  TForm::CreateParams(params);
  params.WinClassName = L"QsFloatingWindowParent";
  params.Width = 0;
  params.Height = 0;
  // A window of the program's own, not one of its windows the user switches to: no taskbar entry.
  params.ExStyle |= WS_EX_TOOLWINDOW;
}

void TFloatingWindowParent::WndProc(TMessage& message) {
  switch (message.Msg) {
  case CM_SHOWINGCHANGED:
    if (HandleAllocated()) {
      const UINT show = Visible() && FShowWanted ? SWP_SHOWWINDOW : SWP_HIDEWINDOW;
      SetWindowPos(HandleIfAllocated(), nullptr, 0, 0, 0, 0,
                   SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | show);
    }
    return;
  case CM_DIALOGKEY:
    // Escape in a floating tool window hands the focus back to its form.
    if (message.WParam == VK_ESCAPE && GetKeyState(VK_SHIFT) >= 0 && GetKeyState(VK_CONTROL) >= 0 &&
        GetKeyState(VK_MENU) >= 0 && FParentForm && FParentForm->HandleAllocated()) {
      ::SetFocus(FParentForm->HandleIfAllocated());
      message.Result = 1;
      return;
    }
    break;
  default: break;
  }
  TForm::WndProc(message);
}

} // namespace qs
