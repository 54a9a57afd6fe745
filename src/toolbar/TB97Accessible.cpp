#include "TB97Accessible.h"

#include "Application.h"
#include "Handles.h"
#include "Messages.h"
#include "TB97Button.h"
#include "TB97ToolWindow.h"
#include "TB97ToolbarSep.h"
#include "Unicode.h"

#include <algorithm>
#include <optional>

namespace qs {

namespace {

// Clients' calls must arrive on the window's own thread, through its message loop: the thread joins a
// single-threaded apartment at the first request and stays in it for the rest of its life. A thread already in
// the multi-threaded apartment would get the calls on threads of the system's, so there no object is handed out.
class TApartment {
public:
  TApartment() : FResult(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)) {}
  ~TApartment() {
    if (SUCCEEDED(FResult)) CoUninitialize();
  }
  TApartment(const TApartment&) = delete;
  TApartment& operator=(const TApartment&) = delete;
  bool Joined() const { return SUCCEEDED(FResult); }

private:
  HRESULT FResult;
};

bool InSingleThreadedApartment() {
  static const TApartment apartment;
  return apartment.Joined();
}

// A press a client asked for runs once the message loop is back, from a message to a hidden window of its own
// (a tool window's own window is made anew when it docks or floats, and would lose it). The ticket travels in
// the message; the button is pressed only if it still lives and is still enabled and shown by then.
constexpr UINT WM_ACCESSIBLEPRESS = WM_APP;
constexpr wchar_t PressWindowClass[] = L"QsAccessiblePress";

struct TPendingPress {
  WPARAM Ticket;
  TComponentWatch Watch;
  TToolbarButton97* Button;
};

std::vector<TPendingPress>& PendingPresses() {
  static std::vector<TPendingPress> presses;
  return presses;
}

// Not while the mouse is held by a drag, a resize or another button's press: their loops pass every other
// message on, and a click (a dialog it opens) must not run inside them.
bool CanPress(const TToolbarButton97& button) { return button.Enabled() && button.Visible() && !GetCapture(); }

void RunPress(WPARAM ticket) {
  std::vector<TPendingPress>& presses = PendingPresses();
  const auto at = std::find_if(presses.begin(), presses.end(), [&](const auto& p) { return p.Ticket == ticket; });
  if (at == presses.end()) return;
  const TPendingPress press = *at;
  presses.erase(at);
  if (press.Watch.Alive() && CanPress(*press.Button)) press.Button->Click();
}

LRESULT CALLBACK PressWindowProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg != WM_ACCESSIBLEPRESS) return DefWindowProcW(wnd, msg, wParam, lParam);
  try {
    RunPress(wParam);
  } catch (const std::exception& e) {
    TApplication::HandleExceptionFromCallback(e);
  }
  return 0;
}

struct TWindowTraits {
  static HWND Invalid() { return nullptr; }
  static void Close(HWND wnd) { DestroyWindow(wnd); }
};

HWND PressWindow() {
  static const TUniqueHandle<HWND, TWindowTraits> window = [] {
    HINSTANCE instance = GetModuleHandleW(nullptr);
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof(wc);
    wc.lpfnWndProc = PressWindowProc;
    wc.hInstance = instance;
    wc.lpszClassName = PressWindowClass;
    RegisterClassExW(&wc);
    return TUniqueHandle<HWND, TWindowTraits>(
        CreateWindowExW(0, PressWindowClass, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, instance, nullptr));
  }();
  return window.Get();
}

HRESULT QueuePress(TToolbarButton97& button) {
  static WPARAM lastTicket = 0;
  HWND window = PressWindow();
  if (!window) return E_OUTOFMEMORY;
  std::vector<TPendingPress>& presses = PendingPresses();
  std::erase_if(presses, [](const TPendingPress& p) { return !p.Watch.Alive(); });
  const WPARAM ticket = ++lastTicket;
  presses.push_back(TPendingPress{ticket, TComponentWatch(&button), &button});
  if (PostMessageW(window, WM_ACCESSIBLEPRESS, ticket, 0)) return S_OK;
  presses.pop_back();
  return HRESULT_FROM_WIN32(GetLastError());
}

