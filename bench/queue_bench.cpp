// What the queue's batch changes cost against a bare system list view doing the same work with redrawing
// suspended, both visible and both repainted once at the end, measured in the same run:
//   - Add1Click with N distinct .wav paths from the (scripted) Add dialog, duplicate test included;
//   - Delete1Click of every other row of 10,000 (5,000 selected rows);
//   - 2,000 files from one dialog, in absolute time (the goal is well under a second).
// Each figure is the best of a few repetitions, so that one slow moment of the machine does not count.
#include "Main.h"
#include "QuillStackApp.h"
#include "Seams.h"
#include "Unicode.h"

#include <windows.h>

#include <commctrl.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

using namespace qs;

namespace {

constexpr int kRepetitions = 3;
constexpr int kAddSizes[] = {1000, 10000, 50000};
constexpr int kDeleteRows = 10000;
constexpr int kDialogFiles = 2000;
constexpr int kFilesPerFolder = 100;
constexpr int kListWidth = 455;
constexpr int kListHeight = 259;
constexpr int kColumnWidth = 469;

using TClock = std::chrono::steady_clock;

double MillisecondsOf(const std::function<void()>& work) {
  const auto start = TClock::now();
  work();
  return std::chrono::duration<double, std::milli>(TClock::now() - start).count();
}

// Best of kRepetitions; `prepare` runs untimed before each.
double Best(const std::function<void()>& prepare, const std::function<void()>& work) {
  double best = 0;
  for (int i = 0; i < kRepetitions; ++i) {
    prepare();
    const double ms = MillisecondsOf(work);
    best = i == 0 ? ms : std::min(best, ms);
  }
  return best;
}

std::vector<std::string> DistinctPaths(int count) {
  std::vector<std::string> paths;
  paths.reserve(static_cast<size_t>(count));
  for (int i = 0; i < count; ++i)
    paths.push_back("C:\\Music\\Album " + std::to_string(i / kFilesPerFolder) + "\\Track " + std::to_string(i) +
                    ".wav");
  return paths;
}

void Pump() { Application->ProcessMessages(); }

// The baseline: a report-style system list view in a visible window of its own, driven by messages only.
class TBareList {
public:
  TBareList() {
    FFrame = CreateWindowExW(0, L"STATIC", L"bare", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, kListWidth + 40,
                             kListHeight + 60, nullptr, nullptr, nullptr, nullptr);
    FList = CreateWindowExW(0, WC_LISTVIEWW, L"", WS_CHILD | WS_VISIBLE | LVS_REPORT | LVS_SHOWSELALWAYS, 0, 0,
                            kListWidth, kListHeight, FFrame, nullptr, nullptr, nullptr);
    LVCOLUMNW column{};
    column.mask = LVCF_TEXT | LVCF_WIDTH;
    column.cx = kColumnWidth;
    column.pszText = const_cast<wchar_t*>(L"Name");
    SendMessageW(FList, LVM_INSERTCOLUMNW, 0, reinterpret_cast<LPARAM>(&column));
  }
  ~TBareList() { DestroyWindow(FFrame); }
  TBareList(const TBareList&) = delete;
  TBareList& operator=(const TBareList&) = delete;

  void Clear() { SendMessageW(FList, LVM_DELETEALLITEMS, 0, 0); }

  void Insert(const std::vector<std::string>& captions) {
    Suspend();
    int index = static_cast<int>(SendMessageW(FList, LVM_GETITEMCOUNT, 0, 0));
    for (const std::string& caption : captions) {
      std::wstring text = Widen(caption);
      LVITEMW item{};
      item.mask = LVIF_TEXT;
      item.iItem = index++;
      item.pszText = text.data();
      SendMessageW(FList, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item));
    }
    Resume();
  }

