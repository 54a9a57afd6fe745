#pragma once
// Control messages travel through Perform so that windowless controls receive them as well as windowed ones.
#include <windows.h>

namespace qs {

struct TMessage {
  UINT Msg;
  WPARAM WParam;
  LPARAM LParam;
  LRESULT Result = 0;
  // The window the message came to; null for control messages sent with Perform. A handler may recreate its
  // control's window, and the rest of the message still belongs to the window it was sent to.
  HWND Wnd = nullptr;
};

constexpr UINT CM_BASE = 0xB000;
constexpr UINT CM_ENABLEDCHANGED = CM_BASE + 1;
// Sent after Visible changed (for a windowed control, after its window was shown or hidden).
constexpr UINT CM_VISIBLECHANGED = CM_BASE + 2;
constexpr UINT CM_FONTCHANGED = CM_BASE + 3;
constexpr UINT CM_PARENTFONTCHANGED = CM_BASE + 4;
constexpr UINT CM_COLORCHANGED = CM_BASE + 5;
constexpr UINT CM_PARENTCOLORCHANGED = CM_BASE + 6;
constexpr UINT CM_TEXTCHANGED = CM_BASE + 7;
constexpr UINT CM_MOUSEENTER = CM_BASE + 8;
constexpr UINT CM_MOUSELEAVE = CM_BASE + 9;
constexpr UINT CM_CANCELMODE = CM_BASE + 10;
// WParam: TControl* of the hint's control; LParam: THintInfo*. A non-zero result suppresses the hint.
constexpr UINT CM_HINTSHOW = CM_BASE + 11;
// WParam: the virtual key (Enter, Escape, ...) pressed with focus in the control's form; broadcast to every
// control of the form until one takes it (non-zero result).
constexpr UINT CM_DIALOGKEY = CM_BASE + 12;
// WParam: a character typed with Alt (or typed where no control wants characters); a non-zero result means a
// control took it as its accelerator. Broadcast like CM_DIALOGKEY.
constexpr UINT CM_DIALOGCHAR = CM_BASE + 13;
constexpr UINT CM_SHOWHINTCHANGED = CM_BASE + 14;
constexpr UINT CM_PARENTSHOWHINTCHANGED = CM_BASE + 15;
// A child control was inserted (LParam = 1) or removed (LParam = 0); WParam: the TControl*. Sent in the order
// the changes happen, after the child list changed.
constexpr UINT CM_CONTROLCHANGE = CM_BASE + 16;
// The system colours changed; broadcast from the top-level window's WM_SYSCOLORCHANGE to every control.
constexpr UINT CM_SYSCOLORCHANGE = CM_BASE + 19;
// Whether the control is showing on screen may have changed: sent to a windowed control's children after its
// window was shown or hidden, and by controls that decide their own showing (floating tool windows).
constexpr UINT CM_SHOWINGCHANGED = CM_BASE + 20;

// Notifications a parent window reflects to the child control that sent them.
constexpr UINT CN_BASE = 0xBC00;
constexpr UINT CN_COMMAND = CN_BASE + WM_COMMAND;
constexpr UINT CN_NOTIFY = CN_BASE + WM_NOTIFY;
constexpr UINT CN_DRAWITEM = CN_BASE + WM_DRAWITEM;
constexpr UINT CN_CTLCOLORSTATIC = CN_BASE + WM_CTLCOLORSTATIC;
constexpr UINT CN_CTLCOLORBTN = CN_BASE + WM_CTLCOLORBTN;
constexpr UINT CN_CTLCOLOREDIT = CN_BASE + WM_CTLCOLOREDIT;
constexpr UINT CN_CTLCOLORLISTBOX = CN_BASE + WM_CTLCOLORLISTBOX;

inline bool IsMouseMessage(UINT msg) {
  return (msg >= WM_MOUSEFIRST && msg <= WM_MOUSELAST) && msg != WM_MOUSEWHEEL && msg != WM_MOUSEHWHEEL;
}

inline bool IsKeyMessage(UINT msg) { return msg >= WM_KEYFIRST && msg <= WM_KEYLAST; }

// A press, release or double click of the right or middle button: what a left-button loop swallows.
inline bool IsOtherButtonMessage(UINT msg) { return msg >= WM_RBUTTONDOWN && msg <= WM_MBUTTONDBLCLK; }

} // namespace qs