bool IsChildIdVariant(const VARIANT& v) { return v.vt == VT_I4 || v.vt == VT_INT; }
long ChildIdOf(const VARIANT& v) { return v.vt == VT_INT ? static_cast<long>(v.intVal) : v.lVal; }

void SetChildId(VARIANT* out, long id) {
  out->vt = VT_I4;
  out->lVal = id;
}

HRESULT TextResult(const std::string& text, BSTR* out) {
  if (text.empty()) return S_FALSE;
  *out = SysAllocString(Widen(text).c_str());
  return *out ? S_OK : E_OUTOFMEMORY;
}

// Clears an out-parameter first, as every method must, whatever it answers.
template <typename T>
bool Cleared(T* out) {
  if (!out) return false;
  *out = T{};
  return true;
}

bool ClearedVariant(VARIANT* out) {
  if (!out) return false;
  VariantInit(out);
  return true;
}

TIntRect ScreenBounds(const TControl& control) {
  const POINT origin = control.ClientOrigin();
  const RECT client = control.ClientRect();
  return TIntRect::FromBounds(origin.x, origin.y, client.right - client.left, client.bottom - client.top);
}

std::optional<TAccessibleNavigation> NavigationOf(long direction) {
  switch (direction) {
  case NAVDIR_NEXT: return TAccessibleNavigation::anNext;
  case NAVDIR_PREVIOUS: return TAccessibleNavigation::anPrevious;
  case NAVDIR_FIRSTCHILD: return TAccessibleNavigation::anFirstChild;
  case NAVDIR_LASTCHILD: return TAccessibleNavigation::anLastChild;
  default: return std::nullopt; // the directions on screen are not offered
  }
}

std::string NameOf(const TControl& control) {
  if (dynamic_cast<const TCustomToolWindow97*>(&control)) return control.Caption();
  return AccessibleName(control.Caption(), control.GetHintText());
}

long RoleOf(const TControl& control) {
  if (dynamic_cast<const TCustomToolWindow97*>(&control)) return ROLE_SYSTEM_TOOLBAR;
  if (dynamic_cast<const TToolbarButton97*>(&control)) return ROLE_SYSTEM_PUSHBUTTON;
  if (dynamic_cast<const TToolbarSep97*>(&control)) return ROLE_SYSTEM_SEPARATOR;
  return ROLE_SYSTEM_CLIENT;
}

unsigned StateOf(const TControl& control) {
  unsigned state = control.Enabled() ? 0 : STATE_SYSTEM_UNAVAILABLE;
  if (dynamic_cast<const TCustomToolWindow97*>(&control)) {
    if (!control.Showing()) state |= STATE_SYSTEM_INVISIBLE;
    return state;
  }
  if (!control.Visible()) state |= STATE_SYSTEM_INVISIBLE;
  if (const auto* button = dynamic_cast<const TToolbarButton97*>(&control)) {
    // Pressed while it shows pressed: held down by the mouse or its click, or down in its group.
    if (button->Down() || button->DrawState() == TButtonDrawState::dsDown) state |= STATE_SYSTEM_PRESSED;
    if (button->MouseIn()) state |= STATE_SYSTEM_HOTTRACKED;
  }
  return state;
}

std::string ShortcutOf(const TControl& control) {
  const auto* button = dynamic_cast<const TToolbarButton97*>(&control);
  if (!button || button->DisplayMode() == TButtonDisplayMode::dmGlyphOnly) return {};
  const char32_t accelerator = CaptionAccelerator(button->Caption());
  if (accelerator == 0) return {};
  std::wstring key;
  if (accelerator > 0xFFFF) {
    key += static_cast<wchar_t>(0xD800 + ((accelerator - 0x10000) >> 10));
    key += static_cast<wchar_t>(0xDC00 + ((accelerator - 0x10000) & 0x3FF));
  } else {
    key += static_cast<wchar_t>(accelerator);
  }
  // The key is named as the system names letters of any script on their keys: in upper case.
  CharUpperBuffW(key.data(), static_cast<DWORD>(key.size()));
  return "Alt+" + Narrow(key);
}

} // namespace

