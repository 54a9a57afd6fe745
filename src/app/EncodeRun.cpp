#include "EncodeRun.h"

#include "Application.h"
#include "CommandInterpreter.h"
#include "Exception.h"
#include "Form.h"
#include "Seams.h"
#include "Unicode.h"

#include <windows.h>

namespace qs {

namespace {

constexpr char kGoBatName[] = "go.bat";

std::string WithTrailingBackslash(std::string folder) {
  if (!folder.empty() && folder.back() != '\\') folder += '\\';
  return folder;
}

// The full path is used so that go.bat can never land in whatever folder happens to be current.
void WriteGoBat(const std::string& folder, const std::string& bytes) {
  const std::wstring path = Widen(folder + kGoBatName);
  TFileHandle file(CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS,
                               FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) throw EFCreateError(std::string("Cannot create file ") + kGoBatName);
  DWORD written = 0;
  if (!WriteFile(file.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) ||
      written != bytes.size())
    throw EFCreateError(std::string("Cannot create file ") + kGoBatName);
}

} // namespace

TEncodeRun::TEncodeRun(TForm& window, std::string idleCaption)
    : FWindow(window), FIdleCaption(std::move(idleCaption)), FRule(RunningInterpreterRule()) {}

TEncodeRun::~TEncodeRun() {
  // The interpreter runs on by itself; only our interest in it ends.
  if (FProcess && Application) Application->CancelWait(FProcess.Get());
}

std::size_t TEncodeRun::RowsWaiting() const { return FState == TState::Running ? FJob.Rows.size() - FCurrent : 0; }

void TEncodeRun::Start(TEncodeJob job) {
  if (InProgress() || job.Rows.empty()) return;
  std::string folder = WithTrailingBackslash(job.EncoderFolder);
  if (!CanEnterFolder(folder)) throw Exception("Cannot open encoder folder " + job.EncoderFolder);

  FJob = std::move(job);
  FFolder = std::move(folder);
  FCurrent = 0;
  FProblems.clear();
  // The windows of an earlier run are not needed any more; a countdown is never deleted from inside its own
  // handler, and a run never starts from one.
  FCountdown.reset();
  FReport.reset();
  FKeepAwake.emplace();
  FState = TState::Running;
  Advance();
}

void TEncodeRun::Advance() {
  try {
    for (; FCurrent < FJob.Rows.size(); ++FCurrent) {
      FWindow.SetCaption(EncodeProgressCaption(FIdleCaption, FCurrent + 1, FJob.Rows.size()));
      if (StartRow(FJob.Rows[FCurrent])) return;
    }
  } catch (const EFCreateError&) {
    // go.bat could not be written: this row and the rest are not run, and no power-down follows. The report says
    // which files that leaves; the error box says why.
    FProblems.push_back({FJob.Rows[FCurrent], GoBatNotWrittenReason()});
    for (std::size_t row = FCurrent + 1; row < FJob.Rows.size(); ++row)
      FProblems.push_back({FJob.Rows[row], RunEndedEarlierReason()});
    FCurrent = FJob.Rows.size();
    EndRun(false);
    throw;
  } catch (...) {
    FCurrent = FJob.Rows.size();
    EndRun(false);
    throw;
  }
  EndRun(FJob.PowerDown);
}

bool TEncodeRun::StartRow(const std::string& path) {
  TEncodeRow row{FJob.Bitrate, path, std::nullopt, FJob.SaveFolder, FRule};
  TEncodeLine line = PrepareEncodeLine(row, ToConsoleCodePage);
  // The short form is looked up only for the rare row that needs it.
  if (!line.Ok()) {
    const std::optional<std::string> shortPath = ShortPathName(path);
    if (shortPath) {
      row.ShortInputPath = *shortPath;
      line = PrepareEncodeLine(row, ToConsoleCodePage);
    }
  }
  if (!line.Ok()) {
    FProblems.push_back({path, LineFaultReason(line)});
    return false;
  }

  WriteGoBat(FFolder, GoBatContent(line.OemBytes));
  TStartedInterpreter started = StartBatchInFolder(FFolder);
  if (!started.Process) {
    FProblems.push_back({path, NotStartedReason(started.Error)});
    return false;
  }
  FProcess = std::move(started.Process);
  Application->WaitFor(FProcess.Get(), [this] { RowEnded(); });
  return true;
}

void TEncodeRun::RowEnded() {
  DWORD exitCode = 0;
  if (GetExitCodeProcess(FProcess.Get(), &exitCode) && exitCode != 0)
    FProblems.push_back({FJob.Rows[FCurrent], ExitCodeReason(exitCode)});
  FProcess.Reset();
  ++FCurrent;
  Advance();
}

void TEncodeRun::EndRun(bool powerDown) {
  FWindow.SetCaption(FIdleCaption);
  FKeepAwake.reset();
  if (!powerDown) {
    FState = TState::Idle;
    ShowReport();
    return;
  }
  // Whoever asked for power-down has left the machine: the report goes into the countdown, which powers off
  // unless someone is there to press Cancel.
  FState = TState::CountingDown;
  FCountdown = std::make_unique<TPowerDownCountdown>(nullptr);
  FCountdown->SetReport(FProblems, FJob.Rows.size());
  FCountdown->Start(
      FCountdownSeconds, [this](bool expired) { CountdownEnded(expired); }, FWindow.HandleIfAllocated());
}

void TEncodeRun::ShowReport() {
  if (FProblems.empty()) return;
  FReport = std::make_unique<TEndReport>(nullptr);
  FReport->ShowReport(FWindow.HandleIfAllocated(), FProblems, FJob.Rows.size());
}

void TEncodeRun::CountdownEnded(bool expired) {
  FState = TState::Idle;
  if (expired) {
    TSeams::ShutDown();
    return;
  }
  // Someone is there after all; the report stays readable once the countdown has gone.
  ShowReport();
}

} // namespace qs
