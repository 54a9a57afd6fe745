#pragma once
// The drag loop's arithmetic as plain values: where the outline goes for the cursor, whether a dock's docking
// zone catches it, how a floating outline is kept on the work area, and which row and position a drop into a
// dock gives. The loop itself (capture, messages, the outline window) is window code that calls these.
//
// The cursor keeps its relative place in the outline: a window grabbed at a quarter of its width shows an
// outline whose left edge is a quarter of the outline's width left of the cursor, whatever shape the outline
// takes (floating, docked horizontally or vertically).
#include <vector>

#include "Geometry.h"
#include "TB97DockLayout.h"

namespace qs {

// Horizontal slack around a dock in which the cursor still counts, split left and right by where the window
// was grabbed.
constexpr int DockingZoneSlackX = 32;
// Vertical slack, split above and below the same way.
constexpr int DockingZoneSlackY = 20;
// Pixels of a floating outline beyond its frame that always stay on the work area.
constexpr int OutlineKeepOnWorkArea = 4;
// Pixels of the floating caption that always stay below the top of the work area.
constexpr int CaptionKeepVisible = 4;
// Thickness of a docked outline; a floating outline is FrameMetrics.X thick.
constexpr int DockedOutlineThickness = 1;

// Where the window was grabbed, in window coordinates, and the window's extent (width - 1, height - 1).
struct TDragGrab {
  TIntPoint Grab;
  TIntPoint Extent;
};
// The grab of a press at client coordinates (negative over the handle or frame), with the client origin's
// offset inside the window.
TDragGrab DragGrabOf(TIntPoint pressInClient, TIntPoint clientOrigin, TIntSize windowSize);

// The outline of a whole-window size at the cursor (screen coordinates).
TIntRect DragOutline(TIntPoint cursor, TIntSize windowSize, const TDragGrab& grab);

// True when the cursor is in the docking zone of a dock whose client rectangle on screen is dockClient, for the
// outline of windowSize (the window's docked size there). An empty dock (0 wide or high) is widened by 1 pixel
// on both sides across the dock, so it still catches the cursor.
bool InDockingZone(const TIntRect& dockClient, bool verticalDock, TIntPoint cursor, TIntSize windowSize,
                   const TDragGrab& grab);

// A point kept inside the work area (right and bottom edges exclusive).
TIntPoint ClampToWorkArea(TIntPoint point, const TIntRect& workArea);

// A floating outline moved so that at least FrameMetrics + OutlineKeepOnWorkArea pixels of it stay on the work
// area on every side, and at least CaptionKeepVisible pixels of its caption below the work area's top.
TIntRect ClampFloatingOutline(const TIntRect& outline, const TIntRect& workArea, TIntPoint frameMetrics,
                              int captionHeight);

// Where a dropped bar goes in its dock.
struct TDockDrop {
  int DockRow = 0;
  int DockPos = 0;
};
// Drop of the outline (in the dock's client coordinates) into a dock: its middle across the dock picks the row
// (FindDropRow); a new row is inserted when the drop is in a boundary band, and a FullSize bar dropped on an
// occupied row gets a new row after it. `bars` are the dock's bars with their rows, which this renumbers as the
// inserted row demands (including the dropped bar's own record, selfTag, when it is already docked here);
// rowThicknesses is the dock's current list.
TDockDrop DropIntoDock(TDockBars& bars, const std::vector<int>& rowThicknesses, bool verticalDock,
                       const TIntRect& outline, bool fullSize, int selfTag);

} // namespace qs
