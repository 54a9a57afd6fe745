// The accessible object: the tree of a tool window and its items, what each is, and the Press action.
#include "TB97Accessible.h"

#include "TB97Button.h"
#include "TB97ToolWindow.h"
#include "Unicode.h"

#include <algorithm>
#include <optional>

namespace qs {

namespace {

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

std::optional<TAccessibleNavigation> NavigationOf(long direction) {
  switch (direction) {
  case NAVDIR_NEXT: return TAccessibleNavigation::anNext;
  case NAVDIR_PREVIOUS: return TAccessibleNavigation::anPrevious;
  case NAVDIR_FIRSTCHILD: return TAccessibleNavigation::anFirstChild;
  case NAVDIR_LASTCHILD: return TAccessibleNavigation::anLastChild;
  default: return std::nullopt; // the directions on screen are not offered
  }
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

} // namespace qs
