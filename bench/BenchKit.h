#pragma once
// What the benchmarks share: the main window opened as the program opens it, and timings that take turns.
#include "Main.h"
#include "QuillStackApp.h"
#include "Seams.h"

#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

namespace qs::bench {

// The main window shown and in front, its start-up messages handled. A benchmark must never wait on a message
// box, so error boxes are printed instead, under the benchmark's name.
inline TMain* OpenMainWindow(TApplication& application, const char* benchName) {
  InitializeApplication(application);
  TSeams::ShowMessageBox = [benchName](HWND, const std::string& text, const std::string&, UINT) {
    std::fprintf(stderr, "%s: error box: %s\n", benchName, text.c_str());
    return IDOK;
  };
  auto* main = application.CreateForm<TMain>();
  main->Show();
  SetForegroundWindow(main->Handle());
  application.ProcessMessages();
  return main;
}

struct TMeasure {
  const char* Name;
  int Calls;
  std::function<void()> Work;
  // Called with true before each timed batch and with false after it, outside the clock.
  std::function<void(bool)> Around = [](bool) {};
  double Best = 0; // microseconds per call
};

// Round after round, every measure is timed once per round and keeps the best of its rounds, so that a slow moment
// of the machine (which other work shares) does not fall on one of them only. `afterEach` runs untimed after
// every batch.
inline void TimeInTurns(std::vector<TMeasure>& measures, int rounds, const std::function<void()>& afterEach = {}) {
  using TClock = std::chrono::steady_clock;
  for (int round = 0; round < rounds; ++round)
    for (TMeasure& m : measures) {
      m.Around(true);
      const auto start = TClock::now();
      for (int i = 0; i < m.Calls; ++i) m.Work();
      const double us = std::chrono::duration<double, std::micro>(TClock::now() - start).count() / m.Calls;
      m.Around(false);
      m.Best = round == 0 ? us : std::min(m.Best, us);
      if (afterEach) afterEach();
    }
}

// Each measure's best, and its ratio to the first one's.
inline void PrintAgainstFirst(const std::vector<TMeasure>& measures) {
  const double baseline = measures.front().Best;
  for (const TMeasure& m : measures)
    std::printf("  %-48s %8.2f us  %6.2f x baseline\n", m.Name, m.Best, m.Best / baseline);
}

} // namespace qs::bench
