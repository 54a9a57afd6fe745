#include "ListView.h"

#include "Exception.h"
#include "Unicode.h"

#include <commctrl.h>

#include <algorithm>

namespace qs {

namespace {

// Long enough for any ordinary path, so that reading a caption rarely needs a second try.
constexpr int InitialTextCapacity = MAX_PATH + 1;

bool SortsBefore(const std::wstring& a, const std::wstring& b) { return lstrcmpW(a.c_str(), b.c_str()) < 0; }

struct TSortRow {
  std::wstring Text;
  bool Selected;
};

} // namespace

TListView::TListView(TComponent* owner) : TWinControl(owner) { SetBounds(0, 0, DefaultWidth, DefaultHeight); }

TListView::~TListView() = default;

void TListView::CreateParams(TCreateParams& params) {
  TWinControl::CreateParams(params);
  params.WinClassName = L"QsListView";
  params.SysClassName = WC_LISTVIEWW;
  params.Style |= WS_TABSTOP | LVS_REPORT | LVS_SHOWSELALWAYS;
  if (!FReadOnly) params.Style |= LVS_EDITLABELS;
  if (!FMultiSelect) params.Style |= LVS_SINGLESEL;
  params.ExStyle |= WS_EX_CLIENTEDGE;
}

void TListView::CreateWindowHandleDone() {
  for (size_t i = 0; i < FColumns.size(); ++i) InsertColumnInWindow(static_cast<int>(i), FColumns[i]);
  if (FUpdateCount > 0) SuspendRedraw();
  RestoreRows();
}

void TListView::DestroyWindowHandleStart() {
  for (size_t i = 0; i < FColumns.size(); ++i)
    FColumns[i].Width = static_cast<int>(ListMessage(LVM_GETCOLUMNWIDTH, i, 0));
  SaveRows();
  FRedrawSuspended = false;
}

void TListView::SetReadOnly(bool readOnly) {
  if (readOnly == FReadOnly) return;
  FReadOnly = readOnly;
  RecreateWnd();
}

void TListView::SetMultiSelect(bool multiSelect) {
  if (multiSelect == FMultiSelect) return;
  FMultiSelect = multiSelect;
  RecreateWnd();
}

void TListView::SetSortType(TSortType sortType) {
  if (sortType == FSortType) return;
  FSortType = sortType;
  if (FSortType == TSortType::stText) SortRows();
}

void TListView::AddColumn(const std::string& caption, int width) {
  FColumns.push_back(TColumn{caption, width});
  if (HasWindow()) InsertColumnInWindow(ColumnCount() - 1, FColumns.back());
}

void TListView::InsertColumnInWindow(int index, const TColumn& column) {
  std::wstring caption = Widen(column.Caption);
  LVCOLUMNW col{};
  col.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM;
  col.cx = column.Width;
  col.pszText = caption.data();
  col.iSubItem = index;
  ListMessage(LVM_INSERTCOLUMNW, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&col));
}

// Our own requests go straight to the list's class procedure. Sent, each would first pass the framework's
// window procedure, whose window-property lookup is a server round trip under Wine (about 15 us, against
// well under 1 us for the request itself), and a large batch makes hundreds of thousands of requests.
LRESULT TListView::ListMessage(UINT msg, WPARAM wParam, LPARAM lParam) const {
  return CallWindowProcW(DefWndProc(), HandleIfAllocated(), msg, wParam, lParam);
}

// ---- rows

int TListView::Count() const {
  if (!HasWindow()) return static_cast<int>(FRows.size());
  return static_cast<int>(ListMessage(LVM_GETITEMCOUNT, 0, 0));
}

void TListView::CheckIndex(int index) const {
  if (index < 0 || index >= Count())
    throw EInvalidOperation("List index out of bounds (" + std::to_string(index) + ")");
}

std::string TListView::Caption(int index) const {
  CheckIndex(index);
  if (!HasWindow()) return FRows[static_cast<size_t>(index)].Caption;
  return Narrow(RowText(index));
}

void TListView::SetCaption(int index, const std::string& text) {
  CheckIndex(index);
  if (FSortType == TSortType::stText) {
    // A renamed row moves to where a re-sort would put it.
    const bool selected = Selected(index);
    TUpdateLock lock(*this);
    DeleteRow(index);
    InsertRow(SortedPlace(Widen(text)), text, selected);
    return;
  }
  WriteRow(index, Widen(text), Selected(index));
}

bool TListView::Selected(int index) const {
  CheckIndex(index);
  if (!HasWindow()) return FRows[static_cast<size_t>(index)].Selected;
  return ListMessage(LVM_GETITEMSTATE, static_cast<WPARAM>(index), LVIS_SELECTED) != 0;
}

void TListView::SetSelected(int index, bool selected) {
  CheckIndex(index);
  if (HasWindow()) {
    LVITEMW item{};
    item.stateMask = LVIS_SELECTED;
    item.state = selected ? LVIS_SELECTED : 0;
    ListMessage(LVM_SETITEMSTATE, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item));
    return;
  }
  // Without a window, single selection is ours to keep.
  if (selected && !FMultiSelect)
    for (TRow& row : FRows) row.Selected = false;
  FRows[static_cast<size_t>(index)].Selected = selected;
}

