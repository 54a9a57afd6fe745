#include "Menu.h"

#include "Application.h"
#include "Handles.h"
#include "Unicode.h"

#include <map>

namespace qs {

namespace {

// Menu command identifiers are allocated once per item for the life of the process.
constexpr UINT FirstCommand = 100;
UINT NextCommand = FirstCommand;

std::map<UINT, TMenuItem*>& CommandMap() {
  static std::map<UINT, TMenuItem*> map;
  return map;
}

LRESULT CALLBACK PopupListProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_COMMAND && lParam == 0) {
    if (TMenuItem* item = TMenuItem::FindByCommand(LOWORD(wParam))) {
      try {
        item->Click();
      } catch (const std::exception& e) {
        TApplication::HandleExceptionFromCallback(e);
      }
      return 0;
    }
  }
  return DefWindowProcW(wnd, msg, wParam, lParam);
}

} // namespace

TMenuItem::TMenuItem(TComponent* owner) : TComponent(owner), FCommand(NextCommand++) {
  CommandMap()[FCommand] = this;
}

TMenuItem::~TMenuItem() {
  CommandMap().erase(FCommand);
  if (FParentItem) FParentItem->Remove(this);
  for (TMenuItem* child : FItems) child->FParentItem = nullptr;
}

TMenuItem* TMenuItem::FindByCommand(UINT command) {
  auto it = CommandMap().find(command);
  return it == CommandMap().end() ? nullptr : it->second;
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

HMENU TMenuItem::BuildMenu(bool popup) const {
  HMENU menu = popup ? CreatePopupMenu() : CreateMenu();
  for (const TMenuItem* item : FItems) {
    if (!item->FVisible) continue;
    if (item->IsSeparator()) {
      AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
      continue;
    }
    UINT flags = MF_STRING | (item->FEnabled ? MF_ENABLED : MF_GRAYED) | (item->FChecked ? MF_CHECKED : 0u);
    const std::wstring caption = Widen(item->FCaption);
    if (!item->FItems.empty()) {
      AppendMenuW(menu, flags | MF_POPUP, reinterpret_cast<UINT_PTR>(item->BuildMenu(true)), caption.c_str());
    } else {
      AppendMenuW(menu, flags, item->FCommand, caption.c_str());
      if (item->FDefault) SetMenuDefaultItem(menu, item->FCommand, FALSE);
    }
  }
  return menu;
}

void TMenuItem::Click() {
  if (FEnabled && OnClick) OnClick(this);
}

TPopupMenu::TPopupMenu(TComponent* owner) : TComponent(owner), FItems(new TMenuItem(this)) {}

TMenuItem* TPopupMenu::AddItem(const std::string& name, const std::string& caption, TNotifyEvent onClick) {
  auto* item = new TMenuItem(Owner() ? Owner() : this);
  item->SetName(name);
  item->SetCaption(caption);
  item->OnClick = std::move(onClick);
  FItems->Add(item);
  return item;
}

HWND TPopupMenu::PopupListWindow() {
  static HWND wnd = [] {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof(wc);
    wc.lpfnWndProc = PopupListProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"QsPopupList";
    RegisterClassExW(&wc);
    return CreateWindowExW(WS_EX_TOOLWINDOW, wc.lpszClassName, L"", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr,
                           wc.hInstance, nullptr);
  }();
  return wnd;
}

void TPopupMenu::Popup(int x, int y, TComponent* popupComponent) {
  FPopupComponent = popupComponent;
  if (OnPopup) OnPopup(this);
  TMenuHandle menu(FItems->BuildMenu(true));
  const UINT align = FAlignment == TPopupAlignment::paRight    ? TPM_RIGHTALIGN
                     : FAlignment == TPopupAlignment::paCenter ? TPM_CENTERALIGN
                                                               : TPM_LEFTALIGN;
  HWND owner = PopupListWindow();
  // The owner must be in the foreground or the menu would not close when the user clicks elsewhere.
  SetForegroundWindow(owner);
  const UINT command = static_cast<UINT>(
      TrackPopupMenu(menu.Get(), align | TPM_RIGHTBUTTON | TPM_RETURNCMD | TPM_NONOTIFY, x, y, 0, owner, nullptr));
  PostMessageW(owner, WM_NULL, 0, 0);
  // The command runs here rather than through a posted WM_COMMAND, so that it runs before Popup returns.
  if (TMenuItem* item = command ? TMenuItem::FindByCommand(command) : nullptr) item->Click();
}

} // namespace qs
