#include "Menu.h"

#include "Application.h"
#include "Exception.h"
#include "Unicode.h"
#include "WindowClass.h"

#include <algorithm>
#include <set>

namespace qs {

namespace {

// Command ids are 16 bits wide in WM_COMMAND; ids of freed items are handed out again before new ones.
constexpr UINT FirstCommand = 100;
constexpr UINT LastCommand = 0xFFFF;

class TCommandIds {
public:
  UINT Allocate() {
    if (!FFree.empty()) {
      const UINT id = *FFree.begin();
      FFree.erase(FFree.begin());
      return id;
    }
    if (FNext > LastCommand) throw EOutOfResources("Too many menu items");
    return FNext++;
  }
  void Release(UINT id) { FFree.insert(id); }

private:
  std::set<UINT> FFree;
  UINT FNext = FirstCommand;
};

TCommandIds& CommandIds() {
  static TCommandIds ids;
  return ids;
}

// Every popup menu of the process, in creation order: the owner window asks them in turn.
std::vector<TPopupMenu*>& PopupMenus() {
  static std::vector<TPopupMenu*> menus;
  return menus;
}

// WM_MENUSELECT's flags when the menu closed.
constexpr UINT MenuClosedFlags = 0xFFFF;

TMenuItem* FindInMenus(const std::vector<TPopupMenu*>& menus, UINT_PTR value, TFindItemKind kind) {
  for (TPopupMenu* menu : menus)
    if (TMenuItem* item = menu->FindItem(value, kind)) return item;
  return nullptr;
}

void MenuHelp(const HELPINFO& info) {
  if (info.iContextType != HELPINFO_MENUITEM) return;
  TMenuItem* item = FindInMenus(PopupMenus(), static_cast<UINT>(info.iCtrlId), TFindItemKind::fkCommand);
  if (item && item->HelpContext() != 0) Application->HelpContext(item->HelpContext());
}

LRESULT CALLBACK PopupListProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  try {
    switch (msg) {
    case WM_COMMAND:
      if (lParam == 0 && DispatchMenuCommand(PopupMenus(), LOWORD(wParam))) return 0;
      break;
    case WM_INITMENUPOPUP:
      if (DispatchMenuPopup(PopupMenus(), reinterpret_cast<HMENU>(wParam))) return 0;
      break;
    case WM_MENUSELECT:
      if (Application) {
        const TMenuItem* item = HighlightedMenuItem(PopupMenus(), wParam, lParam);
        Application->SetHint(item ? item->Hint() : std::string());
      }
      break;
    case WM_HELP:
      if (Application) MenuHelp(*reinterpret_cast<const HELPINFO*>(lParam));
      return TRUE;
    default: break;
    }
  } catch (const std::exception& e) {
    TApplication::HandleExceptionFromCallback(e);
    return 0;
  }
  return DefWindowProcW(wnd, msg, wParam, lParam);
}

} // namespace

TMenuItem::TMenuItem(TComponent* owner) : TComponent(owner), FCommand(CommandIds().Allocate()) {}

TMenuItem::~TMenuItem() {
  CommandIds().Release(FCommand);
  if (FParentItem) FParentItem->Remove(this);
  for (TMenuItem* child : FItems) child->FParentItem = nullptr;
}

void TMenuItem::Add(TMenuItem* item) {
  if (item->FParentItem) item->FParentItem->Remove(item);
  item->FParentItem = this;
  FItems.push_back(item);
}

void TMenuItem::Remove(TMenuItem* item) {
  std::erase(FItems, item);
  item->FParentItem = nullptr;
}

TMenuItem* TMenuItem::Find(UINT_PTR value, TFindItemKind kind) {
  if (kind == TFindItemKind::fkCommand ? FItems.empty() && FCommand == value
                                       : FHandle && reinterpret_cast<UINT_PTR>(FHandle) == value)
    return this;
  for (TMenuItem* child : FItems)
    if (TMenuItem* found = child->Find(value, kind)) return found;
  return nullptr;
}

void TMenuItem::AppendChildren(HMENU menu) {
  for (TMenuItem* item : FItems) {
    item->FHandle = nullptr;
    if (!item->FVisible) continue;
    if (item->IsSeparator()) {
      AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
      continue;
    }
    const UINT flags = MF_STRING | (item->FEnabled ? MF_ENABLED : MF_GRAYED) | (item->FChecked ? MF_CHECKED : 0u);
    const std::wstring caption = Widen(item->FCaption);
    if (!item->FItems.empty()) {
      item->FHandle = CreatePopupMenu();
      item->AppendChildren(item->FHandle);
      AppendMenuW(menu, flags | MF_POPUP, reinterpret_cast<UINT_PTR>(item->FHandle), caption.c_str());
    } else {
      AppendMenuW(menu, flags, item->FCommand, caption.c_str());
      if (item->FDefault) SetMenuDefaultItem(menu, item->FCommand, FALSE);
    }
  }
}

void TMenuItem::ForgetHandles() {
  FHandle = nullptr;
  for (TMenuItem* child : FItems) child->ForgetHandles();
}

void TMenuItem::Click() {
  if (FEnabled && OnClick) OnClick(this);
}

