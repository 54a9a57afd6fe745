#include "TB97FloatLayout.h"

#include <algorithm>
#include <cstddef>
#include <vector>

namespace qs {

namespace {

constexpr int DoubleDragHandleSize = 9;
constexpr int SingleDragHandleSize = 6;

int HandleSizeIfDragged(bool allowDrag, TDragHandleStyle style) { return allowDrag ? DragHandleSize(style) : 0; }

bool InRange(int value, int first, int pastLast) { return value >= first && value < pastLast; }

// Along one frame edge: the corner at its start, the corner at its end, or the plain edge between them.
int EdgeOrCorner(int along, int length, int cornerReach, int startCorner, int endCorner, int edge) {
  if (along < cornerReach) return startCorner;
  if (along >= length - cornerReach) return endCorner;
  return edge;
}

bool IsContinuationByte(unsigned char byte) { return (byte & 0xC0) == 0x80; }

// Bytes of the code point starting at `at`: the length its lead byte announces when the continuation bytes are
// all there, else 1 (a stray byte is a character of its own and never swallows its neighbours).
std::size_t SequenceLength(std::string_view text, std::size_t at) {
  const auto lead = static_cast<unsigned char>(text[at]);
  std::size_t length = 1;
  if (lead >= 0xC2 && lead <= 0xDF) length = 2;
  else if ((lead & 0xF0) == 0xE0) length = 3;
  else if (lead >= 0xF0 && lead <= 0xF4) length = 4;
  if (at + length > text.size()) return 1;
  for (std::size_t i = 1; i < length; ++i)
    if (!IsContinuationByte(static_cast<unsigned char>(text[at + i]))) return 1;
  return length;
}

// Byte offset where each code point ends (so ends[k - 1] is the length in bytes of the first k characters).
std::vector<std::size_t> CodePointEnds(std::string_view text) {
  std::vector<std::size_t> ends;
  for (std::size_t at = 0; at < text.size();) {
    at += SequenceLength(text, at);
    ends.push_back(at);
  }
  return ends;
}

} // namespace

int DragHandleSize(TDragHandleStyle style) {
  switch (style) {
  case dhDouble: return DoubleDragHandleSize;
  case dhSingle: return SingleDragHandleSize;
  case dhNone: return 0;
  }
  return 0;
}

TIntRect DockedClientRect(TIntSize windowSize, bool verticalDock, bool allowDrag, TDragHandleStyle style) {
  TIntRect client{DockedFrameWidth, DockedFrameWidth, windowSize.Width - DockedFrameWidth,
                  windowSize.Height - DockedFrameWidth};
  const int handle = HandleSizeIfDragged(allowDrag, style);
  if (verticalDock) client.Top += handle;
  else client.Left += handle;
  return client;
}

TIntSize DockedWindowSize(TIntSize clientSize, bool verticalDock, bool allowDrag, TDragHandleStyle style) {
  const int handle = HandleSizeIfDragged(allowDrag, style);
  return {clientSize.Width + 2 * DockedFrameWidth + (verticalDock ? 0 : handle),
          clientSize.Height + 2 * DockedFrameWidth + (verticalDock ? handle : 0)};
}

TIntSize DockedClientSizeInRow(TIntSize layoutSize, bool verticalDock, int rowThickness, bool fullSize,
                               TIntSize dockClientSize, TIntSize frameSize) {
  TIntSize size = layoutSize;
  if (verticalDock) {
    size.Width = std::max(size.Width, rowThickness);
    if (fullSize) size.Height = dockClientSize.Height - frameSize.Height;
  } else {
    size.Height = std::max(size.Height, rowThickness);
    if (fullSize) size.Width = dockClientSize.Width - frameSize.Width;
  }
  return size;
}

TIntRect FloatingClientRect(TIntSize windowSize, TIntPoint frameMetrics, int captionHeight) {
  return {frameMetrics.X, frameMetrics.Y + captionHeight, windowSize.Width - frameMetrics.X,
          windowSize.Height - frameMetrics.Y};
}

TIntSize FloatingWindowSize(TIntSize clientSize, TIntPoint frameMetrics, int captionHeight) {
  return {clientSize.Width + 2 * frameMetrics.X, clientSize.Height + 2 * frameMetrics.Y + captionHeight};
}

TFloatingCaptionRects FloatingCaptionRects(TIntPoint frameMetrics, int captionHeight, int clientWidth,
                                           bool closeButton) {
  const int stripHeight = captionHeight - 1;
  TFloatingCaptionRects rects;
  rects.Strip = TIntRect::FromBounds(frameMetrics.X, frameMetrics.Y, clientWidth, stripHeight);
  rects.Caption = rects.Strip;
  if (closeButton) {
    rects.Caption.Right -= stripHeight;
    rects.CloseButton =
        TIntRect{rects.Strip.Right - stripHeight, rects.Strip.Top, rects.Strip.Right, rects.Strip.Bottom};
  }
  rects.LineBelow = TIntRect{rects.Strip.Left, rects.Strip.Bottom, rects.Strip.Right, rects.Strip.Bottom + 1};
  return rects;
}

int FloatingHitTest(const TFloatingHitTest& input) {
  if (input.DefaultAnswer == htClient) return htClient;
  const TIntPoint p = input.Point;
  const TFloatingCaptionRects caption =
      FloatingCaptionRects(input.FrameMetrics, input.CaptionHeight, input.ClientWidth, input.CloseButton);
  if (caption.Strip.Contains(p)) return input.CloseButton && caption.CloseButton.Contains(p) ? htClose : htClient;

  // The system's own sizing answers do not fit this frame; only the zones below resize.
  int answer = input.DefaultAnswer;
  if (answer >= htLeft && answer <= htBottomRight) answer = htNowhere;
  if (!input.FloatSizable) return answer;

  const int fx = input.FrameMetrics.X;
  const int fy = input.FrameMetrics.Y;
  const int width = input.WindowSize.Width;
  const int height = input.WindowSize.Height;
  const bool left = InRange(p.X, 0, fx);
  const bool right = InRange(p.X, width - fx - 1, width);
  const bool top = InRange(p.Y, 0, fy);
  const bool bottom = InRange(p.Y, height - fy - 1, height);

  if (input.CornerSizing) {
    const int reach = input.CaptionHeight + fx - 1;
    if (left) return EdgeOrCorner(p.Y, height, reach, htTopLeft, htBottomLeft, htLeft);
    if (right) return EdgeOrCorner(p.Y, height, reach, htTopRight, htBottomRight, htRight);
    if (top) return EdgeOrCorner(p.X, width, reach, htTopLeft, htTopRight, htTop);
    if (bottom) return EdgeOrCorner(p.X, width, reach, htBottomLeft, htBottomRight, htBottom);
    return answer;
  }
  if (top) return htTop;
  if (bottom) return htBottom;
  if (left) return htLeft;
  if (right) return htRight;
  return answer;
}

TIntRect MoveOnScreen(const TIntRect& bounds, const TIntRect& workArea, bool onlyIfFullyOffscreen) {
  if (onlyIfFullyOffscreen && bounds.Intersects(workArea)) return bounds;
  TIntRect r = bounds;
  if (r.Right > workArea.Right) r = r.Offset(workArea.Right - r.Right, 0);
  if (r.Bottom > workArea.Bottom) r = r.Offset(0, workArea.Bottom - r.Bottom);
  if (r.Left < workArea.Left) r = r.Offset(workArea.Left - r.Left, 0);
  if (r.Top < workArea.Top) r = r.Offset(0, workArea.Top - r.Top);
  return r;
}

TIntSize MinimumWindowSize(TIntSize minimumClientSize, TIntSize windowSize, TIntSize clientSize) {
  return {minimumClientSize.Width + windowSize.Width - clientSize.Width,
          minimumClientSize.Height + windowSize.Height - clientSize.Height};
}

TIntRect SizingRect(const TIntRect& startRect, int hitTest, TIntPoint cursorStart, TIntPoint cursorNow,
                    TIntSize minimumSize) {
  const bool horizontal = hitTest == htLeft || hitTest == htRight || hitTest == htTopLeft || hitTest == htTopRight ||
                          hitTest == htBottomLeft || hitTest == htBottomRight;
  const bool movesLeft = hitTest == htLeft || hitTest == htTopLeft || hitTest == htBottomLeft;
  const bool vertical = hitTest >= htTop && hitTest <= htBottomRight;
  const bool movesTop = hitTest == htTop || hitTest == htTopLeft || hitTest == htTopRight;

  TIntRect r = startRect;
  if (horizontal) {
    const int dx = cursorNow.X - cursorStart.X;
    if (movesLeft) {
      r.Left += dx;
      if (r.Width() < minimumSize.Width) r.Left = r.Right - minimumSize.Width;
    } else {
      r.Right += dx;
      if (r.Width() < minimumSize.Width) r.Right = r.Left + minimumSize.Width;
    }
  }
  if (vertical) {
    const int dy = cursorNow.Y - cursorStart.Y;
    if (movesTop) {
      r.Top += dy;
      if (r.Height() < minimumSize.Height) r.Top = r.Bottom - minimumSize.Height;
    } else {
      r.Bottom += dy;
      if (r.Height() < minimumSize.Height) r.Bottom = r.Top + minimumSize.Height;
    }
  }
  return r;
}

int CodePointCount(std::string_view text) { return static_cast<int>(CodePointEnds(text).size()); }

std::string ShortenCaption(std::string_view text, int maxWidth, const TMeasureText& measure) {
  if (text.empty() || measure(text) <= maxWidth) return std::string(text);
  const std::vector<std::size_t> ends = CodePointEnds(text);
  const std::size_t ellipsisLength = static_cast<std::size_t>(CodePointCount(CaptionEllipsis));
  std::size_t kept = ends.size();
  std::string shortened = std::string(text) + std::string(CaptionEllipsis);
  while (measure(shortened) > maxWidth && kept + ellipsisLength > static_cast<std::size_t>(MinShortenedCaptionLength)) {
    --kept;
    shortened.assign(text.substr(0, kept == 0 ? 0 : ends[kept - 1]));
    shortened += CaptionEllipsis;
  }
  return shortened;
}

} // namespace qs
