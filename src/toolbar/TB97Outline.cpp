#include "TB97Outline.h"

#include "Brushes.h"
#include "Exception.h"
#include "Handles.h"
#include "WindowClass.h"

namespace qs {

namespace {

constexpr wchar_t OutlineClass[] = L"QsDragOutline";

// The ring of `r`: the rectangle less its inside shrunk by `thickness`; an empty region without a rectangle.
TRegionHandle RingRegion(const RECT* r, int thickness) {
  TRegionHandle ring(CreateRectRgn(0, 0, 0, 0));
  if (!r) return ring;
  TRegionHandle outer(CreateRectRgn(r->left, r->top, r->right, r->bottom));
  TRegionHandle inner(
      CreateRectRgn(r->left + thickness, r->top + thickness, r->right - thickness, r->bottom - thickness));
  CombineRgn(ring.Get(), outer.Get(), inner.Get(), RGN_DIFF);
  return ring;
}

// The brush paints black and white dots whatever colours the DC holds.
void FillWithHalftone(HDC dc, HBRUSH halftone, const RECT& r, DWORD rop) {
  TSelectGuard select(dc, halftone);
  SetTextColor(dc, RGB(0, 0, 0));
  SetBkColor(dc, RGB(255, 255, 255));
  PatBlt(dc, r.left, r.top, r.right - r.left, r.bottom - r.top, rop);
}

LRESULT CALLBACK OutlineProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
  case WM_NCHITTEST: return HTTRANSPARENT;
  case WM_MOUSEACTIVATE: return MA_NOACTIVATE;
  case WM_ERASEBKGND: return 1;
  case WM_PAINT: {
    TPaintDC dc(wnd);
    RECT client{};
    GetClientRect(wnd, &client);
    // The brush is the outline window's own, made once: the window repaints on every move of a drag.
    FillWithHalftone(dc.Get(), reinterpret_cast<HBRUSH>(GetWindowLongPtrW(wnd, GWLP_USERDATA)), client, PATCOPY);
    return 0;
  }
  default: return DefWindowProcW(wnd, msg, wParam, lParam);
  }
}

} // namespace

void DrawDragOutline(HDC dc, const RECT* newRect, int newThickness, const RECT* oldRect, int oldThickness) {
  TRegionHandle changed = RingRegion(newRect, newThickness);
  TRegionHandle oldRing = RingRegion(oldRect, oldThickness);
  CombineRgn(changed.Get(), changed.Get(), oldRing.Get(), RGN_XOR);
  TSavedDC saved(dc);
  SelectClipRgn(dc, changed.Get());
  RECT box{};
  GetClipBox(dc, &box);
  const TBrushHandle halftone = CreateHalftoneBrush();
  FillWithHalftone(dc, halftone.Get(), box, PATINVERT);
}

TOutlineWindow::TOutlineWindow() : FHalftone(CreateHalftoneBrush()) {
  RegisterWindowClass(OutlineClass, OutlineProc);
  FWnd = CreateWindowExW(WS_EX_TOPMOST | WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE | WS_EX_TRANSPARENT, OutlineClass, L"",
                         WS_POPUP, 0, 0, 0, 0, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
  if (!FWnd) throw EOutOfResources("Cannot create the drag outline");
  SetWindowLongPtrW(FWnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(FHalftone.Get()));
}

TOutlineWindow::~TOutlineWindow() {
  if (FWnd) DestroyWindow(FWnd);
}

void TOutlineWindow::Show(const RECT& r, int thickness) {
  if (Visible() && EqualRect(&r, &FRect) && thickness == FThickness) return;
  FRect = r;
  FThickness = thickness;
  const int width = r.right - r.left, height = r.bottom - r.top;
  const RECT local{0, 0, width, height};
  // The window owns the region from here on.
  SetWindowRgn(FWnd, RingRegion(&local, thickness).Release(), FALSE);
  SetWindowPos(FWnd, HWND_TOPMOST, r.left, r.top, width, height, SWP_NOACTIVATE | SWP_SHOWWINDOW);
  RedrawWindow(FWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
}

void TOutlineWindow::Hide() {
  if (FWnd && IsWindowVisible(FWnd)) ShowWindow(FWnd, SW_HIDE);
}

bool TOutlineWindow::Visible() const { return FWnd && IsWindowVisible(FWnd); }

} // namespace qs
