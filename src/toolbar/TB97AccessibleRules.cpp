#include "TB97AccessibleRules.h"

#include <algorithm>

namespace qs {

std::string CaptionAsShown(std::string_view caption) {
  std::string shown;
  shown.reserve(caption.size());
  for (size_t i = 0; i < caption.size(); ++i) {
    // "&x" shows x underlined, "&&" one ampersand, and a final "&" nothing.
    if (caption[i] == '&' && ++i == caption.size()) break;
    shown += caption[i];
  }
  return shown;
}

std::string AccessibleName(std::string_view caption, std::string_view hint) {
  std::string name = CaptionAsShown(caption);
  return name.empty() ? std::string(hint) : name;
}

std::vector<TAccessibleEvent> AccessibleEvents(const TAccessibleView& before, const TAccessibleView& after) {
  using enum TAccessibleEventKind;
  std::vector<TAccessibleEvent> events;
  if (before.Client != after.Client) events.push_back({aeLocationChange, 0});
  const bool sameItems = std::equal(before.Items.begin(), before.Items.end(), after.Items.begin(), after.Items.end(),
                                    [](const auto& a, const auto& b) { return a.Identity == b.Identity; });
  if (!sameItems) events.push_back({aeReorder, 0});
  for (size_t i = 0; i < after.Items.size(); ++i) {
    const TAccessibleItem& now = after.Items[i];
    const auto was = std::find_if(before.Items.begin(), before.Items.end(),
                                  [&](const TAccessibleItem& item) { return item.Identity == now.Identity; });
    if (was == before.Items.end()) continue;
    const int id = static_cast<int>(i) + 1;
    if (was->Bounds != now.Bounds) events.push_back({aeLocationChange, id});
    if (was->State != now.State) events.push_back({aeStateChange, id});
    if (was->Name != now.Name) events.push_back({aeNameChange, id});
  }
  return events;
}

int NavigateAmongChildren(int count, int from, TAccessibleNavigation direction) {
  using enum TAccessibleNavigation;
  if (from < 0 || from > count) return 0;
  switch (direction) {
  case anFirstChild: return from == 0 && count > 0 ? 1 : 0;
  case anLastChild: return from == 0 ? count : 0;
  case anNext: return from > 0 && from < count ? from + 1 : 0;
  case anPrevious: return from > 1 ? from - 1 : 0;
  }
  return 0;
}

} // namespace qs
