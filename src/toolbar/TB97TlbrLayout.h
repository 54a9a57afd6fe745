#pragma once
// The toolbar's flow layout as plain values: its children (buttons and separators) in their order go into one
// line along the dock, or, floating, into rows that wrap at a chosen width; and the resize of the floating
// window snaps to the widths at which that layout actually changes.
//
// Segments: the children split after every separator; a floating toolbar wraps between segments where it can
// (the separator ending the row is shrunk to width 0 and an etched line marks the 6-pixel gap), and only breaks
// inside a segment that is longer than a whole row (no gap, no line).
//
//   floating, wrap width W:
//   +----------------------------+
//   | [b][b]|[b][b][b]|          |   row 0          (margins: left 4, top 2, right 4, bottom 1)
//   |----------------------------|   line at y - 4 (shadow) and y - 3 (highlight)
//   | [b][b][b]|[b]              |   row 1 at y = 2 + T + 6
//   +----------------------------+
#include <climits>
#include <cstdint>
#include <optional>
#include <vector>

#include "Geometry.h"
#include "TB97DockLayout.h"

namespace qs {

// Margins between a floating toolbar's client edge and its controls (a docked toolbar has none).
constexpr int FloatingMarginLeft = 4;
constexpr int FloatingMarginTop = 2;
constexpr int FloatingMarginRight = 4;
constexpr int FloatingMarginBottom = 1;
// A row is never thinner than this, and a toolbar without shown children is this long.
constexpr int MinToolbarThickness = 8;
constexpr int EmptyToolbarLength = 8;
// A wrap width is never less than a child's width plus this, so every control fits a row with both margins.
constexpr int WrapWidthChildMargin = FloatingMarginLeft + FloatingMarginRight;
// Extra gap between two rows wrapped at a separator; the row line is drawn in it.
constexpr int WrappedRowGap = 6;
// The row line's shadow and highlight lie this far above the row below it.
constexpr int RowLineShadowOffset = 4;
constexpr int RowLineHighlightOffset = 3;
// No wrapping: the wrap width of a docked toolbar, or of a floating one with FloatRightX 0.
constexpr int NoWrapWidth = INT_MAX;
// How close (pixels) the cursor must come to the current size before a resize leaves it.
constexpr int SnapTolerance = 12;
// Default separator size along the line.
constexpr int DefaultSeparatorSize = 6;

// One child of the toolbar as the layout sees it.
struct TToolbarChild {
  int Tag = 0;       // the caller's handle for the control
  bool Shown = true; // Visible; a hidden child takes no place but still counts for the wrap width
  bool IsSeparator = false;
  int Width = 0; // a control's own size (separators: ignored; their size comes from SizeHorz/SizeVert)
  int Height = 0;
  int SizeHorz = DefaultSeparatorSize; // a separator's size along a horizontal (or floating) line
  int SizeVert = DefaultSeparatorSize; // and along a vertical line
  bool Blank = false;                  // a separator that draws nothing (and no row line)
};

// Which layout to make.
struct TToolbarLayoutParams {
  TDockOrientation Orientation = doFloating; // of the dock laid out for; doFloating = no dock
  int FloatRightX = 0;                       // the floating wrap width; 0 = one row
  // The thickness of the row the controls are centred in: the dock's row thickness when laying out for the dock
  // the toolbar sits in now. Without it, the toolbar's own docked thickness for the orientation.
  std::optional<int> CrossSize;
};

// Where a shown child goes, in toolbar client coordinates.
struct TToolbarPlacement {
  int Tag = 0;
  int Index = 0; // into the children passed in
  bool IsSeparator = false;
  TIntRect Bounds;             // a separator that ends a wrapped row is 0 wide here
  bool EndsWrappedRow = false; // that separator: it shows nothing, the row line below takes its place
};

// One etched line between wrapped rows: Y is the top of the row below it.
struct TToolbarRowLine {
  int Y = 0;
  bool Blank = false; // from the separator that caused the wrap: a blank one draws no line
  friend bool operator==(const TToolbarRowLine&, const TToolbarRowLine&) = default;
};

// The shown children between two wrap points: each ends with its separator, except perhaps the last.
struct TToolbarSegment {
  int WidthSum = 0; // of its non-separator controls
  int HeightSum = 0;
  std::vector<int> Children; // indices into the children passed in, in layout order
};

// A layout that moves the controls.
struct TToolbarLayout {
  std::vector<TToolbarPlacement> Placements; // every shown child, in layout order
  std::vector<TToolbarRowLine> RowLines;
  std::vector<TToolbarSegment> Segments;
  TIntSize ClientSize;
};

// GetDockedThickness: the thickest shown control across a dock of this orientation (widths for a vertical dock,
// heights otherwise), at least MinToolbarThickness.
int ToolbarDockedThickness(const std::vector<TToolbarChild>& children, TDockOrientation orientation);
// The wrap width a layout really uses: none when docked or FloatRightX is 0; else FloatRightX raised so that
// every control, shown or not, fits a row with both margins.
int EffectiveWrapWidth(const std::vector<TToolbarChild>& children, TDockOrientation orientation, int floatRightX);
// The segments of the shown children, in the order given (the toolbar's ChildOrder).
std::vector<TToolbarSegment> BuildSegments(const std::vector<TToolbarChild>& children);

// LayoutChildren with moveControls: every shown child's bounds, the row lines, the segments and the client size.
// `children` is the toolbar's ChildOrder (hidden children included, marked not Shown).
TToolbarLayout LayoutToolbar(const std::vector<TToolbarChild>& children, const TToolbarLayoutParams& params);
// LayoutChildren without moving: only the client size (for a candidate dock or a candidate size).
TIntSize MeasureToolbar(const std::vector<TToolbarChild>& children, const TToolbarLayoutParams& params);

// One whole-window size a floating toolbar can snap to, kept as two signed 16-bit values (saturated).
struct TSizeCandidate {
  std::int16_t Width = 0;
  std::int16_t Height = 0;
  friend bool operator==(const TSizeCandidate&, const TSizeCandidate&) = default;
};

// What building the candidates cost, for the benchmark.
struct TCandidateStats {
  int WrapWidths = 0;    // wrap widths from the single row's width - 1 down to T0 + 8
  int WidthsSkipped = 0; // passed over because the last layout was narrower than they are (the `limit` rule)
  int LayoutsReused = 0; // laid out at, but answered by the last layout computed, which holds there too
  int LayoutsRun = 0;    // layouts actually computed, the single row included
};

// The floating window sizes at which the layout changes: the single row first, then every wrap width that gives
// a layout of its own (of two layouts of one height the narrower wins), sorted descending by height (byHeight)
// or width. Equal to laying out at every wrap width, but each distinct layout is computed once.
std::vector<TSizeCandidate> BuildSizeCandidates(const std::vector<TToolbarChild>& children, TIntPoint frameMetrics,
                                                int captionHeight, bool byHeight, TCandidateStats* stats = nullptr);

// True when a resize from this hit-test zone changes the height (top and bottom edges), so the candidates are
// ordered and compared by height.
bool SizesByHeight(int hitTest);
// The snap tolerance around the current size: SnapTolerance, lowered below the distance to each neighbouring
// candidate so that the neighbours stay reachable; never negative.
int SizingTolerance(const std::vector<TSizeCandidate>& candidates, TIntSize windowSize, bool byHeight);

// The state of one interactive resize of the floating toolbar.
struct TToolbarSizing {
  int HitTest = 0;
  std::vector<TSizeCandidate> Candidates;
  int ResultingWrapWidth = 0; // the FloatRightX to keep when the resize is accepted
  bool Snapped = false;
  bool LastShrinking = false;
  int Tolerance = SnapTolerance;
};

// SizingBegins: the candidates for the zone being dragged and the tolerance around the window's current size.
TToolbarSizing BeginToolbarSizing(const std::vector<TToolbarChild>& children, int hitTest, int floatRightX,
                                  TIntSize windowSize, TIntPoint frameMetrics, int captionHeight);
// SizingRectChanged: the rectangle the resize outline snaps to for the cursor. window = the floating window's
// bounds on screen now, frameLeft = its client origin's x minus its left, startRect = the bounds when the resize
// began. Updates the sizing state (wrap width, snapped, direction).
TIntRect ToolbarSizingRect(TToolbarSizing& sizing, const TIntRect& startRect, const TIntRect& window, int frameLeft,
                           TIntPoint cursor);

} // namespace qs
