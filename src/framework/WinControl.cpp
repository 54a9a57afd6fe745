#include "WinControl.h"

#include "Application.h"
#include "Exception.h"
#include "Menu.h"
#include "Unicode.h"

#include <algorithm>
#include <map>
#include <unordered_map>

namespace qs {

LRESULT CALLBACK StdWndProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam);

namespace {

// The control of each of our windows. A map of our own rather than a window property: under Wine GetPropW
// costs about 15 us, and this lookup runs for every message of every window (a list of 50,000 rows sends
// two notifications per row).
std::unordered_map<HWND, TWinControl*>& ControlsByWindow() {
  static std::unordered_map<HWND, TWinControl*> map;
  return map;
}

TWinControl* LookUp(HWND wnd) {
  const auto& map = ControlsByWindow();
  const auto it = map.find(wnd);
  return it == map.end() ? nullptr : it->second;
}

// The control whose window is being created: the first message the new window receives binds it (top-level
// windows get WM_GETMINMAXINFO before WM_NCCREATE, so lpCreateParams cannot be relied on).
thread_local TWinControl* CreationControl = nullptr;

// The window procedure of each superclassed system class, by our class name.
std::map<std::wstring, WNDPROC>& SuperclassProcs() {
  static std::map<std::wstring, WNDPROC> procs;
  return procs;
}

WNDPROC RegisterWindowClass(const TCreateParams& params) {
  auto& procs = SuperclassProcs();
  if (auto it = procs.find(params.WinClassName); it != procs.end()) return it->second;
  HINSTANCE instance = GetModuleHandleW(nullptr);
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof(wc);
  WNDPROC original = DefWindowProcW;
  if (!params.SysClassName.empty()) {
    if (!GetClassInfoExW(nullptr, params.SysClassName.c_str(), &wc))
      throw EOutOfResources("Cannot find window class " + Narrow(params.SysClassName));
    wc.cbSize = sizeof(wc);
    original = wc.lpfnWndProc;
    wc.style &= ~static_cast<UINT>(CS_GLOBALCLASS);
  } else {
    wc.style = params.ClassStyle;
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  }
  wc.hInstance = instance;
  wc.lpfnWndProc = StdWndProc;
  wc.lpszClassName = params.WinClassName.c_str();
  if (!RegisterClassExW(&wc)) throw EOutOfResources("Cannot register window class " + Narrow(params.WinClassName));
  procs[params.WinClassName] = original;
  return original;
}

} // namespace

LRESULT CALLBACK StdWndProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  TWinControl* control = LookUp(wnd);
  if (!control && CreationControl) {
    control = std::exchange(CreationControl, nullptr);
    control->Bind(wnd);
  }
  if (!control) return DefWindowProcW(wnd, msg, wParam, lParam);
  TMessage m{msg, wParam, lParam, 0};
  try {
    control->WndProc(m);
  } catch (const std::exception& e) {
    TApplication::HandleExceptionFromCallback(e);
  }
  if (msg == WM_NCDESTROY) control->Unbind();
  return m.Result;
}

TWinControl::TWinControl(TComponent* owner) : TControl(owner) {}

TWinControl::~TWinControl() {
  Destroying();
  // Children go first, while this control is still whole: they unhook from it as they go.
  while (!FControls.empty()) delete FControls.back();
  DestroyHandle();
}

TWinControl* TWinControl::FindControl(HWND wnd) {
  return wnd ? LookUp(wnd) : nullptr;
}

void TWinControl::Bind(HWND wnd) {
  FHandle = wnd;
  ControlsByWindow()[wnd] = this;
}

void TWinControl::Unbind() {
  ControlsByWindow().erase(FHandle);
  FHandle = nullptr;
  FCaptureControl = nullptr;
}

HWND TWinControl::Handle() {
  if (!FHandle) CreateHandle();
  return FHandle;
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
  AlignControls();
}

void TWinControl::CreateWnd() {
  TCreateParams params;
  CreateParams(params);
  if ((params.Style & WS_CHILD) && !params.WndParent)
    throw EInvalidOperation("Control '" + Name() + "' has no parent window");
  FDefWndProc = RegisterWindowClass(params);
  CreationControl = this;
  HWND wnd = CreateWindowExW(params.ExStyle, params.WinClassName.c_str(), params.Caption.c_str(), params.Style,
                             params.X, params.Y, params.Width, params.Height, params.WndParent, nullptr,
                             GetModuleHandleW(nullptr), nullptr);
  CreationControl = nullptr;
  if (!wnd) throw EOutOfResources("Error creating window for '" + Name() + "'");
  if (!FHandle) Bind(wnd);
}

