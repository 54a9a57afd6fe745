// The child list of a windowed control: insertion and removal (through TControl::SetParent), Z-order, hit
// testing, painting the windowless children and broadcasting control messages to all of them.
#include "WinControl.h"

#include "Handles.h"

#include <algorithm>

namespace qs {

void TWinControl::InsertControl(TControl* control) {
  FControls.push_back(control);
  control->SetParentField(this);
  control->InheritFromParent();
  if (control->IsWindowed() && FHandle) static_cast<TWinControl*>(control)->HandleNeeded();
  if (!control->IsWindowed()) control->Invalidate();
  Perform(CM_CONTROLCHANGE, reinterpret_cast<WPARAM>(control), 1);
  AlignControl(control);
}

void TWinControl::RemoveControl(TControl* control) {
  if (FCaptureControl == control) SetCaptureControl(nullptr);
  if (!control->IsWindowed()) control->Invalidate();
  else static_cast<TWinControl*>(control)->DestroyHandle();
  std::erase(FControls, control);
  control->SetParentField(nullptr);
  if (!IsDestroying()) {
    Perform(CM_CONTROLCHANGE, reinterpret_cast<WPARAM>(control), 0);
    AlignControl(control);
  }
}

int TWinControl::IndexOfControl(const TControl* control) const {
  const auto it = std::find(FControls.begin(), FControls.end(), control);
  return it == FControls.end() ? -1 : static_cast<int>(it - FControls.begin());
}

void TWinControl::SetChildZOrder(TControl* control, bool toTop) {
  auto it = std::find(FControls.begin(), FControls.end(), control);
  if (it == FControls.end()) return;
  if (toTop) {
    FControls.erase(it);
    FControls.push_back(control);
  }
  if (!control->IsWindowed()) {
    control->Invalidate();
    return;
  }
  auto* win = static_cast<TWinControl*>(control);
  if (!win->HandleAllocated()) return;
  // Our list runs bottom to top; Windows' z-order runs top to bottom. Put the window just below the next
  // windowed sibling above it, or at the top when there is none.
  HWND insertAfter = HWND_TOP;
  for (auto above = std::find(FControls.begin(), FControls.end(), control) + 1; above != FControls.end(); ++above) {
    if ((*above)->IsWindowed() && static_cast<TWinControl*>(*above)->HandleAllocated()) {
      insertAfter = static_cast<TWinControl*>(*above)->HandleIfAllocated();
      break;
    }
  }
  SetWindowPos(win->HandleIfAllocated(), insertAfter, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

TControl* TWinControl::ControlAtPos(POINT p, bool allowDisabled, bool allowWinControls) const {
  for (auto it = FControls.rbegin(); it != FControls.rend(); ++it) {
    TControl* c = *it;
    if (!c->Visible() || (c->IsWindowed() && !allowWinControls)) continue;
    if (!c->Enabled() && !allowDisabled) continue;
    if (PtIn(c->BoundsRect(), p)) return c;
  }
  return nullptr;
}

void TWinControl::Broadcast(TMessage& message) {
  // A child may leave the list while it is told (a button freed from its accelerator's click).
  const auto children = FControls;
  for (TControl* child : children) {
    if (std::find(FControls.begin(), FControls.end(), child) == FControls.end()) continue;
    child->WndProc(message);
    if (message.Result != 0) return;
  }
}

void TWinControl::BroadcastToChildren(UINT msg) {
  TMessage m{msg, 0, 0};
  Broadcast(m);
}

void TWinControl::PaintControls(HDC dc, const RECT& update) {
  for (TControl* c : FControls) {
    if (c->IsWindowed() || !c->Visible()) continue;
    const RECT b = c->BoundsRect();
    RECT meet{};
    if (!IntersectRect(&meet, &b, &update)) continue;
    TSavedDC saved(dc);
    IntersectClipRect(dc, b.left, b.top, b.right, b.bottom);
    OffsetViewportOrgEx(dc, b.left, b.top, nullptr);
    c->PaintControl(dc);
  }
}

} // namespace qs