// ---- the objects

TAccessible97::TAccessible97(TControl* control) : FControl(control), FWatch(control) {}

IDispatch* TAccessible97::ObjectFor(TControl* control) { return static_cast<IAccessible*>(new TAccessible97(control)); }

bool TAccessible97::IsToolWindow() const { return dynamic_cast<TCustomToolWindow97*>(FControl) != nullptr; }

TCustomToolWindow97* TAccessible97::ToolWindow() const {
  // A control half destroyed no longer counts as anything in particular.
  if (!FWatch.Alive() || FControl->IsDestroying()) return nullptr;
  if (auto* window = dynamic_cast<TCustomToolWindow97*>(FControl)) return window;
  return dynamic_cast<TCustomToolWindow97*>(FControl->Parent());
}

HRESULT TAccessible97::Target(const VARIANT& child, TControl*& control) const {
  control = nullptr;
  TCustomToolWindow97* window = ToolWindow();
  if (!window || window->IsDestroying()) return CO_E_OBJNOTCONNECTED;
  if (!IsChildIdVariant(child)) return E_INVALIDARG;
  const long id = ChildIdOf(child);
  if (id == CHILDID_SELF) {
    control = FControl;
    return S_OK;
  }
  if (!IsToolWindow()) return E_INVALIDARG;
  const std::vector<TControl*> children = window->ShownChildrenInOrder();
  if (id < 1 || id > static_cast<long>(children.size())) return E_INVALIDARG;
  control = children[static_cast<size_t>(id - 1)];
  return S_OK;
}

HRESULT TAccessible97::ChildOut(int childId, VARIANT* out) const {
  if (childId == 0) return S_FALSE;
  const std::vector<TControl*> children = ToolWindow()->ShownChildrenInOrder();
  out->vt = VT_DISPATCH;
  out->pdispVal = ObjectFor(children.at(static_cast<size_t>(childId - 1)));
  return S_OK;
}

// ---- IUnknown

HRESULT STDMETHODCALLTYPE TAccessible97::QueryInterface(REFIID iid, void** object) {
  if (!object) return E_POINTER;
  if (iid == IID_IUnknown || iid == IID_IDispatch || iid == __uuidof(IAccessible)) {
    *object = static_cast<IAccessible*>(this);
  } else if (iid == IID_IOleWindow) {
    *object = static_cast<IOleWindow*>(this);
  } else {
    *object = nullptr;
    return E_NOINTERFACE;
  }
  AddRef();
  return S_OK;
}

ULONG STDMETHODCALLTYPE TAccessible97::AddRef() { return static_cast<ULONG>(InterlockedIncrement(&FRefs)); }

ULONG STDMETHODCALLTYPE TAccessible97::Release() {
  const LONG refs = InterlockedDecrement(&FRefs);
  if (refs == 0) delete this;
  return static_cast<ULONG>(refs);
}

// ---- IDispatch

HRESULT STDMETHODCALLTYPE TAccessible97::GetTypeInfoCount(UINT* count) {
  if (!count) return E_POINTER;
  *count = 0;
  return S_OK;
}

HRESULT STDMETHODCALLTYPE TAccessible97::GetTypeInfo(UINT, LCID, ITypeInfo** info) {
  if (info) *info = nullptr;
  return E_NOTIMPL;
}

HRESULT STDMETHODCALLTYPE TAccessible97::GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) { return E_NOTIMPL; }

HRESULT STDMETHODCALLTYPE TAccessible97::Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) {
  return E_NOTIMPL;
}

// ---- IAccessible: the tree

