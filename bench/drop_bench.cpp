// How long a drop of many files takes to be listed on the main window: from sending WM_DROPFILES to the list
// until its rows are in and painted. The baseline, measured in the same run, is the least a list of that size
// costs: the same captions inserted into a bare system list view with redrawing switched off, then one paint.
// For comparison it also times reading the paths one index at a time with DragQueryFileW, which walks the
// drop from its start for every index.
#include "../tests/win/support/ShellDrop.h"
#include "BenchKit.h"
#include "Unicode.h"

#include <windows.h>

#include <commctrl.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

constexpr int PathCount = 10000;
constexpr int Rounds = 5;
constexpr UINT QueryFileCount = 0xFFFFFFFF;
constexpr UINT PathCapacity = 1024;
constexpr int ListWidth = 455, ListHeight = 259, ColumnWidth = 469;

std::vector<std::string> DroppedPaths() {
  std::vector<std::string> paths;
  for (int i = 0; i < PathCount; ++i) paths.push_back("C:\\Recordings\\Session 12\\take" + std::to_string(i) + ".wav");
  return paths;
}

double MillisecondsSince(Clock::time_point start) {
  return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

double TimeDrop(qs::TMain& main, const std::vector<std::string>& paths) {
  main.Clear1Click(nullptr);
  HWND list = main.ListView1->Handle();
  UpdateWindow(list);
  HDROP drop = qs::test::MakeShellDrop(paths);
  const auto start = Clock::now();
  SendMessageW(list, WM_DROPFILES, reinterpret_cast<WPARAM>(drop), 0);
  UpdateWindow(list);
  const double ms = MillisecondsSince(start);
  if (main.ListView1->Count() != static_cast<int>(paths.size())) std::fprintf(stderr, "drop_bench: rows missing\n");
  return ms;
}

double TimeBareList(HWND parent, const std::vector<std::string>& paths) {
  HWND list = CreateWindowExW(0, WC_LISTVIEWW, L"", WS_CHILD | WS_VISIBLE | LVS_REPORT, 0, 0, ListWidth, ListHeight,
                              parent, nullptr, GetModuleHandleW(nullptr), nullptr);
  LVCOLUMNW column{};
  column.mask = LVCF_TEXT | LVCF_WIDTH;
  column.cx = ColumnWidth;
  column.pszText = const_cast<wchar_t*>(L"Name");
  SendMessageW(list, LVM_INSERTCOLUMNW, 0, reinterpret_cast<LPARAM>(&column));
  UpdateWindow(list);

  const auto start = Clock::now();
  SendMessageW(list, WM_SETREDRAW, FALSE, 0);
  SendMessageW(list, LVM_SETITEMCOUNT, paths.size(), LVSICF_NOINVALIDATEALL);
  for (size_t i = 0; i < paths.size(); ++i) {
    std::wstring text = qs::Widen(paths[i]);
    LVITEMW item{};
    item.mask = LVIF_TEXT;
    item.iItem = static_cast<int>(i);
    item.pszText = text.data();
    SendMessageW(list, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item));
  }
  SendMessageW(list, WM_SETREDRAW, TRUE, 0);
  InvalidateRect(list, nullptr, TRUE);
  UpdateWindow(list);
  const double ms = MillisecondsSince(start);
  DestroyWindow(list);
  return ms;
}

double TimeDragQueryFile(const std::vector<std::string>& paths) {
  HDROP drop = qs::test::MakeShellDrop(paths);
  const auto start = Clock::now();
  const UINT count = DragQueryFileW(drop, QueryFileCount, nullptr, 0);
  std::wstring buffer(PathCapacity, L'\0');
  for (UINT i = 0; i < count; ++i) DragQueryFileW(drop, i, buffer.data(), PathCapacity);
  const double ms = MillisecondsSince(start);
  DragFinish(drop);
  return ms;
}

} // namespace

int main() {
  qs::TApplication application;
  qs::TMain* main = qs::bench::OpenMainWindow(application, "drop_bench");

  const std::vector<std::string> paths = DroppedPaths();
  double bestDrop = 1e300, bestBare = 1e300;
  for (int round = 1; round <= Rounds; ++round) {
    // Alternating which goes first keeps warm caches from favouring one side.
    double bare = 0, drop = 0;
    if (round % 2) {
      bare = TimeBareList(main->Encodetab->Handle(), paths);
      drop = TimeDrop(*main, paths);
    } else {
      drop = TimeDrop(*main, paths);
      bare = TimeBareList(main->Encodetab->Handle(), paths);
    }
    application.ProcessMessages();
    std::printf("round %d: drop onto the main window's list %8.1f ms, bare list view %8.1f ms\n", round, drop, bare);
    bestDrop = std::min(bestDrop, drop);
    bestBare = std::min(bestBare, bare);
  }
  std::printf("drop_bench: %d paths, best of %d rounds\n", PathCount, Rounds);
  std::printf("  drop onto the main window's list : %8.1f ms\n", bestDrop);
  std::printf("  bare list view, redraw off       : %8.1f ms\n", bestBare);
  std::printf("  ratio drop / bare                : %8.2f\n", bestDrop / bestBare);
  std::printf("  for comparison, DragQueryFileW path by path: %8.1f ms\n", TimeDragQueryFile(paths));
  return 0;
}
