#include "TB97DragLoop.h"

#include "TB97ToolWindow.h"

#include "CaptureLoop.h"
#include "Exception.h"
#include "Form.h"
#include "Messages.h"
#include "TB97Dock.h"
#include "WorkArea.h"

#include <vector>

namespace qs {

namespace {

TIntRect ScreenClientRect(TWinControl& control) {
  RECT r = control.ClientRect();
  POINT origin = control.ClientOrigin();
  OffsetRect(&r, origin.x, origin.y);
  return ToIntRect(r);
}

} // namespace

TDragLoop::TDragLoop(TCustomToolWindow97& window, int x, int y) : FWindow(window) {
  RECT bounds{};
  GetWindowRect(window.HandleIfAllocated(), &bounds);
  const POINT clientOrigin = window.ClientOrigin();
  FGrab = DragGrabOf(TIntPoint{x, y}, TIntPoint{clientOrigin.x - bounds.left, clientOrigin.y - bounds.top},
                     TIntSize{bounds.right - bounds.left, bounds.bottom - bounds.top});
  FNoDock = GetKeyState(VK_CONTROL) < 0;
  TForm* form = window.OwnForm();
  if (!form) throw EInvalidOperation("Control '" + window.Name() + "' has no parent window");
  Collect(form);
  MakeSizeRecords();
}

void TDragLoop::Run() {
  FlushPaintMessages();
  bool accepted = false;
  {
    TCaptureLoop loop(FWindow.HandleIfAllocated());
    MouseMoved();
    MSG msg{};
    bool done = false;
    while (!done && loop.Next(msg)) done = Handle(msg, accepted);
  }
  FOutline.Hide();
  if (accepted) Drop();
}

// Docks of the form first, then those nested in its containers; at each level top docks before bottom, left
// and right ones. That order decides between overlapping docking zones.
void TDragLoop::Collect(TWinControl* control) {
  if (auto* dock = dynamic_cast<TDock97*>(control)) {
    if (dock->AllowDrag() && (FWindow.DockableTo() & (1u << dock->Position())) && dock->Showing())
      FDocks.push_back(dock);
  }
  for (TDockPosition position : {dpTop, dpBottom, dpLeft, dpRight})
    for (int i = 0; i < control->ControlCount(); ++i)
      if (auto* dock = dynamic_cast<TDock97*>(control->Controls(i)); dock && dock->Position() == position)
        Collect(dock);
  for (int i = 0; i < control->ControlCount(); ++i) {
    TControl* child = control->Controls(i);
    if (child->IsWindowed() && !dynamic_cast<TDock97*>(child)) Collect(static_cast<TWinControl*>(child));
  }
}

void TDragLoop::MakeSizeRecords() {
  const TDockOrientation current = DockOrientation(FWindow.DockedTo());
  TIntSize client;
  FWindow.LayoutChildren(false, current, client, nullptr);
  FSizes.push_back({nullptr, FloatingWindowSize(client, FWindow.FrameMetrics(), FWindow.CaptionHeight())});
  for (TDock97* dock : FDocks) {
    if (dock == FWindow.DockedTo()) {
      const RECT r = FWindow.ClientRect();
      client = TIntSize{r.right - r.left, r.bottom - r.top};
    } else {
      FWindow.LayoutChildren(false, current, client, dock);
    }
    FSizes.push_back({dock, DockedWindowSize(client, IsVerticalDock(dock->Position()), dock->AllowDrag(),
                                             FWindow.DragHandleStyle())});
  }
}

const TDragLoop::TSizeRecord& TDragLoop::SizeOf(TDock97* dock) const {
  for (const TSizeRecord& record : FSizes)
    if (record.Dock == dock) return record;
  return FSizes.front();
}

bool TDragLoop::Handle(const MSG& msg, bool& accepted) {
  if (msg.message == WM_KEYDOWN || msg.message == WM_KEYUP) {
    if (msg.wParam == VK_CONTROL) {
      const bool noDock = msg.message == WM_KEYDOWN;
      if (noDock != FNoDock) {
        FNoDock = noDock;
        MouseMoved();
      }
      return false;
    }
    return msg.wParam == VK_ESCAPE;
  }
  if (IsKeyMessage(msg.message)) return false;
  switch (msg.message) {
  case WM_MOUSEMOVE: MouseMoved(); return false;
  case WM_LBUTTONDOWN:
  case WM_LBUTTONDBLCLK: return true;
  case WM_LBUTTONUP: accepted = true; return true;
  default:
    if (IsOtherButtonMessage(msg.message)) return false;
    TCaptureLoop::Dispatch(msg);
    return false;
  }
}

void TDragLoop::MouseMoved() {
  POINT cursor{};
  GetCursorPos(&cursor);
  TIntPoint p{cursor.x, cursor.y};
  FTarget = nullptr;
  if (!FNoDock) {
    for (TDock97* dock : FDocks) {
      if (!InDockingZone(ScreenClientRect(*dock), IsVerticalDock(dock->Position()), p, SizeOf(dock).Size, FGrab))
        continue;
      bool accept = true;
      if (dock->OnRequestDock) dock->OnRequestDock(dock, &FWindow, accept);
      if (accept) {
        FTarget = dock;
        break;
      }
    }
  }
  const TIntRect workArea = WorkAreaNearPoint(cursor);
  if (!FTarget) p = ClampToWorkArea(p, workArea);
  TIntRect outline = DragOutline(p, SizeOf(FTarget).Size, FGrab);
  if (!FTarget) outline = ClampFloatingOutline(outline, workArea, FWindow.FrameMetrics(), FWindow.CaptionHeight());
  FOutlineRect = outline;
  FOutline.Show(ToRect(outline), FTarget ? DockedOutlineThickness : FWindow.FrameMetrics().X);
}

void TDragLoop::Drop() {
  if (FTarget) {
    const TIntRect dockClient = ScreenClientRect(*FTarget);
    const TIntRect outline = FOutlineRect.Offset(-dockClient.Left, -dockClient.Top);
    FTarget->BuildRowThicknesses();
    TDockBars bars = FTarget->BarRecords();
    const auto& docked = FTarget->DockedBars();
    int selfTag = NoBar;
    for (size_t i = 0; i < docked.size(); ++i)
      if (docked[i] == &FWindow) selfTag = static_cast<int>(i);
    const TDockDrop drop = DropIntoDock(bars, FTarget->RowThicknesses(), IsVerticalDock(FTarget->Position()), outline,
                                        FWindow.FullSize(), selfTag);
    FTarget->ApplyBarRows(bars);
    FWindow.FDockRow = drop.DockRow;
    FWindow.FDockPos = drop.DockPos;
    FWindow.SetParent(FTarget);
    FTarget->ArrangeBars();
  } else {
    FWindow.FFloatingPosition = POINT{FOutlineRect.Left, FOutlineRect.Top};
    if (FWindow.Docked()) {
      FWindow.SetDockedTo(nullptr);
    } else {
      FWindow.SetBounds(FOutlineRect.Left, FOutlineRect.Top, FWindow.Width(), FWindow.Height());
    }
  }
  FWindow.MoveOnScreen(true);
}

void TCustomToolWindow97::BeginMoving(int x, int y) {
  if (!HandleAllocated()) return;
  TDragLoop loop(*this, x, y);
  loop.Run();
}

} // namespace qs
