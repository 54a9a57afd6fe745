// What building the resize candidates of a floating toolbar costs, against laying the toolbar out once per
// candidate it finds (the least any builder must do), measured in the same run:
//   - a toolbar of 40 buttons (23 x 22) in groups of four, each group followed by a separator: 50 children;
//   - the median of many runs, each run timed as a batch of calls so that the clock's resolution does not count;
//   - how many layouts the builder computed, against the wrap widths it covers, the layouts the plain `limit`
//     skip alone would compute, and the candidates it found.
// Also for contrast: laying out at every wrap width, with no skip at all. Figures only; nothing is asserted.
#include "TB97FloatLayout.h"
#include "TB97TlbrLayout.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <vector>

using namespace qs;

namespace {

constexpr int kButtons = 40;
constexpr int kButtonsPerGroup = 4;
constexpr int kButtonWidth = 23;
constexpr int kButtonHeight = 22;
constexpr int kRuns = 301;
constexpr int kCallsPerRun = 20;
const TIntPoint kFrameMetrics{4, 4};
constexpr int kCaptionHeight = 15;

using TClock = std::chrono::steady_clock;

std::vector<TToolbarChild> FortyButtonToolbar() {
  std::vector<TToolbarChild> children;
  for (int i = 0; i < kButtons; ++i) {
    TToolbarChild button;
    button.Tag = static_cast<int>(children.size());
    button.Width = kButtonWidth;
    button.Height = kButtonHeight;
    children.push_back(button);
    if ((i + 1) % kButtonsPerGroup == 0) {
      TToolbarChild separator;
      separator.Tag = static_cast<int>(children.size());
      separator.IsSeparator = true;
      children.push_back(separator);
    }
  }
  return children;
}

// Median microseconds of one call of `work`.
double MedianMicroseconds(const std::function<void()>& work) {
  std::vector<double> runs;
  runs.reserve(kRuns);
  for (int run = 0; run < kRuns; ++run) {
    const auto start = TClock::now();
    for (int call = 0; call < kCallsPerRun; ++call) work();
    runs.push_back(std::chrono::duration<double, std::micro>(TClock::now() - start).count() / kCallsPerRun);
  }
  std::nth_element(runs.begin(), runs.begin() + kRuns / 2, runs.end());
  return runs[kRuns / 2];
}

TToolbarLayoutParams Floating(int floatRightX) {
  TToolbarLayoutParams params;
  params.FloatRightX = floatRightX;
  return params;
}

} // namespace

int main() {
  const std::vector<TToolbarChild> children = FortyButtonToolbar();
  volatile int sink = 0;

  TCandidateStats stats;
  const std::vector<TSizeCandidate> candidates =
      BuildSizeCandidates(children, kFrameMetrics, kCaptionHeight, false, &stats);
  // The wrap width of each candidate: 0 for the single row (the first by width), else its client width.
  std::vector<int> wrapWidths;
  for (std::size_t i = 0; i < candidates.size(); ++i)
    wrapWidths.push_back(i == 0 ? 0 : candidates[i].Width - 2 * kFrameMetrics.X);
  const int singleRowWidth = MeasureToolbar(children, Floating(0)).Width;
  const int lowestWrapWidth = ToolbarDockedThickness(children, doFloating) + WrapWidthChildMargin;

  const double build = MedianMicroseconds([&] {
    sink = sink + static_cast<int>(BuildSizeCandidates(children, kFrameMetrics, kCaptionHeight, false).size());
  });
  const double oncePerCandidate = MedianMicroseconds([&] {
    for (const int w : wrapWidths) sink = sink + MeasureToolbar(children, Floating(w)).Width;
  });
  const double everyWidth = MedianMicroseconds([&] {
    sink = sink + MeasureToolbar(children, Floating(0)).Width;
    for (int w = singleRowWidth - 1; w >= lowestWrapWidth; --w)
      sink = sink + MeasureToolbar(children, Floating(w)).Width;
  });

  std::printf("toolbar: %d buttons %dx%d, %d separators, %zu children\n", kButtons, kButtonWidth, kButtonHeight,
              kButtons / kButtonsPerGroup, children.size());
  std::printf("candidates found: %zu\n", candidates.size());
  std::printf("wrap widths covered: %d (from %d down to %d)\n", stats.WrapWidths, singleRowWidth - 1, lowestWrapWidth);
  std::printf("layouts computed by the builder: %d (single row included)\n", stats.LayoutsRun);
  std::printf("  widths skipped by the limit rule: %d; layouts answered by the last one computed: %d\n",
              stats.WidthsSkipped, stats.LayoutsReused);
  std::printf("  layouts the limit rule alone would compute: %d\n", 1 + stats.WrapWidths - stats.WidthsSkipped);
  // Layouts beyond the candidates are those of a height already listed, which the narrower one replaced: whether
  // a wrap width gives a new height is known only once it is laid out.
  std::printf("  layouts per candidate: %.2f\n", static_cast<double>(stats.LayoutsRun) / candidates.size());
  std::printf("build candidates, median of %d runs: %.2f us (target under 1000 us)\n", kRuns, build);
  std::printf("baseline, one layout per candidate: %.2f us\n", oncePerCandidate);
  std::printf("ratio build / baseline: %.2f (target at most 1.5)\n", build / oncePerCandidate);
  std::printf("for contrast, one layout per wrap width: %.2f us (%.1f x the build)\n", everyWidth, everyWidth / build);
  return sink == -1 ? 1 : 0;
}