int TListView::SelectedCount() const {
  if (!HasWindow())
    return static_cast<int>(std::count_if(FRows.begin(), FRows.end(), [](const TRow& r) { return r.Selected; }));
  return static_cast<int>(ListMessage(LVM_GETSELECTEDCOUNT, 0, 0));
}

std::vector<int> TListView::SelectedIndexes() const {
  std::vector<int> result;
  if (!HasWindow()) {
    for (size_t i = 0; i < FRows.size(); ++i)
      if (FRows[i].Selected) result.push_back(static_cast<int>(i));
    return result;
  }
  // The list finds the next selected row itself: one message per selected row, not one per row.
  result.reserve(static_cast<size_t>(ListMessage(LVM_GETSELECTEDCOUNT, 0, 0)));
  for (int i = -1; (i = static_cast<int>(ListMessage(LVM_GETNEXTITEM, static_cast<WPARAM>(i), LVNI_SELECTED))) >= 0;)
    result.push_back(i);
  return result;
}

int TListView::Add(const std::string& text) {
  const int index = FSortType == TSortType::stText ? SortedPlace(Widen(text)) : Count();
  InsertRow(index, text, false);
  return index;
}

void TListView::AddRange(const std::vector<std::string>& texts) {
  if (texts.empty()) return;
  TUpdateLock lock(*this);
  const size_t total = static_cast<size_t>(Count()) + texts.size();
  if (HasWindow()) ListMessage(LVM_SETITEMCOUNT, total, LVSICF_NOINVALIDATEALL);
  else FRows.reserve(total);
  for (const std::string& text : texts) Add(text);
}

void TListView::Delete(int index) {
  CheckIndex(index);
  DeleteRow(index);
}

void TListView::DeleteSelected() {
  if (!HasWindow()) {
    std::erase_if(FRows, [](const TRow& r) { return r.Selected; });
    return;
  }
  const std::vector<int> doomed = SelectedIndexes();
  if (doomed.empty()) return;
  TUpdateLock lock(*this);
  // From the end, so that the indexes still to go stay valid and the list moves the fewest rows.
  for (auto it = doomed.rbegin(); it != doomed.rend(); ++it) DeleteRow(*it);
}

void TListView::Clear() {
  if (!HasWindow()) {
    FRows.clear();
    return;
  }
  TUpdateLock lock(*this);
  ListMessage(LVM_DELETEALLITEMS, 0, 0);
}

// ---- row primitives

std::wstring TListView::RowText(int index) const {
  if (!HasWindow()) return Widen(FRows[static_cast<size_t>(index)].Caption);
  std::wstring buffer(static_cast<size_t>(InitialTextCapacity), L'\0');
  for (;;) {
    LVITEMW item{};
    item.pszText = buffer.data();
    item.cchTextMax = static_cast<int>(buffer.size());
    const auto length =
        static_cast<size_t>(ListMessage(LVM_GETITEMTEXTW, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item)));
    // A full buffer may mean a cut caption: try again with more room.
    if (length + 1 < buffer.size()) {
      buffer.resize(length);
      return buffer;
    }
    buffer.resize(buffer.size() * 2);
  }
}

void TListView::InsertRow(int index, const std::string& text, bool selected) {
  if (!HasWindow()) {
    if (selected && !FMultiSelect)
      for (TRow& row : FRows) row.Selected = false;
    FRows.insert(FRows.begin() + index, TRow{text, selected});
    return;
  }
  std::wstring caption = Widen(text);
  LVITEMW item{};
  item.mask = LVIF_TEXT | LVIF_STATE;
  item.iItem = index;
  item.pszText = caption.data();
  item.stateMask = LVIS_SELECTED;
  item.state = selected ? LVIS_SELECTED : 0;
  if (ListMessage(LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item)) < 0)
    throw EOutOfResources("Unable to insert a row into '" + Name() + "'");
}

void TListView::WriteRow(int index, const std::wstring& text, bool selected) {
  if (!HasWindow()) {
    FRows[static_cast<size_t>(index)] = TRow{Narrow(text), selected};
    return;
  }
  std::wstring caption = text;
  LVITEMW item{};
  item.pszText = caption.data();
  ListMessage(LVM_SETITEMTEXTW, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item));
  item.stateMask = LVIS_SELECTED;
  item.state = selected ? LVIS_SELECTED : 0;
  ListMessage(LVM_SETITEMSTATE, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item));
}

void TListView::DeleteRow(int index) {
  if (!HasWindow()) FRows.erase(FRows.begin() + index);
  else ListMessage(LVM_DELETEITEM, static_cast<WPARAM>(index), 0);
}