HRESULT STDMETHODCALLTYPE TAccessible97::get_accParent(IDispatch** parent) {
  if (!Cleared(parent)) return E_POINTER;
  TCustomToolWindow97* window = ToolWindow();
  if (!window) return CO_E_OBJNOTCONNECTED;
  if (!IsToolWindow()) {
    *parent = ObjectFor(window);
    return S_OK;
  }
  // Above the client area is the window itself, as the system presents it.
  if (!window->HandleAllocated()) return S_FALSE;
  const HRESULT result = AccessibleObjectFromWindow(window->HandleIfAllocated(), static_cast<DWORD>(OBJID_WINDOW),
                                                    IID_IDispatch, reinterpret_cast<void**>(parent));
  return SUCCEEDED(result) && *parent ? S_OK : S_FALSE;
}

HRESULT STDMETHODCALLTYPE TAccessible97::get_accChildCount(long* count) {
  if (!Cleared(count)) return E_POINTER;
  TCustomToolWindow97* window = ToolWindow();
  if (!window) return CO_E_OBJNOTCONNECTED;
  if (IsToolWindow()) *count = static_cast<long>(window->ShownChildrenInOrder().size());
  return S_OK;
}

HRESULT STDMETHODCALLTYPE TAccessible97::get_accChild(VARIANT child, IDispatch** object) {
  if (!Cleared(object)) return E_POINTER;
  TControl* control = nullptr;
  if (const HRESULT result = Target(child, control); FAILED(result)) return result;
  if (control == FControl) return E_INVALIDARG; // an object is not its own child
  *object = ObjectFor(control);
  return S_OK;
}

HRESULT STDMETHODCALLTYPE TAccessible97::accNavigate(long direction, VARIANT start, VARIANT* end) {
  if (!ClearedVariant(end)) return E_POINTER;
  TControl* from = nullptr;
  if (const HRESULT result = Target(start, from); FAILED(result)) return result;
  const std::optional<TAccessibleNavigation> navigation = NavigationOf(direction);
  if (!navigation) return DISP_E_MEMBERNOTFOUND;
  const std::vector<TControl*> children = ToolWindow()->ShownChildrenInOrder();
  const int count = static_cast<int>(children.size());
  int fromId = 0;
  if (from != ToolWindow()) {
    // An item reaches its neighbours through its tool window; it has no children of its own.
    if (*navigation == TAccessibleNavigation::anFirstChild || *navigation == TAccessibleNavigation::anLastChild)
      return S_FALSE;
    const auto at = std::find(children.begin(), children.end(), from);
    if (at == children.end()) return S_FALSE; // hidden: in no line of items
    fromId = static_cast<int>(at - children.begin()) + 1;
  }
  return ChildOut(NavigateAmongChildren(count, fromId, *navigation), end);
}

HRESULT STDMETHODCALLTYPE TAccessible97::accHitTest(long x, long y, VARIANT* child) {
  if (!ClearedVariant(child)) return E_POINTER;
  TCustomToolWindow97* window = ToolWindow();
  if (!window) return CO_E_OBJNOTCONNECTED;
  const TIntPoint p{static_cast<int>(x), static_cast<int>(y)};
  if (!ScreenBounds(*FControl).Contains(p)) return S_FALSE;
  if (IsToolWindow()) {
    const std::vector<TControl*> children = window->ShownChildrenInOrder();
    for (size_t i = 0; i < children.size(); ++i)
      if (ScreenBounds(*children[i]).Contains(p)) return ChildOut(static_cast<int>(i) + 1, child);
  }
  SetChildId(child, CHILDID_SELF);
  return S_OK;
}

HRESULT STDMETHODCALLTYPE TAccessible97::get_accFocus(VARIANT* focus) {
  if (!ClearedVariant(focus)) return E_POINTER;
  // The items never take the keyboard focus, and the window's own focus is the system's to tell.
  return ToolWindow() ? S_FALSE : CO_E_OBJNOTCONNECTED;
}