void TWinControl::CreateChildHandles() {
  for (size_t i = 0; i < FControls.size(); ++i)
    if (FControls[i]->IsWindowed()) static_cast<TWinControl*>(FControls[i])->HandleNeeded();
}

void TWinControl::DestroyHandle() {
  if (!FHandle) return;
  DestroyWindowHandleStart();
  for (TControl* c : FControls)
    if (c->IsWindowed()) static_cast<TWinControl*>(c)->DestroyHandle();
  HWND wnd = FHandle;
  DestroyWindow(wnd); // WM_NCDESTROY unbinds
  if (FHandle == wnd) Unbind();
}

void TWinControl::RecreateWnd() {
  if (!FHandle || FRecreating) return;
  FRecreating = true;
  DestroyHandle();
  CreateHandle();
  FRecreating = false;
}

void TWinControl::InsertControl(TControl* control) {
  FControls.push_back(control);
  control->SetParentField(this);
  control->InheritFromParent();
  if (control->IsWindowed() && FHandle) static_cast<TWinControl*>(control)->HandleNeeded();
  if (!control->IsWindowed()) control->Invalidate();
  Perform(CM_CONTROLCHANGE, reinterpret_cast<WPARAM>(control), 1);
  if (control->Align() != TAlign::alNone) Realign();
}

void TWinControl::RemoveControl(TControl* control) {
  if (FCaptureControl == control) SetCaptureControl(nullptr);
  if (!control->IsWindowed()) control->Invalidate();
  else static_cast<TWinControl*>(control)->DestroyHandle();
  std::erase(FControls, control);
  control->SetParentField(nullptr);
  if (!IsDestroying()) {
    Perform(CM_CONTROLCHANGE, reinterpret_cast<WPARAM>(control), 0);
    if (control->Align() != TAlign::alNone) Realign();
  }
}

