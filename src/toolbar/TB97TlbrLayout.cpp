#include "TB97TlbrLayout.h"

#include <algorithm>
#include <cstdint>
#include <limits>

#include "TB97FloatLayout.h"
#include "TB97ListSort.h"

namespace qs {

namespace {

struct TMargins {
  int Left, Top, Right, Bottom;
};

TMargins MarginsFor(bool docked) {
  if (docked) return {0, 0, 0, 0};
  return {FloatingMarginLeft, FloatingMarginTop, FloatingMarginRight, FloatingMarginBottom};
}

// Size of a child along the line of controls.
int MainSize(const TToolbarChild& child, bool vertical) {
  if (child.IsSeparator) return vertical ? child.SizeVert : child.SizeHorz;
  return vertical ? child.Height : child.Width;
}

// A child's bounds at main position x and cross position y in a row `cross` thick: separators span the row,
// other controls are centred across it (the halving truncates toward zero, as signed division does).
TIntRect ChildBounds(const TToolbarChild& child, bool vertical, int x, int y, int cross) {
  if (vertical) {
    if (child.IsSeparator) return TIntRect::FromBounds(y, x, cross, child.SizeVert);
    return TIntRect::FromBounds(y + (cross - child.Width) / 2, x, child.Width, child.Height);
  }
  if (child.IsSeparator) return TIntRect::FromBounds(x, y, child.SizeHorz, cross);
  return TIntRect::FromBounds(x, y + (cross - child.Height) / 2, child.Width, child.Height);
}

// The wrap width a run of `length` pixels from x needs, with the right margin after it. 64-bit: compared with
// wrap widths up to the largest integer.
std::int64_t Needs(int x, int length, int rightMargin) { return static_cast<std::int64_t>(x) + length + rightMargin; }

struct TFlowResult {
  TIntSize ClientSize;
  // The largest wrap-width test that passed (a segment or control that stayed in its row). The same layout comes
  // out for every wrap width from this one up to the one used: the tests that passed still pass, those that
  // failed still fail.
  std::int64_t RequiredWrapWidth = 0;
};

// The flow of segments into rows. Answers the client size; with `out` it also records every placement and row
// line (LayoutChildren with moveControls).
TFlowResult Flow(const std::vector<TToolbarChild>& children, const std::vector<TToolbarSegment>& segments,
                 TDockOrientation orientation, int wrapWidth, int thickness, int cross, TToolbarLayout* out) {
  const bool docked = orientation != doFloating;
  const bool vertical = orientation == doVertical;
  const TMargins margins = MarginsFor(docked);
  const bool canWrap = !docked;

  int y = margins.Top;
  int x = margins.Left;
  int extent = margins.Left; // the largest main extent so far
  bool wrapPending = false;
  int lastSeparator = -1; // the child just placed, when it was a separator
  int previousExtent = 0; // the extent before that child

  TFlowResult result;
  // Tests whether a run fits the row, remembering the largest one that did.
  const auto runsPast = [&](int length) {
    const std::int64_t needed = Needs(x, length, margins.Right);
    if (needed > wrapWidth) return true;
    result.RequiredWrapWidth = std::max(result.RequiredWrapWidth, needed);
    return false;
  };

  if (segments.empty()) extent = margins.Left + EmptyToolbarLength;
  for (std::size_t s = 0; s < segments.size(); ++s) {
    const TToolbarSegment& segment = segments[s];
    const int length = vertical ? segment.HeightSum : segment.WidthSum;
    if (canWrap && (wrapPending || runsPast(length))) {
      wrapPending = false;
      x = margins.Left;
      if (s != 0) {
        y += thickness + WrappedRowGap;
        if (lastSeparator >= 0) {
          // The separator ending the row above takes no room there and gives way to the row line.
          extent = previousExtent;
          if (out) {
            TToolbarPlacement& separator = out->Placements.back();
            separator.Bounds.Right = separator.Bounds.Left;
            separator.EndsWrappedRow = true;
            out->RowLines.push_back({y, children[static_cast<std::size_t>(lastSeparator)].Blank});
          }
        }
      }
    }
    extent = std::max(extent, x);
    for (const int index : segment.Children) {
      const TToolbarChild& child = children[static_cast<std::size_t>(index)];
      const int size = MainSize(child, vertical);
      if (canWrap && !child.IsSeparator && runsPast(size)) {
        // A segment longer than a row breaks here, without a gap or a line; the next segment starts a new row.
        x = margins.Left;
        y += thickness;
        wrapPending = true;
      }
      if (out)
        out->Placements.push_back(
            {child.Tag, index, child.IsSeparator, ChildBounds(child, vertical, x, y, cross), false});
      x += size;
      previousExtent = extent;
      lastSeparator = child.IsSeparator ? index : -1;
      extent = std::max(extent, x);
    }
  }
  const int mainExtent = extent + margins.Right;
  const int crossExtent = y + thickness + margins.Bottom;
  result.ClientSize = vertical ? TIntSize{crossExtent, mainExtent} : TIntSize{mainExtent, crossExtent};
  return result;
}

// The widest control, shown or not, plus both margins: no wrap width may be narrower.
int WrapWidthFloor(const std::vector<TToolbarChild>& children) {
  int floor = 0;
  for (const TToolbarChild& child : children)
    if (!child.IsSeparator) floor = std::max(floor, child.Width + WrapWidthChildMargin);
  return floor;
}

std::int16_t Saturate16(int value) {
  return static_cast<std::int16_t>(
      std::clamp<int>(value, std::numeric_limits<std::int16_t>::min(), std::numeric_limits<std::int16_t>::max()));
}

TSizeCandidate WindowCandidate(TIntSize clientSize, TIntPoint frameMetrics, int captionHeight) {
  const TIntSize window = FloatingWindowSize(clientSize, frameMetrics, captionHeight);
  return {Saturate16(window.Width), Saturate16(window.Height)};
}

int Extent(const TSizeCandidate& candidate, bool byHeight) { return byHeight ? candidate.Height : candidate.Width; }

int CompareDescending(const TSizeCandidate& a, const TSizeCandidate& b, bool byHeight) {
  return Extent(b, byHeight) - Extent(a, byHeight);
}

} // namespace

int ToolbarDockedThickness(const std::vector<TToolbarChild>& children, TDockOrientation orientation) {
  int thickness = MinToolbarThickness;
  for (const TToolbarChild& child : children)
    if (child.Shown && !child.IsSeparator)
      thickness = std::max(thickness, orientation == doVertical ? child.Width : child.Height);
  return thickness;
}

int EffectiveWrapWidth(const std::vector<TToolbarChild>& children, TDockOrientation orientation, int floatRightX) {
  if (orientation != doFloating || floatRightX == 0) return NoWrapWidth;
  return std::max(floatRightX, WrapWidthFloor(children));
}

std::vector<TToolbarSegment> BuildSegments(const std::vector<TToolbarChild>& children) {
  std::vector<TToolbarSegment> segments;
  bool startNew = true;
  for (std::size_t i = 0; i < children.size(); ++i) {
    const TToolbarChild& child = children[i];
    if (!child.Shown) continue;
    if (startNew) segments.emplace_back();
    TToolbarSegment& segment = segments.back();
    segment.Children.push_back(static_cast<int>(i));
    if (!child.IsSeparator) {
      segment.WidthSum += child.Width;
      segment.HeightSum += child.Height;
    }
    startNew = child.IsSeparator;
  }
  return segments;
}

TToolbarLayout LayoutToolbar(const std::vector<TToolbarChild>& children, const TToolbarLayoutParams& params) {
  TToolbarLayout layout;
  layout.Segments = BuildSegments(children);
  const int thickness = ToolbarDockedThickness(children, params.Orientation);
  layout.ClientSize = Flow(children, layout.Segments, params.Orientation,
                           EffectiveWrapWidth(children, params.Orientation, params.FloatRightX), thickness,
                           params.CrossSize.value_or(thickness), &layout)
                          .ClientSize;
  return layout;
}

TIntSize MeasureToolbar(const std::vector<TToolbarChild>& children, const TToolbarLayoutParams& params) {
  const int thickness = ToolbarDockedThickness(children, params.Orientation);
  return Flow(children, BuildSegments(children), params.Orientation,
              EffectiveWrapWidth(children, params.Orientation, params.FloatRightX), thickness,
              params.CrossSize.value_or(thickness), nullptr)
      .ClientSize;
}

std::vector<TSizeCandidate> BuildSizeCandidates(const std::vector<TToolbarChild>& children, TIntPoint frameMetrics,
                                                int captionHeight, bool byHeight, TCandidateStats* stats) {
  TCandidateStats counted;
  const std::vector<TToolbarSegment> segments = BuildSegments(children);
  const int thickness = ToolbarDockedThickness(children, doFloating);

  // The last layout computed, the wrap width it was computed at, and the smallest wrap width giving the same.
  TFlowResult last;
  std::int64_t lastWrapWidth = 0;
  const auto layoutAt = [&](int wrapWidth) {
    if (last.RequiredWrapWidth <= wrapWidth && wrapWidth <= lastWrapWidth) {
      ++counted.LayoutsReused;
      return last.ClientSize;
    }
    ++counted.LayoutsRun;
    last = Flow(children, segments, doFloating, wrapWidth, thickness, thickness, nullptr);
    lastWrapWidth = wrapWidth;
    return last.ClientSize;
  };

  std::vector<TSizeCandidate> candidates;
  const TIntSize singleRow = layoutAt(NoWrapWidth);
  candidates.push_back(WindowCandidate(singleRow, frameMetrics, captionHeight));
  int lastHeight = singleRow.Height;
  int limit = INT_MAX;
  for (int w = singleRow.Width - 1; w >= thickness + WrapWidthChildMargin; --w) {
    ++counted.WrapWidths;
    if (w > limit) {
      ++counted.WidthsSkipped;
      continue;
    }
    const TIntSize size = layoutAt(EffectiveWrapWidth(children, doFloating, w));
    if (size.Width != w) {
      // Every wrap width from here down to that width gives this same layout.
      limit = size.Width;
      continue;
    }
    if (size.Height == lastHeight) candidates.pop_back(); // the narrower layout of one height replaces the wider
    const TSizeCandidate candidate = WindowCandidate(size, frameMetrics, captionHeight);
    if (std::find(candidates.begin(), candidates.end(), candidate) == candidates.end()) candidates.push_back(candidate);
    lastHeight = size.Height;
  }
  ListSort(candidates, CompareDescending, byHeight);
  if (stats) *stats = counted;
  return candidates;
}

bool SizesByHeight(int hitTest) { return hitTest == htTop || hitTest == htBottom; }

int SizingTolerance(const std::vector<TSizeCandidate>& candidates, TIntSize windowSize, bool byHeight) {
  int tolerance = SnapTolerance;
  for (std::size_t i = 0; i < candidates.size(); ++i) {
    const TSizeCandidate& candidate = candidates[i];
    if (candidate.Width != windowSize.Width || candidate.Height != windowSize.Height) continue;
    const int extent = Extent(candidate, byHeight);
    if (i > 0) tolerance = std::min(tolerance, Extent(candidates[i - 1], byHeight) - extent - 1);
    if (i + 1 < candidates.size()) tolerance = std::min(tolerance, extent - Extent(candidates[i + 1], byHeight) - 1);
    break;
  }
  return std::max(tolerance, 0);
}

TToolbarSizing BeginToolbarSizing(const std::vector<TToolbarChild>& children, int hitTest, int floatRightX,
                                  TIntSize windowSize, TIntPoint frameMetrics, int captionHeight) {
  TToolbarSizing sizing;
  const bool byHeight = SizesByHeight(hitTest);
  sizing.HitTest = hitTest;
  sizing.Candidates = BuildSizeCandidates(children, frameMetrics, captionHeight, byHeight);
  sizing.ResultingWrapWidth = floatRightX;
  sizing.Tolerance = SizingTolerance(sizing.Candidates, windowSize, byHeight);
  return sizing;
}

TIntRect ToolbarSizingRect(TToolbarSizing& sizing, const TIntRect& startRect, const TIntRect& window, int frameLeft,
                           TIntPoint cursor) {
  const int hit = sizing.HitTest;
  if (sizing.Candidates.empty() || (hit != htLeft && hit != htRight && hit != htTop && hit != htBottom))
    return startRect;
  const bool byHeight = SizesByHeight(hit);

  // How far the cursor is from the edge that stays put, and the window's extent along the same axis.
  int cursorExtent = byHeight ? cursor.Y - window.Top : cursor.X - window.Left;
  if (hit == htLeft) cursorExtent = window.Width() - cursorExtent;
  if (hit == htTop) cursorExtent = window.Height() - cursorExtent;
  const int current = byHeight ? window.Height() : window.Width();

  const bool shrinking = current > cursorExtent;
  if (!sizing.Snapped || shrinking != sizing.LastShrinking) {
    sizing.Snapped = false;
    sizing.LastShrinking = shrinking;
    if (cursorExtent >= current - sizing.Tolerance && cursorExtent < current + sizing.Tolerance) cursorExtent = current;
  }

  TIntRect newRect = startRect;
  const bool expanding = current < cursorExtent;
  const std::size_t count = sizing.Candidates.size();
  // The single row is the widest candidate (first by width) and the lowest (last by height).
  const std::size_t singleRow = byHeight ? count - 1 : 0;
  for (std::size_t step = 0; step < count; ++step) {
    const std::size_t i = expanding ? step : count - 1 - step;
    const TSizeCandidate& candidate = sizing.Candidates[i];
    const int extent = Extent(candidate, byHeight);
    const bool taken = step == 0 || (expanding ? extent > cursorExtent : extent <= cursorExtent);
    if (!taken) continue;
    sizing.ResultingWrapWidth = i == singleRow ? 0 : candidate.Width - 2 * frameLeft;
    if (hit == htLeft) newRect.Left = newRect.Right - candidate.Width;
    if (hit == htRight || hit == htTop || hit == htBottom) newRect.Right = newRect.Left + candidate.Width;
    if (hit == htTop) newRect.Top = newRect.Bottom - candidate.Height;
    if (hit == htBottom || hit == htLeft || hit == htRight) newRect.Bottom = newRect.Top + candidate.Height;
    sizing.Snapped = newRect != startRect;
  }
  return newRect;
}

} // namespace qs
