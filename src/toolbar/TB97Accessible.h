#pragma once
// The accessible object (Active Accessibility) of a tool window and of every item on it. The toolbar's buttons
// are windowless: without this a screen reader finds one unnamed pane where they are and an automation tool
// nothing it can press. A client in any process asks the tool window for its object with WM_GETOBJECT; each
// item is an object of its own, bound to its control for as long as that lives and answering "not connected"
// once the control is gone or has left its tool window.
//
// Calls from other processes arrive on the window's thread through its message loop, at any moment it pumps
// messages (in a menu, a dialog, a drag): they only read, and a press is run later from a posted message, so
// that neither the client waits for a dialog the click opens nor the click runs inside someone else's loop.
//   TB97Accessible.cpp        the object: the tree of a tool window and its items, the Press action
//   TB97AccessibleItem.cpp    what a control is to a client: name, role, state, shortcut, place
//   TB97AccessibleWindow.cpp  the window's side: WM_GETOBJECT, the view and its events, running presses
#include "Component.h"
#include "TB97AccessibleRules.h"

#include <windows.h>

#include <oleacc.h>

#include <string>
#include <vector>

namespace qs {

class TControl;
class TCustomToolWindow97;
class TToolbarButton97;
struct TMessage;

class TAccessible97 final : public IAccessible, public IOleWindow {
public:
  // The only default action there is: a button's.
  static constexpr const wchar_t* PressAction = L"Press";

  // Answers WM_GETOBJECT for the window's client area; false leaves the message to the default handling.
  static bool AnswerGetObject(TCustomToolWindow97& window, TMessage& message);
  // The window as a client sees it now.
  static TAccessibleView ViewOf(const TCustomToolWindow97& window);
  // Sends `events` to clients of the window's client area.
  static void Notify(HWND window, const std::vector<TAccessibleEvent>& events);

  TAccessible97(const TAccessible97&) = delete;
  TAccessible97& operator=(const TAccessible97&) = delete;

  // IUnknown
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override;
  ULONG STDMETHODCALLTYPE AddRef() override;
  ULONG STDMETHODCALLTYPE Release() override;
  // IDispatch: clients call IAccessible directly; there is no type information for scripting.
  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override;
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT index, LCID locale, ITypeInfo** info) override;
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID iid, LPOLESTR* names, UINT count, LCID locale, DISPID* ids) override;
  HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID iid, LCID locale, WORD flags, DISPPARAMS* params, VARIANT* result,
                                   EXCEPINFO* exception, UINT* argumentError) override;
  // IAccessible
  HRESULT STDMETHODCALLTYPE get_accParent(IDispatch** parent) override;
  HRESULT STDMETHODCALLTYPE get_accChildCount(long* count) override;
  HRESULT STDMETHODCALLTYPE get_accChild(VARIANT child, IDispatch** object) override;
  HRESULT STDMETHODCALLTYPE get_accName(VARIANT child, BSTR* name) override;
  HRESULT STDMETHODCALLTYPE get_accValue(VARIANT child, BSTR* value) override;
  HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT child, BSTR* description) override;
  HRESULT STDMETHODCALLTYPE get_accRole(VARIANT child, VARIANT* role) override;
  HRESULT STDMETHODCALLTYPE get_accState(VARIANT child, VARIANT* state) override;
  HRESULT STDMETHODCALLTYPE get_accHelp(VARIANT child, BSTR* help) override;
  HRESULT STDMETHODCALLTYPE get_accHelpTopic(BSTR* helpFile, VARIANT child, long* topic) override;
  HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT child, BSTR* shortcut) override;
  HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT* focus) override;
  HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT* selection) override;
  HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT child, BSTR* action) override;
  HRESULT STDMETHODCALLTYPE accSelect(long flags, VARIANT child) override;
  HRESULT STDMETHODCALLTYPE accLocation(long* left, long* top, long* width, long* height, VARIANT child) override;
  HRESULT STDMETHODCALLTYPE accNavigate(long direction, VARIANT start, VARIANT* end) override;
  HRESULT STDMETHODCALLTYPE accHitTest(long x, long y, VARIANT* child) override;
  HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT child) override;
  HRESULT STDMETHODCALLTYPE put_accName(VARIANT child, BSTR name) override;
  HRESULT STDMETHODCALLTYPE put_accValue(VARIANT child, BSTR value) override;
  // IOleWindow: the window the object lives in, for clients that look for it.
  HRESULT STDMETHODCALLTYPE GetWindow(HWND* window) override;
  HRESULT STDMETHODCALLTYPE ContextSensitiveHelp(BOOL enterMode) override;

private:
  // The object of a tool window, or of an item on one; it starts with one reference, the caller's.
  explicit TAccessible97(TControl* control);
  ~TAccessible97() = default;

  // The tool window this object is about: its own control, or the item's tool window.
  TCustomToolWindow97* ToolWindow() const;
  bool IsToolWindow() const;
  // The control a call is about: this object's own for CHILDID_SELF, or the tool window's child of that id.
  HRESULT Target(const VARIANT& child, TControl*& control) const;
  // `control` as an object of its own, for a client to keep.
  static IDispatch* ObjectFor(TControl* control);
  HRESULT ChildOut(int childId, VARIANT* out) const;

  // What a control is to a client (TB97AccessibleItem.cpp).
  static std::string NameOf(const TControl& control);
  static long RoleOf(const TControl& control);
  static unsigned StateOf(const TControl& control);
  static std::string ShortcutOf(const TControl& control);
  static TIntRect ScreenBounds(const TControl& control);
  // Asks for a press of `button` once the message loop is back (TB97AccessibleWindow.cpp); refused with E_FAIL
  // when the button cannot be pressed now.
  static HRESULT QueuePress(TToolbarButton97& button);

  LONG FRefs = 1;
  TControl* FControl;
  TComponentWatch FWatch;
};

} // namespace qs
