#pragma once
// A tool window's frames and the floating window's arithmetic as plain values: the docked frame with its drag
// handle, the floating frame's caption strip and close button, the floating hit-test zones, the resize loop's
// rectangle, keeping a window on the work area, and shortening the caption to fit its strip.
//
// Floating frame (window coordinates; fx, fy = FrameMetrics, ch = CaptionHeight, w = client width):
//
//   +--------------------------------------+
//   |  (fx, fy)                            |
//   |  [caption ..................][ X ]   |  caption strip: w x (ch - 1); close button: (ch - 1) square
//   |  ----------- 1-pixel line ----------- |  row fy + ch - 1
//   |  client area from (fx, fy + ch)      |
//   +--------------------------------------+
#include <functional>
#include <string>
#include <string_view>

#include "Geometry.h"

namespace qs {

// The drag handle a docked tool window shows beside its client area.
enum TDragHandleStyle { dhDouble, dhNone, dhSingle };

// Hit-test answers, equal to the system's HT* values, so the window code can return them as they are.
constexpr int htNowhere = 0;
constexpr int htClient = 1;
constexpr int htLeft = 10;
constexpr int htRight = 11;
constexpr int htTop = 12;
constexpr int htTopLeft = 13;
constexpr int htTopRight = 14;
constexpr int htBottom = 15;
constexpr int htBottomLeft = 16;
constexpr int htBottomRight = 17;
constexpr int htClose = 20;

// The docked frame is a 2-pixel ring (an edge and a fill) around the client area.
constexpr int DockedFrameWidth = 2;
// A shortened caption keeps at least this many characters, the three dots included.
constexpr int MinShortenedCaptionLength = 4;
constexpr std::string_view CaptionEllipsis = "...";

// Width of the drag handle of each style: two ridges, none, one ridge.
int DragHandleSize(TDragHandleStyle style);

// Client rectangle of a docked window, in window coordinates, from its window size: the 2-pixel frame on every
// side, and the drag handle on the left (horizontal dock) or at the top (vertical dock) while the dock lets its
// bars be dragged.
TIntRect DockedClientRect(TIntSize windowSize, bool verticalDock, bool allowDrag, TDragHandleStyle style);
// Whole-window size of a docked window around a client size (the inverse of DockedClientRect).
TIntSize DockedWindowSize(TIntSize clientSize, bool verticalDock, bool allowDrag, TDragHandleStyle style);

// ArrangeAndResize in a dock: the client size a docked tool window takes from its layout's size. Across the dock
// it fills its row (rowThickness); a FullSize window runs the dock's whole client length less its own frame
// (frameSize = window size - client size).
TIntSize DockedClientSizeInRow(TIntSize layoutSize, bool verticalDock, int rowThickness, bool fullSize,
                               TIntSize dockClientSize, TIntSize frameSize);

// Client rectangle of a floating window, in window coordinates: inside the frame, below the caption.
TIntRect FloatingClientRect(TIntSize windowSize, TIntPoint frameMetrics, int captionHeight);
// Whole-window size of a floating window around a client size.
TIntSize FloatingWindowSize(TIntSize clientSize, TIntPoint frameMetrics, int captionHeight);

// The floating caption's parts, in window coordinates.
struct TFloatingCaptionRects {
  TIntRect Strip;       // the whole strip above the client area (CaptionHeight - 1 high), close button included
  TIntRect Caption;     // where the caption text goes: the strip less the close button when there is one
  TIntRect CloseButton; // the strip's last CaptionHeight - 1 pixels; empty without a close button
  TIntRect LineBelow;   // the 1-pixel line under the strip, across its full width
};
TFloatingCaptionRects FloatingCaptionRects(TIntPoint frameMetrics, int captionHeight, int clientWidth,
                                           bool closeButton);

// What the floating hit test needs to know about the window.
struct TFloatingHitTest {
  TIntPoint Point; // the cursor relative to the window's top-left
  TIntSize WindowSize;
  TIntPoint FrameMetrics;
  int CaptionHeight = 0;
  int ClientWidth = 0;
  bool CloseButton = true;
  bool FloatSizable = true;
  bool CornerSizing = true;
  int DefaultAnswer = htNowhere; // what the system's default hit test answered
};
// WM_NCHITTEST of a floating window: the caption strip is client area (so a press there starts a drag) except
// the close button; the frame gives the resize zones, with corners when CornerSizing.
int FloatingHitTest(const TFloatingHitTest& input);

// A floating window's bounds kept on the work area (of the monitor the caller chose). With onlyIfFullyOffscreen
// a window that still shows any pixel on the work area stays where it is; otherwise the window is moved in so
// that the top-left corner wins when it is larger than the work area.
TIntRect MoveOnScreen(const TIntRect& bounds, const TIntRect& workArea, bool onlyIfFullyOffscreen);

// The smallest whole-window size a resize may give: the smallest client size plus the frame.
TIntSize MinimumWindowSize(TIntSize minimumClientSize, TIntSize windowSize, TIntSize clientSize);
// The rectangle of the resize loop: the start rectangle with the edges that the hit test names moved by the
// cursor's travel, each moving edge pulled back where the size would fall below the minimum.
TIntRect SizingRect(const TIntRect& startRect, int hitTest, TIntPoint cursorStart, TIntPoint cursorNow,
                    TIntSize minimumSize);

// Measures the width of a UTF-8 text in the caption font.
using TMeasureText = std::function<int(std::string_view)>;
// The caption as drawn into a strip maxWidth wide: a text too wide gets "..." and loses the character before the
// dots, one at a time, until it fits or only MinShortenedCaptionLength characters remain. Characters are whole
// code points: a multi-byte UTF-8 sequence (a surrogate pair in UTF-16) is never split.
std::string ShortenCaption(std::string_view text, int maxWidth, const TMeasureText& measure);
// Number of code points in a UTF-8 text; a byte that starts no valid sequence counts as one.
int CodePointCount(std::string_view text);

} // namespace qs
