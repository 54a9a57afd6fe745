// Life of a windowed control: its window made on demand and destroyed with it, bounds, visibility, text and
// focus kept in step with the window.
#include "WinControl.h"

#include "Exception.h"
#include "Unicode.h"

#include <algorithm>

namespace qs {

TWinControl::TWinControl(TComponent* owner) : TControl(owner) {}

TWinControl::~TWinControl() {
  Destroying();
  // Children go first, while this control is still whole: they unhook from it as they go.
  while (!FControls.empty()) delete FControls.back();
  DestroyHandle();
}

HWND TWinControl::Handle() {
  if (!FHandle) CreateHandle();
  return FHandle;
}

void TWinControl::AddWindowListener(TComponent* listener, TWindowListener onWindow) {
  RemoveWindowListener(listener);
  FWindowListeners.push_back(TListenerEntry{listener, std::move(onWindow)});
}

void TWinControl::RemoveWindowListener(TComponent* listener) {
  std::erase_if(FWindowListeners, [listener](const TListenerEntry& e) { return e.Listener == listener; });
}

void TWinControl::NotifyWindowListeners(HWND wnd, bool created) {
  // A listener may remove itself (or another) while it is told.
  const auto listeners = FWindowListeners;
  for (const TListenerEntry& entry : listeners) {
    const bool stillListening = std::any_of(FWindowListeners.begin(), FWindowListeners.end(),
                                            [&](const TListenerEntry& e) { return e.Listener == entry.Listener; });
    if (stillListening && entry.OnWindow) entry.OnWindow(wnd, created);
  }
}

void TWinControl::CreateParams(TCreateParams& params) {
  params.Caption = Widen(FText);
  params.Style = WS_CHILD | WS_CLIPSIBLINGS;
  if (Visible()) params.Style |= WS_VISIBLE;
  if (!Enabled()) params.Style |= WS_DISABLED;
  params.X = Left();
  params.Y = Top();
  params.Width = Width();
  params.Height = Height();
  if (Parent()) params.WndParent = Parent()->Handle();
  else params.WndParent = FParentWindow;
}

void TWinControl::CreateHandle() {
  if (FHandle) return;
  // A parent makes the windows of all its children when it makes its own, this one included.
  if (Parent() && !Parent()->HandleAllocated()) {
    Parent()->HandleNeeded();
    if (FHandle) return;
  }
  CreateWnd();
  if (Parent()) Parent()->SetChildZOrder(this, false); // keep Windows' order the same as ours
  SendMessageW(FHandle, WM_SETFONT, reinterpret_cast<WPARAM>(Font().Handle()), FALSE);
  CreateWindowHandleDone();
  CreateChildHandles();
  Realign();
  NotifyWindowListeners(FHandle, true);
}

void TWinControl::CreateChildHandles() {
  for (size_t i = 0; i < FControls.size(); ++i)
    if (FControls[i]->IsWindowed()) static_cast<TWinControl*>(FControls[i])->HandleNeeded();
}

void TWinControl::DestroyHandle() {
  if (!FHandle) return;
  NotifyWindowListeners(FHandle, false);
  DestroyWindowHandleStart();
  for (TControl* c : FControls)
    if (c->IsWindowed()) static_cast<TWinControl*>(c)->DestroyHandle();
  HWND wnd = FHandle;
  DestroyWindow(wnd); // WM_NCDESTROY unbinds
  if (FHandle == wnd) Unbind();
}

void TWinControl::FrameChanged() {
  if (FHandle)
    SetWindowPos(FHandle, nullptr, 0, 0, 0, 0,
                 SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
}

void TWinControl::RecreateWnd() {
  if (!FHandle || FRecreating) return;
  FRecreating = true;
  try {
    DestroyHandle();
    CreateHandle();
  } catch (...) {
    FRecreating = false;
    throw;
  }
  FRecreating = false;
}

void TWinControl::SetBounds(int left, int top, int width, int height) {
  if (left == Left() && top == Top() && width == Width() && height == Height()) return;
  const bool resized = width != Width() || height != Height();
  SetBoundsFields(left, top, width, height);
  if (FHandle) {
    // A change of client size comes back as WM_SIZE, which aligns the children.
    SetWindowPos(FHandle, nullptr, left, top, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
    UpdateBoundsFromWindow();
  } else if (resized) {
    Realign();
  }
  RequestAlign();
}

void TWinControl::UpdateBoundsFromWindow() {
  RECT r{};
  GetWindowRect(FHandle, &r);
  if (GetWindowLongPtrW(FHandle, GWL_STYLE) & WS_CHILD)
    MapWindowPoints(nullptr, GetParent(FHandle), reinterpret_cast<POINT*>(&r), 2);
  SetBoundsFields(r.left, r.top, r.right - r.left, r.bottom - r.top);
}

RECT TWinControl::ClientRect() const {
  RECT r{};
  if (FHandle) GetClientRect(FHandle, &r);
  else r = Rect(0, 0, Width(), Height());
  return r;
}

void TWinControl::SetClientSize(int width, int height) {
  const RECT client = ClientRect();
  SetBounds(Left(), Top(), Width() + width - (client.right - client.left),
            Height() + height - (client.bottom - client.top));
}

POINT TWinControl::ClientOrigin() const {
  POINT p{0, 0};
  if (FHandle) ::ClientToScreen(FHandle, &p);
  else if (Parent()) {
    p = Parent()->ClientOrigin();
    p.x += Left();
    p.y += Top();
  }
  return p;
}

void TWinControl::ApplyVisible() {
  if (FHandle) ShowWindow(FHandle, Visible() ? SW_SHOWNA : SW_HIDE);
}

bool TWinControl::Showing() const {
  if (FHandle) return IsWindowVisible(FHandle) != FALSE;
  return TControl::Showing();
}

void TWinControl::SetEnabled(bool enabled) {
  if (enabled == Enabled()) return;
  if (FHandle) EnableWindow(FHandle, enabled ? TRUE : FALSE);
  TControl::SetEnabled(enabled);
}

void TWinControl::SetText(const std::string& text) {
  if (text == FText) return;
  FText = text;
  if (FHandle) SetWindowTextW(FHandle, Widen(text).c_str());
  Perform(CM_TEXTCHANGED);
  TextChanged();
}

std::string TWinControl::Text() const {
  if (!FHandle) return FText;
  const int n = GetWindowTextLengthW(FHandle);
  std::wstring w(static_cast<size_t>(n) + 1, L'\0');
  GetWindowTextW(FHandle, w.data(), n + 1);
  w.resize(static_cast<size_t>(n));
  return Narrow(w);
}

void TWinControl::InvalidateRect(bool erase) {
  if (FHandle) ::InvalidateRect(FHandle, nullptr, erase ? TRUE : FALSE);
}

void TWinControl::Update() {
  if (FHandle) UpdateWindow(FHandle);
}

void TWinControl::SetFocus() { ::SetFocus(Handle()); }

bool TWinControl::Focused() const { return FHandle && GetFocus() == FHandle; }

bool TWinControl::CanFocus() const {
  return Showing() && Enabled() && (!Parent() || Parent()->CanFocus() || !Parent()->Parent());
}

} // namespace qs
