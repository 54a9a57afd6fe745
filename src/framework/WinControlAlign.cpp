// Alignment of a windowed control's children. A request made while a pass runs (a child's handler moving a
// sibling, say) is remembered and the pass runs once more after it; the pass's own placing of a child is not
// such a request.
#include "WinControl.h"

namespace qs {

namespace {

// Reruns a change can set off: two children that keep moving each other must not hang the window.
constexpr int MaxAlignReruns = 1;

} // namespace

void TWinControl::AlignControl(TControl* control) {
  if (control && control->Align() == TAlign::alNone) return;
  RequestAlignPass(control);
}

void TWinControl::Realign() { RequestAlignPass(nullptr); }

void TWinControl::RequestAlignPass(TControl* requester) {
  if (FAlignLevel > 0) {
    if (!requester || requester != FAligningChild) FAlignPending = true;
    return;
  }
  RunAlignPasses();
}

void TWinControl::EnableAlign() {
  if (--FAlignLevel == 0 && FAlignPending) RunAlignPasses();
}

void TWinControl::RunAlignPasses() {
  for (int pass = 0; pass <= MaxAlignReruns; ++pass) {
    FAlignPending = false;
    FLastAlignPass = pass == MaxAlignReruns;
    ++FAlignLevel;
    try {
      AlignControls();
    } catch (...) {
      --FAlignLevel;
      FAligningChild = nullptr;
      throw;
    }
    --FAlignLevel;
    if (!FAlignPending) return;
  }
  FAlignPending = false;
}

void TWinControl::AlignControls() {
  RECT client = ClientRect();
  AdjustClientRect(client);
  std::vector<TAlignItem> items;
  items.reserve(FControls.size());
  for (const TControl* c : FControls) items.push_back(TAlignItem{c->Align(), c->Visible(), ToIntRect(c->BoundsRect())});
  const std::vector<TIntRect> placed = AlignItems(items, ToIntRect(client));
  // Placing a child may make its window, and its handlers may change the list: walk a copy.
  const auto children = FControls;
  for (size_t i = 0; i < children.size(); ++i) {
    if (items[i].Align == TAlign::alNone || !items[i].Visible) continue;
    if (IndexOfControl(children[i]) < 0) continue;
    const TIntRect& r = placed[i];
    FAligningChild = children[i];
    children[i]->SetBounds(r.Left, r.Top, r.Width(), r.Height());
    FAligningChild = nullptr;
    // A child changed another one meanwhile: what is left of this pass rests on stale sizes, and the pass
    // that follows places everything from the sizes as they are now.
    if (FAlignPending && !FLastAlignPass) return;
  }
}

} // namespace qs
