// A stand-in for the Tessera encoder's aacenc, for the encode-run tests. It checks that it was called with the
// shape the program promises, reads the input, writes the output, and appends one line per call to aacenc.log in
// its own folder: the arguments exactly as received, UTF-8, separated by tabs (no queued path holds a tab).
// While it runs it holds aacenc.lock in its folder without sharing; an encoder that finds the lock taken is running
// at the same time as another, which the program must never allow (they would share go.bat), and appends its
// arguments to aacenc.overlaps.log before it goes on.
//
// Controlled through the environment it inherits from the test:
//   QS_AACENC_EXIT      exit with this code (after logging)...
//   QS_AACENC_EXIT_ON   ...only for inputs whose path contains this text (every input when unset)
//   QS_AACENC_SLEEP_MS  sleep this long before doing anything, so that a test can see the caller did not wait
//
// Exit codes of its own: 0 done, 2 input cannot be read, 4 output cannot be written, 64 wrong argument shape.
#include "ToolKit.h"

#include <windows.h>

#include <cwchar>
#include <string>
#include <vector>

namespace {

using namespace tool;

constexpr int kExitDone = 0;
constexpr int kExitNoInput = 2;
constexpr int kExitNoOutput = 4;
constexpr int kExitBadArguments = 64;
constexpr DWORD kLogRetryMs = 20;
constexpr int kLogRetries = 250;

// The expected arguments; the empty ones (bitrate, input, output) may be any non-empty text.
const std::vector<std::wstring> kShape = {L"-m",       L"tf",  L"-eb", L".aac", L"-r", L"",   L"-c",
                                          L"-aac_raw", L"-vr", L"-eo", L".wav", L"",   L"-o", L""};
constexpr size_t kBitrateArg = 5;
constexpr size_t kInputArg = 11;
constexpr size_t kOutputArg = 13;

std::wstring OwnFolder() {
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    const DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (length < path.size()) {
      path.resize(length);
      break;
    }
    path.resize(path.size() * 2);
  }
  return path.substr(0, path.find_last_of(L'\\') + 1);
}

// Several encoders may run at once when the caller is faulty; each waits its turn for the log rather than lose
// a line, because a lost line would hide exactly that fault.
void AppendToLog(const wchar_t* name, const std::string& line) {
  const std::wstring log = OwnFolder() + name;
  for (int attempt = 0; attempt < kLogRetries; ++attempt) {
    HANDLE file = CreateFileW(log.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ, nullptr, OPEN_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
      Sleep(kLogRetryMs);
      continue;
    }
    DWORD written = 0;
    WriteFile(file, line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
    CloseHandle(file);
    return;
  }
}

bool HasShape(int argc, wchar_t** argv) {
  if (static_cast<size_t>(argc - 1) != kShape.size()) return false;
  for (size_t i = 0; i < kShape.size(); ++i) {
    const std::wstring arg = argv[i + 1];
    const bool free = i == kBitrateArg || i == kInputArg || i == kOutputArg;
    if (free ? arg.empty() : arg != kShape[i]) return false;
  }
  return true;
}

bool WriteWhole(const std::wstring& path, const std::string& bytes) {
  HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  DWORD written = 0;
  const BOOL ok = WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
  CloseHandle(file);
  return ok && written == bytes.size();
}

int RequestedExitCode(const std::wstring& input) {
  const std::wstring code = Environment(L"QS_AACENC_EXIT");
  if (code.empty()) return kExitDone;
  const std::wstring only = Environment(L"QS_AACENC_EXIT_ON");
  if (!only.empty() && input.find(only) == std::wstring::npos) return kExitDone;
  return static_cast<int>(std::wcstol(code.c_str(), nullptr, 10));
}

std::string ArgumentsLine(int argc, wchar_t** argv) {
  std::string line;
  for (int i = 1; i < argc; ++i) {
    if (i > 1) line += '\t';
    line += ToUtf8(argv[i]);
  }
  return line + "\n";
}

// Held until the process ends; the system closes the handle then, whichever way it ends.
HANDLE TakeRunLock() {
  const std::wstring lock = OwnFolder() + L"aacenc.lock";
  return CreateFileW(lock.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
}

} // namespace

int wmain(int argc, wchar_t** argv) {
  const std::string arguments = ArgumentsLine(argc, argv);
  if (TakeRunLock() == INVALID_HANDLE_VALUE) AppendToLog(L"aacenc.overlaps.log", arguments);

  const std::wstring sleepMs = Environment(L"QS_AACENC_SLEEP_MS");
  if (!sleepMs.empty()) Sleep(static_cast<DWORD>(std::wcstoul(sleepMs.c_str(), nullptr, 10)));

  AppendToLog(L"aacenc.log", arguments);

  if (!HasShape(argc, argv)) return kExitBadArguments;
  const std::wstring input = argv[kInputArg + 1];
  std::string audio;
  if (!ReadWhole(input.c_str(), audio)) return kExitNoInput;
  if (!WriteWhole(argv[kOutputArg + 1], audio)) return kExitNoOutput;
  return RequestedExitCode(input);
}
