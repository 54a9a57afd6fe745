#include "CommandInterpreter.h"

#include "Unicode.h"

#include <windows.h>

namespace qs {

namespace {

constexpr wchar_t kInterpreterVariable[] = L"COMSPEC";
constexpr wchar_t kRunGoBat[] = L" /c go.bat";
constexpr size_t kEnvironmentValueChars = 32767; // the longest value Windows allows

std::wstring EnvironmentValue(const wchar_t* name) {
  std::wstring value(kEnvironmentValueChars + 1, L'\0');
  const DWORD length = GetEnvironmentVariableW(name, value.data(), static_cast<DWORD>(value.size()));
  if (length == 0 || length >= value.size()) return {};
  value.resize(length);
  return value;
}

std::optional<std::wstring> ShortPathWide(const std::wstring& path) {
  const DWORD needed = GetShortPathNameW(path.c_str(), nullptr, 0);
  if (needed == 0) return std::nullopt;
  std::wstring shortPath(needed, L'\0');
  const DWORD length = GetShortPathNameW(path.c_str(), shortPath.data(), needed);
  if (length == 0 || length >= needed) return std::nullopt;
  shortPath.resize(length);
  return shortPath;
}

// "C:\..." or "\\server\share\...".
bool IsFullPath(std::string_view path) {
  constexpr std::string_view kUncPrefix = "\\\\";
  constexpr size_t kDriveRootLength = 3;
  if (path.starts_with(kUncPrefix)) return true;
  return path.size() >= kDriveRootLength && path[1] == ':' && path[2] == '\\';
}

// Exactly convertible, or nullopt; `usedDefault` catches what has no counterpart, WC_NO_BEST_FIT_CHARS stops
// look-alikes from counting as counterparts.
std::optional<std::string> ToCodePageExactly(UINT codePage, const std::wstring& wide) {
  const int wideLength = static_cast<int>(wide.size());
  BOOL usedDefault = FALSE;
  const int size =
      WideCharToMultiByte(codePage, WC_NO_BEST_FIT_CHARS, wide.data(), wideLength, nullptr, 0, nullptr, &usedDefault);
  if (size <= 0 || usedDefault) return std::nullopt;
  std::string bytes(static_cast<size_t>(size), '\0');
  const int written = WideCharToMultiByte(codePage, WC_NO_BEST_FIT_CHARS, wide.data(), wideLength, bytes.data(), size,
                                          nullptr, &usedDefault);
  if (written != size || usedDefault) return std::nullopt;
  return bytes;
}

} // namespace

TInterpreterRule RunningInterpreterRule() {
  HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
  return ntdll && GetProcAddress(ntdll, "wine_get_version") ? irWineCmd : irWindowsCmd;
}

std::optional<std::string> ToConsoleCodePage(std::string_view utf8) {
  if (utf8.empty()) return std::string();
  const UINT codePage = GetOEMCP();
  // A UTF-8 console takes the text as it is; WideCharToMultiByte would refuse the used-default flag for it.
  if (codePage == CP_UTF8) return std::string(utf8);
  return ToCodePageExactly(codePage, Widen(utf8));
}

std::optional<std::string> ShortPathName(const std::string& path) {
  std::optional<std::wstring> shortPath = ShortPathWide(Widen(path));
  if (!shortPath) return std::nullopt;
  return Narrow(*shortPath);
}

std::string SystemErrorText(unsigned long error) {
  wchar_t* buffer = nullptr;
  const DWORD length =
      FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                     nullptr, error, 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
  std::wstring text = length ? std::wstring(buffer, length) : L"error " + std::to_wstring(error);
  if (buffer) LocalFree(buffer);
  while (!text.empty() && (text.back() == L'\n' || text.back() == L'\r' || text.back() == L' ')) text.pop_back();
  return Narrow(text);
}

TStartedInterpreter StartBatchInFolder(const std::string& folder) {
  TStartedInterpreter started;
  const std::wstring interpreter = EnvironmentValue(kInterpreterVariable);
  if (interpreter.empty()) {
    started.Error = "COMSPEC is not set";
    return started;
  }
  // The short form keeps the command line free of spaces; a path that still has one is quoted so that the
  // interpreter does not take its tail for arguments.
  std::wstring program = ShortPathWide(interpreter).value_or(interpreter);
  if (program.find(L' ') != std::wstring::npos) program = L'"' + program + L'"';
  std::wstring commandLine = program + kRunGoBat;
  const std::wstring directory = Widen(folder);

  STARTUPINFOW startup{};
  startup.cb = sizeof(startup);
  PROCESS_INFORMATION process{};
  // No handles are inherited: the interpreter needs none of ours, and an inherited one would keep our files open
  // for as long as the encoder runs.
  if (!CreateProcessW(interpreter.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, directory.c_str(),
                      &startup, &process)) {
    started.Error = SystemErrorText(GetLastError());
    return started;
  }
  TKernelHandle thread(process.hThread);
  started.Process.Reset(process.hProcess);
  return started;
}

bool CanEnterFolder(const std::string& folder) {
  if (!IsFullPath(folder)) return false;
  const std::wstring wide = Widen(folder);
  const DWORD attributes = GetFileAttributesW(wide.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_DIRECTORY)) return false;
  // Existing is not enough: the interpreter must be allowed to make it its current directory.
  TFileHandle directory(CreateFileW(wide.c_str(), FILE_TRAVERSE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                    nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
  return static_cast<bool>(directory);
}

} // namespace qs
