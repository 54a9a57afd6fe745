// The per-row overhead of an encode run (write go.bat, start the interpreter, wait for it in the message loop,
// dispatch the next row) with the stand-in encoder, which exits at once, against two baselines measured in the
// same run:
//   - a bare CreateProcess of "cmd /c exit" and a blocking wait: the least any row can cost;
//   - the same go.bat written and run by a blocking loop: the work of a row without our dispatching.
// The stand-in encoder is build/<cfg>/tools/aacenc.exe, next to this program's folder.
#include "Application.h"
#include "EncodeRun.h"
#include "Form.h"
#include "Handles.h"
#include "QuillStackApp.h"
#include "Seams.h"
#include "Unicode.h"

#include <windows.h>

#include <chrono>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

using namespace qs;

namespace {

constexpr int kRows = 30;
constexpr char kWaveBytes[] = "RIFF\x24\0\0\0WAVEfmt ";
constexpr size_t kWaveLength = sizeof(kWaveBytes) - 1;

using TClock = std::chrono::steady_clock;

double MillisecondsOf(const std::function<void()>& work) {
  const auto start = TClock::now();
  work();
  return std::chrono::duration<double, std::milli>(TClock::now() - start).count();
}

std::wstring ProgramFolder() {
  wchar_t path[MAX_PATH]{};
  GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::wstring folder = path;
  return folder.substr(0, folder.find_last_of(L'\\') + 1);
}

// A fresh folder below %TEMP%, removed with its files at the end.
class TScratchFolder {
public:
  TScratchFolder() {
    wchar_t base[MAX_PATH]{};
    GetTempPathW(MAX_PATH, base);
    FPath = std::wstring(base) + L"qs_bench_" + std::to_wstring(GetCurrentProcessId()) + L"\\";
    CreateDirectoryW(FPath.c_str(), nullptr);
  }
  ~TScratchFolder() {
    WIN32_FIND_DATAW data;
    HANDLE find = FindFirstFileW((FPath + L"*").c_str(), &data);
    if (find != INVALID_HANDLE_VALUE) {
      do {
        DeleteFileW((FPath + data.cFileName).c_str());
      } while (FindNextFileW(find, &data));
      FindClose(find);
    }
    RemoveDirectoryW(FPath.c_str());
  }
  TScratchFolder(const TScratchFolder&) = delete;
  TScratchFolder& operator=(const TScratchFolder&) = delete;
  const std::wstring& Path() const { return FPath; }

private:
  std::wstring FPath;
};

void WriteBytes(const std::wstring& path, const std::string& bytes) {
  TFileHandle file(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  DWORD written = 0;
  WriteFile(file.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
}

void RunAndWait(const std::wstring& interpreter, std::wstring commandLine, const std::wstring& folder) {
  STARTUPINFOW startup{};
  startup.cb = sizeof(startup);
  PROCESS_INFORMATION process{};
  if (!CreateProcessW(interpreter.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(),
                      &startup, &process))
    return;
  TKernelHandle thread(process.hThread);
  TKernelHandle child(process.hProcess);
  WaitForSingleObject(child.Get(), INFINITE);
}

// The interpreters share our console and echo every line there; the figures are easier to read without.
void SilenceChildren(HANDLE null) {
  SetStdHandle(STD_OUTPUT_HANDLE, null);
  SetStdHandle(STD_ERROR_HANDLE, null);
}

std::wstring Interpreter() {
  wchar_t path[MAX_PATH]{};
  GetEnvironmentVariableW(L"COMSPEC", path, MAX_PATH);
  return path;
}

} // namespace

int main() {
  TApplication application;
  InitializeApplication(application);
  bool reported = false;
  TSeams::ShowMessageBox = [&reported](HWND, const std::string& text, const std::string&, UINT) {
    std::printf("end report: %s\n", text.c_str());
    reported = true;
    return IDOK;
  };

  const std::wstring tool = ProgramFolder() + L"..\\tools\\aacenc.exe";
  TScratchFolder folder;
  if (!CopyFileW(tool.c_str(), (folder.Path() + L"aacenc.exe").c_str(), FALSE)) {
    std::printf("encode_run_bench: no stand-in encoder at %s; build the tests first\n", Narrow(tool).c_str());
    return 0;
  }
  TEncodeJob job;
  job.Bitrate = "128000";
  job.EncoderFolder = Narrow(folder.Path());
  job.SaveFolder = job.EncoderFolder;
  for (int i = 0; i < kRows; ++i) {
    const std::wstring input = folder.Path() + L"row" + std::to_wstring(i) + L".wav";
    WriteBytes(input, std::string(kWaveBytes, kWaveLength));
    job.Rows.push_back(Narrow(input));
  }

  TFileHandle null(
      CreateFileW(L"NUL", GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr));
  if (null) SilenceChildren(null.Get());

  TForm window(&application);
  window.Show();
  TEncodeRun run(window, "QuillStack V3");
  const double ours = MillisecondsOf([&] {
    run.Start(job);
    while (run.InProgress()) application.HandleMessage();
  });

  const std::wstring interpreter = Interpreter();
  const double bareExit = MillisecondsOf([&] {
    for (int i = 0; i < kRows; ++i) RunAndWait(interpreter, L"cmd /c exit", folder.Path());
  });
  const std::string line = "call aacenc -m tf -eb .aac -r 128000 -c -aac_raw -vr -eo .wav  \"" + job.Rows[0] +
                           "\" -o \"" + job.EncoderFolder + "row0.aac\"\r\n";
  const double blockingGoBat = MillisecondsOf([&] {
    for (int i = 0; i < kRows; ++i) {
      WriteBytes(folder.Path() + L"go.bat", line);
      RunAndWait(interpreter, L"cmd /c go.bat", folder.Path());
    }
  });

  const double perRow = ours / kRows, perBare = bareExit / kRows, perBlocking = blockingGoBat / kRows;
  std::printf("%d rows, stand-in encoder exiting at once%s\n", kRows, reported ? " (some rows failed)" : "");
  std::printf("encode run, per row                          %8.1f ms\n", perRow);
  std::printf("bare cmd /c exit + wait, per row             %8.1f ms   ratio run/bare     %5.2f\n", perBare,
              perBare > 0 ? perRow / perBare : 0.0);
  std::printf("go.bat written and run, blocking, per row    %8.1f ms   ratio run/blocking %5.2f\n", perBlocking,
              perBlocking > 0 ? perRow / perBlocking : 0.0);
  return 0;
}
