#pragma once
// Text onto the system clipboard.
#include <windows.h>

#include <string>

namespace qs {

// Replaces what the clipboard holds with `text` as Unicode text. False when another program holds the clipboard
// open or memory runs out; the clipboard is closed again either way.
bool CopyTextToClipboard(HWND owner, const std::string& text);

} // namespace qs
