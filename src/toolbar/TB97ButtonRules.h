#pragma once
// The toolbar button's decisions that need no window: how its draw state follows the events that change it,
// which part of it a point hits, the frame it draws and where its content goes inside, where its dropdown
// menu opens, and the limits its properties keep. Pure: facts in, answers out.
#include "Geometry.h"
#include "TB97CtlsLayout.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace qs {

// A split button's arrow part: the right 11 pixels open the menu, the rest is the button.
constexpr int DropdownComboSpace = 11;
// The arrow part's frame stops this far short of the button's right edge, under the arrow it frames.
constexpr int ComboPartFrameRightInset = 2;
// The combo arrow's box: this far left of the right edge, this far above the middle.
constexpr int ComboArrowFromRight = 13;
constexpr int ComboArrowAboveMiddle = 1;
// The frame takes this much on each side: one edge when flat, two when raised.
constexpr int FlatBorderWidth = 1;
constexpr int RaisedBorderWidth = 2;
// How far the content moves right and down while the button shows pressed.
constexpr TIntPoint PressedContentOffset{1, 1};
// NumGlyphs: the glyph holds one to five state pictures side by side.
constexpr int MinNumGlyphs = 1;
constexpr int MaxButtonNumGlyphs = 5;
// NumGlyphs from which the hot state has a picture of its own, so hovering repaints even a raised button.
constexpr int NumGlyphsWithHotPicture = 5;

// What happens to a button; each may change its draw state.
enum class TButtonEvent : std::uint8_t {
  beDisabled,        // Enabled became False
  beEnabled,         // Enabled became True
  beHoverBegin,      // the pointer came over it
  beHoverEnd,        // the pointer left it (or a click ended the hover)
  beLeftPress,       // the left button went down on it
  bePointerOutside,  // pressed, the pointer is outside the main part
  bePointerInside,   // pressed, the pointer is inside the main part
  beClickStarts,     // the click operation begins
  beClickEnds,       // the click operation is over
  beDownApplied,     // the Down setter took its new value
  beReleasedByGroup, // another button of its group went down
};

// The button's situation when an event arrives.
struct TButtonFacts {
  bool Enabled = true;
  bool Down = false;
  bool Grouped = false; // GroupIndex is not 0
  bool InClick = false; // the click operation is running
};

// The draw state after `event`; the state stays when the event does not concern it.
TButtonDrawState NextDrawState(TButtonDrawState state, TButtonEvent event, const TButtonFacts& facts);

// Down as the setter takes it: a button outside a group is never down.
constexpr bool EffectiveDown(bool down, int groupIndex) { return groupIndex != 0 && down; }

// Whether (x, y) is on the part that clicks: the whole button, less a split button's arrow part.
bool HitsMainPart(TIntPoint p, TIntSize size, bool comboWithMenu);
// Whether a press at x opens the menu: anywhere on a menu button, only on the arrow part of a split one.
bool PressOpensMenu(int x, int width, bool hasMenu, bool dropdownCombo);

// The width after DropdownCombo changed at run time: the arrow part added, or taken away down to 1 pixel.
int WidthForDropdownCombo(int width, bool dropdownCombo);
// NumGlyphs as the property keeps it: within 1..5.
int ClampNumGlyphs(int numGlyphs);
// Margin takes -1 (automatic) and above; anything lower is ignored.
constexpr bool AcceptsMargin(int margin) { return margin >= AutoMargin; }

enum class TButtonEdge : std::uint8_t { beNone, beRaised, beSunken };

struct TButtonFrameInput {
  TIntSize Size;
  bool Flat = true;
  bool NoBorder = false;
  TButtonDrawState State = TButtonDrawState::dsUp;
  bool MouseIn = false;       // the pointer counts as over the button
  bool ComboWithMenu = false; // DropdownCombo with a menu set: the arrow part is drawn
  bool MenuDown = false;      // the current press opens the menu
};

struct TButtonFrame {
  TButtonEdge Main = TButtonEdge::beNone; // the edge around MainRect
  TIntRect MainRect;
  TButtonEdge ArrowPart = TButtonEdge::beNone; // the edge around ArrowPartRect (split buttons)
  TIntRect ArrowPartRect;
  TIntRect Content;         // where glyph, caption and arrow are placed
  TIntPoint PressOffset;    // (1, 1) while the content shows pressed
  bool CheckerFill = false; // Content is filled with the checker pattern first
  bool ComboArrow = false;  // the split button's arrow is drawn at ComboArrowAt
  TIntPoint ComboArrowAt;
  friend bool operator==(const TButtonFrame&, const TButtonFrame&) = default;
};

// The frame, the content rectangle and the press offset of a button in its state.
TButtonFrame ComputeButtonFrame(const TButtonFrameInput& input);

// The character a caption's "&" marks as its accelerator ("&&" is a plain ampersand), as written in the UTF-8
// caption; "" when there is none.
std::string AcceleratorText(std::string_view caption);
// The same character as a code point; 0 when there is none or it is not a well-formed character.
char32_t CaptionAccelerator(std::string_view caption);

// Where a dropdown menu opens, from the side of the dock its toolbar sits in.
enum class TButtonMenuSide : std::uint8_t {
  msBelow,   // top or bottom dock, or floating: below the button's bottom-left corner
  msRightOf, // left dock: beside its top-right corner
  msLeftOf,  // right dock: the menu's top-right corner at the button's top-left corner
};
struct TButtonMenuAnchor {
  TIntPoint Point;         // in the button's client coordinates
  bool AlignRight = false; // the menu's right edge is at Point
  friend bool operator==(const TButtonMenuAnchor&, const TButtonMenuAnchor&) = default;
};
TButtonMenuAnchor ButtonMenuAnchor(TIntSize button, TButtonMenuSide side);

} // namespace qs
