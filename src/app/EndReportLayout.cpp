#include "EndReportLayout.h"

#include <algorithm>

namespace qs {

namespace {

int ListHeightFor(int lines, int lineHeight) { return lines * lineHeight + kReportListChrome; }

} // namespace

TEndReportLayout LayOutEndReport(const TEndReportInput& input) {
  const int clientWidth = std::max(0, std::min(kReportClientWidth, input.WorkArea.Width() - input.Frame.Width));
  const int textWidth = std::max(0, clientWidth - 2 * kReportMargin);
  const int headerHeight = input.HeaderLines * input.LineHeight;
  const int summaryHeight = input.HasReport ? input.LineHeight : 0;

  // Everything but the list, top to bottom.
  int fixedHeight = kReportMargin + kReportButtonHeight + kReportMargin;
  if (headerHeight > 0) fixedHeight += headerHeight + kReportGap;
  if (input.HasReport) fixedHeight += summaryHeight + kReportGap + kReportGap;

  int listHeight = 0;
  if (input.HasReport) {
    const int room = std::max(0, input.WorkArea.Height() - input.Frame.Height - fixedHeight);
    const int wanted = ListHeightFor(std::max(input.ListLines, kReportMinimumListLines), input.LineHeight);
    listHeight = std::min(wanted, room);
  }
  const int clientHeight = fixedHeight + listHeight;

  TEndReportLayout layout;
  int y = kReportMargin;
  if (headerHeight > 0) {
    layout.Header = TIntRect::FromBounds(kReportMargin, y, textWidth, headerHeight);
    y += headerHeight + kReportGap;
  }
  if (input.HasReport) {
    layout.Summary = TIntRect::FromBounds(kReportMargin, y, textWidth, summaryHeight);
    y += summaryHeight + kReportGap;
    layout.List = TIntRect::FromBounds(kReportMargin, y, textWidth, listHeight);
    y += listHeight + kReportGap;
  }
  const int closeLeft = clientWidth - kReportMargin - kReportButtonWidth;
  layout.CloseButton = TIntRect::FromBounds(closeLeft, y, kReportButtonWidth, kReportButtonHeight);
  if (input.HasReport)
    layout.CopyButton =
        TIntRect::FromBounds(closeLeft - kReportGap - kReportButtonWidth, y, kReportButtonWidth, kReportButtonHeight);

  // Centred in the work area; a window taller than the work area (only when even the list's height is gone)
  // keeps its top edge, caption and all, on the screen.
  const int width = clientWidth + input.Frame.Width;
  const int height = clientHeight + input.Frame.Height;
  const int left = input.WorkArea.Left + (input.WorkArea.Width() - width) / 2;
  const int top = std::max(input.WorkArea.Top, input.WorkArea.Top + (input.WorkArea.Height() - height) / 2);
  layout.Window = TIntRect::FromBounds(left, top, width, height);
  return layout;
}

} // namespace qs
