#pragma once
// One encode run: every queued file, one at a time, through go.bat in the encoder folder and the command
// interpreter. The interpreter reads its batch file again after each command, so go.bat is rewritten for the
// next row only once the previous interpreter has exited; the wait happens in the application's message loop,
// so the window stays responsive and no thread of our own is needed.
#include "EncodeRules.h"
#include "EndReport.h"
#include "Handles.h"
#include "KeepAwake.h"
#include "PowerDownCountdown.h"

#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace qs {

// What a run works from, taken when Encode is pressed: later edits of the queue or the settings do not reach it.
struct TEncodeJob {
  std::vector<std::string> Rows; // display order
  std::string Bitrate;           // as typed
  std::string SaveFolder;
  std::string EncoderFolder;
  bool PowerDown = false;
};

class TEncodeRun {
public:
  // `window` shows the progress in its caption and owns the report; `idleCaption` is put back at the end.
  TEncodeRun(TForm& window, std::string idleCaption);
  ~TEncodeRun();
  TEncodeRun(const TEncodeRun&) = delete;
  TEncodeRun& operator=(const TEncodeRun&) = delete;

  // Starts the first row and returns; the rest follow from the message loop. An empty job does nothing. Raises
  // "Cannot open encoder folder <folder>" before anything is written when the folder cannot be entered, and
  // "Cannot create file go.bat" (EFCreateError) when go.bat cannot be written, which ends the run.
  void Start(TEncodeJob job);

  // From Start until the last row's run has ended and any power-down countdown ended.
  bool InProgress() const { return FState != TState::Idle; }
  // Rows whose interpreter has not ended yet, the one running now included.
  std::size_t RowsWaiting() const;

  // For tests: a shorter countdown, and the percent rule of the other interpreter.
  void SetCountdownSeconds(int seconds) { FCountdownSeconds = seconds; }
  void SetInterpreterRule(TInterpreterRule rule) { FRule = rule; }
  TInterpreterRule InterpreterRule() const { return FRule; }
  TPowerDownCountdown* Countdown() const { return FCountdown.get(); }
  // The report of the last run when it had problems, once no countdown shows them; it stays until the next run.
  TEndReport* Report() const { return FReport.get(); }

private:
  enum class TState { Idle, Running, CountingDown };

  // Starts rows from the current one until one is running, or ends the run when none is left.
  void Advance();
  // False when the row could not be run (the reason is kept for the report).
  bool StartRow(const std::string& path);
  void RowEnded();
  void EndRun(bool powerDown);
  void ShowReport();
  void CountdownEnded(bool expired);

  TForm& FWindow;
  std::string FIdleCaption;
  TEncodeJob FJob;
  std::string FFolder; // the encoder folder with its trailing backslash
  std::size_t FCurrent = 0;
  std::vector<TRowProblem> FProblems;
  TKernelHandle FProcess;
  std::optional<TKeepAwake> FKeepAwake;
  std::unique_ptr<TPowerDownCountdown> FCountdown;
  std::unique_ptr<TEndReport> FReport;
  int FCountdownSeconds = TPowerDownCountdown::DefaultSeconds;
  TInterpreterRule FRule;
  TState FState = TState::Idle;
};

} // namespace qs
