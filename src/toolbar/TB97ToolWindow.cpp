// Tool window: properties, re-parenting between docks and the floating state, the child layout and the
// window's own bounds, and the message switch.
#include "TB97ToolWindow.h"

#include "Exception.h"
#include "Form.h"
#include "TB97Accessible.h"
#include "TB97Dock.h"
#include "TB97FloatingParent.h"

#include <utility>

namespace qs {

namespace {

// A window placed over a fresh dock row comes first in row 0: below every position an arrangement gives.
constexpr int DockPosBeforeEveryBar = -8;

} // namespace

TCustomToolWindow97::TCustomToolWindow97(TComponent* owner) : TCustomControl(owner) {
  SetColor(clBtnFace);
  SetParentColor(false);
  GetWindowParams(FParams);
  AddHookClient(&HookProc, {THookKind::hkActivateApp, THookKind::hkWindowPosChanged, THookKind::hkDestroyWindow},
                false);
}

TCustomToolWindow97::~TCustomToolWindow97() {
  Destroying();
  RemoveHookClient(&HookProc);
  LeaveFloatingList(this);
  // The dock arranges its other bars without this one, before this one is only half a window.
  if (TDock97* dock = std::exchange(FDockedTo, nullptr)) dock->InsertOrRemoveBar(false, this, false);
  // The window goes with the control, before the floating parent it sits in.
  if (TFloatingWindowParent* floatParent = std::exchange(FFloatParent, nullptr)) {
    if (Parent() == floatParent) TCustomControl::SetParent(nullptr);
    delete floatParent;
  }
}

// ---- properties

void TCustomToolWindow97::SetBorderStyle(TToolWindowBorderStyle style) {
  if (style == FBorderStyle) return;
  FBorderStyle = style;
  if (Docked()) FrameChanged();
}

void TCustomToolWindow97::SetCloseButton(bool closeButton) {
  if (closeButton == FCloseButton) return;
  FCloseButton = closeButton;
  RedrawFloatingParts(true, true);
}

void TCustomToolWindow97::SetDefaultDock(TDock97* dock) {
  if (dock == FDefaultDock) return;
  if (FDefaultDock) FDefaultDock->RemoveFreeNotification(this);
  FDefaultDock = dock;
  if (dock) dock->FreeNotification(this);
}

void TCustomToolWindow97::SetDockedTo(TDock97* dock) {
  if (dock) {
    SetParent(dock);
    return;
  }
  TForm* form = OwnForm();
  if (!form) throw EInvalidOperation("Control '" + Name() + "' has no parent window");
  SetParent(form);
}

void TCustomToolWindow97::SetDockPos(int pos) {
  if (pos == FDockPos) return;
  FDockPos = pos;
  if (Docked()) FDockedTo->ArrangeBars();
}

void TCustomToolWindow97::SetDockRow(int row) {
  if (row == FDockRow) return;
  FDockRow = row;
  if (Docked()) FDockedTo->ArrangeBars();
}

void TCustomToolWindow97::SetDragHandleStyle(TDragHandleStyle style) {
  if (style == FDragHandleStyle) return;
  FDragHandleStyle = style;
  if (Docked()) FrameChanged();
}

void TCustomToolWindow97::SetFullSize(bool fullSize) {
  if (fullSize == FFullSize) return;
  FFullSize = fullSize;
  ArrangeAndResize();
}

void TCustomToolWindow97::SetHideWhenInactive(bool hide) {
  if (hide == FHideWhenInactive) return;
  FHideWhenInactive = hide;
  UpdateVisibility();
}

void TCustomToolWindow97::SetFloatSizable(bool sizable) {
  if (sizable == FFloatSizable) return;
  FFloatSizable = sizable;
  if (!Docked()) RecreateWnd();
}

TForm* TCustomToolWindow97::OwnForm() const {
  if (FFloatParent && Parent() == FFloatParent) return FFloatParent->ParentForm();
  return GetParentForm(Parent());
}

// ---- re-parenting

TWinControl* TCustomToolWindow97::FloatParentFor(TWinControl* form) {
  auto* target = static_cast<TForm*>(form);
  if (FFloatParent && FFloatParent->ParentForm() == target) return FFloatParent;
  auto* floatParent = new TFloatingWindowParent(target);
  FFloatParent = floatParent;
  target->FreeNotification(this);
  return floatParent;
}

void TCustomToolWindow97::SetParent(TWinControl* parent) {
  const bool isForm = dynamic_cast<TForm*>(parent) != nullptr;
  if (parent && !dynamic_cast<TDock97*>(parent) && !isForm)
    throw EInvalidOperation("A tool window can only be placed on a TDock97 or directly on the form");
  TWinControl* newParent = parent;
  // A form means floating over it: the window's real parent is the form's floating parent.
  if (isForm && !dynamic_cast<TFloatingWindowParent*>(parent)) newParent = FloatParentFor(parent);
  ReparentTo(newParent);
}

void TCustomToolWindow97::ReparentTo(TWinControl* newParent) {
  TWinControl* oldParent = Parent();
  auto* newDock = dynamic_cast<TDock97*>(newParent);
  if (newParent == oldParent) {
    FDockedTo = newDock;
    RegisterFloating();
    return;
  }
  if (!IsDestroying()) {
    if (newParent && OnDockChanging) OnDockChanging(this);
    if (oldParent && OnRecreating) OnRecreating(this);
  }
  {
    ++FMoveEventLevel;
    ++FHiddenLevel;
    struct TUnwind {
      TCustomToolWindow97* Self;
      TDock97* Dock;
      ~TUnwind() {
        --Self->FUpdatingBounds;
        if (Dock) Dock->EndArrange();
        --Self->FMoveEventLevel;
        --Self->FHiddenLevel;
        Self->UpdateVisibility();
      }
    } unwind{this, nullptr};
    UpdateVisibility();
    if (newDock) {
      newDock->BeginArrange();
      unwind.Dock = newDock;
    }
    ++FUpdatingBounds;
    // The children are laid out for the new place before the window arrives there.
    if (newParent && FLastOrientationValid) ArrangeAndResizeCore(false, FLastOrientation, newDock);
    BeginChildLayout();
    if (auto* oldDock = dynamic_cast<TDock97*>(oldParent)) oldDock->InsertOrRemoveBar(false, this, Visible());
    TCustomControl::SetParent(nullptr);
    FDockedTo = newDock;
    try {
      TCustomControl::SetParent(newParent);
    } catch (...) {
      FDockedTo = dynamic_cast<TDock97*>(Parent());
      EndChildLayout();
      throw;
    }
    if (auto* oldFloat = dynamic_cast<TFloatingWindowParent*>(oldParent)) {
      if (oldFloat == FFloatParent) FFloatParent = nullptr;
      delete oldFloat;
    }
    if (newDock) newDock->InsertOrRemoveBar(true, this, Visible());
    RegisterFloating();
    EndChildLayout();
    if (Parent()) {
      FLastOrientation = DockOrientation(newDock);
      FLastOrientationValid = true;
    }
  }
  AnnounceAccessibleChanges();
  if (Parent()) DoMove();
  if (!IsDestroying() && newParent) {
    if (OnRecreated) OnRecreated(this);
    if (OnDockChanged) OnDockChanged(this);
  }
}

void TCustomToolWindow97::DoubleClicked() {
  if (Docked()) {
    SetDockedTo(nullptr);
  } else if (FDefaultDock) {
    FDockRow = 0;
    FDockPos = DockPosBeforeEveryBar;
    SetParent(FDefaultDock);
  }
}

// ---- layout

void TCustomToolWindow97::EndChildLayout() {
  if (--FChildLayoutLevel == 0 && FChildLayoutPending) ArrangeAndResize();
}

void TCustomToolWindow97::ArrangeAndResize() {
  const bool parentGoing = Parent() && Parent()->HandleAllocated() && Parent()->IsDestroying();
  if (FChildLayoutLevel > 0 || IsLoading() || IsDestroying() || !Parent() || parentGoing) {
    FChildLayoutPending = true;
    return;
  }
  FChildLayoutPending = false;
  ArrangeAndResizeCore(true, DockOrientation(FDockedTo), FDockedTo);
  AnnounceAccessibleChanges();
}

void TCustomToolWindow97::ArrangeAndResizeCore(bool resize, TDockOrientation previousOrientation, TDock97* target) {
  TCounterLock lock(FChildLayoutLevel);
  TIntSize size;
  LayoutChildren(true, previousOrientation, size, target);
  if (!resize) return;
  // The client size the window has now, negative when the window is smaller than its frame.
  const TIntSize current = ClientSizeFor(TIntSize{Width(), Height()});
  if (Docked()) {
    FDockedTo->BuildRowThicknesses();
    const int rowThickness = FDockedTo->GetRowThickness(FDockRow, this);
    const RECT dockClient = FDockedTo->ClientRect();
    const TIntSize frame{Width() - current.Width, Height() - current.Height};
    size = DockedClientSizeInRow(
        size, FDockedTo->Position() == dpLeft || FDockedTo->Position() == dpRight, rowThickness, FFullSize,
        TIntSize{dockClient.right - dockClient.left, dockClient.bottom - dockClient.top}, frame);
  }
  const int dw = size.Width - current.Width, dh = size.Height - current.Height;
  if (dw == 0 && dh == 0) return;
  TCounterLock updating(FUpdatingBounds);
  SetBounds(Left(), Top(), Width() + dw, Height() + dh);
}

TIntSize TCustomToolWindow97::ClientSizeFor(TIntSize windowSize) const {
  if (FDockedTo) {
    const TIntRect r =
        DockedClientRect(windowSize, IsVerticalDock(FDockedTo->Position()), FDockedTo->AllowDrag(), FDragHandleStyle);
    return TIntSize{r.Width(), r.Height()};
  }
  if (FFloatParent && Parent() == FFloatParent) {
    const TIntRect r = FloatingClientRect(windowSize, FrameMetrics(), CaptionHeight());
    return TIntSize{r.Width(), r.Height()};
  }
  return windowSize;
}

RECT TCustomToolWindow97::ClientRect() const {
  const TIntSize size = ClientSizeFor(TIntSize{Width(), Height()});
  return RECT{0, 0, std::max(0, size.Width), std::max(0, size.Height)};
}

void TCustomToolWindow97::AlignControls() {
  if (FParams.AlignChildControls) TCustomControl::AlignControls();
  ArrangeAndResize();
}

// Every child's move, resize or visibility change lays the window out again, but for the children's placing by
// the layout itself.
void TCustomToolWindow97::AlignControl(TControl*) {
  if (FChildLayoutLevel == 0) Realign();
}

void TCustomToolWindow97::SetBounds(int left, int top, int width, int height) {
  if (FUpdatingBounds == 0 && (width != Width() || height != Height())) SizeChanging(width, height);
  TCustomControl::SetBounds(left, top, width, height);
  if (!Docked() && Parent() && !IsLoading() && FUpdatingBounds == 0) FFloatingPosition = POINT{Left(), Top()};
}

void TCustomToolWindow97::Loaded() {
  TCustomControl::Loaded();
  AfterLoaded();
  ArrangeAndResize();
}

void TCustomToolWindow97::Notification(TComponent* component, TOperation operation) {
  TCustomControl::Notification(component, operation);
  if (operation != TOperation::opRemove) return;
  if (component == FDefaultDock) FDefaultDock = nullptr;
  if (FFloatParent && component == FFloatParent->ParentForm()) {
    // The form this window floats over goes: so does the floating parent, and the window with it unless it
    // sits elsewhere.
    if (Parent() == FFloatParent) {
      LeaveFloatingList(this);
      TCustomControl::SetParent(nullptr);
      FDockedTo = nullptr;
    }
    delete std::exchange(FFloatParent, nullptr);
  }
}

void TCustomToolWindow97::DoMove() {
  if (IsLoading() || FMoveEventLevel > 0) return;
  if (OnMove) OnMove(this);
}

void TCustomToolWindow97::Paint() {
  TCustomControl::Paint();
  if (!Docked() || !FDockedTo->BackgroundUsable() || !FDockedTo->BackgroundOnToolbars() || !HandleAllocated()) return;
  const RECT client = ClientRect();
  const POINT origin = FDockedTo->BackgroundOrigin(HandleIfAllocated(), false);
  const RECT drawRect{origin.x, origin.y, client.right, client.bottom};
  FDockedTo->DrawBackground(Canvas().Handle(), client, drawRect, nullptr);
}

void TCustomToolWindow97::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
  TCustomControl::MouseDown(button, shift, x, y);
  if (button != TMouseButton::mbLeft) return;
  const RECT client = ClientRect();
  if (PtIn(client, POINT{x, y})) {
    for (int i = ControlCount() - 1; i >= 0; --i) {
      TControl* child = Controls(i);
      if (child->Visible() && PtIn(child->BoundsRect(), POINT{x, y}) && !IsChildDragTransparent(child)) return;
    }
  }
  if (Docked() && !FDockedTo->AllowDrag()) return;
  if (shift & ssDouble) DoubleClicked();
  else BeginMoving(x, y);
}

