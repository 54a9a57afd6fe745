#pragma once
// A tool window: lives docked in a TDock97 (a thin frame with a drag handle) or floats above its form in a
// small captioned window of its own (a close button, resizable edges), and moves between the two by
// re-parenting. The subclass lays out the child controls. Split by concern:
//   TB97ToolWindow.cpp        properties, re-parenting, layout, bounds, messages
//   TB97ToolWindowFrame.cpp   the docked and floating frames: geometry and drawing
//   TB97ToolWindowFloat.cpp   floating: visibility, activation, hit test, close button, resize loop
//   TB97Drag.cpp              the drag loop between docks and out to float
//   TB97ToolWindowAccessible.cpp  what screen readers and automation tools are told of it and its items
#include "CustomControl.h"
#include "TB97AccessibleRules.h"
#include "TB97DockLayout.h"
#include "TB97FloatLayout.h"
#include "TB97Hooks.h"

#include <optional>
#include <string>
#include <vector>

namespace qs {

class TDock97;
class TFloatingWindowParent;
class TForm;

// Flags the subclass gives once, at construction.
struct TToolWindowParams {
  bool AlignChildControls = true;
  bool CornerSizing = true;
  bool ConfineCursorWhileSizing = true;
};

enum TDockableToValue : unsigned {
  dtTop = 1u << dpTop,
  dtBottom = 1u << dpBottom,
  dtLeft = 1u << dpLeft,
  dtRight = 1u << dpRight,
};
using TDockableTo = unsigned;
constexpr TDockableTo DockableToAll = dtTop | dtBottom | dtLeft | dtRight;

enum class TToolWindowBorderStyle { bsNone, bsSingle };

class TCustomToolWindow97 : public TCustomControl {
public:
  // The private message that redraws the docked frame once the messages already queued have run.
  static constexpr UINT WM_TB97PAINTDOCKEDNCAREA = 0x17AF;

  explicit TCustomToolWindow97(TComponent* owner);
  ~TCustomToolWindow97() override;

  bool ActivateParent() const { return FActivateParent; }
  void SetActivateParent(bool v) { FActivateParent = v; }
  TToolWindowBorderStyle BorderStyle() const { return FBorderStyle; }
  void SetBorderStyle(TToolWindowBorderStyle style);
  bool CloseButton() const { return FCloseButton; }
  void SetCloseButton(bool closeButton);
  TDock97* DefaultDock() const { return FDefaultDock; }
  void SetDefaultDock(TDock97* dock);
  TDockableTo DockableTo() const { return FDockableTo; }
  void SetDockableTo(TDockableTo dockableTo) { FDockableTo = dockableTo; }
  TDock97* DockedTo() const { return FDockedTo; }
  // A dock docks the window there; none floats it over its form.
  void SetDockedTo(TDock97* dock);
  bool Docked() const { return FDockedTo != nullptr; }
  int DockPos() const { return FDockPos; }
  void SetDockPos(int pos);
  int DockRow() const { return FDockRow; }
  void SetDockRow(int row);
  TDragHandleStyle DragHandleStyle() const { return FDragHandleStyle; }
  void SetDragHandleStyle(TDragHandleStyle style);
  bool FullSize() const { return FFullSize; }
  void SetFullSize(bool fullSize);
  bool HideWhenInactive() const { return FHideWhenInactive; }
  void SetHideWhenInactive(bool hide);
  bool FloatSizable() const { return FFloatSizable; }
  void SetFloatSizable(bool sizable);
  // The floating window's top-left on screen, kept while docked.
  POINT FloatingPosition() const { return FFloatingPosition; }
  void SetFloatingPosition(POINT p) { FFloatingPosition = p; }
  TFloatingWindowParent* FloatParent() const { return FFloatParent; }
  bool CaptionInactive() const { return FCaptionInactive; }

  TNotifyEvent OnClose;
  TNotifyEvent OnDockChanging;
  TNotifyEvent OnDockChanged;
  TNotifyEvent OnRecreating;
  TNotifyEvent OnRecreated;
  TNotifyEvent OnMove;
  TNotifyEvent OnResize;
  TNotifyEvent OnVisibleChanged;

  // The frame's metrics (by FloatSizable) and the small caption's height.
  TIntPoint FrameMetrics() const;
  static int CaptionHeight();

  void ArrangeAndResize();
  void BeginChildLayout() { ++FChildLayoutLevel; }
  void EndChildLayout();
  void RedrawNonClient();
  // Draws the docked frame now (the handler of the posted redraw).
  void DrawDockedFrameNow();
  // Redraws parts of the floating frame now: the close button and/or the caption.
  void RedrawFloatingParts(bool closeButton, bool caption);
  void DrawDockedFrame(HDC dc);
  void DrawFloatingFrame(HDC dc, bool frame, bool closeButton, bool caption);
  void PaintNonClient(HDC dc) override;

