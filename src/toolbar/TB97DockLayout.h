#pragma once
// The dock's row arrangement as plain values: where each docked bar goes, how thick each row is, which row a
// drop lands in, and the dock's own bounds afterwards. The dock window builds one TDockBarLayout per bar of its
// DockedBars, calls these functions, and writes the rows, positions and bounds back through each record's Tag.
//
// Axes: in a horizontal dock (top, bottom) rows run left to right and are stacked downward; in a vertical dock
// (left, right) rows run top to bottom and are stacked rightward. "Main" is along a row, "cross" across rows.
//
//        main axis ->
//   +---------------------------+  cross offset 0
//   | row 0: [bar][bar]   [bar] |  RowThicknesses[0] + 4 (a bar's 2-pixel frame on both sides)
//   | row 1: [full-size bar...] |  RowThicknesses[1] + 4
//   +---------------------------+
#include <climits>
#include <vector>

#include "Geometry.h"

namespace qs {

// The edge a dock is aligned to.
enum TDockPosition { dpTop, dpBottom, dpLeft, dpRight };

// How a tool window is laid out: floating (no dock), in a horizontal dock or in a vertical one.
enum TDockOrientation { doFloating = 0, doHorizontal = 1, doVertical = 2 };

// Rows are at least this thick, so an empty row or a row of thin bars still gives room to drop into.
constexpr int MinRowThickness = 8;
// A docked bar's 2-pixel frame on both sides of its row.
constexpr int RowFrameThickness = 4;
// Width of the band at a row boundary in which a drop creates a new row instead of joining a row.
constexpr int DropNewRowBand = 5;
// Thickness of an empty dock at run time: 1 pixel with FixAlign (keeps its place in the alignment order), else 0.
constexpr int EmptyDockFixAlignThickness = 1;

// The orientation that bars docked at this position are laid out for.
TDockOrientation DockOrientationOf(TDockPosition position);
// True for docks whose rows run top to bottom (left and right docks).
bool IsVerticalDock(TDockPosition position);

// One docked bar as the arrangement sees it. Inputs are the bar's state before the arrangement; DockRow,
// DockPos and Bounds are what the arrangement writes back.
struct TDockBarLayout {
  int Tag = 0;     // the caller's handle for the bar (an index into its own list, for example)
  int DockRow = 0; // row number, 0 = nearest the aligned edge
  int DockPos = 0; // pixels from the start of the dock's client area along the main axis (-1 for a new bar)
  bool FullSize = false;
  int Width = 0;     // the bar's current whole-window width
  int Height = 0;    // and height
  int Thickness = 0; // the client thickness the bar needs across a dock of this orientation
  TIntRect Bounds;   // written by PlaceBars: the bar's new window bounds in dock client coordinates
};

using TDockBars = std::vector<TDockBarLayout>;

// What a whole arrangement yields for the dock itself.
struct TDockArrangement {
  std::vector<int> RowThicknesses; // one per row 0..highest; the dock keeps it for GetRowThickness
  int Thickness = 0;               // the dock's new thickness across its rows
  bool ThicknessIsClient = true;   // true: a client size (SetDockSize adds the frame); false: a whole-window size
};

// The dock as an arrangement needs it.
struct TDockArrangeParams {
  bool Vertical = false; // a left or right dock
  TIntSize ClientSize;   // the dock's current client size
  bool FixAlign = false;
  bool LimitToOneRow = false;
};

// Full re-layout of the bars (every step below in order). `bars` comes back sorted in the dock's new DockedBars
// order with rows, positions and bounds rewritten.
TDockArrangement ArrangeBars(TDockBars& bars, const TDockArrangeParams& dock);

// Thickness of a dock without bars, as a whole-window size.
int EmptyDockThickness(bool fixAlign);

// A negative DockRow would leave the bar outside every pass (rows are walked from 0), never placed; such a bar
// joins row 0 instead.
void ClampNegativeRows(TDockBars& bars);
// Orders the bars by DockRow, then DockPos (the library's quicksort: equal keys keep no defined order).
void SortBars(TDockBars& bars);
// LimitToOneRow: every bar goes to row 0.
void PutAllInRowZero(TDockBars& bars);
// The largest DockRow, -1 without bars.
int HighestRow(const TDockBars& bars);
// Renumbers the rows so that none is empty; the order of rows is kept.
void RemoveEmptyRows(TDockBars& bars);
// Makes room for a new row n: every bar in row n or beyond moves one row further out.
void InsertRow(TDockBars& bars, int row);
// Bars in `row`, not counting the bar whose Tag is exceptTag (pass NoBar to count all).
constexpr int NoBar = INT_MIN;
int CountBarsInRow(const TDockBars& bars, int row, int exceptTag);

// Row pass: a FullSize bar sharing its row pushes every other bar of that row and beyond one row out, and the
// bars of each row get ascending, non-overlapping positions from their current main-axis sizes.
void RowPass(TDockBars& bars, bool vertical);
// Thickness of every row 0..HighestRow: the thickest bar in it, at least MinRowThickness.
std::vector<int> BuildRowThicknesses(const TDockBars& bars);
// A row's stored thickness; past the stored rows the thickness of the bar asking (0 when none asks).
int GetRowThickness(const std::vector<int>& rowThicknesses, int row, int barThickness = 0);
// Fit pass: a row that runs past the dock's client length is shifted toward the start by the overflow;
// FullSize bars go to position 0.
void FitPass(TDockBars& bars, int rowCount, int clientLength, bool vertical);
// Placement pass: final positions (never negative, never overlapping) and each bar's Bounds, row after row.
// Returns the client thickness the rows need across the dock.
int PlaceBars(TDockBars& bars, const std::vector<int>& rowThicknesses, bool vertical, TIntSize clientSize);

// The row that contains a cross-axis offset in dock client coordinates; past the last row, HighestRow + 1.
int RowAtOffset(const std::vector<int>& rowThicknesses, int highestRow, int offset);

// Where a drop at a cross-axis offset goes.
struct TDropRow {
  int Row = 0;
  bool NewRow = false; // true: a new row is to be created at Row (InsertRow) before the bar joins it
};
// Within DropNewRowBand pixels of the start of a row: a new row there; inside a row: that row; past the last
// row: a new last row (HighestRow + 1, NewRow only in the band right after the last row).
TDropRow FindDropRow(const std::vector<int>& rowThicknesses, int highestRow, int offset);

// The dock's new window bounds for SetDockSize (addFrame, width, height): with addFrame the sizes are client
// sizes and the frame (window size - client size) is added. A top or left dock keeps its top-left corner, a
// bottom dock its bottom edge and a right dock its right edge.
TIntRect SetDockSizeBounds(TDockPosition position, const TIntRect& bounds, TIntSize clientSize, bool addFrame,
                           int width, int height);
// The dock's new window bounds after ArrangeBars: its thickness across the rows changes, its length does not.
TIntRect DockBoundsAfterArrange(TDockPosition position, const TIntRect& bounds, TIntSize clientSize,
                                const TDockArrangement& arrangement);

// The dock's client rectangle inside its window (WM_NCCALCSIZE): each chosen bound line takes one pixel off its
// side, but only from a proposed client area at least 2 x 2, so the lines never turn it inside out.
TIntRect DockClientWithBoundLines(const TIntRect& proposed, bool lineTop, bool lineBottom, bool lineLeft,
                                  bool lineRight);

// Where the background bitmap is drawn to tile drawRect: from its top-left in steps of the tile size, until the
// right and bottom edges are covered. None for an empty tile (an unusable background).
std::vector<TIntPoint> BackgroundTileOrigins(const TIntRect& drawRect, TIntSize tileSize);

} // namespace qs
