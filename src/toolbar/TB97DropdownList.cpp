#include "TB97DropdownList.h"

#include "Menu.h"
#include "TB97Button.h"
#include "TB97Dock.h"
#include "TB97ToolWindow.h"

namespace qs {

namespace {

TButtonMenuSide MenuSide(const TToolbarButton97& button) {
  const auto* toolWindow = dynamic_cast<const TCustomToolWindow97*>(button.Parent());
  const TDock97* dock = toolWindow ? toolWindow->DockedTo() : nullptr;
  if (DockOrientation(dock) != doVertical) return TButtonMenuSide::msBelow;
  return dock->Position() == dpLeft ? TButtonMenuSide::msRightOf : TButtonMenuSide::msLeftOf;
}

} // namespace

void ShowButtonMenu(TToolbarButton97& button) {
  TPopupMenu* menu = button.DropdownMenu();
  if (!menu) return;
  const TButtonMenuAnchor anchor = ButtonMenuAnchor(TIntSize{button.Width(), button.Height()}, MenuSide(button));
  const POINT at = button.ClientToScreen(POINT{anchor.Point.X, anchor.Point.Y});
  // The menu's own alignment is borrowed for the moment and given back, also when showing fails; the menu
  // may be gone by then (freed by its own command).
  const TComponentWatch watch(menu);
  struct TRestoreAlignment {
    TPopupMenu* Menu;
    const TComponentWatch& Watch;
    TPopupAlignment Saved;
    ~TRestoreAlignment() {
      if (Watch.Alive()) Menu->SetAlignment(Saved);
    }
  } restore{menu, watch, menu->Alignment()};
  menu->SetAlignment(anchor.AlignRight ? TPopupAlignment::paRight : TPopupAlignment::paLeft);
  menu->Popup(at.x, at.y, &button);
}

} // namespace qs
