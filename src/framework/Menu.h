#pragma once
// Menu items and popup menus. Popup menus are shown with a hidden window of ours as their owner; that
// window receives WM_COMMAND and runs the chosen item's OnClick.
#include "Control.h"

#include <string>
#include <vector>

namespace qs {

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

  void Add(TMenuItem* item);
  void Remove(TMenuItem* item);
  int Count() const { return static_cast<int>(FItems.size()); }
  TMenuItem* Items(int index) const { return FItems.at(static_cast<size_t>(index)); }
  TMenuItem* ParentItem() const { return FParentItem; }

  UINT Command() const { return FCommand; }
  static TMenuItem* FindByCommand(UINT command);

  // Builds the native menu of this item's children.
  HMENU BuildMenu(bool popup) const;
  virtual void Click();
  TNotifyEvent OnClick;

private:
  std::string FCaption;
  bool FEnabled = true;
  bool FChecked = false;
  bool FVisible = true;
  bool FDefault = false;
  std::vector<TMenuItem*> FItems;
  TMenuItem* FParentItem = nullptr;
  UINT FCommand;
};

enum class TPopupAlignment { paLeft, paRight, paCenter };

class TPopupMenu : public TComponent {
public:
  explicit TPopupMenu(TComponent* owner);

  TMenuItem* Items() const { return FItems; }
  TMenuItem* AddItem(const std::string& name, const std::string& caption, TNotifyEvent onClick = nullptr);

  // Shows the menu at a screen point and waits until it closes; the chosen item's OnClick runs before this
  // returns. `popupComponent` is the control the menu was shown for.
  virtual void Popup(int x, int y, TComponent* popupComponent = nullptr);
  TComponent* PopupComponent() const { return FPopupComponent; }
  TPopupAlignment Alignment() const { return FAlignment; }
  void SetAlignment(TPopupAlignment a) { FAlignment = a; }
  TNotifyEvent OnPopup;

  // The hidden window that owns every popup menu of the process and dispatches its commands.
  static HWND PopupListWindow();

private:
  TMenuItem* FItems;
  TComponent* FPopupComponent = nullptr;
  TPopupAlignment FAlignment = TPopupAlignment::paLeft;
};

} // namespace qs
