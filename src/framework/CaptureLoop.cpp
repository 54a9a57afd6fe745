#include "CaptureLoop.h"

namespace qs {

TCaptureLoop::TCaptureLoop(HWND wnd) : FWnd(wnd) { SetCapture(wnd); }

TCaptureLoop::~TCaptureLoop() {
  if (GetCapture() == FWnd) ReleaseCapture();
}

bool TCaptureLoop::Next(MSG& msg) {
  if (GetCapture() != FWnd) return false;
  const BOOL got = GetMessageW(&msg, nullptr, 0, 0);
  if (got == -1) return false;
  if (got == 0) {
    PostQuitMessage(static_cast<int>(msg.wParam));
    return false;
  }
  return true;
}

void TCaptureLoop::Dispatch(const MSG& msg) {
  TranslateMessage(&msg);
  DispatchMessageW(&msg);
}

void FlushPaintMessages() {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, WM_PAINT, WM_PAINT, PM_NOREMOVE)) {
    const BOOL got = GetMessageW(&msg, nullptr, WM_PAINT, WM_PAINT);
    if (got == 0) {
      PostQuitMessage(static_cast<int>(msg.wParam));
      return;
    }
    if (got == -1) return;
    DispatchMessageW(&msg);
  }
}

} // namespace qs
