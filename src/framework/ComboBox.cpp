#include "ComboBox.h"

#include "Canvas.h"
#include "Unicode.h"

namespace qs {

namespace {

// The open list's frame: one pixel above and below the items.
constexpr int ListBorderHeight = 2;

} // namespace

TComboBox::TComboBox(TComponent* owner) : TWinControl(owner) {
  // The system box reports its own clicks; the generic mouse handling must not add a second one.
  SetControlStyle(ControlStyle() & ~csClickEvents);
}

void TComboBox::CreateParams(TCreateParams& params) {
  TWinControl::CreateParams(params);
  params.WinClassName = L"QsComboBox";
  params.SysClassName = L"COMBOBOX";
  params.Style |= CBS_DROPDOWN | CBS_AUTOHSCROLL | WS_VSCROLL | WS_TABSTOP;
  // A drop-down combo box takes the height it is made with as the size of its open list and sets its own
  // closed height from the font.
  params.Height = Height() + DropDownHeight();
}

void TComboBox::CreateWindowHandleDone() {
  FillList();
  SetWindowTextW(HandleIfAllocated(), Widen(FText).c_str());
}

void TComboBox::DestroyWindowHandleStart() { FText = Text(); }

int TComboBox::DropDownHeight() const {
  int itemHeight = 0;
  if (HWND wnd = HandleIfAllocated()) {
    itemHeight = static_cast<int>(SendMessageW(wnd, CB_GETITEMHEIGHT, 0, 0));
  } else {
    itemHeight = Font().LineHeight();
  }
  return DropDownCount * itemHeight + ListBorderHeight;
}

void TComboBox::SetBounds(int left, int top, int width, int height) {
  if (left == Left() && top == Top() && width == Width() && height == Height()) return;
  SetBoundsFields(left, top, width, height);
  if (HWND wnd = HandleIfAllocated())
    SetWindowPos(wnd, nullptr, left, top, width, height + DropDownHeight(), SWP_NOZORDER | SWP_NOACTIVATE);
  RequestAlign();
}

void TComboBox::SetItems(const std::vector<std::string>& items) {
  if (items == FItems) return;
  FItems = items;
  if (!HandleAllocated()) return;
  // Emptying the list also empties the edit field; the text is not the list's to lose.
  const std::string text = Text();
  FillList();
  SetWindowTextW(HandleIfAllocated(), Widen(text).c_str());
}

void TComboBox::FillList() {
  HWND wnd = HandleIfAllocated();
  SendMessageW(wnd, CB_RESETCONTENT, 0, 0);
  for (const std::string& item : FItems)
    SendMessageW(wnd, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Widen(item).c_str()));
}

void TComboBox::WndProc(TMessage& message) {
  switch (message.Msg) {
  case CN_COMMAND:
    HandleCommand(HIWORD(message.WParam));
    message.Result = 0;
    return;
  case WM_SIZE:
  case WM_WINDOWPOSCHANGED: {
    // The system decides the closed height; Height() keeps what the layout gave, so a layout read back
    // from the controls is the layout that was written.
    const int height = Height();
    TWinControl::WndProc(message);
    SetBoundsFields(Left(), Top(), Width(), height);
    return;
  }
  default: TWinControl::WndProc(message);
  }
}

void TComboBox::HandleCommand(WORD code) {
  switch (code) {
  case CBN_EDITCHANGE:
    FText = Text();
    Change();
    break;
  case CBN_SELCHANGE: {
    // The edit field still shows the old text while the list reports the new choice.
    const auto index = SendMessageW(HandleIfAllocated(), CB_GETCURSEL, 0, 0);
    if (index < 0 || static_cast<size_t>(index) >= FItems.size()) break;
    FText = FItems[static_cast<size_t>(index)];
    SetWindowTextW(HandleIfAllocated(), Widen(FText).c_str());
    Change();
    break;
  }
  default: break;
  }
}

void TComboBox::Change() {
  if (OnChange) OnChange(this);
}

} // namespace qs
