#pragma once
// The toolbar: a tool window that lays its buttons and separators out in one line along its dock, or in rows
// that wrap at a chosen width while it floats, with etched lines between wrapped rows, and whose floating resize
// snaps to the widths at which that layout changes. TToolbar97 is the class placed on forms.
#include "TB97TlbrLayout.h"
#include "TB97ToolWindow.h"

#include <optional>
#include <vector>

namespace qs {

class TCustomToolbar97 : public TCustomToolWindow97 {
public:
  explicit TCustomToolbar97(TComponent* owner);

  // The wrap width of the floating layout in client pixels; 0 = one row. Changed by an accepted resize.
  int FloatRightX() const { return FFloatRightX; }
  void SetFloatRightX(int width);
  // The order the children are laid out in.
  const std::vector<TControl*>& ChildOrder() const { return FChildOrder; }
  const std::vector<TToolbarRowLine>& RowLines() const { return FRowLines; }
  const std::vector<TToolbarSegment>& Segments() const { return FSegments; }

  std::vector<TControl*> ShownChildrenInOrder() const override;
  bool IsChildDragTransparent(TControl* child) override;
  int GetDockedThickness(TDockOrientation orientation) override;
  TIntSize GetMinimumClientSize() override { return TIntSize{0, 0}; }
  void LayoutChildren(bool moveControls, TDockOrientation previousOrientation, TIntSize& clientSize,
                      TDock97* dockingTo) override;

  void WndProc(TMessage& message) override;

protected:
  void GetWindowParams(TToolWindowParams& params) override;
  void AfterLoaded() override;
  void SizingBegins(int hitTest) override;
  void SizingEnds(bool accepted) override;
  void SizingRectChanged(RECT& newRect, const RECT& startRect) override;
  void Paint() override;

private:
  friend class TToolbarSep97;
  std::vector<TToolbarChild> LayoutInput() const;
  void SortChildOrderByPosition();
  void DrawRowLines();

  // After loading, the children are ordered by their stored positions.
  static constexpr bool OrderByPositionOnLoad = true;
  int FFloatRightX = 0;
  std::optional<TToolbarSizing> FSizing;
  std::vector<TToolbarSegment> FSegments;
  std::vector<TToolbarRowLine> FRowLines;
  std::vector<TControl*> FChildOrder;
};

// The toolbar as placed on a form: nothing beyond its base.
class TToolbar97 : public TCustomToolbar97 {
public:
  using TCustomToolbar97::TCustomToolbar97;
};

} // namespace qs
