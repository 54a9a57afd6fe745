// The list of the menus toolbar buttons open, and the hidden window that owns them while they are tracked.
// A tracked menu reports to its owner window only; this one asks the listed menus in the order they came,
// so that each notification reaches the menu whose item it is about.
#include "TB97DropdownList.h"

#include "Application.h"
#include "Exception.h"
#include "Form.h"
#include "Menu.h"
#include "Screen.h"
#include "WindowClass.h"

#include <algorithm>
#include <memory>
#include <utility>

namespace qs {

namespace {

constexpr wchar_t MenuOwnerClass[] = L"QsDropdownList";

std::unique_ptr<TDropdownList>& TheList() {
  static std::unique_ptr<TDropdownList> list;
  return list;
}

// Windows puts a help button in the caption of a window with a system menu, the context-help style and
// neither a minimize nor a maximize box.
bool ShowsHelpButton(HWND wnd) {
  const auto style = static_cast<DWORD>(GetWindowLongPtrW(wnd, GWL_STYLE));
  const auto exStyle = static_cast<DWORD>(GetWindowLongPtrW(wnd, GWL_EXSTYLE));
  return (exStyle & WS_EX_CONTEXTHELP) && (style & WS_SYSMENU) && !(style & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX));
}

void ShowHelp(int context) {
  TForm* form = TScreen::ActiveForm();
  // An item without a help context has no topic to show.
  if (!form || !Application || context == 0) return;
  if (ShowsHelpButton(form->Handle())) Application->HelpCommand(HELP_CONTEXTPOPUP, static_cast<ULONG_PTR>(context));
  else Application->HelpContext(context);
}

} // namespace

TDropdownList::TDropdownList(TComponent* owner) : TComponent(owner) {}

TDropdownList::~TDropdownList() { DestroyMenuOwner(); }

TDropdownList& TDropdownList::Instance() {
  std::unique_ptr<TDropdownList>& list = TheList();
  if (!list) list = std::make_unique<TDropdownList>(nullptr);
  return *list;
}

TDropdownList* TDropdownList::Existing() { return TheList().get(); }

void TDropdownList::AddMenu(TPopupMenu* menu) {
  if (!menu || std::find(FMenus.begin(), FMenus.end(), menu) != FMenus.end()) return;
  if (FMenus.empty()) CreateMenuOwner();
  menu->FreeNotification(this);
  FMenus.push_back(menu);
}

void TDropdownList::Notification(TComponent* component, TOperation operation) {
  TComponent::Notification(component, operation);
  if (operation != TOperation::opRemove) return;
  const auto it = std::find(FMenus.begin(), FMenus.end(), component);
  if (it == FMenus.end()) return;
  FMenus.erase(it);
  if (FMenus.empty()) DestroyMenuOwner();
}

void TDropdownList::CreateMenuOwner() {
  HINSTANCE instance = GetModuleHandleW(nullptr);
  if (!RegisterWindowClass(MenuOwnerClass, MenuOwnerProc))
    throw EOutOfResources("Cannot register the dropdown menus' window class");
  FMenuOwner =
      CreateWindowExW(WS_EX_TOOLWINDOW, MenuOwnerClass, L"", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr, instance, nullptr);
  if (!FMenuOwner) throw EOutOfResources("Cannot create the dropdown menus' window");
  SetWindowLongPtrW(FMenuOwner, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
}

void TDropdownList::DestroyMenuOwner() {
  if (!FMenuOwner) return;
  // Messages still coming while it goes find no list.
  SetWindowLongPtrW(FMenuOwner, GWLP_USERDATA, 0);
  DestroyWindow(std::exchange(FMenuOwner, nullptr));
}

LRESULT CALLBACK TDropdownList::MenuOwnerProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  auto* list = reinterpret_cast<TDropdownList*>(GetWindowLongPtrW(wnd, GWLP_USERDATA));
  if (list) {
    try {
      LRESULT result = 0;
      if (list->HandleMenuMessage(msg, wParam, lParam, result)) return result;
    } catch (const std::exception& e) {
      TApplication::HandleExceptionFromCallback(e);
      return 0;
    }
  }
  return DefWindowProcW(wnd, msg, wParam, lParam);
}

bool TDropdownList::HandleMenuMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  switch (msg) {
  case WM_COMMAND: return DispatchMenuCommand(FMenus, LOWORD(wParam));
  case WM_INITMENUPOPUP: return DispatchMenuPopup(FMenus, reinterpret_cast<HMENU>(wParam));
  case WM_MENUSELECT: return ShowItemHint(wParam, lParam);
  case WM_HELP:
    if (!ShowItemHelp(*reinterpret_cast<const HELPINFO*>(lParam))) return false;
    result = TRUE;
    return true;
  default: return false;
  }
}

bool TDropdownList::ShowItemHint(WPARAM wParam, LPARAM lParam) {
  if (!Application) return false;
  const TMenuItem* item = HighlightedMenuItem(FMenus, wParam, lParam);
  Application->SetHint(item ? item->Hint() : std::string());
  return item != nullptr;
}

bool TDropdownList::ShowItemHelp(const HELPINFO& info) {
  const auto menuHandle = reinterpret_cast<UINT_PTR>(info.hItemHandle);
  if (menuHandle == 0) return false;
  for (size_t i = 0; i < FMenus.size(); ++i) {
    // The menu, or the sub-menu the highlighted item is in (systems differ in which they name).
    TMenuItem* holder = FMenus[i]->FindItem(menuHandle, TFindItemKind::fkHandle);
    if (!holder) continue;
    const TMenuItem* item = FMenus[i]->FindItem(static_cast<UINT_PTR>(info.iCtrlId), TFindItemKind::fkCommand);
    // An item without a context of its own has that of the sub-menu it is in.
    const TMenuItem* subMenu = item && item->ParentItem() ? item->ParentItem() : holder;
    const int context = item && item->HelpContext() != 0 ? item->HelpContext() : subMenu->HelpContext();
    ShowHelp(context);
    return true;
  }
  return false;
}

} // namespace qs
