#include "TB97ButtonRules.h"

#include "TextRules.h"

#include <algorithm>

namespace qs {

namespace {

using TDs = TButtonDrawState;

// Where a button comes to rest: held down in its group, or up.
TDs RestingState(const TButtonFacts& f) { return f.Down && f.Grouped ? TDs::dsExclusive : TDs::dsUp; }

} // namespace

TButtonDrawState NextDrawState(TButtonDrawState state, TButtonEvent event, const TButtonFacts& f) {
  switch (event) {
  case TButtonEvent::beDisabled: return TDs::dsDisabled;
  case TButtonEvent::beEnabled: return state == TDs::dsDisabled ? RestingState(f) : state;
  case TButtonEvent::beHoverBegin: return state == TDs::dsUp ? TDs::dsMouseIn : state;
  case TButtonEvent::beHoverEnd:
    // A button shown pressed by its own running click stays so until the click is over.
    if (state == TDs::dsMouseIn || (state == TDs::dsDown && !f.InClick)) return RestingState(f);
    return state;
  case TButtonEvent::beLeftPress: return f.Down ? state : TDs::dsDown;
  case TButtonEvent::bePointerOutside: return f.Down ? TDs::dsExclusive : TDs::dsUp;
  case TButtonEvent::bePointerInside: return f.Down ? TDs::dsExclusive : TDs::dsDown;
  case TButtonEvent::beClickStarts: return state == TDs::dsUp || state == TDs::dsMouseIn ? TDs::dsDown : state;
  case TButtonEvent::beClickEnds: return state == TDs::dsDown ? TDs::dsUp : state;
  case TButtonEvent::beDownApplied:
    if (!f.Enabled) return TDs::dsDisabled;
    return f.Down ? TDs::dsExclusive : TDs::dsUp;
  case TButtonEvent::beReleasedByGroup: return TDs::dsUp;
  }
  return state;
}

bool HitsMainPart(TIntPoint p, TIntSize size, bool comboWithMenu) {
  const int right = size.Width - (comboWithMenu ? DropdownComboSpace : 0);
  return p.X >= 0 && p.X < right && p.Y >= 0 && p.Y < size.Height;
}

bool PressOpensMenu(int x, int width, bool hasMenu, bool dropdownCombo) {
  return hasMenu && (!dropdownCombo || x >= width - DropdownComboSpace);
}

int WidthForDropdownCombo(int width, bool dropdownCombo) {
  return dropdownCombo ? width + DropdownComboSpace : std::max(width - DropdownComboSpace, 1);
}

int ClampNumGlyphs(int numGlyphs) { return std::clamp(numGlyphs, MinNumGlyphs, MaxButtonNumGlyphs); }

//   flat, split, pressed on the arrow part:
//   +-----------------+--------+--+
//   | main (raised)   | arrow  |  |   the arrow part is framed up to 2 pixels short of the right edge;
//   |   content       | sunken |  |   the content area is the main part less its border
//   +-----------------+--------+--+
TButtonFrame ComputeButtonFrame(const TButtonFrameInput& in) {
  TButtonFrame frame;
  const bool isDown = in.State == TDs::dsDown || in.State == TDs::dsExclusive;
  const bool arrowPartAloneDown = in.ComboWithMenu && in.MenuDown;
  const bool framed = !in.NoBorder && (!in.Flat || isDown || (in.MouseIn && in.State != TDs::dsDisabled));
  TIntRect r{0, 0, in.Size.Width, in.Size.Height};
  if (in.ComboWithMenu) {
    if (framed) {
      frame.ArrowPart = isDown && in.MenuDown ? TButtonEdge::beSunken : TButtonEdge::beRaised;
      frame.ArrowPartRect = TIntRect{r.Right - DropdownComboSpace, r.Top, r.Right - ComboPartFrameRightInset, r.Bottom};
    }
    r.Right -= DropdownComboSpace;
  }
  if (framed) {
    frame.Main = isDown && !arrowPartAloneDown ? TButtonEdge::beSunken : TButtonEdge::beRaised;
    frame.MainRect = r;
  }
  if (!in.NoBorder) {
    const int border = in.Flat ? FlatBorderWidth : RaisedBorderWidth;
    r = r.Inflate(-border, -border);
  }
  frame.Content = r;
  if (isDown && !arrowPartAloneDown) {
    frame.PressOffset = PressedContentOffset;
    frame.CheckerFill = in.State == TDs::dsExclusive && (!in.Flat || !in.MouseIn);
  }
  if (in.ComboWithMenu) {
    frame.ComboArrow = true;
    frame.ComboArrowAt = TIntPoint{in.Size.Width - ComboArrowFromRight, in.Size.Height / 2 - ComboArrowAboveMiddle};
  }
  return frame;
}

std::string AcceleratorText(std::string_view caption) {
  // The bytes that continue a UTF-8 character after its first: 10xxxxxx.
  constexpr unsigned char ContinuationMask = 0xC0, ContinuationBits = 0x80;
  const auto continues = [&](size_t i) {
    return (static_cast<unsigned char>(caption[i]) & ContinuationMask) == ContinuationBits;
  };
  for (size_t i = 0; i + 1 < caption.size(); ++i) {
    if (caption[i] != '&') continue;
    if (caption[++i] == '&') continue; // "&&" shows one ampersand
    size_t end = i + 1;
    while (end < caption.size() && continues(end)) ++end;
    return std::string(caption.substr(i, end - i));
  }
  return {};
}

char32_t CaptionAccelerator(std::string_view caption) { return Utf8CodePoint(AcceleratorText(caption)); }

TButtonMenuAnchor ButtonMenuAnchor(TIntSize button, TButtonMenuSide side) {
  switch (side) {
  case TButtonMenuSide::msRightOf: return TButtonMenuAnchor{TIntPoint{button.Width, 0}, false};
  case TButtonMenuSide::msLeftOf: return TButtonMenuAnchor{TIntPoint{0, 0}, true};
  case TButtonMenuSide::msBelow: break;
  }
  return TButtonMenuAnchor{TIntPoint{0, button.Height}, false};
}

} // namespace qs