HRESULT STDMETHODCALLTYPE TAccessible97::get_accSelection(VARIANT* selection) {
  if (!ClearedVariant(selection)) return E_POINTER;
  return ToolWindow() ? DISP_E_MEMBERNOTFOUND : CO_E_OBJNOTCONNECTED;
}

// ---- IAccessible: what an item is

HRESULT STDMETHODCALLTYPE TAccessible97::get_accName(VARIANT child, BSTR* name) {
  if (!Cleared(name)) return E_POINTER;
  TControl* control = nullptr;
  if (const HRESULT result = Target(child, control); FAILED(result)) return result;
  return TextResult(NameOf(*control), name);
}

HRESULT STDMETHODCALLTYPE TAccessible97::get_accDescription(VARIANT child, BSTR* description) {
  if (!Cleared(description)) return E_POINTER;
  TControl* control = nullptr;
  if (const HRESULT result = Target(child, control); FAILED(result)) return result;
  if (control == ToolWindow()) return S_FALSE;
  return TextResult(control->GetHintText(), description);
}

HRESULT STDMETHODCALLTYPE TAccessible97::get_accRole(VARIANT child, VARIANT* role) {
  if (!ClearedVariant(role)) return E_POINTER;
  TControl* control = nullptr;
  if (const HRESULT result = Target(child, control); FAILED(result)) return result;
  SetChildId(role, RoleOf(*control));
  return S_OK;
}

HRESULT STDMETHODCALLTYPE TAccessible97::get_accState(VARIANT child, VARIANT* state) {
  if (!ClearedVariant(state)) return E_POINTER;
  TControl* control = nullptr;
  if (const HRESULT result = Target(child, control); FAILED(result)) return result;
  SetChildId(state, static_cast<long>(StateOf(*control)));
  return S_OK;
}

HRESULT STDMETHODCALLTYPE TAccessible97::accLocation(long* left, long* top, long* width, long* height, VARIANT child) {
  if (!Cleared(left) || !Cleared(top) || !Cleared(width) || !Cleared(height)) return E_POINTER;
  TControl* control = nullptr;
  if (const HRESULT result = Target(child, control); FAILED(result)) return result;
  const TIntRect r = ScreenBounds(*control);
  *left = r.Left;
  *top = r.Top;
  *width = r.Width();
  *height = r.Height();
  return S_OK;
}

HRESULT STDMETHODCALLTYPE TAccessible97::get_accKeyboardShortcut(VARIANT child, BSTR* shortcut) {
  if (!Cleared(shortcut)) return E_POINTER;
  TControl* control = nullptr;
  if (const HRESULT result = Target(child, control); FAILED(result)) return result;
  return TextResult(ShortcutOf(*control), shortcut);
}

HRESULT STDMETHODCALLTYPE TAccessible97::get_accValue(VARIANT child, BSTR* value) {
  if (!Cleared(value)) return E_POINTER;
  TControl* control = nullptr;
  if (const HRESULT result = Target(child, control); FAILED(result)) return result;
  return DISP_E_MEMBERNOTFOUND;
}

HRESULT STDMETHODCALLTYPE TAccessible97::get_accHelp(VARIANT child, BSTR* help) {
  if (!Cleared(help)) return E_POINTER;
  TControl* control = nullptr;
  if (const HRESULT result = Target(child, control); FAILED(result)) return result;
  return DISP_E_MEMBERNOTFOUND;
}

HRESULT STDMETHODCALLTYPE TAccessible97::get_accHelpTopic(BSTR* helpFile, VARIANT child, long* topic) {
  if (!Cleared(helpFile) || !Cleared(topic)) return E_POINTER;
  TControl* control = nullptr;
  if (const HRESULT result = Target(child, control); FAILED(result)) return result;
  return DISP_E_MEMBERNOTFOUND;
}

// ---- IAccessible: actions

