#pragma once
// The few calls a test must be able to replace because they would block it or harm the machine: modal
// message boxes, the modal file dialogs, the shell's "open" and the shutdown request. Each defaults to the
// real call; Reset() puts the real calls back.
#include <windows.h>

#include <functional>
#include <string>

namespace qs {

class TFileDialog;

struct TSeams {
  using TMessageBoxFn = std::function<int(HWND owner, const std::string& text, const std::string& caption, UINT type)>;
  using TShellExecuteFn = std::function<void(HWND owner, const std::string& verb, const std::string& file)>;
  // Runs a file dialog; true when the user confirmed (the dialog's FileName and Files then hold the choice).
  using TFileDialogFn = std::function<bool(TFileDialog& dialog)>;
  // Asks Windows to power the machine off; true when the request was accepted.
  using TShutDownFn = std::function<bool()>;

  static TMessageBoxFn ShowMessageBox;
  static TShellExecuteFn ShellOpen;
  static TFileDialogFn FileDialog;
  static TShutDownFn ShutDown;

  static void Reset();
};

} // namespace qs
