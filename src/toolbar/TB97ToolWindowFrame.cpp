// The tool window's frames: the docked one (a raised ring and a drag handle) and the floating one (a raised
// frame, a small caption and a close button), drawn on a DC of the whole window.
#include "TB97ToolWindow.h"

#include "NonClientDC.h"
#include "TB97Dock.h"
#include "Unicode.h"

namespace qs {

namespace {

// Ridges of the drag handle, across the handle from its start; each ridge is 3 pixels wide.
constexpr int HandleStart = 2;
constexpr int FirstRidge = 4;
constexpr int SecondRidge = 7;
constexpr int RidgeWidth = 3;
// The caption text keeps a pixel clear of the strip's ends.
constexpr int CaptionTextInset = 1;

} // namespace

TIntPoint TCustomToolWindow97::FrameMetrics() const {
  if (FFloatSizable) return TIntPoint{GetSystemMetrics(SM_CXFRAME), GetSystemMetrics(SM_CYFRAME)};
  return TIntPoint{GetSystemMetrics(SM_CXDLGFRAME), GetSystemMetrics(SM_CYDLGFRAME)};
}

int TCustomToolWindow97::CaptionHeight() { return GetSystemMetrics(SM_CYSMCAPTION); }

void TCustomToolWindow97::RedrawNonClient() {
  if (!HandleAllocated()) return;
  HWND wnd = HandleIfAllocated();
  MSG pending;
  while (PeekMessageW(&pending, wnd, WM_TB97PAINTDOCKEDNCAREA, WM_TB97PAINTDOCKEDNCAREA, PM_REMOVE)) {}
  PostMessageW(wnd, WM_TB97PAINTDOCKEDNCAREA, 0, 0);
}

void TCustomToolWindow97::DrawDockedFrameNow() {
  if (!Docked() || !HandleAllocated()) return;
  HWND wnd = HandleIfAllocated();
  MSG pending;
  while (PeekMessageW(&pending, wnd, WM_TB97PAINTDOCKEDNCAREA, WM_TB97PAINTDOCKEDNCAREA, PM_REMOVE)) {}
  TNonClientDC dc(wnd, 1);
  if (dc.Get()) DrawDockedFrame(dc.Get());
}

void TCustomToolWindow97::RedrawFloatingParts(bool closeButton, bool caption) {
  if (Docked() || !HandleAllocated()) return;
  TNonClientDC dc(HandleIfAllocated(), 1);
  if (dc.Get()) DrawFloatingFrame(dc.Get(), false, closeButton, caption);
}

void TCustomToolWindow97::PaintNonClient(HDC dc) {
  if (Docked()) DrawDockedFrame(dc);
  else if (Parent()) DrawFloatingFrame(dc, true, true, true);
}

void TCustomToolWindow97::DrawDockedFrame(HDC dc) {
  if (!Docked()) return;
  RECT r{0, 0, Width(), Height()};
  TBrushHandle brush(CreateSolidBrush(ColorToRGB(Color())));
  const bool background = FDockedTo->BackgroundUsable() && FDockedTo->BackgroundOnToolbars();
  const RECT clientRect = ClientRect();
  const int clientWidth = clientRect.right, clientHeight = clientRect.bottom;

  if (FBorderStyle == TToolWindowBorderStyle::bsSingle) DrawEdge(dc, &r, BDR_RAISEDINNER, BF_RECT);
  else FrameRect(dc, &r, brush.Get());
  RECT inner = r;
  InflateRect(&inner, -1, -1);
  if (!background) {
    FrameRect(dc, &inner, brush.Get());
  } else if (HandleAllocated()) {
    const POINT origin = FDockedTo->BackgroundOrigin(HandleIfAllocated(), true);
    const TIntRect client = DockedClientRect(TIntSize{Width(), Height()}, IsVerticalDock(FDockedTo->Position()),
                                             FDockedTo->AllowDrag(), FDragHandleStyle);
    const RECT exclude = ToRect(client);
    FDockedTo->DrawBackground(dc, inner, RECT{origin.x, origin.y, r.right, r.bottom}, &exclude);
  }
  if (!FDockedTo->AllowDrag() || FDragHandleStyle == dhNone) return;

  const COLORREF highlight = GetSysColor(COLOR_BTNHIGHLIGHT);
  const bool doubleHandle = FDragHandleStyle == dhDouble;
  auto fill = [&](int left, int top, int right, int bottom) {
    if (background) return;
    RECT f{left, top, right, bottom};
    FillRect(dc, &f, brush.Get());
  };
  auto ridge = [&](int left, int top, int right, int bottom) {
    RECT e{left, top, right, bottom};
    DrawEdge(dc, &e, BDR_RAISEDINNER, BF_RECT | BF_MIDDLE);
  };
  const int stripStart = doubleHandle ? SecondRidge + RidgeWidth : SecondRidge;
  if (!IsVerticalDock(FDockedTo->Position())) {
    // Handle on the left, ridges running down.
    fill(HandleStart, HandleStart, FirstRidge, clientHeight + HandleStart);
    ridge(FirstRidge, HandleStart, FirstRidge + RidgeWidth, clientHeight + HandleStart);
    SetPixel(dc, FirstRidge, clientHeight + 1, highlight);
    if (doubleHandle) {
      ridge(SecondRidge, HandleStart, SecondRidge + RidgeWidth, clientHeight + HandleStart);
      SetPixel(dc, SecondRidge, clientHeight + 1, highlight);
    }
    fill(stripStart, HandleStart, stripStart + 1, clientHeight + HandleStart);
  } else {
    // Handle at the top, ridges running across.
    fill(HandleStart, HandleStart, clientWidth + HandleStart, FirstRidge);
    ridge(HandleStart, FirstRidge, clientWidth + HandleStart, FirstRidge + RidgeWidth);
    SetPixel(dc, clientWidth + 1, FirstRidge, highlight);
    if (doubleHandle) {
      ridge(HandleStart, SecondRidge, clientWidth + HandleStart, SecondRidge + RidgeWidth);
      SetPixel(dc, clientWidth + 1, SecondRidge, highlight);
    }
    fill(HandleStart, stripStart, clientWidth + HandleStart, stripStart + 1);
  }
}

void TCustomToolWindow97::DrawFloatingFrame(HDC dc, bool frame, bool closeButton, bool caption) {
  if (Docked()) return;
  const TIntPoint metrics = FrameMetrics();
  const int captionHeight = CaptionHeight();
  const RECT window{0, 0, Width(), Height()};
  const RECT client = ClientRect();
  BOOL gradientSetting = FALSE;
  SystemParametersInfoW(SPI_GETGRADIENTCAPTIONS, 0, &gradientSetting, 0);
  const bool gradient = gradientSetting != FALSE;

  if (frame) {
    RECT edge = window;
    DrawEdge(dc, &edge, EDGE_RAISED, BF_RECT);
    TSavedDC saved(dc);
    const int clientTop = metrics.Y + captionHeight;
    ExcludeClipRect(dc, metrics.X, clientTop, metrics.X + client.right, clientTop + client.bottom);
    RECT face = window;
    InflateRect(&face, -2, -2);
    FillRect(dc, &face, GetSysColorBrush(COLOR_BTNFACE));
  }

  const TFloatingCaptionRects rects = FloatingCaptionRects(metrics, captionHeight, client.right, FCloseButton);
  const RECT close = ToRect(rects.CloseButton);
  if (caption) {
    RECT strip = ToRect(rects.Caption);
    {
      TSavedDC saved(dc);
      if (FCloseButton && closeButton) ExcludeClipRect(dc, close.left, close.top, close.right, close.bottom);
      UINT flags = DC_SMALLCAP | (FCaptionInactive ? 0u : static_cast<UINT>(DC_ACTIVE)) | (gradient ? DC_GRADIENT : 0u);
      // The bar is the system's; the text is ours, shortened by whole characters.
      if (HandleAllocated()) DrawCaption(HandleIfAllocated(), dc, &strip, flags);
      DrawCaptionText(dc, strip);
    }
    const RECT line = ToRect(rects.LineBelow);
    FillRect(dc, &line, GetSysColorBrush(COLOR_BTNFACE));
  }
  if (!FCloseButton) return;
  if (closeButton) {
    RECT button = close;
    InflateRect(&button, -1, -1);
    DrawFrameControl(dc, &button, DFC_CAPTION, DFCS_CAPTIONCLOSE | (FCloseButtonDown ? DFCS_PUSHED : 0u));
  }
  if (caption) {
    const int colour = gradient ? (FCaptionInactive ? COLOR_GRADIENTINACTIVECAPTION : COLOR_GRADIENTACTIVECAPTION)
                                : (FCaptionInactive ? COLOR_INACTIVECAPTION : COLOR_ACTIVECAPTION);
    FrameRect(dc, &close, GetSysColorBrush(colour));
  }
}

void TCustomToolWindow97::DrawCaptionText(HDC dc, RECT strip) {
  NONCLIENTMETRICSW metrics{};
  metrics.cbSize = sizeof(metrics);
  if (!SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0)) return;
  TFontHandle font(CreateFontIndirectW(&metrics.lfSmCaptionFont));
  TSelectGuard select(dc, font.Get());
  InflateRect(&strip, -CaptionTextInset, 0);
  const std::string text = ShortenCaption(Caption(), strip.right - strip.left, [dc](std::string_view part) {
    const std::wstring wide = Widen(std::string(part));
    SIZE size{};
    GetTextExtentPoint32W(dc, wide.c_str(), static_cast<int>(wide.size()), &size);
    return static_cast<int>(size.cx);
  });
  const std::wstring wide = Widen(text);
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, GetSysColor(FCaptionInactive ? COLOR_INACTIVECAPTIONTEXT : COLOR_CAPTIONTEXT));
  DrawTextW(dc, wide.c_str(), static_cast<int>(wide.size()), &strip, DT_NOPREFIX | DT_SINGLELINE | DT_VCENTER);
}

} // namespace qs
