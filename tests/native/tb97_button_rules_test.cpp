#include <gtest/gtest.h>

#include <ostream>
#include <string>

#include "TB97ButtonRules.h"

namespace qs {

std::ostream& operator<<(std::ostream& out, TButtonDrawState s) {
  static const char* const names[] = {"dsUp", "dsDisabled", "dsDown", "dsExclusive", "dsMouseIn"};
  return out << names[StateIndex(s)];
}
std::ostream& operator<<(std::ostream& out, TButtonEdge e) {
  static const char* const names[] = {"none", "raised", "sunken"};
  return out << names[static_cast<int>(e)];
}

namespace {

using TDs = TButtonDrawState;
using TEv = TButtonEvent;

constexpr TButtonFacts Plain{};
constexpr TButtonFacts DownInGroup{true, true, true, false};
constexpr TButtonFacts InClick{true, false, false, true};
constexpr TButtonFacts Disabled{false, false, false, false};
constexpr TButtonFacts DisabledDownInGroup{false, true, true, false};
// Down kept after GroupIndex went back to 0: the rest state ignores it.
constexpr TButtonFacts DownWithoutGroup{true, true, false, false};

// Every transition of the draw state, and the events that leave a state alone.
TEST(ButtonRules, DrawStateFollowsItsEvents) {
  struct TCase {
    const char* Name;
    TDs From;
    TEv Event;
    TButtonFacts Facts;
    TDs To;
  };
  const TCase cases[] = {
      {"disabling from any state", TDs::dsExclusive, TEv::beDisabled, Disabled, TDs::dsDisabled},
      {"disabling while hot", TDs::dsMouseIn, TEv::beDisabled, Disabled, TDs::dsDisabled},
      {"enabled again", TDs::dsDisabled, TEv::beEnabled, Plain, TDs::dsUp},
      {"enabled again, down in a group", TDs::dsDisabled, TEv::beEnabled, DownInGroup, TDs::dsExclusive},
      {"enabled again, down without a group", TDs::dsDisabled, TEv::beEnabled, DownWithoutGroup, TDs::dsUp},
      {"hover begins on an up button", TDs::dsUp, TEv::beHoverBegin, Plain, TDs::dsMouseIn},
      {"hover begins on a down button", TDs::dsExclusive, TEv::beHoverBegin, DownInGroup, TDs::dsExclusive},
      {"hover begins while pressed", TDs::dsDown, TEv::beHoverBegin, Plain, TDs::dsDown},
      {"hover ends", TDs::dsMouseIn, TEv::beHoverEnd, Plain, TDs::dsUp},
      {"hover ends, down in a group", TDs::dsMouseIn, TEv::beHoverEnd, DownInGroup, TDs::dsExclusive},
      {"hover ends on a cancelled press", TDs::dsDown, TEv::beHoverEnd, Plain, TDs::dsUp},
      {"hover ends during the click", TDs::dsDown, TEv::beHoverEnd, InClick, TDs::dsDown},
      {"hover ends on a disabled button", TDs::dsDisabled, TEv::beHoverEnd, Disabled, TDs::dsDisabled},
      {"left press on an up button", TDs::dsMouseIn, TEv::beLeftPress, Plain, TDs::dsDown},
      {"left press on a down button", TDs::dsExclusive, TEv::beLeftPress, DownInGroup, TDs::dsExclusive},
      {"pressed, pointer outside", TDs::dsDown, TEv::bePointerOutside, Plain, TDs::dsUp},
      {"pressed, pointer back inside", TDs::dsUp, TEv::bePointerInside, Plain, TDs::dsDown},
      {"pressed down button, outside", TDs::dsExclusive, TEv::bePointerOutside, DownInGroup, TDs::dsExclusive},
      {"pressed down button, inside", TDs::dsExclusive, TEv::bePointerInside, DownInGroup, TDs::dsExclusive},
      {"click starts when up", TDs::dsUp, TEv::beClickStarts, Plain, TDs::dsDown},
      {"click starts when hot", TDs::dsMouseIn, TEv::beClickStarts, Plain, TDs::dsDown},
      {"click starts on a down button", TDs::dsExclusive, TEv::beClickStarts, DownInGroup, TDs::dsExclusive},
      {"click ends", TDs::dsDown, TEv::beClickEnds, Plain, TDs::dsUp},
      {"click ends on a down button", TDs::dsExclusive, TEv::beClickEnds, DownInGroup, TDs::dsExclusive},
      {"Down set", TDs::dsMouseIn, TEv::beDownApplied, DownInGroup, TDs::dsExclusive},
      {"Down cleared", TDs::dsExclusive, TEv::beDownApplied, Plain, TDs::dsUp},
      {"Down set while disabled", TDs::dsDisabled, TEv::beDownApplied, DisabledDownInGroup, TDs::dsDisabled},
      {"another of the group goes down", TDs::dsExclusive, TEv::beReleasedByGroup, DownInGroup, TDs::dsUp},
  };
  for (const TCase& c : cases) EXPECT_EQ(NextDrawState(c.From, c.Event, c.Facts), c.To) << c.Name;
}

TEST(ButtonRules, DownNeedsAGroup) {
  EXPECT_FALSE(EffectiveDown(true, 0));
  EXPECT_TRUE(EffectiveDown(true, -3));
  EXPECT_FALSE(EffectiveDown(false, 1));
}

// The main part ends where a split button's arrow part begins; without a menu the arrow part is no part.
TEST(ButtonRules, MainPartAndMenuPress) {
  struct TCase {
    const char* Name;
    TIntPoint At;
    bool Combo;
    bool Hits;
  };
  const TIntSize size{34, 22};
  const TCase cases[] = {
      {"top left", {0, 0}, false, true},
      {"bottom right pixel", {33, 21}, false, true},
      {"right of the button", {34, 5}, false, false},
      {"below the button", {5, 22}, false, false},
      {"left of the button", {-1, 5}, false, false},
      {"above the button", {5, -1}, false, false},
      {"last main pixel, split", {22, 5}, true, true},
      {"first arrow pixel, split", {23, 5}, true, false},
  };
  for (const TCase& c : cases) EXPECT_EQ(HitsMainPart(c.At, size, c.Combo), c.Hits) << c.Name;

  EXPECT_TRUE(PressOpensMenu(0, 34, true, false)) << "a menu button opens its menu anywhere";
  EXPECT_FALSE(PressOpensMenu(22, 34, true, true)) << "a split button's main part clicks";
  EXPECT_TRUE(PressOpensMenu(23, 34, true, true)) << "its arrow part opens the menu";
  EXPECT_FALSE(PressOpensMenu(30, 34, false, true)) << "no menu, nothing to open";
}

TEST(ButtonRules, PropertyLimits) {
  EXPECT_EQ(WidthForDropdownCombo(23, true), 34);
  EXPECT_EQ(WidthForDropdownCombo(34, false), 23);
  EXPECT_EQ(WidthForDropdownCombo(5, false), 1) << "never narrower than one pixel";
  EXPECT_EQ(WidthForDropdownCombo(12, false), 1);
  const int numGlyphs[][2] = {{0, 1}, {-4, 1}, {1, 1}, {3, 3}, {5, 5}, {6, 5}, {9, 5}};
  for (const auto& [asked, kept] : numGlyphs) EXPECT_EQ(ClampNumGlyphs(asked), kept) << "NumGlyphs " << asked;
  EXPECT_TRUE(AcceptsMargin(-1));
  EXPECT_TRUE(AcceptsMargin(0));
  EXPECT_FALSE(AcceptsMargin(-5));
}

// The frame table: which edge, around what, where the content goes and whether the checker shows.
TEST(ButtonRules, FrameFollowsFlatnessStateAndHover) {
  struct TCase {
    const char* Name;
    TButtonFrameInput In;
    TButtonFrame Out;
  };
  const TIntSize size{23, 22};
  const TIntRect whole{0, 0, 23, 22};
  const TIntRect flatContent{1, 1, 22, 21}, raisedContent{2, 2, 21, 20};
  using E = TButtonEdge;
  const TCase cases[] = {
      {"flat at rest: no frame", {size, true, false, TDs::dsUp, false}, {E::beNone, {}, E::beNone, {}, flatContent}},
      {"flat, hot", {size, true, false, TDs::dsMouseIn, true}, {E::beRaised, whole, E::beNone, {}, flatContent}},
      {"flat, pressed",
       {size, true, false, TDs::dsDown, true},
       {E::beSunken, whole, E::beNone, {}, flatContent, {1, 1}}},
      {"flat, disabled under the pointer",
       {size, true, false, TDs::dsDisabled, true},
       {E::beNone, {}, E::beNone, {}, flatContent}},
      {"flat, down in its group, not hot: checker",
       {size, true, false, TDs::dsExclusive, false},
       {E::beSunken, whole, E::beNone, {}, flatContent, {1, 1}, true}},
      {"flat, down in its group, hot: no checker",
       {size, true, false, TDs::dsExclusive, true},
       {E::beSunken, whole, E::beNone, {}, flatContent, {1, 1}, false}},
      {"raised at rest", {size, false, false, TDs::dsUp, false}, {E::beRaised, whole, E::beNone, {}, raisedContent}},
      {"raised, pressed",
       {size, false, false, TDs::dsDown, false},
       {E::beSunken, whole, E::beNone, {}, raisedContent, {1, 1}}},
      {"raised, down in its group, hot: checker",
       {size, false, false, TDs::dsExclusive, true},
       {E::beSunken, whole, E::beNone, {}, raisedContent, {1, 1}, true}},
      {"no border, pressed", {size, false, true, TDs::dsDown, true}, {E::beNone, {}, E::beNone, {}, whole, {1, 1}}},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    const TButtonFrame f = ComputeButtonFrame(c.In);
    EXPECT_EQ(f.Main, c.Out.Main);
    EXPECT_EQ(f.MainRect, c.Out.MainRect);
    EXPECT_EQ(f.ArrowPart, c.Out.ArrowPart);
    EXPECT_EQ(f.Content, c.Out.Content);
    EXPECT_EQ(f.PressOffset, c.Out.PressOffset);
    EXPECT_EQ(f.CheckerFill, c.Out.CheckerFill);
    EXPECT_FALSE(f.ComboArrow);
  }
}

// A split button: the arrow part is framed first, the main part loses its 11 pixels, and a press on the
// arrow part sinks only that part and leaves the content where it was.
TEST(ButtonRules, SplitButtonFramesItsArrowPartApart) {
  struct TCase {
    const char* Name;
    TDs State;
    bool MouseIn, MenuDown;
    TButtonEdge Main, Arrow;
    TIntPoint Offset;
  };
  using E = TButtonEdge;
  const TCase cases[] = {
      {"hot", TDs::dsMouseIn, true, false, E::beRaised, E::beRaised, {0, 0}},
      {"main part pressed", TDs::dsDown, true, false, E::beSunken, E::beRaised, {1, 1}},
      {"arrow part pressed", TDs::dsDown, false, true, E::beRaised, E::beSunken, {0, 0}},
      {"at rest", TDs::dsUp, false, false, E::beNone, E::beNone, {0, 0}},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    const TButtonFrame f = ComputeButtonFrame({{34, 22}, true, false, c.State, c.MouseIn, true, c.MenuDown});
    EXPECT_EQ(f.Main, c.Main);
    EXPECT_EQ(f.ArrowPart, c.Arrow);
    if (c.Main != E::beNone) {
      EXPECT_EQ(f.MainRect, (TIntRect{0, 0, 23, 22}));
      EXPECT_EQ(f.ArrowPartRect, (TIntRect{23, 0, 32, 22}));
    }
    EXPECT_EQ(f.Content, (TIntRect{1, 1, 22, 21})) << "the main part less its border, framed or not";
    EXPECT_EQ(f.PressOffset, c.Offset);
    EXPECT_TRUE(f.ComboArrow);
    EXPECT_EQ(f.ComboArrowAt, (TIntPoint{21, 10}));
  }
  // Odd heights: the arrow sits one pixel above the truncated middle.
  EXPECT_EQ(ComputeButtonFrame({{34, 23}, true, false, TDs::dsUp, false, true}).ComboArrowAt, (TIntPoint{21, 10}));
}

TEST(ButtonRules, CaptionAccelerator) {
  struct TCase {
    const char* Caption;
    char32_t Accelerator;
  };
  const TCase cases[] = {
      {"&Encode", U'E'},
      {"C&hange", U'h'},
      {"Encode", 0},
      {"Save && go", 0},
      {"A&&&b", U'b'},
      {"trailing&", 0},
      {"&&", 0},
      {"", 0},
      {"\xC3\xA9&\xC3\xA9t\xC3\xA9", U'\u00E9'},
      {"&\xE6\x97\xA5", U'\u65E5'},
      {"&\xF0\x9F\x8E\xB5", U'\U0001F3B5'},
      {"&\xA9x", 0} /* a stray trail byte */,
      {"&\xE6\x97", 0} /* cut short */,
  };
  for (const TCase& c : cases)
    EXPECT_EQ(static_cast<unsigned>(CaptionAccelerator(c.Caption)), static_cast<unsigned>(c.Accelerator))
        << "caption \"" << c.Caption << "\"";
}

TEST(ButtonRules, MenuOpensBelowOrBesideTheButton) {
  const TIntSize size{23, 22};
  EXPECT_EQ(ButtonMenuAnchor(size, TButtonMenuSide::msBelow), (TButtonMenuAnchor{{0, 22}, false}));
  EXPECT_EQ(ButtonMenuAnchor(size, TButtonMenuSide::msRightOf), (TButtonMenuAnchor{{23, 0}, false}));
  EXPECT_EQ(ButtonMenuAnchor(size, TButtonMenuSide::msLeftOf), (TButtonMenuAnchor{{0, 0}, true}));
}

} // namespace
} // namespace qs
