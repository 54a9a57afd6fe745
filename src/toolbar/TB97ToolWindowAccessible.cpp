// Tool window: the items accessibility clients are shown, and the events that keep them up to date.
#include "TB97Accessible.h"
#include "TB97ToolWindow.h"

namespace qs {

std::vector<TControl*> TCustomToolWindow97::ShownChildrenInOrder() const {
  std::vector<TControl*> children;
  for (int i = 0; i < ControlCount(); ++i)
    if (Controls(i)->Visible()) children.push_back(Controls(i));
  return children;
}

void TCustomToolWindow97::AnnounceAccessibleChanges() {
  if (!HandleAllocated() || IsDestroying()) return;
  TAccessibleView view = TAccessible97::ViewOf(*this);
  if (FAccessibleView && view == *FAccessibleView) return;
  if (FAccessibleView) TAccessible97::Notify(HandleIfAllocated(), AccessibleEvents(*FAccessibleView, view));
  FAccessibleView = std::move(view);
}

} // namespace qs
