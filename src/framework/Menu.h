#pragma once
// Menu items and popup menus. A popup menu builds its native menu when it is shown and keeps it until it is
// shown again or freed, so that the notifications Windows sends about it (WM_INITMENUPOPUP, WM_MENUSELECT,
// WM_HELP, WM_COMMAND) can be matched to its items by command id or by sub-menu handle. Popup menus are tracked
// with a hidden window of ours as their owner, which passes those notifications to the menus.
#include "Control.h"
#include "Handles.h"

#include <string>
#include <vector>

namespace qs {

enum class TFindItemKind { fkCommand, fkHandle };

class TMenuItem : public TComponent {
public:
  static constexpr const char* SeparatorCaption = "-";

  explicit TMenuItem(TComponent* owner);
  ~TMenuItem() override;

  const std::string& Caption() const { return FCaption; }
  void SetCaption(const std::string& caption) { FCaption = caption; }
  bool IsSeparator() const { return FCaption == SeparatorCaption; }
  bool Enabled() const { return FEnabled; }
  void SetEnabled(bool enabled) { FEnabled = enabled; }
  bool Checked() const { return FChecked; }
  void SetChecked(bool checked) { FChecked = checked; }
  bool Visible() const { return FVisible; }
  void SetVisible(bool visible) { FVisible = visible; }
  bool Default() const { return FDefault; }
  void SetDefault(bool v) { FDefault = v; }
  // The status-line text shown while the item is highlighted.
  const std::string& Hint() const { return FHint; }
  void SetHint(const std::string& hint) { FHint = hint; }
  int HelpContext() const { return FHelpContext; }
  void SetHelpContext(int context) { FHelpContext = context; }

  void Add(TMenuItem* item);
  void Remove(TMenuItem* item);
  int Count() const { return static_cast<int>(FItems.size()); }
  TMenuItem* Items(int index) const { return FItems.at(static_cast<size_t>(index)); }
  TMenuItem* ParentItem() const { return FParentItem; }

  // The id of the item's WM_COMMAND; unique among the live items, reused once an item is freed.
  UINT Command() const { return FCommand; }
  // The native sub-menu of an item with children, while its menu is built; null otherwise.
  HMENU Handle() const { return FHandle; }

  // This item or one below it whose command id (fkCommand) or sub-menu handle (fkHandle) is `value`.
  TMenuItem* Find(UINT_PTR value, TFindItemKind kind);

  virtual void Click();
  TNotifyEvent OnClick;

private:
  friend class TPopupMenu;
  // Appends the native items of the children to `menu`, building the sub-menus of those that have children.
  void AppendChildren(HMENU menu);
  void ForgetHandles();

  std::string FCaption;
  std::string FHint;
  int FHelpContext = 0;
  bool FEnabled = true;
  bool FChecked = false;
  bool FVisible = true;
  bool FDefault = false;
  std::vector<TMenuItem*> FItems;
  TMenuItem* FParentItem = nullptr;
  UINT FCommand;
  HMENU FHandle = nullptr; // borrowed: the root menu destroys its sub-menus with it
};

enum class TPopupAlignment { paLeft, paRight, paCenter };

class TPopupMenu : public TComponent {
public:
  explicit TPopupMenu(TComponent* owner);
  ~TPopupMenu() override;

  TMenuItem* Items() const { return FItems; }
  TMenuItem* AddItem(const std::string& name, const std::string& caption, TNotifyEvent onClick = nullptr);

  // Shows the menu at a screen point and waits until it closes; the chosen item's OnClick runs before this
  // returns. `popupComponent` is the control the menu was shown for; it is known while the menu is shown and
  // its chosen item runs.
  virtual void Popup(int x, int y, TComponent* popupComponent = nullptr);
  TComponent* PopupComponent() const { return FPopupComponent; }
  void SetPopupComponent(TComponent* component);
  TPopupAlignment Alignment() const { return FAlignment; }
  void SetAlignment(TPopupAlignment a) { FAlignment = a; }
  TNotifyEvent OnPopup;

  // The native menu, built from the items on first use and rebuilt by Popup.
  HMENU Handle();
  void RebuildHandle();
  // Runs the item with this command id; false when the menu has no such item.
  bool DispatchCommand(UINT command);
  // A sub-menu of this menu is about to open: its item's OnClick may still change what it shows. False when
  // the handle is not one of this menu's.
  bool DispatchPopup(HMENU subMenu);
  TMenuItem* FindItem(UINT_PTR value, TFindItemKind kind);

  // The hidden window that owns every popup menu of the process and passes its notifications to the menus.
  static HWND PopupListWindow();

protected:
  void Notification(TComponent* component, TOperation operation) override;

private:
  TMenuItem* FItems;
  TMenuHandle FHandle;
  TComponent* FPopupComponent = nullptr;
  TPopupAlignment FAlignment = TPopupAlignment::paLeft;
};

// What the owner window of a list of popup menus (the process's, or the toolbar buttons' dropdown menus) does
// with their notifications. The dispatches stop at the menu that takes the message: what its item runs may free
// menus of the list.
bool DispatchMenuCommand(const std::vector<TPopupMenu*>& menus, UINT command);
bool DispatchMenuPopup(const std::vector<TPopupMenu*>& menus, HMENU subMenu);
// The item a WM_MENUSELECT highlights; null when the menu closed or the item is in none of the menus. A
// sub-menu's item has no command id: it comes by its position in the menu that holds it, and is found by its
// sub-menu.
TMenuItem* HighlightedMenuItem(const std::vector<TPopupMenu*>& menus, WPARAM wParam, LPARAM lParam);

} // namespace qs
