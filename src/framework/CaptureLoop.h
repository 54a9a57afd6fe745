#pragma once
// The private message loop of a mouse interaction (dragging, sizing, tracking a button): it runs while a
// window holds the capture, hands the caller the messages it wants to look at and dispatches the rest.
#include <windows.h>

namespace qs {

class TCaptureLoop {
public:
  // Takes the capture for `wnd`; the destructor gives it back if the window still holds it.
  explicit TCaptureLoop(HWND wnd);
  ~TCaptureLoop();
  TCaptureLoop(const TCaptureLoop&) = delete;
  TCaptureLoop& operator=(const TCaptureLoop&) = delete;

  // The next message of the thread; false when the loop must end: the capture was lost, GetMessage failed,
  // or WM_QUIT arrived (posted again with its exit code, so that the outer loop ends too).
  bool Next(MSG& msg);
  // What the loop does with a message it does not handle itself.
  static void Dispatch(const MSG& msg);

private:
  HWND FWnd;
};

// Handles every WM_PAINT waiting in the thread's queue, so that an interaction starts on a fully painted
// screen. A WM_QUIT met on the way is posted again.
void FlushPaintMessages();

} // namespace qs