HRESULT STDMETHODCALLTYPE TAccessible97::get_accDefaultAction(VARIANT child, BSTR* action) {
  if (!Cleared(action)) return E_POINTER;
  TControl* control = nullptr;
  if (const HRESULT result = Target(child, control); FAILED(result)) return result;
  if (!dynamic_cast<TToolbarButton97*>(control)) return DISP_E_MEMBERNOTFOUND;
  // Named also while the button is disabled: the action is there, it only cannot be done now.
  *action = SysAllocString(PressAction);
  return *action ? S_OK : E_OUTOFMEMORY;
}

HRESULT STDMETHODCALLTYPE TAccessible97::accDoDefaultAction(VARIANT child) {
  TControl* control = nullptr;
  if (const HRESULT result = Target(child, control); FAILED(result)) return result;
  auto* button = dynamic_cast<TToolbarButton97*>(control);
  if (!button) return DISP_E_MEMBERNOTFOUND;
  if (!CanPress(*button)) return E_FAIL;
  return QueuePress(*button);
}

HRESULT STDMETHODCALLTYPE TAccessible97::accSelect(long, VARIANT child) {
  TControl* control = nullptr;
  if (const HRESULT result = Target(child, control); FAILED(result)) return result;
  return DISP_E_MEMBERNOTFOUND;
}

HRESULT STDMETHODCALLTYPE TAccessible97::put_accName(VARIANT, BSTR) { return E_NOTIMPL; }

HRESULT STDMETHODCALLTYPE TAccessible97::put_accValue(VARIANT, BSTR) { return E_NOTIMPL; }

// ---- IOleWindow

HRESULT STDMETHODCALLTYPE TAccessible97::GetWindow(HWND* window) {
  if (!Cleared(window)) return E_POINTER;
  TCustomToolWindow97* toolWindow = ToolWindow();
  if (!toolWindow) return CO_E_OBJNOTCONNECTED;
  *window = toolWindow->HandleIfAllocated();
  return *window ? S_OK : E_FAIL;
}

HRESULT STDMETHODCALLTYPE TAccessible97::ContextSensitiveHelp(BOOL) { return E_NOTIMPL; }

// ---- the window's side

bool TAccessible97::AnswerGetObject(TCustomToolWindow97& window, TMessage& message) {
  if (static_cast<DWORD>(message.LParam) != static_cast<DWORD>(OBJID_CLIENT) || !InSingleThreadedApartment())
    return false;
  auto* object = new TAccessible97(&window);
  const LRESULT result = LresultFromObject(__uuidof(IAccessible), message.WParam, static_cast<IAccessible*>(object));
  object->Release();
  if (FAILED(static_cast<HRESULT>(result))) return false;
  message.Result = result;
  return true;
}

TAccessibleView TAccessible97::ViewOf(const TCustomToolWindow97& window) {
  TAccessibleView view;
  view.Client = ScreenBounds(window);
  for (TControl* child : window.ShownChildrenInOrder())
    view.Items.push_back(
        TAccessibleItem{child, TIntRect::FromBounds(child->Left(), child->Top(), child->Width(), child->Height()),
                        StateOf(*child), NameOf(*child)});
  return view;
}

void TAccessible97::Notify(HWND window, const std::vector<TAccessibleEvent>& events) {
  for (const TAccessibleEvent& e : events) {
    DWORD event = EVENT_OBJECT_LOCATIONCHANGE;
    switch (e.Kind) {
    case TAccessibleEventKind::aeLocationChange: event = EVENT_OBJECT_LOCATIONCHANGE; break;
    case TAccessibleEventKind::aeReorder: event = EVENT_OBJECT_REORDER; break;
    case TAccessibleEventKind::aeStateChange: event = EVENT_OBJECT_STATECHANGE; break;
    case TAccessibleEventKind::aeNameChange: event = EVENT_OBJECT_NAMECHANGE; break;
    }
    NotifyWinEvent(event, window, OBJID_CLIENT, e.ChildId);
  }
}

} // namespace qs
