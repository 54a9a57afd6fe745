#pragma once
// The real QuillStack.exe (or a test tool) run as a process of its own, and finding its windows from outside, as
// another program on the desktop finds them.
#include <windows.h>

#include <functional>
#include <optional>
#include <string>

namespace qs::test {

std::string ClassOf(HWND window);
std::string TitleOf(HWND window);
// Asks `done` every few milliseconds until it holds or `timeoutMs` runs out; returns its last answer.
bool Poll(const std::function<bool()>& done, int timeoutMs);
// A visible top-level window of `process` for which `match` holds.
HWND FindTopLevel(DWORD process, const std::function<bool(HWND)>& match);
// The first descendant of `parent` for which `match` holds.
HWND FindDescendant(HWND parent, const std::function<bool(HWND)>& match);

// A program started with a command line and a working folder; ended at scope end if it still runs.
class TProgramProcess {
public:
  TProgramProcess(const std::string& path, const std::string& arguments, const std::string& folder,
                  HANDLE output = nullptr);
  ~TProgramProcess();
  TProgramProcess(const TProgramProcess&) = delete;
  TProgramProcess& operator=(const TProgramProcess&) = delete;

  bool Started() const { return FInfo.hProcess != nullptr; }
  DWORD Id() const { return FInfo.dwProcessId; }
  // The exit code once the process has ended within `timeoutMs`, nothing while it runs.
  std::optional<DWORD> ExitCode(int timeoutMs) const;

private:
  PROCESS_INFORMATION FInfo{};
};

struct TToolRun {
  std::optional<DWORD> ExitCode; // nothing when it did not end in time
  std::string Output;            // what it wrote to its standard output
};

// Runs a tool of build/win64/tools with `arguments` and waits for it.
TToolRun RunTool(const std::string& name, const std::string& arguments, int timeoutMs);

} // namespace qs::test