void TWinControl::SetChildZOrder(TControl* control, bool toTop) {
  auto it = std::find(FControls.begin(), FControls.end(), control);
  if (it == FControls.end()) return;
  if (toTop) {
    FControls.erase(it);
    FControls.push_back(control);
  }
  if (!control->IsWindowed()) {
    control->Invalidate();
    return;
  }
  auto* win = static_cast<TWinControl*>(control);
  if (!win->HandleAllocated()) return;
  // Our list runs bottom to top; Windows' z-order runs top to bottom. Put the window just below the next
  // windowed sibling above it, or at the top when there is none.
  HWND insertAfter = HWND_TOP;
  for (auto above = std::find(FControls.begin(), FControls.end(), control) + 1; above != FControls.end(); ++above) {
    if ((*above)->IsWindowed() && static_cast<TWinControl*>(*above)->HandleAllocated()) {
      insertAfter = static_cast<TWinControl*>(*above)->HandleIfAllocated();
      break;
    }
  }
  SetWindowPos(win->HandleIfAllocated(), insertAfter, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

TControl* TWinControl::ControlAtPos(POINT p, bool allowDisabled, bool allowWinControls) const {
  for (auto it = FControls.rbegin(); it != FControls.rend(); ++it) {
    TControl* c = *it;
    if (!c->Visible() || (c->IsWindowed() && !allowWinControls)) continue;
    if (!c->Enabled() && !allowDisabled) continue;
    if (PtIn(c->BoundsRect(), p)) return c;
  }
  return nullptr;
}

void TWinControl::SetBounds(int left, int top, int width, int height) {
  if (left == Left() && top == Top() && width == Width() && height == Height()) return;
  SetBoundsFields(left, top, width, height);
  if (FHandle) {
    SetWindowPos(FHandle, nullptr, left, top, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
    UpdateBoundsFromWindow();
  }
  RequestAlign();
  AlignControls();
}

void TWinControl::UpdateBoundsFromWindow() {
  RECT r{};
  GetWindowRect(FHandle, &r);
  if (GetWindowLongPtrW(FHandle, GWL_STYLE) & WS_CHILD) MapWindowPoints(nullptr, GetParent(FHandle), reinterpret_cast<POINT*>(&r), 2);
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

void TWinControl::SetVisible(bool visible) {
  if (visible == Visible()) return;
  TControl::SetVisible(visible);
  if (FHandle) ShowWindow(FHandle, visible ? SW_SHOWNA : SW_HIDE);
}

bool TWinControl::Showing() const {
  if (FHandle) return IsWindowVisible(FHandle) != FALSE;
  return TControl::Showing();
}

void TWinControl::SetEnabled(bool enabled) {
  if (enabled == Enabled()) return;
  TControl::SetEnabled(enabled);
  if (FHandle) EnableWindow(FHandle, enabled ? TRUE : FALSE);
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

bool TWinControl::CanFocus() const { return Showing() && Enabled() && (!Parent() || Parent()->CanFocus() || !Parent()->Parent()); }

void TWinControl::SetCaptureControl(TControl* control) {
  FCaptureControl = control;
  if (control && FHandle) SetCapture(FHandle);
  else if (!control && FHandle && GetCapture() == FHandle) ReleaseCapture();
}

void TWinControl::EnableAlign() {
  if (--FAlignLevel == 0 && FAlignPending) AlignControls();
}

void TWinControl::AlignControls() {
  if (FAlignLevel > 0) {
    FAlignPending = true;
    return;
  }
  FAlignPending = false;
  ++FAlignLevel;
  RECT r = ClientRect();
  AdjustClientRect(r);
  auto place = [&](TAlign align) {
    std::vector<TControl*> list;
    for (TControl* c : FControls)
      if (c->Visible() && c->Align() == align) list.push_back(c);
    // Within one edge, controls keep their order along it.
    std::stable_sort(list.begin(), list.end(), [align](TControl* a, TControl* b) {
      switch (align) {
      case TAlign::alTop: return a->Top() < b->Top();
      case TAlign::alBottom: return a->Top() + a->Height() > b->Top() + b->Height();
      case TAlign::alLeft: return a->Left() < b->Left();
      case TAlign::alRight: return a->Left() + a->Width() > b->Left() + b->Width();
      default: return false;
      }
    });
    for (TControl* c : list) {
      switch (align) {
      case TAlign::alTop:
        c->SetBounds(r.left, r.top, r.right - r.left, c->Height());
        r.top += c->Height();
        break;
      case TAlign::alBottom:
        c->SetBounds(r.left, r.bottom - c->Height(), r.right - r.left, c->Height());
        r.bottom -= c->Height();
        break;
      case TAlign::alLeft:
        c->SetBounds(r.left, r.top, c->Width(), r.bottom - r.top);
        r.left += c->Width();
        break;
      case TAlign::alRight:
        c->SetBounds(r.right - c->Width(), r.top, c->Width(), r.bottom - r.top);
        r.right -= c->Width();
        break;
      case TAlign::alClient:
        c->SetBounds(r.left, r.top, std::max(0L, r.right - r.left), std::max(0L, r.bottom - r.top));
        break;
      default:
        break;
      }
    }
  };
  place(TAlign::alTop);
  place(TAlign::alBottom);
  place(TAlign::alLeft);
  place(TAlign::alRight);
  place(TAlign::alClient);
  --FAlignLevel;
}

void TWinControl::PaintControls(HDC dc, const RECT& update) {
  for (TControl* c : FControls) {
    if (c->IsWindowed() || !c->Visible()) continue;
    const RECT b = c->BoundsRect();
    RECT meet{};
    if (!IntersectRect(&meet, &b, &update)) continue;
    TSavedDC saved(dc);
    IntersectClipRect(dc, b.left, b.top, b.right, b.bottom);
    OffsetViewportOrgEx(dc, b.left, b.top, nullptr);
    c->PaintControl(dc);
  }
}

bool TWinControl::RouteMouseToChild(TMessage& message) {
  const POINT p{static_cast<short>(LOWORD(message.LParam)), static_cast<short>(HIWORD(message.LParam))};
  TControl* target = FCaptureControl ? FCaptureControl : ControlAtPos(p, false);
  if (!target) return false;
  const bool down = message.Msg == WM_LBUTTONDOWN || message.Msg == WM_LBUTTONDBLCLK ||
                    message.Msg == WM_RBUTTONDOWN || message.Msg == WM_MBUTTONDOWN;
  const bool up = message.Msg == WM_LBUTTONUP || message.Msg == WM_RBUTTONUP || message.Msg == WM_MBUTTONUP;
  if (down && !FCaptureControl && (target->ControlStyle() & csCaptureMouse)) SetCaptureControl(target);
  TMessage routed{message.Msg, message.WParam,
                  MAKELPARAM(static_cast<WORD>(p.x - target->Left()), static_cast<WORD>(p.y - target->Top())), 0};
  // Releasing before the child sees the button-up lets its click handler start a modal loop of its own.
  if (up && FCaptureControl == target &&
      !(message.WParam & (MK_LBUTTON | MK_RBUTTON | MK_MBUTTON)))
    SetCaptureControl(nullptr);
  target->WndProc(routed);
  message.Result = routed.Result;
  return true;
}

bool TWinControl::HandleSetCursor(TMessage& message) {
  if (reinterpret_cast<HWND>(message.WParam) != FHandle || LOWORD(message.LParam) != HTCLIENT) return false;
  POINT p{};
  GetCursorPos(&p);
  ::ScreenToClient(FHandle, &p);
  TControl* c = FCaptureControl ? FCaptureControl : ControlAtPos(p, true);
  LPCWSTR cursor = c ? c->Cursor() : Cursor();
  // The arrow is every class's own cursor (and system classes such as edits know better).
  if (cursor == IDC_ARROW) return false;
  ::SetCursor(LoadCursorW(nullptr, cursor));
  message.Result = TRUE;
  return true;
}

void TWinControl::ReflectToChild(TMessage& message, HWND child, UINT reflected) {
  TWinControl* control = FindControl(child);
  if (control && control != this) {
    message.Result = control->Perform(reflected, message.WParam, message.LParam);
    if (message.Result || reflected == CN_COMMAND || reflected == CN_NOTIFY) return;
  }
  DefaultHandler(message);
}

void TWinControl::WndProc(TMessage& message) {
  switch (message.Msg) {
  case WM_COMMAND:
    if (message.LParam) return ReflectToChild(message, reinterpret_cast<HWND>(message.LParam), CN_COMMAND);
    break;
  case WM_NOTIFY:
    return ReflectToChild(message, reinterpret_cast<NMHDR*>(message.LParam)->hwndFrom, CN_NOTIFY);
  case WM_CTLCOLORSTATIC:
  case WM_CTLCOLORBTN:
  case WM_CTLCOLOREDIT:
  case WM_CTLCOLORLISTBOX:
    return ReflectToChild(message, reinterpret_cast<HWND>(message.LParam), CN_BASE + message.Msg);
  case WM_DRAWITEM:
    return ReflectToChild(message, reinterpret_cast<DRAWITEMSTRUCT*>(message.LParam)->hwndItem, CN_DRAWITEM);
  case WM_SETCURSOR:
    if (HandleSetCursor(message)) return;
    break;
  case WM_CONTEXTMENU: {
    POINT p{static_cast<short>(LOWORD(message.LParam)), static_cast<short>(HIWORD(message.LParam))};
    if (reinterpret_cast<HWND>(message.WParam) != FHandle) break;
    TPopupMenu* menu = PopupMenu();
    if (p.x != -1 || p.y != -1) {
      POINT c = p;
      ::ScreenToClient(FHandle, &c);
      if (TControl* child = ControlAtPos(c, false); child && child->PopupMenu()) menu = child->PopupMenu();
    } else {
      p = ClientToScreen(POINT{0, 0});
    }
    if (menu) {
      menu->Popup(p.x, p.y, this);
      message.Result = 0;
      return;
    }
    break;
  }
  case WM_CAPTURECHANGED:
    if (FCaptureControl && reinterpret_cast<HWND>(message.LParam) != FHandle) {
      TControl* lost = std::exchange(FCaptureControl, nullptr);
      lost->Perform(CM_CANCELMODE);
    }
    break;
  case WM_CANCELMODE:
    if (FCaptureControl) FCaptureControl->Perform(CM_CANCELMODE);
    break;
  case WM_SIZE:
  case WM_WINDOWPOSCHANGED:
    if (FHandle && !IsIconic(FHandle)) {
      DefaultHandler(message);
      UpdateBoundsFromWindow();
      AlignControls();
      return;
    }
    break;
  case CM_FONTCHANGED:
  case CM_COLORCHANGED:
  case CM_SHOWHINTCHANGED: {
    if (message.Msg == CM_FONTCHANGED && FHandle)
      SendMessageW(FHandle, WM_SETFONT, reinterpret_cast<WPARAM>(Font().Handle()), TRUE);
    const UINT toChildren = message.Msg == CM_FONTCHANGED    ? CM_PARENTFONTCHANGED
                            : message.Msg == CM_COLORCHANGED ? CM_PARENTCOLORCHANGED
                                                             : CM_PARENTSHOWHINTCHANGED;
    for (size_t i = 0; i < FControls.size(); ++i) FControls[i]->Perform(toChildren);
    break;
  }
  default:
    break;
  }
  if (IsMouseMessage(message.Msg) && RouteMouseToChild(message)) return;
  TControl::WndProc(message);
}

void TWinControl::DefaultHandler(TMessage& message) {
  if (!FHandle) {
    message.Result = 0;
    return;
  }
  message.Result = CallWindowProcW(FDefWndProc, FHandle, message.Msg, message.WParam, message.LParam);
}

void TWinControl::FontChanged() { TControl::FontChanged(); }

} // namespace qs
