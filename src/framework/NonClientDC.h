#pragma once
// The DC a window's frame is painted on: the whole window, clipped to the update region WM_NCPAINT brings
// (in screen coordinates; wParam 1 means the whole window). Released when the guard goes.
#include "Handles.h"

namespace qs {

class TNonClientDC {
public:
  TNonClientDC(HWND wnd, WPARAM updateRegion) : FWnd(wnd), FDC(GetWindowDC(wnd)) {
    if (!FDC || updateRegion == 0 || updateRegion == 1) return;
    RECT window{};
    GetWindowRect(wnd, &window);
    TRegionHandle clip(CreateRectRgn(0, 0, 0, 0));
    const bool copied =
        clip && CombineRgn(clip.Get(), reinterpret_cast<HRGN>(updateRegion), nullptr, RGN_COPY) != ERROR;
    if (copied) {
      OffsetRgn(clip.Get(), -window.left, -window.top);
      if (SelectClipRgn(FDC, clip.Get()) != ERROR) return;
    }
    IntersectClipRect(FDC, 0, 0, window.right - window.left, window.bottom - window.top);
  }
  ~TNonClientDC() {
    if (FDC) ReleaseDC(FWnd, FDC);
  }
  TNonClientDC(const TNonClientDC&) = delete;
  TNonClientDC& operator=(const TNonClientDC&) = delete;
  HDC Get() const { return FDC; }

private:
  HWND FWnd;
  HDC FDC;
};

} // namespace qs
