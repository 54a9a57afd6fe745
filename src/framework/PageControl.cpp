#include "PageControl.h"

#include "Exception.h"
#include "TabSheet.h"
#include "Unicode.h"

#include <commctrl.h>

#include <algorithm>

namespace qs {

namespace {

// A tab is this much higher than its text: the height Windows gives tabs. Wine's tab control makes them two
// pixels lower, which would leave every page two pixels taller than the layout it was designed for.
constexpr int TabHeightOverText = 7;

} // namespace

TPageControl::TPageControl(TComponent* owner) : TWinControl(owner) {}

TPageControl::~TPageControl() {
  // The sheets are deleted as our children once this part of us is gone; they must not call back.
  for (TTabSheet* page : FPages) page->FPageControl = nullptr;
  FPages.clear();
  FActivePage = nullptr;
}

void TPageControl::CreateParams(TCreateParams& params) {
  TWinControl::CreateParams(params);
  params.WinClassName = L"QsPageControl";
  params.SysClassName = WC_TABCONTROLW;
  params.Style |= WS_CLIPCHILDREN | WS_TABSTOP;
  // The dialog manager walks into control parents only: without it neither the Tab key nor an accelerator
  // would reach the controls on the pages. The price is that the tab strip itself is no longer a tab stop.
  params.ExStyle |= WS_EX_CONTROLPARENT;
}

void TPageControl::CreateWindowHandleDone() {
  ApplyTabHeight();
  for (int i = 0; i < PageCount(); ++i) InsertTab(i);
  SelectActiveTab();
}

void TPageControl::ApplyTabHeight() {
  // A zero width leaves the tabs as wide as their captions.
  SendMessageW(HandleIfAllocated(), TCM_SETITEMSIZE, 0, MAKELPARAM(0, Font().LineHeight() + TabHeightOverText));
}

int TPageControl::IndexOfPage(const TTabSheet* page) const {
  const auto it = std::find(FPages.begin(), FPages.end(), page);
  return it == FPages.end() ? -1 : static_cast<int>(it - FPages.begin());
}

void TPageControl::InsertTab(int index) {
  std::wstring text = Widen(Pages(index)->Caption());
  TCITEMW item{};
  item.mask = TCIF_TEXT;
  item.pszText = text.data();
  SendMessageW(HandleIfAllocated(), TCM_INSERTITEMW, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item));
}

void TPageControl::UpdateTab(TTabSheet* page) {
  if (!HandleAllocated()) return;
  std::wstring text = Widen(page->Caption());
  TCITEMW item{};
  item.mask = TCIF_TEXT;
  item.pszText = text.data();
  SendMessageW(HandleIfAllocated(), TCM_SETITEMW, static_cast<WPARAM>(IndexOfPage(page)),
               reinterpret_cast<LPARAM>(&item));
}

void TPageControl::SelectActiveTab() {
  if (HWND wnd = HandleIfAllocated()) SendMessageW(wnd, TCM_SETCURSEL, static_cast<WPARAM>(ActivePageIndex()), 0);
}

void TPageControl::InsertPage(TTabSheet* page) {
  FPages.push_back(page);
  if (HandleAllocated()) InsertTab(PageCount() - 1);
  page->SetParent(this);
  if (!FActivePage) SetActivePage(page);
  else page->SetVisible(false);
  // The first tab changes the display area, and a new sheet has not been placed yet.
  Realign();
}

void TPageControl::RemovePage(TTabSheet* page) {
  const int index = IndexOfPage(page);
  if (index < 0) return;
  if (HWND wnd = HandleIfAllocated()) SendMessageW(wnd, TCM_DELETEITEM, static_cast<WPARAM>(index), 0);
  FPages.erase(FPages.begin() + index);
  page->SetVisible(false);
  if (page == FActivePage) {
    FActivePage = nullptr;
    // The page that took the removed one's place, or the new last one.
    if (!FPages.empty()) SetActivePage(FPages[std::min(static_cast<size_t>(index), FPages.size() - 1)]);
  }
  SelectActiveTab();
  Realign();
}

void TPageControl::SetActivePage(TTabSheet* page) {
  if (page == FActivePage) return;
  if (page && page->PageControl() != this)
    throw EInvalidOperation("Tab sheet '" + page->Name() + "' is not a page of '" + Name() + "'");
  TTabSheet* previous = FActivePage;
  FActivePage = page;
  SelectActiveTab();
  // The new page goes up before the old one goes away, so that nothing behind them shows in between.
  if (page) {
    page->BringToFront();
    page->SetVisible(true);
  }
  if (previous) previous->SetVisible(false);
}

int TPageControl::ActivePageIndex() const { return IndexOfPage(FActivePage); }

void TPageControl::SetActivePageIndex(int index) {
  SetActivePage(index >= 0 && index < PageCount() ? Pages(index) : nullptr);
}

void TPageControl::AdjustClientRect(RECT& rect) const {
  if (HWND wnd = HandleIfAllocated()) SendMessageW(wnd, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&rect));
}

RECT TPageControl::DisplayRect() const {
  RECT r = ClientRect();
  AdjustClientRect(r);
  return r;
}

void TPageControl::AlignControls() {
  TWinControl::AlignControls();
  // Every sheet, shown or not, is kept on the display area, so the one that becomes active needs no layout.
  const RECT r = DisplayRect();
  const int width = std::max(0L, r.right - r.left), height = std::max(0L, r.bottom - r.top);
  for (TTabSheet* page : FPages) page->SetBounds(r.left, r.top, width, height);
}

void TPageControl::UserSelectedTab() {
  const int index = static_cast<int>(SendMessageW(HandleIfAllocated(), TCM_GETCURSEL, 0, 0));
  SetActivePageIndex(index);
  Change();
}

void TPageControl::Change() {
  if (OnChange) OnChange(this);
}

void TPageControl::WndProc(TMessage& message) {
  switch (message.Msg) {
  case CN_NOTIFY:
    if (reinterpret_cast<const NMHDR*>(message.LParam)->code == TCN_SELCHANGE) {
      UserSelectedTab();
      message.Result = 0;
      return;
    }
    break;
  case CM_FONTCHANGED:
    // The tabs take the new font's height, and the display area with them.
    TWinControl::WndProc(message);
    if (HandleAllocated()) ApplyTabHeight();
    Realign();
    return;
  default: break;
  }
  TWinControl::WndProc(message);
}

} // namespace qs
