#include "HintWindow.h"

#include "Unicode.h"

namespace qs {

THintWindow::THintWindow(TComponent* owner) : TCustomControl(owner) {
  SetVisible(false);
  SetColor(clInfoBk);
  Font().SetColor(clInfoText);
}

void THintWindow::CreateParams(TCreateParams& params) {
  TCustomControl::CreateParams(params);
  params.WinClassName = L"QsHintWindow";
  params.ClassStyle = CS_SAVEBITS;
  params.Style = WS_POPUP | WS_BORDER;
  params.ExStyle = WS_EX_TOOLWINDOW | WS_EX_TOPMOST | WS_EX_NOACTIVATE;
  params.WndParent = nullptr;
}

RECT THintWindow::CalcHintRect(int maxWidth, const std::string& hint) {
  RECT r = Rect(0, 0, maxWidth, 0);
  TWindowDC screen(nullptr);
  TCanvas canvas(screen.Get());
  canvas.Font().Assign(Font());
  canvas.DrawTextIn(hint, r, DT_CALCRECT | DT_LEFT | DT_WORDBREAK | DT_NOPREFIX);
  r.right += 2 * (TextMargin + 1) + 2;
  r.bottom += 2 * (TextMargin + 1);
  return r;
}

void THintWindow::ActivateHint(const RECT& rect, const std::string& hint) {
  SetCaption(hint);
  HWND wnd = Handle();
  SetBounds(rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top);
  SetWindowPos(wnd, HWND_TOPMOST, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top,
               SWP_SHOWWINDOW | SWP_NOACTIVATE);
  InvalidateRect(false);
  Update();
}

void THintWindow::ReleaseHandle() {
  if (HandleAllocated()) ShowWindow(HandleIfAllocated(), SW_HIDE);
}

bool THintWindow::IsShowing() const { return HandleAllocated() && IsWindowVisible(HandleIfAllocated()); }

void THintWindow::Paint() {
  RECT r = ClientRect();
  Canvas().FillRect(r, Color());
  InflateRect(&r, -TextMargin, -TextMargin);
  Canvas().DrawTextIn(Caption(), r, DT_LEFT | DT_WORDBREAK | DT_NOPREFIX);
}

} // namespace qs
