#include "TB97Toolbar.h"

#include "TB97Dock.h"
#include "TB97ListSort.h"
#include "TB97ToolbarSep.h"

#include <algorithm>

namespace qs {

TCustomToolbar97::TCustomToolbar97(TComponent* owner) : TCustomToolWindow97(owner) { ReadWindowParams(); }

void TCustomToolbar97::GetWindowParams(TToolWindowParams& params) {
  // The children are never aligned by the framework, and the floating frame sizes only at its edges.
  params.AlignChildControls = false;
  params.CornerSizing = false;
  params.ConfineCursorWhileSizing = false;
}

void TCustomToolbar97::SetFloatRightX(int width) {
  if (width == FFloatRightX) return;
  FFloatRightX = width;
  ArrangeAndResize();
}

std::vector<TControl*> TCustomToolbar97::ShownChildrenInOrder() const {
  std::vector<TControl*> children;
  for (TControl* child : FChildOrder)
    if (child->Visible()) children.push_back(child);
  return children;
}

bool TCustomToolbar97::IsChildDragTransparent(TControl* child) { return dynamic_cast<TToolbarSep97*>(child); }

std::vector<TToolbarChild> TCustomToolbar97::LayoutInput() const {
  std::vector<TToolbarChild> children;
  children.reserve(FChildOrder.size());
  for (size_t i = 0; i < FChildOrder.size(); ++i) {
    const TControl* c = FChildOrder[i];
    TToolbarChild child;
    child.Tag = static_cast<int>(i);
    child.Shown = c->Visible();
    child.Width = c->Width();
    child.Height = c->Height();
    if (const auto* sep = dynamic_cast<const TToolbarSep97*>(c)) {
      child.IsSeparator = true;
      child.SizeHorz = sep->SizeHorz();
      child.SizeVert = sep->SizeVert();
      child.Blank = sep->Blank();
    }
    children.push_back(child);
  }
  return children;
}

int TCustomToolbar97::GetDockedThickness(TDockOrientation orientation) {
  return ToolbarDockedThickness(LayoutInput(), orientation);
}

void TCustomToolbar97::LayoutChildren(bool moveControls, TDockOrientation, TIntSize& clientSize, TDock97* dockingTo) {
  TToolbarLayoutParams params;
  params.Orientation = DockOrientation(dockingTo);
  params.FloatRightX = FFloatRightX;
  if (dockingTo && dockingTo == DockedTo()) {
    dockingTo->BuildRowThicknesses();
    params.CrossSize = dockingTo->GetRowThickness(DockRow(), this);
  }
  const std::vector<TToolbarChild> children = LayoutInput();
  if (!moveControls) {
    clientSize = MeasureToolbar(children, params);
    return;
  }
  TToolbarLayout layout = LayoutToolbar(children, params);
  for (const TToolbarPlacement& placement : layout.Placements) {
    TControl* control = FChildOrder.at(static_cast<size_t>(placement.Tag));
    const TIntRect& r = placement.Bounds;
    control->SetBounds(r.Left, r.Top, r.Width(), r.Height());
  }
  FSegments = std::move(layout.Segments);
  FRowLines = std::move(layout.RowLines);
  clientSize = layout.ClientSize;
  Invalidate();
}

void TCustomToolbar97::SortChildOrderByPosition() {
  const bool vertical = DockOrientation(DockedTo()) == doVertical;
  ListSort(
      FChildOrder,
      [](TControl* a, TControl* b, bool byTop) {
        const int pa = byTop ? a->Top() : a->Left(), pb = byTop ? b->Top() : b->Left();
        return pa < pb ? -1 : pa > pb ? 1 : 0;
      },
      vertical);
}

void TCustomToolbar97::AfterLoaded() {
  TCustomToolWindow97::AfterLoaded();
  if (OrderByPositionOnLoad) SortChildOrderByPosition();
}

void TCustomToolbar97::WndProc(TMessage& message) {
  if (message.Msg == CM_CONTROLCHANGE) {
    TCustomToolWindow97::WndProc(message);
    auto* control = reinterpret_cast<TControl*>(message.WParam);
    std::erase(FChildOrder, control);
    if (message.LParam) FChildOrder.push_back(control);
    return;
  }
  TCustomToolWindow97::WndProc(message);
}

void TCustomToolbar97::Paint() {
  TCustomToolWindow97::Paint();
  DrawRowLines();
}

void TCustomToolbar97::DrawRowLines() {
  if (Docked()) return;
  const int right = ClientRect().right - 1;
  for (const TToolbarRowLine& line : FRowLines) {
    if (line.Blank) continue;
    Canvas().SetPenColor(clBtnShadow);
    Canvas().Line(1, line.Y - RowLineShadowOffset, right, line.Y - RowLineShadowOffset);
    Canvas().SetPenColor(clBtnHighlight);
    Canvas().Line(1, line.Y - RowLineHighlightOffset, right, line.Y - RowLineHighlightOffset);
  }
}

// ---- the floating resize snaps to the layouts

void TCustomToolbar97::SizingBegins(int hitTest) {
  TCustomToolWindow97::SizingBegins(hitTest);
  FSizing = BeginToolbarSizing(LayoutInput(), hitTest, FFloatRightX, TIntSize{Width(), Height()}, FrameMetrics(),
                               CaptionHeight());
}

void TCustomToolbar97::SizingRectChanged(RECT& newRect, const RECT& startRect) {
  TCustomToolWindow97::SizingRectChanged(newRect, startRect);
  if (!FSizing) return;
  const POINT origin = ClientOrigin();
  POINT cursor{};
  GetCursorPos(&cursor);
  newRect = ToRect(ToolbarSizingRect(*FSizing, ToIntRect(startRect), ToIntRect(BoundsRect()), origin.x - Left(),
                                     TIntPoint{cursor.x, cursor.y}));
}

void TCustomToolbar97::SizingEnds(bool accepted) {
  TCustomToolWindow97::SizingEnds(accepted);
  if (!FSizing) return;
  if (accepted) FFloatRightX = FSizing->ResultingWrapWidth;
  FSizing.reset();
}

} // namespace qs
