#include "Seams.h"

#include "FileDialog.h"
#include "Unicode.h"

#include <shellapi.h>

namespace qs {

namespace {

int RealMessageBox(HWND owner, const std::string& text, const std::string& caption, UINT type) {
  return MessageBoxW(owner, Widen(text).c_str(), Widen(caption).c_str(), type);
}

void RealShellExecute(HWND owner, const std::string& verb, const std::string& file) {
  ShellExecuteW(owner, Widen(verb).c_str(), Widen(file).c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

bool RealFileDialog(TFileDialog& dialog) { return dialog.ExecuteNative(); }

bool EnableShutdownPrivilege() {
  HANDLE token = nullptr;
  if (!OpenProcessToken(GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY, &token)) return false;
  TOKEN_PRIVILEGES privileges{};
  privileges.PrivilegeCount = 1;
  privileges.Privileges[0].Attributes = SE_PRIVILEGE_ENABLED;
  const bool found = LookupPrivilegeValueW(nullptr, SE_SHUTDOWN_NAME, &privileges.Privileges[0].Luid) != FALSE;
  const bool adjusted = found && AdjustTokenPrivileges(token, FALSE, &privileges, 0, nullptr, nullptr) &&
                        GetLastError() == ERROR_SUCCESS;
  CloseHandle(token);
  return adjusted;
}

bool RealShutDown() {
  // NT-family Windows refuses the request without the shutdown privilege enabled in our token.
  EnableShutdownPrivilege();
  return ExitWindowsEx(EWX_SHUTDOWN | EWX_POWEROFF, SHTDN_REASON_MAJOR_APPLICATION | SHTDN_REASON_FLAG_PLANNED) !=
         FALSE;
}

} // namespace

TSeams::TMessageBoxFn TSeams::ShowMessageBox = RealMessageBox;
TSeams::TShellExecuteFn TSeams::ShellOpen = RealShellExecute;
TSeams::TFileDialogFn TSeams::FileDialog = RealFileDialog;
TSeams::TShutDownFn TSeams::ShutDown = RealShutDown;

void TSeams::Reset() {
  ShowMessageBox = RealMessageBox;
  ShellOpen = RealShellExecute;
  FileDialog = RealFileDialog;
  ShutDown = RealShutDown;
}

} // namespace qs