  // Floating.
  void RegisterFloating();
  bool ShouldBeVisible() const;
  void UpdateVisibility();
  void MoveOnScreen(bool onlyIfFullyOffscreen);
  // The interactive resize of the floating window from one of its edges; false when cancelled.
  bool BeginSizing(int hitTest, RECT& rect);
  // The drag loop: press at client coordinates (negative over the handle or frame).
  void BeginMoving(int x, int y);

  // Layout operations of the subclass.
  virtual bool IsChildDragTransparent(TControl* child) {
    (void)child;
    return false;
  }
  virtual int GetDockedThickness(TDockOrientation orientation) = 0;
  virtual TIntSize GetMinimumClientSize() = 0;
  virtual void LayoutChildren(bool moveControls, TDockOrientation previousOrientation, TIntSize& clientSize,
                              TDock97* dockingTo) = 0;

  // The shown children in the order they are laid out: the items accessibility clients are shown.
  virtual std::vector<TControl*> ShownChildrenInOrder() const;
  // Tells accessibility clients what changed since they were last told: the window moved, items came, went,
  // moved, or changed state or name. Cheap when nothing did.
  void AnnounceAccessibleChanges();

  void SetParent(TWinControl* parent) override;
  void SetBounds(int left, int top, int width, int height) override;
  RECT ClientRect() const override;
  void WndProc(TMessage& message) override;

protected:
  virtual void GetWindowParams(TToolWindowParams& params) { params = TToolWindowParams{}; }
  // Reads the flags again: a subclass's constructor calls it, as the base constructor only reaches the base's
  // GetWindowParams.
  void ReadWindowParams() { GetWindowParams(FParams); }
  virtual void AfterLoaded() {}
  virtual void SizingBegins(int hitTest) { (void)hitTest; }
  virtual void SizingEnds(bool accepted) { (void)accepted; }
  virtual void SizingRectChanged(RECT& newRect, const RECT& startRect) {
    (void)newRect;
    (void)startRect;
  }
  virtual void SizeChanging(int newWidth, int newHeight) {
    (void)newWidth;
    (void)newHeight;
  }

  void CreateParams(TCreateParams& params) override;
  // A new window shows when the visibility rules say so.
  void CreateWindowHandleDone() override;
  void Loaded() override;
  void Notification(TComponent* component, TOperation operation) override;
  void AlignControls() override;
  void AlignControl(TControl* control) override;
  void ApplyVisible() override;
  void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
  void Paint() override;
  // The form the window belongs to: its parent's form while docked, its floating parent's form while floating.
  TForm* OwnForm() const;

private:
  friend class TDock97;
  friend class TFloatingWindowParent;
  friend class TDragLoop;
  static void HookProc(THookKind kind, HWND wnd, WPARAM wParam, LPARAM lParam);

  TWinControl* FloatParentFor(TWinControl* form);
  void ReparentTo(TWinControl* newParent);
  void DrawCaptionText(HDC dc, RECT strip);
  void ArrangeAndResizeCore(bool resize, TDockOrientation previousOrientation, TDock97* target);
  TIntSize ClientSizeFor(TIntSize windowSize) const;
  void DoMove();
  void ShowingChanged();
  void HandleActivate(TMessage& message);
  void HandleMouseActivate(TMessage& message);
  bool HandleNcHitTest(TMessage& message);
  void HandleNcLButtonDown(TMessage& message);
  void TrackCloseButton();
  void DoubleClicked();
  HWND TopFormWindow() const;
  static void ActivateAnotherWindow(HWND except);

  bool FActivateParent = true;
  TToolWindowBorderStyle FBorderStyle = TToolWindowBorderStyle::bsSingle;
  bool FCloseButton = true;
  TDock97* FDefaultDock = nullptr;
  TDockableTo FDockableTo = DockableToAll;
  TDock97* FDockedTo = nullptr;
  int FDockPos = -1;
  int FDockRow = 0;
  TDragHandleStyle FDragHandleStyle = dhDouble;
  bool FFullSize = false;
  bool FHideWhenInactive = true;
  bool FFloatSizable = true;
  POINT FFloatingPosition{};
  TFloatingWindowParent* FFloatParent = nullptr;
  TDockOrientation FLastOrientation = doFloating;
  bool FLastOrientationValid = false;
  bool FCaptionInactive = false;
  TToolWindowParams FParams;
  // Re-entrancy counters: the bounds being set by the window itself (or its dock), child layout held back
  // (with the layout asked for meanwhile), OnMove held back, visibility held hidden.
  int FUpdatingBounds = 0;
  int FChildLayoutLevel = 0;
  bool FChildLayoutPending = false;
  int FMoveEventLevel = 0;
  int FHiddenLevel = 0;
  bool FCloseButtonDown = false;
  // What accessibility clients were last told; nothing until the window was first looked at.
  std::optional<TAccessibleView> FAccessibleView;
};

} // namespace qs