// ---- messages

void TCustomToolWindow97::WndProc(TMessage& message) {
  switch (message.Msg) {
  case WM_NCCALCSIZE: {
    auto* r = reinterpret_cast<RECT*>(message.LParam);
    const TIntSize window{r->right - r->left, r->bottom - r->top};
    TIntRect client;
    if (Docked())
      client =
          DockedClientRect(window, IsVerticalDock(FDockedTo->Position()), FDockedTo->AllowDrag(), FDragHandleStyle);
    else client = FloatingClientRect(window, FrameMetrics(), CaptionHeight());
    *r = RECT{r->left + client.Left, r->top + client.Top, r->left + client.Right, r->top + client.Bottom};
    message.Result = 0;
    return;
  }
  case WM_NCPAINT:
    PaintNonClientFromMessage(message);
    message.Result = 0;
    return;
  case WM_TB97PAINTDOCKEDNCAREA: DrawDockedFrameNow(); return;
  case WM_GETOBJECT:
    if (TAccessible97::AnswerGetObject(*this, message)) return;
    break;
  case WM_NCHITTEST:
    if (HandleNcHitTest(message)) return;
    break;
  case WM_NCLBUTTONDOWN: HandleNcLButtonDown(message); return;
  case WM_NCLBUTTONDBLCLK:
    // A second quick press on the close button is a press too, not a double click on the frame.
    if (message.WParam == HTCLOSE && !Docked()) {
      HandleNcLButtonDown(message);
      return;
    }
    break;
  case WM_NCACTIVATE:
    // The floating frame is ours; the system must not draw its own over it.
    message.Result = TRUE;
    RedrawFloatingParts(true, true);
    return;
  case WM_ACTIVATE:
    if (!Docked()) {
      HandleActivate(message);
      return;
    }
    break;
  case WM_MOUSEACTIVATE:
    if (!Docked()) {
      HandleMouseActivate(message);
      return;
    }
    break;
  case WM_CLOSE:
    if (HWND top = TopFormWindow()) SendMessageW(top, WM_CLOSE, 0, 0);
    message.Result = 0;
    return;
  case WM_GETMINMAXINFO: {
    DefaultHandler(message);
    auto* info = reinterpret_cast<MINMAXINFO*>(message.LParam);
    constexpr int LargestTrackSize = 32767;
    info->ptMinTrackSize = POINT{1, 1};
    info->ptMaxTrackSize = POINT{LargestTrackSize, LargestTrackSize};
    return;
  }
  case WM_MOVE:
    TCustomControl::WndProc(message);
    if (Docked() && FDockedTo->BackgroundUsable()) {
      RedrawNonClient();
      Invalidate();
    }
    AnnounceAccessibleChanges();
    DoMove();
    return;
  case WM_SIZE:
    TCustomControl::WndProc(message);
    AnnounceAccessibleChanges();
    if (OnResize) OnResize(this);
    return;
  case CM_VISIBLECHANGED:
    if (Docked()) FDockedTo->InsertOrRemoveBar(Visible(), this, Visible());
    TCustomControl::WndProc(message);
    if (OnVisibleChanged) OnVisibleChanged(this);
    return;
  case CM_SHOWINGCHANGED: ShowingChanged(); return;
  case CM_COLORCHANGED:
    TCustomControl::WndProc(message);
    RedrawNonClient();
    return;
  case CM_TEXTCHANGED:
    TCustomControl::WndProc(message);
    RedrawFloatingParts(false, true);
    return;
  default: break;
  }
  TCustomControl::WndProc(message);
}

} // namespace qs
