#include "Form.h"

#include "Application.h"

namespace qs {

TForm::TForm(TComponent* owner) : TCustomControl(owner) {
  SetVisible(false);
  SetParentFont(false);
  SetParentColor(false);
  SetControlStyle(ControlStyle() & ~csClickEvents);
}

TForm::~TForm() {
  Destroying();
  if (Application && Application->MainForm() == this && HandleAllocated()) ShowWindow(HandleIfAllocated(), SW_HIDE);
}

void TForm::SetBorderStyle(TFormBorderStyle style) {
  if (style == FBorderStyle) return;
  FBorderStyle = style;
  RecreateWnd();
}

void TForm::SetBorderIcons(unsigned icons) {
  if (icons == FBorderIcons) return;
  FBorderIcons = icons;
  RecreateWnd();
}

void TForm::SetClientSize(int width, int height) {
  FClientWidth = width;
  FClientHeight = height;
  if (HandleAllocated()) TWinControl::SetClientSize(width, height);
  else SetBounds(Left(), Top(), width, height);
}

void TForm::SetIconResource(const wchar_t* name) {
  FIconName = name;
  if (HandleAllocated()) ApplyIcon();
}

void TForm::CreateParams(TCreateParams& params) {
  TCustomControl::CreateParams(params);
  params.WinClassName = L"QsForm";
  params.ClassStyle = CS_DBLCLKS;
  params.WndParent = nullptr;
  DWORD style = WS_CLIPCHILDREN;
  DWORD exStyle = WS_EX_CONTROLPARENT;
  switch (FBorderStyle) {
  case TFormBorderStyle::bsNone: style |= WS_POPUP; break;
  case TFormBorderStyle::bsSingle: style |= WS_CAPTION | WS_BORDER; break;
  case TFormBorderStyle::bsSizeable: style |= WS_CAPTION | WS_THICKFRAME; break;
  case TFormBorderStyle::bsDialog:
    style |= WS_CAPTION | WS_POPUP;
    exStyle |= WS_EX_DLGMODALFRAME;
    break;
  case TFormBorderStyle::bsToolWindow:
    style |= WS_CAPTION | WS_POPUP;
    exStyle |= WS_EX_TOOLWINDOW;
    break;
  case TFormBorderStyle::bsSizeToolWin:
    style |= WS_CAPTION | WS_POPUP | WS_THICKFRAME;
    exStyle |= WS_EX_TOOLWINDOW;
    break;
  }
  if (FBorderStyle != TFormBorderStyle::bsNone && (FBorderIcons & biSystemMenu)) {
    style |= WS_SYSMENU;
    if (FBorderIcons & biMinimize) style |= WS_MINIMIZEBOX;
    if (FBorderIcons & biMaximize) style |= WS_MAXIMIZEBOX;
  }
  if (Visible()) style |= WS_VISIBLE;
  params.Style = style;
  params.ExStyle = exStyle;
  // Width and height hold the client size until the window exists; the frame is added here.
  RECT r = Bounds(0, 0, FClientWidth >= 0 ? FClientWidth : Width(), FClientHeight >= 0 ? FClientHeight : Height());
  AdjustWindowRectEx(&r, style, FALSE, exStyle);
  params.Width = r.right - r.left;
  params.Height = r.bottom - r.top;
  if (FPosition == TPosition::poScreenCenter) {
    params.X = (GetSystemMetrics(SM_CXSCREEN) - params.Width) / 2;
    params.Y = (GetSystemMetrics(SM_CYSCREEN) - params.Height) / 2;
  }
}

void TForm::CreateWindowHandleDone() {
  UpdateBoundsFromWindow();
  ApplyIcon();
}

void TForm::ApplyIcon() {
  if (!FIconName) return;
  HINSTANCE instance = GetModuleHandleW(nullptr);
  // Shared icons belong to the system's cache and are never destroyed by us.
  auto load = [&](int metricX, int metricY) {
    return static_cast<HICON>(
        LoadImageW(instance, FIconName, IMAGE_ICON, GetSystemMetrics(metricX), GetSystemMetrics(metricY), LR_SHARED));
  };
  SendMessageW(HandleIfAllocated(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(load(SM_CXICON, SM_CYICON)));
  SendMessageW(HandleIfAllocated(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(load(SM_CXSMICON, SM_CYSMICON)));
}

void TForm::Show() {
  SetVisible(true);
  HWND wnd = Handle();
  ShowWindow(wnd, SW_SHOWNORMAL);
  SetForegroundWindow(wnd);
  UpdateWindow(wnd);
}

void TForm::Close() {
  if (OnCloseQuery && !OnCloseQuery(this)) return;
  if (OnClose) OnClose(this);
  if (Application && Application->MainForm() == this) Application->Terminate();
  else Hide();
}

void TForm::AfterConstruction() { DoCreate(); }

void TForm::DoCreate() {
  if (!OnCreate) return;
  try {
    OnCreate(this);
  } catch (const std::exception& e) {
    // The form is still made: it opens with whatever the event managed to apply.
    if (Application) Application->HandleException(e);
  }
}

TForm* GetParentForm(const TControl* control) {
  for (const TControl* c = control; c; c = c->Parent())
    if (auto* form = dynamic_cast<TForm*>(const_cast<TControl*>(c))) return form;
  return nullptr;
}

void TForm::WndProc(TMessage& message) {
  switch (message.Msg) {
  case WM_CLOSE:
    Close();
    message.Result = 0;
    return;
  case WM_ACTIVATE:
    if (LOWORD(message.WParam) == WA_INACTIVE && Application) Application->CancelHint();
    break;
  default: break;
  }
  TCustomControl::WndProc(message);
}

} // namespace qs
