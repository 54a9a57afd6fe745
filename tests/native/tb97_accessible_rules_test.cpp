#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

#include "TB97AccessibleRules.h"
#include "TB97ButtonRules.h"

namespace qs {

std::ostream& operator<<(std::ostream& out, const TAccessibleEvent& e) {
  static const char* const kinds[] = {"location", "reorder", "state", "name"};
  return out << kinds[static_cast<int>(e.Kind)] << "(" << e.ChildId << ")";
}

namespace {

// The name is what the button shows, accelerator marks and all, and the hint only stands in for no caption.
TEST(AccessibleRules, NameIsTheCaptionAsShownElseTheHint) {
  struct TCase {
    const char* Caption;
    const char* Hint;
    const char* Name;
  };
  const TCase cases[] = {
      {"Encode", "Click to encode", "Encode"},
      {"", "Add file", "Add file"},
      {"&Encode", "", "Encode"},
      {"Save && quit", "", "Save & quit"},
      {"&&&x", "", "&x"},
      {"Trail&", "", "Trail"},
      {"&", "Hint", "Hint"}, // shows nothing, so the hint names it
      {"&\xC3\x9C"
       "ber",
       "",
       "\xC3\x9C"
       "ber"}, // a multi-byte accelerator stays whole
      {"", "", ""},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(std::string("caption \"") + c.Caption + "\", hint \"" + c.Hint + "\"");
    EXPECT_EQ(AccessibleName(c.Caption, c.Hint), c.Name);
  }
}

// The shortcut names the character after the marking "&", however many bytes it takes.
TEST(AccessibleRules, AcceleratorTextIsTheMarkedCharacterAsWritten) {
  struct TCase {
    const char* Caption;
    const char* Text;
  };
  const TCase cases[] = {
      {"&Go", "G"},
      {"Save && &quit", "q"},
      {"&\xC3\x9C"
       "ber",
       "\xC3\x9C"},
      {"&\xE2\x82\xAC sign", "\xE2\x82\xAC"},
      {"Encode", ""},
      {"Fish && chips", ""},
      {"Trail&", ""},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(std::string("caption \"") + c.Caption + "\"");
    EXPECT_EQ(AcceleratorText(c.Caption), c.Text);
  }
}

using enum TAccessibleEventKind;

// Three items side by side, as a docked toolbar has them; each case changes what a client would see.
TEST(AccessibleRules, EventsTellWhatChangedBetweenTwoViews) {
  const int a = 0, b = 0, c = 0, d = 0; // identities only
  const auto item = [](const int& who, int left, unsigned state = 0, const char* name = "x") {
    return TAccessibleItem{&who, TIntRect::FromBounds(left, 0, 23, 22), state, name};
  };
  const TIntRect client = TIntRect::FromBounds(100, 50, 75, 22);
  const TAccessibleView before{client, {item(a, 0), item(b, 23), item(c, 46)}};
  struct TCase {
    const char* Name;
    TAccessibleView After;
    std::vector<TAccessibleEvent> Events;
  };
  const TCase cases[] = {
      {"nothing changed", before, {}},
      {"the window moved, its items with it",
       {client.Offset(0, 30), {item(a, 0), item(b, 23), item(c, 46)}},
       {{aeLocationChange, 0}}},
      {"an item disabled", {client, {item(a, 0), item(b, 23, 1), item(c, 46)}}, {{aeStateChange, 2}}},
      {"an item renamed", {client, {item(a, 0), item(b, 23, 0, "y"), item(c, 46)}}, {{aeNameChange, 2}}},
      {"the middle item hidden, the last moving up",
       {client, {item(a, 0), item(c, 23)}},
       {{aeReorder, 0}, {aeLocationChange, 2}}},
      {"an item shown at the end", {client, {item(a, 0), item(b, 23), item(c, 46), item(d, 69)}}, {{aeReorder, 0}}},
      {"two items swapped",
       {client, {item(a, 0), item(c, 23), item(b, 46)}},
       {{aeReorder, 0}, {aeLocationChange, 2}, {aeLocationChange, 3}}},
      {"a new item where a freed one was", {client, {item(a, 0), item(d, 23), item(c, 46)}}, {{aeReorder, 0}}},
      {"docked at the side: the window and every item moved",
       {TIntRect::FromBounds(100, 80, 23, 66),
        {TAccessibleItem{&a, TIntRect::FromBounds(0, 0, 23, 22), 0, "x"},
         TAccessibleItem{&b, TIntRect::FromBounds(0, 22, 23, 22), 0, "x"},
         TAccessibleItem{&c, TIntRect::FromBounds(0, 44, 23, 22), 0, "x"}}},
       {{aeLocationChange, 0}, {aeLocationChange, 2}, {aeLocationChange, 3}}},
      {"moved, pressed and renamed at once",
       {client, {item(a, 0), item(b, 24, 8, "y"), item(c, 46)}},
       {{aeLocationChange, 2}, {aeStateChange, 2}, {aeNameChange, 2}}},
      {"every item gone", {client, {}}, {{aeReorder, 0}}},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    EXPECT_EQ(AccessibleEvents(before, c.After), c.Events);
  }
}

// Stepping through three children: from the window to its ends, between neighbours, and off either end.
TEST(AccessibleRules, NavigationStepsAmongTheChildrenAndStopsAtTheEnds) {
  using enum TAccessibleNavigation;
  struct TCase {
    const char* Name;
    int Count;
    int From;
    TAccessibleNavigation Direction;
    int To;
  };
  const TCase cases[] = {
      {"first child of the window", 3, 0, anFirstChild, 1},
      {"last child of the window", 3, 0, anLastChild, 3},
      {"next of the first", 3, 1, anNext, 2},
      {"next of the last", 3, 3, anNext, 0},
      {"previous of the last", 3, 3, anPrevious, 2},
      {"previous of the first", 3, 1, anPrevious, 0},
      {"a child has no children", 3, 2, anFirstChild, 0},
      {"the window's siblings are not its children", 3, 0, anNext, 0},
      {"first child of an empty window", 0, 0, anFirstChild, 0},
      {"last child of an empty window", 0, 0, anLastChild, 0},
      {"from a child that is gone", 3, 4, anPrevious, 0},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    EXPECT_EQ(NavigateAmongChildren(c.Count, c.From, c.Direction), c.To);
  }
}

} // namespace
} // namespace qs