// The first place whose caption sorts after `text`: inserting there keeps the order a full sort would give.
int TListView::SortedPlace(const std::wstring& text) const {
  int low = 0;
  int high = Count();
  while (low < high) {
    const int middle = low + (high - low) / 2;
    if (SortsBefore(text, RowText(middle))) high = middle;
    else low = middle + 1;
  }
  return low;
}

void TListView::SortRows() {
  const int count = Count();
  std::vector<TSortRow> rows;
  rows.reserve(static_cast<size_t>(count));
  for (int i = 0; i < count; ++i) rows.push_back(TSortRow{RowText(i), false});
  for (int i : SelectedIndexes()) rows[static_cast<size_t>(i)].Selected = true;
  std::vector<TSortRow> sorted = rows;
  std::sort(sorted.begin(), sorted.end(),
            [](const TSortRow& a, const TSortRow& b) { return SortsBefore(a.Text, b.Text); });
  TUpdateLock lock(*this);
  // Rows already in place are left alone: every write is a change the list reports.
  for (size_t i = 0; i < sorted.size(); ++i)
    if (sorted[i].Text != rows[i].Text || sorted[i].Selected != rows[i].Selected)
      WriteRow(static_cast<int>(i), sorted[i].Text, sorted[i].Selected);
}

void TListView::SaveRows() {
  const int count = Count();
  std::vector<TRow> rows;
  rows.reserve(static_cast<size_t>(count));
  for (int i = 0; i < count; ++i) rows.push_back(TRow{Narrow(RowText(i)), false});
  for (int i : SelectedIndexes()) rows[static_cast<size_t>(i)].Selected = true;
  FRows = std::move(rows);
}

void TListView::RestoreRows() {
  std::vector<TRow> rows = std::move(FRows);
  FRows.clear();
  if (rows.empty()) return;
  TUpdateLock lock(*this);
  ListMessage(LVM_SETITEMCOUNT, rows.size(), LVSICF_NOINVALIDATEALL);
  for (size_t i = 0; i < rows.size(); ++i) InsertRow(static_cast<int>(i), rows[i].Caption, rows[i].Selected);
}

// ---- redrawing

void TListView::BeginUpdate() {
  if (FUpdateCount++ == 0) SuspendRedraw();
}

void TListView::EndUpdate() {
  if (FUpdateCount == 0) return;
  if (--FUpdateCount == 0) ResumeRedraw();
}

// WM_SETREDRAW also clears and sets WS_VISIBLE, so it is used only on a window that is visible now, and a
// control hidden in the meantime is hidden again afterwards.
void TListView::SuspendRedraw() {
  HWND wnd = HandleIfAllocated();
  if (!wnd || FRedrawSuspended || !(GetWindowLongPtrW(wnd, GWL_STYLE) & WS_VISIBLE)) return;
  ListMessage(WM_SETREDRAW, FALSE, 0);
  FRedrawSuspended = true;
}

void TListView::ResumeRedraw() {
  HWND wnd = HandleIfAllocated();
  if (!wnd || !FRedrawSuspended) return;
  FRedrawSuspended = false;
  ListMessage(WM_SETREDRAW, TRUE, 0);
  if (!Visible()) ShowWindow(wnd, SW_HIDE);
  ::InvalidateRect(wnd, nullptr, TRUE);
}

// ---- notifications

void TListView::WndProc(TMessage& message) {
  if (message.Msg == CN_NOTIFY) {
    Notify(message);
    return;
  }
  TWinControl::WndProc(message);
}

void TListView::Notify(TMessage& message) {
  const auto* header = reinterpret_cast<const NMHDR*>(message.LParam);
  switch (header->code) {
  case LVN_COLUMNCLICK: ColumnClick(reinterpret_cast<const NMLISTVIEW*>(header)->iSubItem); break;
  case LVN_ITEMCHANGED: {
    const auto* change = reinterpret_cast<const NMLISTVIEW*>(header);
    if ((change->uChanged & LVIF_STATE) && ((change->uNewState ^ change->uOldState) & LVIS_SELECTED))
      SelectItem(change->iItem, (change->uNewState & LVIS_SELECTED) != 0);
    break;
  }
  case LVN_DELETEALLITEMS:
    // No LVN_DELETEITEM per row: nothing of ours hangs on a row.
    message.Result = TRUE;
    break;
  case LVN_ENDLABELEDITW: EndLabelEdit(*header, message); break;
  default: break;
  }
}

void TListView::EndLabelEdit(const NMHDR& header, TMessage& message) {
  const auto& info = reinterpret_cast<const NMLVDISPINFOW&>(header);
  message.Result = FALSE;
  if (!info.item.pszText) return; // cancelled
  if (FSortType != TSortType::stText) {
    message.Result = TRUE;
    return;
  }
  // A sorted list places the renamed row itself; the list must not then write the text into the old place.
  SetCaption(info.item.iItem, Narrow(info.item.pszText));
}

void TListView::ColumnClick(int column) {
  if (OnColumnClick) OnColumnClick(this, column);
}

void TListView::SelectItem(int index, bool selected) {
  if (OnSelectItem) OnSelectItem(this, index, selected);
}

} // namespace qs
