// A stand-in for the command interpreter, named through COMSPEC by the encode-run tests, so that they can see how
// the program starts it and what it makes of each exit code. It checks that it was started as "<itself> /c go.bat",
// reads go.bat from its current directory and appends one line to the log named by QS_QSCMD_LOG:
//   <current directory> TAB <arguments, space-separated> TAB <go.bat without its final CR LF>
// all UTF-8 but go.bat, which is copied byte for byte. It runs nothing.
//
// Controlled through the environment it inherits from the test:
//   QS_QSCMD_LOG       the log file (required)
//   QS_QSCMD_SLEEP_MS  sleep this long after logging, so that a test can act while the interpreter still runs
//   QS_QSCMD_EXIT      exit with this code (decimal, or hexadecimal with 0x, such as 0xC0000005)
//
// Exit codes of its own: 0 done, 64 not started as "/c go.bat", 66 no go.bat in the current directory.
#include "ToolKit.h"

#include <windows.h>

#include <cwchar>
#include <string>

namespace {

using namespace tool;

constexpr UINT kExitDone = 0;
constexpr UINT kExitBadArguments = 64;
constexpr UINT kExitNoGoBat = 66;
constexpr int kAutomaticBase = 0; // strtoul's: decimal, or hexadecimal after "0x"

std::wstring CurrentDirectory() {
  std::wstring path(MAX_PATH, L'\0');
  const DWORD length = GetCurrentDirectoryW(static_cast<DWORD>(path.size()), path.data());
  path.resize(length < path.size() ? length : 0);
  return path;
}

void AppendToLog(const std::string& line) {
  const std::wstring log = Environment(L"QS_QSCMD_LOG");
  if (log.empty()) return;
  HANDLE file =
      CreateFileW(log.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ, nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return;
  DWORD written = 0;
  WriteFile(file, line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
  CloseHandle(file);
}

} // namespace

int wmain(int argc, wchar_t** argv) {
  std::wstring arguments;
  for (int i = 1; i < argc; ++i) arguments += (i > 1 ? L" " : L"") + std::wstring(argv[i]);
  std::string goBat;
  const bool haveGoBat = ReadWhole(L"go.bat", goBat);
  if (goBat.ends_with("\r\n")) goBat.resize(goBat.size() - 2);
  AppendToLog(ToUtf8(CurrentDirectory()) + "\t" + ToUtf8(arguments) + "\t" + goBat + "\n");

  const std::wstring sleepMs = Environment(L"QS_QSCMD_SLEEP_MS");
  if (!sleepMs.empty()) Sleep(static_cast<DWORD>(std::wcstoul(sleepMs.c_str(), nullptr, kAutomaticBase)));

  if (argc != 3 || std::wcscmp(argv[1], L"/c") != 0 || std::wcscmp(argv[2], L"go.bat") != 0) return kExitBadArguments;
  if (!haveGoBat) return kExitNoGoBat;
  const std::wstring code = Environment(L"QS_QSCMD_EXIT");
  // ExitProcess, not a return: a status such as 0xC0000005 must reach the parent as it is.
  ExitProcess(code.empty() ? kExitDone : static_cast<UINT>(std::wcstoul(code.c_str(), nullptr, kAutomaticBase)));
}
