// Showing a toolbar button's dropdown menu: placed by the side of the dock the button's toolbar is in, tracked
// with the dropdown list's window as owner, and followed by the closing-click filter.
//
// The filter is there because a click outside a tracked menu closes the menu and is then left in the queue
// for the window under the pointer: a click on the button that opened the menu would open it again at once.
#include "TB97DropdownList.h"

#include "Application.h"
#include "Menu.h"
#include "TB97Button.h"
#include "TB97Dock.h"
#include "TB97ToolWindow.h"

#include <exception>
#include <typeinfo>
#include <vector>

namespace qs {

namespace {

// Windows before version 4 track a popup menu with the right button only when asked to.
constexpr DWORD NewShellMajorVersion = 4;

TButtonMenuSide MenuSide(const TToolbarButton97& button) {
  const auto* toolWindow = dynamic_cast<const TCustomToolWindow97*>(button.Parent());
  const TDock97* dock = toolWindow ? toolWindow->DockedTo() : nullptr;
  if (DockOrientation(dock) != doVertical) return TButtonMenuSide::msBelow;
  return dock->Position() == dpLeft ? TButtonMenuSide::msRightOf : TButtonMenuSide::msLeftOf;
}

UINT TrackAlignmentFlag(TPopupAlignment alignment) {
  switch (alignment) {
  case TPopupAlignment::paRight: return TPM_RIGHTALIGN;
  case TPopupAlignment::paCenter: return TPM_CENTERALIGN;
  case TPopupAlignment::paLeft: break;
  }
  return TPM_LEFTALIGN;
}

UINT TrackButtonFlag() {
  const DWORD majorVersion = LOBYTE(LOWORD(GetVersion()));
  return majorVersion < NewShellMajorVersion ? TPM_RIGHTBUTTON : 0;
}

// Returns once the menu has closed; the chosen item's command arrives afterwards, posted to the owner.
void TrackWithOwner(TPopupMenu& menu, POINT at, HWND owner) {
  const TComponentWatch watch(&menu);
  if (menu.OnPopup) menu.OnPopup(&menu);
  if (!watch.Alive()) return;
  // The native menu shows the items as OnPopup left them.
  menu.RebuildHandle();
  TrackPopupMenu(menu.Handle(), TrackAlignmentFlag(menu.Alignment()) | TrackButtonFlag(), at.x, at.y, 0, owner,
                 nullptr);
}

bool IsButtonDownMessage(UINT msg) {
  switch (msg) {
  case WM_LBUTTONDOWN:
  case WM_LBUTTONDBLCLK:
  case WM_RBUTTONDOWN:
  case WM_RBUTTONDBLCLK:
  case WM_MBUTTONDOWN:
  case WM_MBUTTONDBLCLK: return true;
  default: return false;
  }
}

bool IsDownOnButton(const MSG& msg, const std::function<bool(POINT screen)>& isOnButton) {
  if (!IsButtonDownMessage(msg.message)) return false;
  POINT p{static_cast<short>(LOWORD(msg.lParam)), static_cast<short>(HIWORD(msg.lParam))};
  return ClientToScreen(msg.hwnd, &p) && isOnButton(p);
}

} // namespace

void DropClosingClicks(const std::function<bool(POINT screen)>& isOnButton) {
  std::vector<MSG> kept;
  // Whatever happens while the queue is drained, what was taken and not dropped goes back.
  struct TRepost {
    const std::vector<MSG>& Messages;
    ~TRepost() {
      for (const MSG& m : Messages) PostMessageW(m.hwnd, m.message, m.wParam, m.lParam);
    }
  } repost{kept};
  MSG msg{};
  while (PeekMessageW(&msg, nullptr, WM_LBUTTONDOWN, WM_MBUTTONDBLCLK, PM_REMOVE | PM_NOYIELD)) {
    kept.push_back(msg);
    if (IsDownOnButton(msg, isOnButton)) kept.pop_back();
  }
}

void ShowButtonMenu(TToolbarButton97& button) {
  TPopupMenu* menu = button.DropdownMenu();
  if (!menu) return;
  const TComponentWatch buttonWatch(&button);
  const TComponentWatch menuWatch(menu);
  const TPopupAlignment savedAlignment = menu->Alignment();
  std::exception_ptr failure;
  try {
    // The menu opens where the button says, whatever its own alignment.
    const TButtonMenuAnchor anchor = ButtonMenuAnchor(TIntSize{button.Width(), button.Height()}, MenuSide(button));
    menu->SetAlignment(anchor.AlignRight ? TPopupAlignment::paRight : TPopupAlignment::paLeft);
    const POINT at = button.ClientToScreen(POINT{anchor.Point.X, anchor.Point.Y});
    menu->SetPopupComponent(&button);
    TDropdownList* list = TDropdownList::Existing();
    if (typeid(*menu) == typeid(TPopupMenu) && list && list->MenuOwnerWindow())
      TrackWithOwner(*menu, at, list->MenuOwnerWindow());
    else menu->Popup(at.x, at.y, &button);
  } catch (...) {
    failure = std::current_exception();
  }
  if (menuWatch.Alive()) menu->SetAlignment(savedAlignment);
  try {
    DropClosingClicks([&](POINT screen) {
      return buttonWatch.Alive() && TApplication::FindControlAtScreen(screen, true) == &button;
    });
  } catch (...) {
    // A failing popup is what the caller hears about.
    if (!failure) throw;
  }
  if (failure) std::rethrow_exception(failure);
}

} // namespace qs
