#include "WorkArea.h"

#include "Graphics.h"

namespace qs {

namespace {

// The primary work area, or the whole primary screen when even that cannot be had.
TIntRect PrimaryWorkArea() {
  RECT r{};
  if (SystemParametersInfoW(SPI_GETWORKAREA, 0, &r, 0)) return ToIntRect(r);
  return TIntRect{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
}

TIntRect WorkAreaOf(HMONITOR monitor) {
  MONITORINFO info{};
  info.cbSize = sizeof(info);
  if (!monitor || !GetMonitorInfoW(monitor, &info)) return PrimaryWorkArea();
  return ToIntRect(info.rcWork);
}

} // namespace

TIntRect WorkAreaNearRect(const RECT& r) { return WorkAreaOf(MonitorFromRect(&r, MONITOR_DEFAULTTONEAREST)); }

TIntRect WorkAreaNearPoint(POINT p) { return WorkAreaOf(MonitorFromPoint(p, MONITOR_DEFAULTTONEAREST)); }

TIntRect WorkAreaNearWindow(HWND window) {
  return window ? WorkAreaOf(MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST)) : PrimaryWorkArea();
}

} // namespace qs
