#include "TB97DockLayout.h"

#include <algorithm>
#include <cstdint>

#include "TB97ListSort.h"

namespace qs {

namespace {

// Size of a bar along the dock's main axis before the arrangement.
int MainLength(const TDockBarLayout& bar, bool vertical) { return vertical ? bar.Height : bar.Width; }

int CompareRowThenPos(const TDockBarLayout& a, const TDockBarLayout& b, int /*unused*/) {
  if (a.DockRow != b.DockRow) return a.DockRow < b.DockRow ? -1 : 1;
  if (a.DockPos != b.DockPos) return a.DockPos < b.DockPos ? -1 : 1;
  return 0;
}

bool AnyOtherInRow(const TDockBars& bars, std::size_t self, int row) {
  for (std::size_t i = 0; i < bars.size(); ++i)
    if (i != self && bars[i].DockRow == row) return true;
  return false;
}

// The first bar of `row` from the end of the list back to `from` whose far end runs past the dock; its overflow.
int RowOverflow(const TDockBars& bars, std::size_t from, int row, int clientLength, bool vertical) {
  for (std::size_t i = bars.size(); i-- > from;) {
    const TDockBarLayout& bar = bars[i];
    if (bar.DockRow != row) continue;
    const int farEnd = bar.DockPos + MainLength(bar, vertical);
    if (farEnd > clientLength) return farEnd - clientLength;
  }
  return 0;
}

} // namespace

TDockOrientation DockOrientationOf(TDockPosition position) {
  return IsVerticalDock(position) ? doVertical : doHorizontal;
}

bool IsVerticalDock(TDockPosition position) { return position == dpLeft || position == dpRight; }

int EmptyDockThickness(bool fixAlign) { return fixAlign ? EmptyDockFixAlignThickness : 0; }

void ClampNegativeRows(TDockBars& bars) {
  for (TDockBarLayout& bar : bars) bar.DockRow = std::max(bar.DockRow, 0);
}

void SortBars(TDockBars& bars) { ListSort(bars, CompareRowThenPos, 0); }

void PutAllInRowZero(TDockBars& bars) {
  for (TDockBarLayout& bar : bars) bar.DockRow = 0;
}

int HighestRow(const TDockBars& bars) {
  int highest = -1;
  for (const TDockBarLayout& bar : bars) highest = std::max(highest, bar.DockRow);
  return highest;
}

void RemoveEmptyRows(TDockBars& bars) {
  int highest = HighestRow(bars);
  for (int row = 0; row <= highest;) {
    if (CountBarsInRow(bars, row, NoBar) > 0) {
      ++row;
      continue;
    }
    for (TDockBarLayout& bar : bars)
      if (bar.DockRow > row) --bar.DockRow;
    --highest;
  }
}

void InsertRow(TDockBars& bars, int row) {
  for (TDockBarLayout& bar : bars)
    if (bar.DockRow >= row) ++bar.DockRow;
}

int CountBarsInRow(const TDockBars& bars, int row, int exceptTag) {
  int count = 0;
  for (const TDockBarLayout& bar : bars)
    if (bar.DockRow == row && (exceptTag == NoBar || bar.Tag != exceptTag)) ++count;
  return count;
}

void RowPass(TDockBars& bars, bool vertical) {
  for (int row = 0; row <= HighestRow(bars); ++row) {
    int pos = 0;
    for (std::size_t i = 0; i < bars.size(); ++i) {
      TDockBarLayout& bar = bars[i];
      if (bar.DockRow != row) continue;
      if (bar.FullSize && AnyOtherInRow(bars, i, row)) {
        for (std::size_t j = 0; j < bars.size(); ++j)
          if (j != i && bars[j].DockRow >= row) ++bars[j].DockRow;
      }
      if (bar.DockPos <= pos) bar.DockPos = pos;
      else pos = bar.DockPos;
      pos += MainLength(bar, vertical);
    }
  }
}

std::vector<int> BuildRowThicknesses(const TDockBars& bars) {
  std::vector<int> thicknesses(static_cast<std::size_t>(HighestRow(bars) + 1), MinRowThickness);
  for (const TDockBarLayout& bar : bars) {
    if (bar.DockRow < 0) continue;
    int& thickness = thicknesses[static_cast<std::size_t>(bar.DockRow)];
    thickness = std::max(thickness, bar.Thickness);
  }
  return thicknesses;
}

int GetRowThickness(const std::vector<int>& rowThicknesses, int row, int barThickness) {
  if (row >= 0 && static_cast<std::size_t>(row) < rowThicknesses.size())
    return rowThicknesses[static_cast<std::size_t>(row)];
  return barThickness;
}

void FitPass(TDockBars& bars, int rowCount, int clientLength, bool vertical) {
  for (int row = 0; row < rowCount; ++row) {
    for (std::size_t i = 0; i < bars.size(); ++i) {
      TDockBarLayout& bar = bars[i];
      if (bar.DockRow != row) continue;
      if (bar.FullSize) bar.DockPos = 0;
      else bar.DockPos -= RowOverflow(bars, i, row, clientLength, vertical);
    }
  }
}

int PlaceBars(TDockBars& bars, const std::vector<int>& rowThicknesses, bool vertical, TIntSize clientSize) {
  const int clientLength = vertical ? clientSize.Height : clientSize.Width;
  int cross = 0;
  for (std::size_t row = 0; row < rowThicknesses.size(); ++row) {
    const int rowExtent = rowThicknesses[row] + RowFrameThickness;
    int pos = 0;
    for (TDockBarLayout& bar : bars) {
      if (bar.DockRow != static_cast<int>(row)) continue;
      bar.DockPos = std::max(bar.DockPos, pos);
      const int length = bar.FullSize ? clientLength : MainLength(bar, vertical);
      bar.Bounds = vertical ? TIntRect::FromBounds(cross, bar.DockPos, rowExtent, length)
                            : TIntRect::FromBounds(bar.DockPos, cross, length, rowExtent);
      pos = bar.DockPos + length;
    }
    cross += rowExtent;
  }
  return cross;
}

TDockArrangement ArrangeBars(TDockBars& bars, const TDockArrangeParams& dock) {
  TDockArrangement result;
  if (bars.empty()) {
    result.Thickness = EmptyDockThickness(dock.FixAlign);
    result.ThicknessIsClient = false;
    return result;
  }
  ClampNegativeRows(bars);
  SortBars(bars);
  if (dock.LimitToOneRow) PutAllInRowZero(bars);
  RemoveEmptyRows(bars);
  RowPass(bars, dock.Vertical);
  result.RowThicknesses = BuildRowThicknesses(bars);
  FitPass(bars, static_cast<int>(result.RowThicknesses.size()),
          dock.Vertical ? dock.ClientSize.Height : dock.ClientSize.Width, dock.Vertical);
  result.Thickness = PlaceBars(bars, result.RowThicknesses, dock.Vertical, dock.ClientSize);
  return result;
}

int RowAtOffset(const std::vector<int>& rowThicknesses, int highestRow, int offset) {
  std::int64_t rowEnd = 0;
  for (int row = 0; row <= highestRow; ++row) {
    rowEnd += GetRowThickness(rowThicknesses, row) + RowFrameThickness;
    if (offset < rowEnd) return row;
  }
  return highestRow + 1;
}

TDropRow FindDropRow(const std::vector<int>& rowThicknesses, int highestRow, int offset) {
  // 64-bit so that the open end of the last row (the largest integer) cannot overflow.
  std::int64_t rowStart = 0;
  for (int row = 0; row <= highestRow + 1; ++row) {
    const std::int64_t rowEnd =
        row == highestRow + 1 ? INT_MAX : rowStart + GetRowThickness(rowThicknesses, row) + RowFrameThickness;
    if (offset <= rowStart + DropNewRowBand) return {row, true};
    if (offset <= rowEnd - DropNewRowBand) return {row, false};
    rowStart = rowEnd;
  }
  // Only an offset within the band before the largest integer gets here: still the new last row.
  return {highestRow + 1, false};
}

TIntRect SetDockSizeBounds(TDockPosition position, const TIntRect& bounds, TIntSize clientSize, bool addFrame,
                           int width, int height) {
  if (addFrame) {
    width += bounds.Width() - clientSize.Width;
    height += bounds.Height() - clientSize.Height;
  }
  switch (position) {
  case dpTop:
  case dpLeft: return TIntRect::FromBounds(bounds.Left, bounds.Top, width, height);
  case dpBottom: return TIntRect::FromBounds(bounds.Left, bounds.Bottom - height, width, height);
  case dpRight: return TIntRect::FromBounds(bounds.Right - width, bounds.Top, width, height);
  }
  return bounds;
}

TIntRect DockBoundsAfterArrange(TDockPosition position, const TIntRect& bounds, TIntSize clientSize,
                                const TDockArrangement& arrangement) {
  const bool vertical = IsVerticalDock(position);
  if (arrangement.ThicknessIsClient)
    return vertical ? SetDockSizeBounds(position, bounds, clientSize, true, arrangement.Thickness, clientSize.Height)
                    : SetDockSizeBounds(position, bounds, clientSize, true, clientSize.Width, arrangement.Thickness);
  return vertical ? SetDockSizeBounds(position, bounds, clientSize, false, arrangement.Thickness, bounds.Height())
                  : SetDockSizeBounds(position, bounds, clientSize, false, bounds.Width(), arrangement.Thickness);
}

TIntRect DockClientWithBoundLines(const TIntRect& proposed, bool lineTop, bool lineBottom, bool lineLeft,
                                  bool lineRight) {
  constexpr int boundLineWidth = 1;
  constexpr int smallestLinedClient = 2;
  TIntRect client = proposed;
  if (client.Width() < smallestLinedClient || client.Height() < smallestLinedClient) return client;
  if (lineTop) client.Top += boundLineWidth;
  if (lineBottom) client.Bottom -= boundLineWidth;
  if (lineLeft) client.Left += boundLineWidth;
  if (lineRight) client.Right -= boundLineWidth;
  return client;
}

std::vector<TIntPoint> BackgroundTileOrigins(const TIntRect& drawRect, TIntSize tileSize) {
  std::vector<TIntPoint> origins;
  if (tileSize.Width <= 0 || tileSize.Height <= 0) return origins;
  // 64-bit steps: a tile starting near the largest integer must not wrap around and start again.
  for (std::int64_t x = drawRect.Left; x < drawRect.Right; x += tileSize.Width)
    for (std::int64_t y = drawRect.Top; y < drawRect.Bottom; y += tileSize.Height)
      origins.push_back({static_cast<int>(x), static_cast<int>(y)});
  return origins;
}

} // namespace qs
