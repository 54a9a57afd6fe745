#pragma once
// What the stand-ins for outside programs share. Each is a program of its own, built from its one source file and
// this header, with nothing of the program under test in it.
#include <windows.h>

#include <string>
#include <string_view>

namespace tool {

// The most an environment variable can hold.
inline constexpr size_t kEnvironmentChars = 32768;

inline std::string ToUtf8(std::wstring_view text) {
  if (text.empty()) return {};
  const int size =
      WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
  std::string out(static_cast<size_t>(size), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), out.data(), size, nullptr, nullptr);
  return out;
}

// The variable's value, or empty text when it is unset.
inline std::wstring Environment(const wchar_t* name) {
  std::wstring value(kEnvironmentChars, L'\0');
  const DWORD length = GetEnvironmentVariableW(name, value.data(), static_cast<DWORD>(value.size()));
  if (length == 0 || length >= value.size()) return {};
  value.resize(length);
  return value;
}

// Appends the whole file to `bytes`; false when it cannot be opened.
inline bool ReadWhole(const wchar_t* path, std::string& bytes) {
  HANDLE file = CreateFileW(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  char buffer[4096];
  DWORD read = 0;
  while (ReadFile(file, buffer, sizeof(buffer), &read, nullptr) && read > 0) bytes.append(buffer, read);
  CloseHandle(file);
  return true;
}

} // namespace tool