TPopupMenu::TPopupMenu(TComponent* owner) : TComponent(owner), FItems(new TMenuItem(this)) {
  PopupMenus().push_back(this);
}

TPopupMenu::~TPopupMenu() {
  std::erase(PopupMenus(), this);
  FItems->ForgetHandles();
}

TMenuItem* TPopupMenu::AddItem(const std::string& name, const std::string& caption, TNotifyEvent onClick) {
  auto* item = new TMenuItem(Owner() ? Owner() : this);
  item->SetName(name);
  item->SetCaption(caption);
  item->OnClick = std::move(onClick);
  FItems->Add(item);
  return item;
}

HMENU TPopupMenu::Handle() {
  if (!FHandle) RebuildHandle();
  return FHandle.Get();
}

void TPopupMenu::RebuildHandle() {
  FItems->ForgetHandles();
  FHandle.Reset(CreatePopupMenu());
  if (!FHandle) throw EOutOfResources("Cannot create menu");
  FItems->FHandle = FHandle.Get();
  FItems->AppendChildren(FHandle.Get());
}

TMenuItem* TPopupMenu::FindItem(UINT_PTR value, TFindItemKind kind) { return FItems->Find(value, kind); }

bool TPopupMenu::DispatchCommand(UINT command) {
  TMenuItem* item = FindItem(command, TFindItemKind::fkCommand);
  if (!item) return false;
  item->Click();
  return true;
}

bool TPopupMenu::DispatchPopup(HMENU subMenu) {
  TMenuItem* item = FindItem(reinterpret_cast<UINT_PTR>(subMenu), TFindItemKind::fkHandle);
  if (!item) return false;
  if (item != FItems) item->Click();
  return true;
}

void TPopupMenu::SetPopupComponent(TComponent* component) {
  if (component == FPopupComponent) return;
  if (FPopupComponent) FPopupComponent->RemoveFreeNotification(this);
  FPopupComponent = component;
  if (component) component->FreeNotification(this);
}

void TPopupMenu::Notification(TComponent* component, TOperation operation) {
  TComponent::Notification(component, operation);
  if (operation == TOperation::opRemove && component == FPopupComponent) FPopupComponent = nullptr;
}

HWND TPopupMenu::PopupListWindow() {
  static HWND wnd = [] {
    constexpr wchar_t PopupListClass[] = L"QsPopupList";
    RegisterWindowClass(PopupListClass, PopupListProc);
    return CreateWindowExW(WS_EX_TOOLWINDOW, PopupListClass, L"", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr,
                           GetModuleHandleW(nullptr), nullptr);
  }();
  return wnd;
}

void TPopupMenu::Popup(int x, int y, TComponent* popupComponent) {
  SetPopupComponent(popupComponent);
  const TComponentWatch watch(this);
  struct TClearPopupComponent {
    TPopupMenu* Menu;
    const TComponentWatch& Watch;
    ~TClearPopupComponent() {
      if (Watch.Alive()) Menu->SetPopupComponent(nullptr);
    }
  } clear{this, watch};
  if (OnPopup) OnPopup(this);
  RebuildHandle();
  const UINT align = FAlignment == TPopupAlignment::paRight    ? TPM_RIGHTALIGN
                     : FAlignment == TPopupAlignment::paCenter ? TPM_CENTERALIGN
                                                               : TPM_LEFTALIGN;
  HWND owner = PopupListWindow();
  // The owner must be in the foreground or the menu would not close when the user clicks elsewhere; the
  // window that was active before gets the activation back once the menu is gone.
  HWND previous = GetForegroundWindow();
  SetForegroundWindow(owner);
  const UINT command =
      static_cast<UINT>(TrackPopupMenu(Handle(), align | TPM_RIGHTBUTTON | TPM_RETURNCMD, x, y, 0, owner, nullptr));
  PostMessageW(owner, WM_NULL, 0, 0);
  if (previous && previous != owner && IsWindow(previous) && GetForegroundWindow() == owner)
    SetForegroundWindow(previous);
  // The command runs here rather than through a posted WM_COMMAND, so that it runs before Popup returns.
  if (command && watch.Alive()) DispatchCommand(command);
}

bool DispatchMenuCommand(const std::vector<TPopupMenu*>& menus, UINT command) {
  for (size_t i = 0; i < menus.size(); ++i)
    if (menus[i]->DispatchCommand(command)) return true;
  return false;
}

bool DispatchMenuPopup(const std::vector<TPopupMenu*>& menus, HMENU subMenu) {
  for (size_t i = 0; i < menus.size(); ++i)
    if (menus[i]->DispatchPopup(subMenu)) return true;
  return false;
}

TMenuItem* HighlightedMenuItem(const std::vector<TPopupMenu*>& menus, WPARAM wParam, LPARAM lParam) {
  const UINT flags = HIWORD(wParam);
  if (flags == MenuClosedFlags && lParam == 0) return nullptr;
  if (!(flags & MF_POPUP)) return FindInMenus(menus, LOWORD(wParam), TFindItemKind::fkCommand);
  HMENU sub = GetSubMenu(reinterpret_cast<HMENU>(lParam), LOWORD(wParam));
  return sub ? FindInMenus(menus, reinterpret_cast<UINT_PTR>(sub), TFindItemKind::fkHandle) : nullptr;
}

} // namespace qs
