// The accessible object: the window's side. Handing the object out for WM_GETOBJECT, what a client sees of a
// tool window and the events that tell it of changes, and running the presses clients ask for.
#include "Application.h"
#include "Handles.h"
#include "Messages.h"
#include "TB97Accessible.h"
#include "TB97Button.h"
#include "TB97ToolWindow.h"
#include "WindowClass.h"

#include <algorithm>

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
    RegisterWindowClass(PressWindowClass, PressWindowProc);
    return TUniqueHandle<HWND, TWindowTraits>(CreateWindowExW(0, PressWindowClass, L"", 0, 0, 0, 0, 0, HWND_MESSAGE,
                                                              nullptr, GetModuleHandleW(nullptr), nullptr));
  }();
  return window.Get();
}

} // namespace

HRESULT TAccessible97::QueuePress(TToolbarButton97& button) {
  static WPARAM lastTicket = 0;
  if (!CanPress(button)) return E_FAIL;
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
