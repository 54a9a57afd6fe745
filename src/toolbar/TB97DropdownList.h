#pragma once
// Toolbar buttons' dropdown menus: the one list of the menus buttons were given, whose hidden window owns every
// menu a button tracks and passes the menu's notifications back to it, and the showing of a button's menu
// beside the button (TB97ButtonMenu.cpp).
#include "Component.h"

#include <windows.h>

#include <functional>
#include <vector>

namespace qs {

class TPopupMenu;
class TToolbarButton97;

class TDropdownList : public TComponent {
public:
  explicit TDropdownList(TComponent* owner);
  ~TDropdownList() override;

  // The list of the process, made by the first button given a menu and kept until the program ends.
  static TDropdownList& Instance();
  // Null until then.
  static TDropdownList* Existing();

  // Lists a menu once; the first one brings the owner window.
  void AddMenu(TPopupMenu* menu);
  int MenuCount() const { return static_cast<int>(FMenus.size()); }
  TPopupMenu* Menus(int index) const { return FMenus.at(static_cast<size_t>(index)); }
  // The hidden window tracked menus are shown for; it exists exactly while a menu is listed.
  HWND MenuOwnerWindow() const { return FMenuOwner; }

protected:
  void Notification(TComponent* component, TOperation operation) override;

private:
  static LRESULT CALLBACK MenuOwnerProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam);
  // True when a listed menu took the message; the rest goes to DefWindowProc.
  bool HandleMenuMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result);
  bool ShowItemHint(WPARAM wParam, LPARAM lParam);
  bool ShowItemHelp(const HELPINFO& info);
  void CreateMenuOwner();
  void DestroyMenuOwner();

  std::vector<TPopupMenu*> FMenus;
  HWND FMenuOwner = nullptr;
};

// Opens the button's DropdownMenu below it (beside it when its toolbar sits in a side dock) and returns once
// the menu has closed. The button's click operation calls it after giving up the mouse.
void ShowButtonMenu(TToolbarButton97& button);

// The closing-click filter: takes every mouse-button message (WM_LBUTTONDOWN to WM_MBUTTONDBLCLK) from the
// thread's queue, drops the presses and double-clicks whose point is on the button (`isOnButton`, asked with
// screen coordinates) and posts every other message again, in its order, also when `isOnButton` throws (the
// message it was asked about is kept).
void DropClosingClicks(const std::function<bool(POINT screen)>& isOnButton);

} // namespace qs
