#include "TB97DragLayout.h"

#include <algorithm>

namespace qs {

TDragGrab DragGrabOf(TIntPoint pressInClient, TIntPoint clientOrigin, TIntSize windowSize) {
  return {{pressInClient.X + clientOrigin.X, pressInClient.Y + clientOrigin.Y},
          {windowSize.Width - 1, windowSize.Height - 1}};
}

TIntRect DragOutline(TIntPoint cursor, TIntSize windowSize, const TDragGrab& grab) {
  const int left = cursor.X - MulDivRound(windowSize.Width - 1, grab.Grab.X, grab.Extent.X);
  const int top = cursor.Y - MulDivRound(windowSize.Height - 1, grab.Grab.Y, grab.Extent.Y);
  return TIntRect::FromBounds(left, top, windowSize.Width, windowSize.Height);
}

bool InDockingZone(const TIntRect& dockClient, bool verticalDock, TIntPoint cursor, TIntSize windowSize,
                   const TDragGrab& grab) {
  TIntRect r = dockClient;
  if (r.Width() == 0 || r.Height() == 0) r = verticalDock ? r.Inflate(1, 0) : r.Inflate(0, 1);

  const int slackLeft = MulDivRound(DockingZoneSlackX, grab.Grab.X, grab.Extent.X);
  if (cursor.X < r.Left - DockingZoneSlackX + slackLeft || cursor.X > r.Right - 1 + slackLeft) return false;
  if (verticalDock && (cursor.Y < r.Top || cursor.Y >= r.Bottom)) return false;
  const int slackTop = MulDivRound(DockingZoneSlackY, grab.Grab.Y, grab.Extent.Y);
  if (cursor.Y < r.Top - DockingZoneSlackY + slackTop || cursor.Y > r.Bottom - 1 + slackTop) return false;
  return DragOutline(cursor, windowSize, grab).Intersects(r);
}

TIntPoint ClampToWorkArea(TIntPoint point, const TIntRect& workArea) {
  return {std::clamp(point.X, workArea.Left, std::max(workArea.Left, workArea.Right - 1)),
          std::clamp(point.Y, workArea.Top, std::max(workArea.Top, workArea.Bottom - 1))};
}

TIntRect ClampFloatingOutline(const TIntRect& outline, const TIntRect& workArea, TIntPoint frameMetrics,
                              int captionHeight) {
  const TIntRect keep =
      workArea.Inflate(-(frameMetrics.X + OutlineKeepOnWorkArea), -(frameMetrics.Y + OutlineKeepOnWorkArea));
  TIntRect r = outline;
  if (r.Bottom < keep.Top) r = r.Offset(0, keep.Top - r.Bottom);
  if (r.Top > keep.Bottom) r = r.Offset(0, keep.Bottom - r.Top);
  if (r.Right < keep.Left) r = r.Offset(keep.Left - r.Right, 0);
  if (r.Left > keep.Right) r = r.Offset(keep.Right - r.Left, 0);
  const int highestTop = workArea.Top + CaptionKeepVisible - frameMetrics.Y - captionHeight;
  if (r.Top < highestTop) r = r.Offset(0, highestTop - r.Top);
  return r;
}

TDockDrop DropIntoDock(TDockBars& bars, const std::vector<int>& rowThicknesses, bool verticalDock,
                       const TIntRect& outline, bool fullSize, int selfTag) {
  // The middle across the dock; integer division truncates toward zero, as the row arithmetic expects.
  const int middle = verticalDock ? (outline.Left + outline.Right) / 2 : (outline.Top + outline.Bottom) / 2;
  const TDropRow drop = FindDropRow(rowThicknesses, HighestRow(bars), middle);
  int row = drop.Row;
  if (drop.NewRow) {
    InsertRow(bars, row);
  } else if (fullSize && CountBarsInRow(bars, row, selfTag) > 0) {
    ++row;
    InsertRow(bars, row);
  }
  const TDockDrop result{row, verticalDock ? outline.Top : outline.Left};
  for (TDockBarLayout& bar : bars) {
    if (bar.Tag != selfTag) continue;
    bar.DockRow = result.DockRow;
    bar.DockPos = result.DockPos;
  }
  return result;
}

} // namespace qs
