#pragma once
// Control messages travel through Perform so that windowless controls receive them as well as windowed ones.
#include <windows.h>

namespace qs {

struct TMessage {
  UINT Msg;
  WPARAM WParam;
  LPARAM LParam;
  LRESULT Result = 0;
};

constexpr UINT CM_BASE = 0xB000;
constexpr UINT CM_ACTIVATE = CM_BASE + 0;
constexpr UINT CM_ENABLEDCHANGED = CM_BASE + 1;
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
constexpr UINT CM_DIALOGKEY = CM_BASE + 12;
// WParam: the character typed with Alt; a non-zero result means a control took it as its accelerator.
constexpr UINT CM_DIALOGCHAR = CM_BASE + 13;
constexpr UINT CM_SHOWHINTCHANGED = CM_BASE + 14;
constexpr UINT CM_PARENTSHOWHINTCHANGED = CM_BASE + 15;
// A child control was inserted (LParam = 1) or removed (LParam = 0); WParam: the TControl*.
constexpr UINT CM_CONTROLCHANGE = CM_BASE + 16;
constexpr UINT CM_CONTROLLISTCHANGE = CM_BASE + 17;
constexpr UINT CM_RECREATEWND = CM_BASE + 18;
constexpr UINT CM_SYSCOLORCHANGE = CM_BASE + 19;

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

} // namespace qs
