// Window classes, the map from windows to their controls, and the window procedure every control shares.
#include "WinControl.h"

#include "Application.h"
#include "Exception.h"
#include "Unicode.h"

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
  TMessage m{msg, wParam, lParam, 0, wnd};
  // The handler may free the control (a form released from its own button, say); only the last message asks,
  // and the watch is not made for every other message of every window.
  const TComponentWatch watch(msg == WM_NCDESTROY ? control : nullptr);
  try {
    control->WndProc(m);
  } catch (const std::exception& e) {
    TApplication::HandleExceptionFromCallback(e);
  }
  if (msg == WM_NCDESTROY) {
    if (watch.Alive() && control->FHandle == wnd) control->Unbind();
    else ControlsByWindow().erase(wnd);
  }
  return m.Result;
}

TWinControl* TWinControl::FindControl(HWND wnd) { return wnd ? LookUp(wnd) : nullptr; }

void TWinControl::Bind(HWND wnd) {
  FHandle = wnd;
  ControlsByWindow()[wnd] = this;
}

void TWinControl::Unbind() {
  ControlsByWindow().erase(FHandle);
  FHandle = nullptr;
  FCaptureControl = nullptr;
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

} // namespace qs
