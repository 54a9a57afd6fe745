#include "ProgramProcess.h"

#include "Handles.h"
#include "QsTest.h"
#include "Unicode.h"

namespace qs::test {

namespace {

constexpr int kPollMs = 50;
constexpr int kNameChars = 256;

} // namespace

std::string ClassOf(HWND window) {
  wchar_t name[kNameChars]{};
  GetClassNameW(window, name, kNameChars);
  return Narrow(name);
}

std::string TitleOf(HWND window) {
  wchar_t text[kNameChars]{};
  GetWindowTextW(window, text, kNameChars);
  return Narrow(text);
}

bool Poll(const std::function<bool()>& done, int timeoutMs) {
  for (int waited = 0; waited < timeoutMs; waited += kPollMs) {
    if (done()) return true;
    Sleep(kPollMs);
  }
  return done();
}

namespace {

struct TSearch {
  const std::function<bool(HWND)>* Match;
  DWORD Process = 0;
  HWND Found = nullptr;
};

BOOL CALLBACK CheckTopLevel(HWND window, LPARAM param) {
  auto& s = *reinterpret_cast<TSearch*>(param);
  DWORD owner = 0;
  GetWindowThreadProcessId(window, &owner);
  if (owner != s.Process || !IsWindowVisible(window) || !(*s.Match)(window)) return TRUE;
  s.Found = window;
  return FALSE;
}

BOOL CALLBACK CheckDescendant(HWND window, LPARAM param) {
  auto& s = *reinterpret_cast<TSearch*>(param);
  if (!(*s.Match)(window)) return TRUE;
  s.Found = window;
  return FALSE;
}

} // namespace

HWND FindTopLevel(DWORD process, const std::function<bool(HWND)>& match) {
  TSearch search{&match, process};
  EnumWindows(CheckTopLevel, reinterpret_cast<LPARAM>(&search));
  return search.Found;
}

HWND FindDescendant(HWND parent, const std::function<bool(HWND)>& match) {
  TSearch search{&match};
  EnumChildWindows(parent, CheckDescendant, reinterpret_cast<LPARAM>(&search));
  return search.Found;
}

TProgramProcess::TProgramProcess(const std::string& path, const std::string& arguments, const std::string& folder,
                                 HANDLE output) {
  std::wstring commandLine = L"\"" + Widen(path) + L"\" " + Widen(arguments);
  STARTUPINFOW startup{};
  startup.cb = sizeof(startup);
  if (output) {
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdOutput = output;
    startup.hStdError = output;
  }
  if (!CreateProcessW(Widen(path).c_str(), commandLine.data(), nullptr, nullptr, output != nullptr, 0, nullptr,
                      folder.empty() ? nullptr : Widen(folder).c_str(), &startup, &FInfo))
    FInfo = PROCESS_INFORMATION{};
}

TProgramProcess::~TProgramProcess() {
  if (!FInfo.hProcess) return;
  if (WaitForSingleObject(FInfo.hProcess, 0) == WAIT_TIMEOUT) {
    TerminateProcess(FInfo.hProcess, 1);
    WaitForSingleObject(FInfo.hProcess, INFINITE);
  }
  CloseHandle(FInfo.hProcess);
  CloseHandle(FInfo.hThread);
}

std::optional<DWORD> TProgramProcess::ExitCode(int timeoutMs) const {
  if (!FInfo.hProcess || WaitForSingleObject(FInfo.hProcess, static_cast<DWORD>(timeoutMs)) != WAIT_OBJECT_0)
    return std::nullopt;
  DWORD code = 0;
  GetExitCodeProcess(FInfo.hProcess, &code);
  return code;
}

TToolRun RunTool(const std::string& name, const std::string& arguments, int timeoutMs) {
  const TTempDir folder;
  const std::string outputPath = folder.Path() + "output.txt";
  SECURITY_ATTRIBUTES inherit{sizeof(inherit), nullptr, TRUE};
  TFileHandle output(CreateFileW(Widen(outputPath).c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inherit, CREATE_ALWAYS,
                                 FILE_ATTRIBUTE_NORMAL, nullptr));
  TToolRun run;
  if (!output) return run;
  {
    const TProgramProcess tool(std::string(QS_TOOLS_DIR) + "/" + name + ".exe", arguments, folder.Path(), output.Get());
    // The tool holds its own copy; ours must not keep the file open past it.
    output.Reset();
    run.ExitCode = tool.ExitCode(timeoutMs);
  }
  run.Output = ReadFileBytes(outputPath);
  return run;
}

} // namespace qs::test
