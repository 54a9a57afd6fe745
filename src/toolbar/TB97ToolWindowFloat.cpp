// The floating tool window: the window it becomes, when it shows, how it hands activation to its form, its hit
// test, the close button and the resize loop, and keeping it on the work area.
#include "TB97ToolWindow.h"

#include "Application.h"
#include "CaptureLoop.h"
#include "Form.h"
#include "Messages.h"
#include "TB97Dock.h"
#include "TB97FloatingParent.h"
#include "TB97Outline.h"
#include "WorkArea.h"

#include <optional>

namespace qs {

namespace {

// Visible here and in every parent, as far as the controls themselves say (not what Windows shows now: a
// floating window's own state must not feed back into the decision).
bool ControlsShowing(const TControl* control) {
  for (const TControl* c = control; c; c = c->Parent())
    if (!c->Visible()) return false;
  return true;
}

bool IsOwnedBy(HWND wnd, HWND owner) {
  for (HWND w = GetWindow(wnd, GW_OWNER); w; w = GetWindow(w, GW_OWNER))
    if (w == owner) return true;
  return false;
}

POINT CursorPos() {
  POINT p{};
  GetCursorPos(&p);
  return p;
}

} // namespace

void TCustomToolWindow97::CreateParams(TCreateParams& params) {
  TCustomControl::CreateParams(params);
  params.WinClassName = L"QsToolWindow97";
  if (dynamic_cast<TFloatingWindowParent*>(Parent())) {
    params.Style = WS_POPUP | WS_BORDER | (FFloatSizable ? WS_THICKFRAME : 0);
    params.ExStyle = 0;
  }
  // The window shows when the visibility rules say so, once it is in place.
  params.Style &= ~static_cast<DWORD>(WS_VISIBLE);
}

void TCustomToolWindow97::CreateWindowHandleDone() {
  TCustomControl::CreateWindowHandleDone();
  UpdateVisibility();
}

HWND TCustomToolWindow97::TopFormWindow() const {
  TForm* form = OwnForm();
  return form && form->HandleAllocated() ? form->HandleIfAllocated() : nullptr;
}

void TCustomToolWindow97::HookProc(THookKind kind, HWND wnd, WPARAM, LPARAM lParam) {
  // A copy for each handled event, not for every message the hook sees: a window may leave or join the list.
  const auto windows = [] { return FloatingToolWindows(); };
  switch (kind) {
  case THookKind::hkActivateApp:
    for (TCustomToolWindow97* w : windows()) w->UpdateVisibility();
    break;
  case THookKind::hkWindowPosChanged: {
    const auto* pos = reinterpret_cast<const WINDOWPOS*>(lParam);
    if (!(pos->flags & (SWP_SHOWWINDOW | SWP_HIDEWINDOW | SWP_FRAMECHANGED))) break;
    for (TCustomToolWindow97* w : windows()) {
      HWND form = w->TopFormWindow();
      if (!w->HandleAllocated() || !form) continue;
      if (form == wnd || IsChild(wnd, form)) w->UpdateVisibility();
    }
    break;
  }
  case THookKind::hkDestroyWindow:
    // A window owned by the form being destroyed would go with it: it is handed to its floating parent.
    for (TCustomToolWindow97* w : windows()) {
      if (!w->HandleAllocated() || !w->FFloatParent || !w->FFloatParent->HandleAllocated()) continue;
      HWND self = w->HandleIfAllocated();
      if (reinterpret_cast<HWND>(GetWindowLongPtrW(self, GWLP_HWNDPARENT)) == wnd)
        SetWindowLongPtrW(self, GWLP_HWNDPARENT, reinterpret_cast<LONG_PTR>(w->FFloatParent->HandleIfAllocated()));
    }
    break;
  case THookKind::hkMouseMove: break;
  }
}

void TCustomToolWindow97::RegisterFloating() {
  if (dynamic_cast<TFloatingWindowParent*>(Parent())) {
    JoinFloatingList(this);
    SetBounds(FFloatingPosition.x, FFloatingPosition.y, Width(), Height());
  } else {
    LeaveFloatingList(this);
  }
}

bool TCustomToolWindow97::ShouldBeVisible() const {
  if (!ControlsShowing(this) || FHiddenLevel > 0) return false;
  if (Docked()) return true;
  TForm* form = OwnForm();
  if (!form || !form->HandleAllocated()) return false;
  HWND formWnd = form->HandleIfAllocated();
  // The program minimised: its main form is.
  if (Application && Application->MainForm() && Application->MainForm()->HandleAllocated() &&
      IsIconic(Application->MainForm()->HandleIfAllocated()))
    return false;
  if (!IsWindowVisible(formWnd) || IsIconic(formWnd)) return false;
  if (FHideWhenInactive && !GetActiveWindow()) return false;
  return true;
}

void TCustomToolWindow97::UpdateVisibility() {
  const bool inactive = !Docked() && !FHideWhenInactive && !GetActiveWindow();
  if (inactive != FCaptionInactive) {
    FCaptionInactive = inactive;
    RedrawFloatingParts(false, true);
  }
  if (!HandleAllocated()) return;
  const bool shown = (GetWindowLongPtrW(HandleIfAllocated(), GWL_STYLE) & WS_VISIBLE) != 0;
  if (shown != ShouldBeVisible()) Perform(CM_SHOWINGCHANGED);
}

void TCustomToolWindow97::ApplyVisible() { UpdateVisibility(); }

void TCustomToolWindow97::ShowingChanged() {
  if (!HandleAllocated()) return;
  HWND self = HandleIfAllocated();
  const bool visible = ShouldBeVisible();
  if (auto* floatParent = dynamic_cast<TFloatingWindowParent*>(Parent())) {
    HWND form = TopFormWindow();
    if (visible && form && reinterpret_cast<HWND>(GetWindowLongPtrW(self, GWLP_HWNDPARENT)) != form) {
      SetWindowLongPtrW(self, GWLP_HWNDPARENT, reinterpret_cast<LONG_PTR>(form));
      // Directly behind the nearest window above the form that does not belong to it.
      HWND insertAfter = HWND_TOP;
      for (HWND above = GetWindow(form, GW_HWNDPREV); above; above = GetWindow(above, GW_HWNDPREV)) {
        if (above != self && !IsOwnedBy(above, form)) {
          insertAfter = above;
          break;
        }
      }
      SetWindowPos(self, insertAfter, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE);
    }
    floatParent->SetShowWanted(visible);
    floatParent->Perform(CM_SHOWINGCHANGED);
  }
  SetWindowPos(self, nullptr, 0, 0, 0, 0,
               SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | (visible ? SWP_SHOWWINDOW : SWP_HIDEWINDOW));
  if (!visible && GetActiveWindow() == self) ActivateAnotherWindow(self);
}

namespace {

struct TActivationSearch {
  HWND Except;
  HWND FirstPlain = nullptr;
  HWND FirstTopmost = nullptr;
};

// Windows of the thread in Z-order: the first visible, enabled one that is not topmost, else the first topmost.
BOOL CALLBACK ConsiderForActivation(HWND wnd, LPARAM data) {
  auto& search = *reinterpret_cast<TActivationSearch*>(data);
  if (wnd == search.Except || (Application && wnd == Application->Handle()) || !IsWindowVisible(wnd) ||
      !IsWindowEnabled(wnd))
    return TRUE;
  if (!(GetWindowLongPtrW(wnd, GWL_EXSTYLE) & WS_EX_TOPMOST)) {
    search.FirstPlain = wnd;
    return FALSE;
  }
  if (!search.FirstTopmost) search.FirstTopmost = wnd;
  return TRUE;
}

} // namespace

void TCustomToolWindow97::ActivateAnotherWindow(HWND except) {
  TActivationSearch search{except};
  EnumThreadWindows(GetCurrentThreadId(), ConsiderForActivation, reinterpret_cast<LPARAM>(&search));
  if (HWND next = search.FirstPlain ? search.FirstPlain : search.FirstTopmost) SetActiveWindow(next);
}

// ---- activation

void TCustomToolWindow97::HandleActivate(TMessage& message) {
  HWND top = TopFormWindow();
  const bool activating = LOWORD(message.WParam) != WA_INACTIVE;
  // The form's caption looks active while its tool window is.
  if (top) SendMessageW(top, WM_NCACTIVATE, activating ? TRUE : FALSE, 0);
  message.Result = 0;
  if (!activating) return;
  HWND self = HandleIfAllocated();
  if (!IsWindowVisible(self)) ActivateAnotherWindow(self);
  else if (top && top != reinterpret_cast<HWND>(message.LParam)) SetActiveWindow(top);
}

void TCustomToolWindow97::HandleMouseActivate(TMessage& message) {
  message.Result = MA_NOACTIVATE;
  HWND self = HandleIfAllocated();
  SetWindowPos(self, HWND_TOP, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE);
  HWND top = TopFormWindow();
  if (FActivateParent && top && GetActiveWindow() != self) SetActiveWindow(top);
}

// ---- hit test and the frame's buttons

bool TCustomToolWindow97::HandleNcHitTest(TMessage& message) {
  DefaultHandler(message);
  if (Docked()) {
    // Presses on the drag handle and the frame arrive as client presses, outside the client rectangle.
    if (message.Result == HTNOWHERE) message.Result = HTCLIENT;
    return true;
  }
  RECT window{};
  GetWindowRect(HandleIfAllocated(), &window);
  const POINT cursor{static_cast<short>(LOWORD(message.LParam)), static_cast<short>(HIWORD(message.LParam))};
  TFloatingHitTest input;
  input.Point = TIntPoint{cursor.x - window.left, cursor.y - window.top};
  input.WindowSize = TIntSize{window.right - window.left, window.bottom - window.top};
  input.FrameMetrics = FrameMetrics();
  input.CaptionHeight = CaptionHeight();
  input.ClientWidth = ClientRect().right;
  input.CloseButton = FCloseButton;
  input.FloatSizable = FFloatSizable;
  input.CornerSizing = FParams.CornerSizing;
  input.DefaultAnswer = static_cast<int>(message.Result);
  message.Result = FloatingHitTest(input);
  return true;
}

void TCustomToolWindow97::HandleNcLButtonDown(TMessage& message) {
  const auto hit = static_cast<int>(message.WParam);
  if (hit >= HTLEFT && hit <= HTBOTTOMRIGHT) {
    if (Docked()) return;
    RECT r{};
    if (BeginSizing(hit, r)) {
      BeginChildLayout();
      SetBounds(r.left, r.top, r.right - r.left, r.bottom - r.top);
      EndChildLayout();
      MoveOnScreen(true);
    }
    return;
  }
  if (hit == HTCLOSE && !Docked()) {
    TrackCloseButton();
    return;
  }
  DefaultHandler(message);
}

void TCustomToolWindow97::TrackCloseButton() {
  HWND self = HandleIfAllocated();
  const TFloatingCaptionRects rects =
      FloatingCaptionRects(FrameMetrics(), CaptionHeight(), ClientRect().right, FCloseButton);
  auto overButton = [&] {
    RECT window{};
    GetWindowRect(self, &window);
    const POINT c = CursorPos();
    return rects.CloseButton.Contains(TIntPoint{c.x - window.left, c.y - window.top});
  };
  FCloseButtonDown = true;
  RedrawFloatingParts(true, false);
  bool clicked = false;
  {
    TCaptureLoop loop(self);
    MSG msg{};
    bool done = false;
    while (!done && loop.Next(msg)) {
      if (IsKeyMessage(msg.message) || IsOtherButtonMessage(msg.message)) continue;
      switch (msg.message) {
      case WM_MOUSEMOVE:
        if (const bool down = overButton(); down != FCloseButtonDown) {
          FCloseButtonDown = down;
          RedrawFloatingParts(true, false);
        }
        break;
      case WM_LBUTTONDOWN:
      case WM_LBUTTONDBLCLK: done = true; break;
      case WM_LBUTTONUP:
        clicked = FCloseButtonDown;
        done = true;
        break;
      default: TCaptureLoop::Dispatch(msg); break;
      }
    }
  }
  if (FCloseButtonDown) {
    FCloseButtonDown = false;
    RedrawFloatingParts(true, false);
  }
  if (!clicked) return;
  SetVisible(false);
  if (OnClose) OnClose(this);
}

// ---- resize loop

bool TCustomToolWindow97::BeginSizing(int hitTest, RECT& rect) {
  HWND self = HandleIfAllocated();
  RECT window{};
  GetWindowRect(self, &window);
  const RECT client = ClientRect();
  const TIntSize minimum = MinimumWindowSize(GetMinimumClientSize(), TIntSize{Width(), Height()},
                                             TIntSize{client.right - client.left, client.bottom - client.top});
  bool accepted = false;
  SizingBegins(hitTest);
  struct TEnd {
    TCustomToolWindow97* Self;
    const bool& Accepted;
    ~TEnd() { Self->SizingEnds(Accepted); }
  } end{this, accepted};
  FlushPaintMessages();
  const TIntRect start = ToIntRect(window);
  const int thickness = FrameMetrics().X;
  RECT current = window;
  TOutlineWindow outline;
  std::optional<TCursorClipGuard> clip;
  if (FParams.ConfineCursorWhileSizing) clip.emplace(ToRect(WorkAreaNearRect(window)));
  outline.Show(current, thickness);
  const POINT cursorStart = CursorPos();
  POINT last = cursorStart;
  {
    TCaptureLoop loop(self);
    MSG msg{};
    bool done = false;
    while (!done && loop.Next(msg)) {
      if (IsKeyMessage(msg.message)) {
        if (msg.message == WM_KEYDOWN && msg.wParam == VK_ESCAPE) done = true;
        continue;
      }
      if (IsOtherButtonMessage(msg.message)) continue;
      switch (msg.message) {
      case WM_MOUSEMOVE: {
        const POINT c = CursorPos();
        if (c.x == last.x && c.y == last.y) break;
        last = c;
        RECT r =
            ToRect(SizingRect(start, hitTest, TIntPoint{cursorStart.x, cursorStart.y}, TIntPoint{c.x, c.y}, minimum));
        SizingRectChanged(r, window);
        current = r;
        outline.Show(current, thickness);
        break;
      }
      case WM_LBUTTONDOWN:
      case WM_LBUTTONDBLCLK: done = true; break;
      case WM_LBUTTONUP:
        accepted = true;
        done = true;
        break;
      default: TCaptureLoop::Dispatch(msg); break;
      }
    }
  }
  clip.reset();
  outline.Hide();
  if (accepted) rect = current;
  return accepted;
}

void TCustomToolWindow97::MoveOnScreen(bool onlyIfFullyOffscreen) {
  if (Docked() || !dynamic_cast<TFloatingWindowParent*>(Parent())) return;
  const RECT bounds = BoundsRect();
  const TIntRect moved = qs::MoveOnScreen(ToIntRect(bounds), WorkAreaNearRect(bounds), onlyIfFullyOffscreen);
  if (moved != ToIntRect(bounds)) SetBounds(moved.Left, moved.Top, moved.Width(), moved.Height());
}

} // namespace qs
