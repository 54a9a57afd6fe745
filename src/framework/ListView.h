#pragma once
// A report-style list of one-caption rows over the system list view. Rows and columns can be set before the
// window exists and survive a RecreateWnd: while there is no window they live in this object, once the window
// exists they live only in the window (no second copy to keep in step with the user's selection).
#include "WinControl.h"

#include <functional>
#include <string>
#include <vector>

namespace qs {

enum class TSortType { stNone, stText };

using TColumnClickEvent = std::function<void(TComponent* sender, int column)>;
// Fired when a row's selection changes; index -1 means every row at once.
using TSelectItemEvent = std::function<void(TComponent* sender, int index, bool selected)>;

class TListView : public TWinControl {
public:
  static constexpr int DefaultColumnWidth = 50;
  static constexpr int DefaultWidth = 250;
  static constexpr int DefaultHeight = 150;

  explicit TListView(TComponent* owner);
  ~TListView() override;

  // No in-place editing of captions.
  bool ReadOnly() const { return FReadOnly; }
  void SetReadOnly(bool readOnly);
  bool MultiSelect() const { return FMultiSelect; }
  void SetMultiSelect(bool multiSelect);

  // stText sorts the rows at once (ascending, lstrcmpW order) and from then on places every new or
  // renamed row where a re-sort would put it. Rows that compare equal keep no particular order.
  TSortType SortType() const { return FSortType; }
  void SetSortType(TSortType sortType);

  void AddColumn(const std::string& caption, int width = DefaultColumnWidth);
  int ColumnCount() const { return static_cast<int>(FColumns.size()); }

  // The control's own caption stays reachable beside the row captions.
  using TControl::Caption;
  using TControl::SetCaption;

  int Count() const;
  std::string Caption(int index) const;
  void SetCaption(int index, const std::string& text);
  bool Selected(int index) const;
  void SetSelected(int index, bool selected);
  int SelectedCount() const;

  // Appends a row (or, when sorted, puts it in its sorted place) and returns its index.
  int Add(const std::string& text);
  // Adds many rows as one batch: one repaint at the end.
  void AddRange(const std::vector<std::string>& texts);
  void Delete(int index);
  // Deletes every selected row as one batch.
  void DeleteSelected();
  void Clear();

  // Batches of changes paint once, at the last EndUpdate. Calls nest.
  void BeginUpdate();
  void EndUpdate();
  int UpdateCount() const { return FUpdateCount; }

  // BeginUpdate for the life of the lock, so that an exception in a batch never leaves the list frozen.
  class TUpdateLock {
  public:
    explicit TUpdateLock(TListView& list) : FList(list) { FList.BeginUpdate(); }
    ~TUpdateLock() { FList.EndUpdate(); }
    TUpdateLock(const TUpdateLock&) = delete;
    TUpdateLock& operator=(const TUpdateLock&) = delete;

  private:
    TListView& FList;
  };

  TColumnClickEvent OnColumnClick;
  TSelectItemEvent OnSelectItem;

  void WndProc(TMessage& message) override;

protected:
  void CreateParams(TCreateParams& params) override;
  void CreateWindowHandleDone() override;
  void DestroyWindowHandleStart() override;
  virtual void ColumnClick(int column);
  virtual void SelectItem(int index, bool selected);

private:
  struct TColumn {
    std::string Caption;
    int Width;
  };
  // A row kept while there is no window.
  struct TRow {
    std::string Caption;
    bool Selected = false;
  };

  void CheckIndex(int index) const;
  bool HasWindow() const { return HandleIfAllocated() != nullptr; }
  LRESULT ListMessage(UINT msg, WPARAM wParam, LPARAM lParam) const;
  // The row primitives: each works on the window when there is one, else on the kept rows.
  std::wstring RowText(int index) const;
  void InsertRow(int index, const std::string& text, bool selected);
  void WriteRow(int index, const std::wstring& text, bool selected);
  void DeleteRow(int index);
  void InsertColumnInWindow(int index, const TColumn& column);
  int SortedPlace(const std::wstring& text) const;
  void SortRows();
  std::vector<int> SelectedIndexes() const;
  void SaveRows();
  void RestoreRows();
  void SuspendRedraw();
  void ResumeRedraw();
  void Notify(TMessage& message);
  void EndLabelEdit(const NMHDR& header, TMessage& message);

  bool FReadOnly = false;
  bool FMultiSelect = false;
  TSortType FSortType = TSortType::stNone;
  std::vector<TColumn> FColumns;
  std::vector<TRow> FRows;
  int FUpdateCount = 0;
  bool FRedrawSuspended = false;
};

} // namespace qs
