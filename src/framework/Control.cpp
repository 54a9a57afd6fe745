#include "Control.h"

#include "Exception.h"
#include "Menu.h"
#include "WinControl.h"

namespace qs {

TShiftState KeysToShiftState(WPARAM keys) {
  TShiftState s = 0;
  if (keys & MK_SHIFT) s |= ssShift;
  if (keys & MK_CONTROL) s |= ssCtrl;
  if (keys & MK_LBUTTON) s |= ssLeft;
  if (keys & MK_RBUTTON) s |= ssRight;
  if (keys & MK_MBUTTON) s |= ssMiddle;
  if (GetKeyState(VK_MENU) < 0) s |= ssAlt;
  return s;
}

TControl::TControl(TComponent* owner) : TComponent(owner) {
  FFont.OnChange = [this] { FontChanged(); };
}

TControl::~TControl() {
  FFont.OnChange = nullptr;
  if (FParent) FParent->RemoveControl(this);
}

void TControl::SetParent(TWinControl* parent) {
  if (parent == FParent) return;
  if (parent == this) throw EInvalidOperation("A control cannot have itself as its parent");
  if (FParent) FParent->RemoveControl(this);
  if (parent) parent->InsertControl(this); // sets FParent through InsertControl
  ParentChanged();
}

int TControl::ClientWidth() const {
  const RECT r = ClientRect();
  return r.right - r.left;
}

int TControl::ClientHeight() const {
  const RECT r = ClientRect();
  return r.bottom - r.top;
}

void TControl::SetBounds(int left, int top, int width, int height) {
  if (left == FLeft && top == FTop && width == FWidth && height == FHeight) return;
  // The old place must be painted over by whatever is under it, so it is erased whatever the control is.
  Invalidate();
  SetBoundsFields(left, top, width, height);
  Invalidate();
  RequestAlign();
}

void TControl::SetAlign(TAlign align) {
  if (align == FAlign) return;
  FAlign = align;
  RequestAlign();
}

void TControl::RequestAlign() {
  if (FParent) FParent->AlignControl(this);
}

void TControl::SetVisible(bool visible) {
  if (visible == FVisible) return;
  if (!visible) Invalidate();
  FVisible = visible;
  if (visible) Invalidate();
  ApplyVisible();
  Perform(CM_VISIBLECHANGED, visible);
  RequestAlign();
}

bool TControl::Showing() const { return FVisible && FParent && FParent->Showing(); }

void TControl::SetEnabled(bool enabled) {
  if (enabled == FEnabled) return;
  FEnabled = enabled;
  Perform(CM_ENABLEDCHANGED);
  Invalidate();
}

void TControl::SetText(const std::string& text) {
  if (text == FText) return;
  FText = text;
  Perform(CM_TEXTCHANGED);
  TextChanged();
}

void TControl::SetShowHint(bool show) {
  FParentShowHint = false;
  FShowHint = show;
  Perform(CM_SHOWHINTCHANGED);
}

void TControl::SetParentShowHint(bool v) {
  FParentShowHint = v;
  if (v) InheritFromParent();
}

void TControl::SetParentFont(bool v) {
  if (v == FParentFont) return;
  FParentFont = v;
  if (v) InheritFromParent();
}

void TControl::InheritFromParent() {
  if (!FParent) return;
  if (FParentFont) {
    FTakingParentFont = true;
    FFont.Assign(FParent->Font());
    FTakingParentFont = false;
  }
  if (FParentColor && FColor != FParent->Color()) {
    FColor = FParent->Color();
    Invalidate();
  }
  if (FParentShowHint) FShowHint = FParent->ShowHint();
}

void TControl::SetColor(TColor color) {
  if (color == FColor) return;
  FColor = color;
  FParentColor = false;
  Perform(CM_COLORCHANGED);
  Invalidate();
}

void TControl::SetParentColor(bool v) {
  FParentColor = v;
  if (v) InheritFromParent();
}

void TControl::SetPopupMenu(TPopupMenu* menu) {
  if (menu == FPopupMenu) return;
  if (FPopupMenu) FPopupMenu->RemoveFreeNotification(this);
  FPopupMenu = menu;
  if (menu) menu->FreeNotification(this);
}

void TControl::Notification(TComponent* component, TOperation operation) {
  TComponent::Notification(component, operation);
  if (operation == TOperation::opRemove && component == FPopupMenu) FPopupMenu = nullptr;
}

void TControl::InvalidateRect(bool erase) {
  if (!FParent || !FParent->HandleAllocated() || !FVisible) return;
  const RECT r = BoundsRect();
  const bool opaque = (FControlStyle & csOpaque) != 0;
  ::InvalidateRect(FParent->HandleIfAllocated(), &r, erase && !opaque ? TRUE : FALSE);
}

void TControl::Update() {
  if (FParent) FParent->Update();
}

void TControl::Repaint() {
  Invalidate();
  Update();
}

void TControl::BringToFront() {
  if (FParent) FParent->SetChildZOrder(this, true);
}

POINT TControl::ClientOrigin() const {
  POINT p = FParent ? FParent->ClientOrigin() : POINT{0, 0};
  p.x += FLeft;
  p.y += FTop;
  return p;
}

POINT TControl::ClientToScreen(POINT p) const {
  const POINT origin = ClientOrigin();
  return POINT{p.x + origin.x, p.y + origin.y};
}

POINT TControl::ScreenToClient(POINT p) const {
  const POINT origin = ClientOrigin();
  return POINT{p.x - origin.x, p.y - origin.y};
}

LRESULT TControl::Perform(UINT msg, WPARAM wParam, LPARAM lParam) {
  TMessage m{msg, wParam, lParam, 0};
  WndProc(m);
  return m.Result;
}

void TControl::WndProc(TMessage& message) {
  if (IsMouseMessage(message.Msg)) {
    HandleMouse(message);
    return;
  }
  switch (message.Msg) {
  case CM_PARENTFONTCHANGED:
  case CM_PARENTCOLORCHANGED:
  case CM_PARENTSHOWHINTCHANGED: InheritFromParent(); break;
  case CM_CANCELMODE: FClicking = false; break;
  default: break;
  }
  DefaultHandler(message);
}

void TControl::HandleMouse(TMessage& message) {
  const int x = static_cast<short>(LOWORD(message.LParam));
  const int y = static_cast<short>(HIWORD(message.LParam));
  const TShiftState shift = KeysToShiftState(message.WParam);
  // Any event below may free this control (a button that closes its own window, say): nothing of it is
  // touched once that has happened.
  const TComponentWatch watch(this);
  switch (message.Msg) {
  case WM_LBUTTONDOWN:
  case WM_LBUTTONDBLCLK:
    if (FControlStyle & csClickEvents) FClicking = true;
    if (message.Msg == WM_LBUTTONDBLCLK && (FControlStyle & csDoubleClicks)) DblClick();
    if (!watch.Alive()) return;
    MouseDown(TMouseButton::mbLeft, shift | (message.Msg == WM_LBUTTONDBLCLK ? ssDouble : 0u), x, y);
    break;
  case WM_RBUTTONDOWN:
  case WM_RBUTTONDBLCLK: MouseDown(TMouseButton::mbRight, shift, x, y); break;
  case WM_MBUTTONDOWN:
  case WM_MBUTTONDBLCLK: MouseDown(TMouseButton::mbMiddle, shift, x, y); break;
  case WM_MOUSEMOVE: MouseMove(shift, x, y); break;
  case WM_LBUTTONUP: {
    const bool wasClicking = FClicking;
    FClicking = false;
    MouseUp(TMouseButton::mbLeft, shift, x, y);
    if (watch.Alive() && wasClicking && PtIn(ClientRect(), POINT{x, y})) Click();
    break;
  }
  case WM_RBUTTONUP: MouseUp(TMouseButton::mbRight, shift, x, y); break;
  case WM_MBUTTONUP: MouseUp(TMouseButton::mbMiddle, shift, x, y); break;
  default: break;
  }
  if (watch.Alive()) DefaultHandler(message);
}

void TControl::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
  if (OnMouseDown) OnMouseDown(this, button, shift, x, y);
}

void TControl::MouseMove(TShiftState shift, int x, int y) {
  if (OnMouseMove) OnMouseMove(this, shift, x, y);
}

void TControl::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
  if (OnMouseUp) OnMouseUp(this, button, shift, x, y);
}

void TControl::Click() {
  if (OnClick) OnClick(this);
}

void TControl::DblClick() {
  if (OnDblClick) OnDblClick(this);
}

void TControl::DefaultHandler(TMessage& message) { message.Result = 0; }

void TControl::FontChanged() {
  Perform(CM_FONTCHANGED);
  // A font set on the control itself stops it following its parent's font.
  if (!FTakingParentFont) FParentFont = false;
  Invalidate();
}

} // namespace qs
