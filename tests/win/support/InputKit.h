#pragma once
// Real input, as a user's hand gives it: the pointer put at a screen point and moved, buttons and keys pressed.
// It goes through the system's input queue, so it reaches whichever window and whichever message loop (a menu's,
// a capture loop's) would get the user's own.
#include <windows.h>

namespace qs::test {

inline void SendMouse(DWORD flags) {
  INPUT input{};
  input.type = INPUT_MOUSE;
  input.mi.dwFlags = flags;
  SendInput(1, &input, sizeof(input));
}

inline void SendKey(WORD key, bool up) {
  INPUT input{};
  input.type = INPUT_KEYBOARD;
  input.ki.wVk = key;
  input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
  SendInput(1, &input, sizeof(input));
}

// A key pressed and let go.
inline void PressKey(WORD key) {
  SendKey(key, false);
  SendKey(key, true);
}

// The pointer to a screen point, with a move the window under it sees.
inline void MoveTo(POINT p) {
  SetCursorPos(p.x, p.y);
  SendMouse(MOUSEEVENTF_MOVE);
}

// A left click at a screen point, the pointer moved there first.
inline void ClickAtScreen(POINT p) {
  MoveTo(p);
  SendMouse(MOUSEEVENTF_LEFTDOWN);
  SendMouse(MOUSEEVENTF_LEFTUP);
}

// The popup menu window on screen ("#32768", a menu's own loop running), or null.
inline HWND ShownMenu() {
  HWND menu = FindWindowW(L"#32768", nullptr);
  return menu && IsWindowVisible(menu) ? menu : nullptr;
}

} // namespace qs::test
