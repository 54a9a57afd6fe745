#pragma once
// A tab control whose tabs are the captions of its tab sheets. Every sheet fills the display area below the
// tabs; only the active one is visible. The sheets are the page control's children and its list of pages at
// once, so a sheet is added with TTabSheet::SetPageControl, never with SetParent alone.
#include "WinControl.h"

#include <vector>

namespace qs {

class TTabSheet;

class TPageControl : public TWinControl {
public:
  explicit TPageControl(TComponent* owner);
  ~TPageControl() override;

  int PageCount() const { return static_cast<int>(FPages.size()); }
  TTabSheet* Pages(int index) const { return FPages.at(static_cast<size_t>(index)); }

  // The first page added becomes the active one. Changing the page from code does not fire OnChange.
  TTabSheet* ActivePage() const { return FActivePage; }
  void SetActivePage(TTabSheet* page);
  // -1 when there is no active page; an index out of range leaves no page active.
  int ActivePageIndex() const;
  void SetActivePageIndex(int index);

  // The area the sheets fill: the client area less the tabs and the frame.
  RECT DisplayRect() const;

  void WndProc(TMessage& message) override;

  // Fired after the user chose another tab.
  TNotifyEvent OnChange;

protected:
  void CreateParams(TCreateParams& params) override;
  void CreateWindowHandleDone() override;
  void AdjustClientRect(RECT& rect) const override;
  void AlignControls() override;
  virtual void Change();

private:
  friend class TTabSheet;
  void InsertPage(TTabSheet* page);
  void RemovePage(TTabSheet* page);
  void UpdateTab(TTabSheet* page);
  int IndexOfPage(const TTabSheet* page) const;
  void InsertTab(int index);
  void ApplyTabHeight();
  void SelectActiveTab();
  void UserSelectedTab();

  std::vector<TTabSheet*> FPages;
  TTabSheet* FActivePage = nullptr;
};

} // namespace qs
