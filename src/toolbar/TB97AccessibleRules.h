#pragma once
// What a tool window tells screen readers and automation tools, as far as it needs no window: the name an item
// is known by, which events tell a client how the window changed since it last looked, and how a client steps
// from one item to the next. Pure: facts in, answers out.
#include "Geometry.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace qs {

// A caption as the button shows it: the "&" that marks the accelerator dropped, "&&" a single ampersand.
std::string CaptionAsShown(std::string_view caption);
// The name a client reads for an item: its caption as shown, or its hint when it shows no caption.
std::string AccessibleName(std::string_view caption, std::string_view hint);

// An item of a tool window as a client sees it.
struct TAccessibleItem {
  const void* Identity = nullptr; // the control; only ever compared, never followed
  TIntRect Bounds;                // in the tool window's client coordinates
  unsigned State = 0;             // the state bits a client reads
  std::string Name;
  friend bool operator==(const TAccessibleItem&, const TAccessibleItem&) = default;
};

// A tool window as a client sees it: where its client area is on screen, and its shown items in layout order.
struct TAccessibleView {
  TIntRect Client;
  std::vector<TAccessibleItem> Items;
  friend bool operator==(const TAccessibleView&, const TAccessibleView&) = default;
};

enum class TAccessibleEventKind : std::uint8_t { aeLocationChange, aeReorder, aeStateChange, aeNameChange };

struct TAccessibleEvent {
  TAccessibleEventKind Kind = TAccessibleEventKind::aeLocationChange;
  int ChildId = 0; // 0: the tool window itself; else the item's place in the new view, counted from 1
  friend bool operator==(const TAccessibleEvent&, const TAccessibleEvent&) = default;
};

// The events that tell a client how `before` became `after`: the window's client area moved or resized; items
// came, went or changed places (a reorder of the window); and, for every item in both, that it moved within the
// window, changed state or changed name. An item that only moves with its window gets no event of its own.
std::vector<TAccessibleEvent> AccessibleEvents(const TAccessibleView& before, const TAccessibleView& after);

enum class TAccessibleNavigation : std::uint8_t { anNext, anPrevious, anFirstChild, anLastChild };

// The child a client reaches from `from` (0: the window itself, else a child counted from 1) among `count`
// children, or 0 when there is none that way.
int NavigateAmongChildren(int count, int from, TAccessibleNavigation direction);

} // namespace qs