  void Select(const std::vector<int>& rows) {
    for (const int row : rows) {
      LVITEMW item{};
      item.stateMask = LVIS_SELECTED;
      item.state = LVIS_SELECTED;
      SendMessageW(FList, LVM_SETITEMSTATE, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
    }
  }

  // Finds the selected rows through the list itself and deletes them from the last.
  void DeleteSelected() {
    std::vector<int> rows;
    for (int i = -1;
         (i = static_cast<int>(SendMessageW(FList, LVM_GETNEXTITEM, static_cast<WPARAM>(i), LVNI_SELECTED))) >= 0;)
      rows.push_back(i);
    Suspend();
    for (auto it = rows.rbegin(); it != rows.rend(); ++it)
      SendMessageW(FList, LVM_DELETEITEM, static_cast<WPARAM>(*it), 0);
    Resume();
  }

private:
  void Suspend() { SendMessageW(FList, WM_SETREDRAW, FALSE, 0); }
  void Resume() {
    SendMessageW(FList, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(FList, nullptr, TRUE);
    UpdateWindow(FList);
  }

  HWND FFrame = nullptr;
  HWND FList = nullptr;
};

void ChooseInAddDialog(const std::vector<std::string>& paths) {
  TSeams::FileDialog = [&paths](TFileDialog& dialog) {
    dialog.SetResult(paths);
    return true;
  };
}

void Report(const char* what, double ours, double bare) {
  std::printf("%-44s ours %9.1f ms   bare %9.1f ms   ratio %5.2f\n", what, ours, bare, bare > 0 ? ours / bare : 0.0);
}

void BenchAdd(TMain& main, TBareList& bare) {
  for (const int size : kAddSizes) {
    const std::vector<std::string> paths = DistinctPaths(size);
    ChooseInAddDialog(paths);
    const double ours = Best(
        [&] {
          main.Clear1Click(nullptr);
          Pump();
        },
        [&] {
          main.Add1Click(nullptr);
          UpdateWindow(main.ListView1->Handle());
        });
    const double baseline = Best(
        [&] {
          bare.Clear();
          Pump();
        },
        [&] { bare.Insert(paths); });
    if (main.ListView1->Count() != size)
      std::printf("!! %d rows listed instead of %d\n", main.ListView1->Count(), size);
    const std::string what = "Add1Click, " + std::to_string(size) + " distinct paths";
    Report(what.c_str(), ours, baseline);
  }
}

void BenchDelete(TMain& main, TBareList& bare) {
  const std::vector<std::string> paths = DistinctPaths(kDeleteRows);
  std::vector<int> everyOther;
  for (int row = 0; row < kDeleteRows; row += 2) everyOther.push_back(row);
  ChooseInAddDialog(paths);
  const double ours = Best(
      [&] {
        main.Clear1Click(nullptr);
        main.Add1Click(nullptr);
        for (const int row : everyOther) main.ListView1->SetSelected(row, true);
        Pump();
      },
      [&] {
        main.Delete1Click(nullptr);
        UpdateWindow(main.ListView1->Handle());
      });
  const double baseline = Best(
      [&] {
        bare.Clear();
        bare.Insert(paths);
        bare.Select(everyOther);
        Pump();
      },
      [&] { bare.DeleteSelected(); });
  Report("Delete1Click, 5,000 selected of 10,000", ours, baseline);
}

void BenchDialogGoal(TMain& main) {
  const std::vector<std::string> paths = DistinctPaths(kDialogFiles);
  ChooseInAddDialog(paths);
  const double ours = Best(
      [&] {
        main.Clear1Click(nullptr);
        Pump();
      },
      [&] {
        main.Add1Click(nullptr);
        UpdateWindow(main.ListView1->Handle());
      });
  std::printf("%-44s ours %9.1f ms   (goal: under 1000 ms)\n", "2,000 files from one Add dialog", ours);
}

} // namespace

int main() {
  TApplication application;
  InitializeApplication(application);
  TSeams::ShowMessageBox = [](HWND, const std::string& text, const std::string&, UINT) {
    std::printf("message box: %s\n", text.c_str());
    return IDOK;
  };
  auto* main = new TMain(&application);
  main->AfterConstruction();
  main->Show();
  Pump();
  {
    TBareList bare;
    Pump();
    BenchAdd(*main, bare);
    BenchDelete(*main, bare);
    BenchDialogGoal(*main);
  }
  delete main;
  return 0;
}
