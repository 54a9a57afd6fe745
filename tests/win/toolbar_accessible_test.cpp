// The toolbar as screen readers and automation tools see it, asked in this process through the same calls a
// client in another process makes (AccessibleObjectFromWindow, then IAccessible): the items in layout order with
// their names, roles, states and places; every change of a state or of the layout announced; the Press action run
// from the message loop, never for a button that can no longer be pressed by then; objects that outlive their
// controls answering "not connected". The main window's toolbar as another process sees it is
// toolbar_accessible_program_test.
#include "MainWindowFixture.h"
#include "TB97Button.h"
#include "ToolbarTestKit.h"
#include "Unicode.h"

#include <windows.h>

#include <oleacc.h>

#include <functional>
#include <string>
#include <utility>
#include <vector>

using namespace qs;
using namespace qs::test;

namespace {

constexpr int kSettleMs = 300;

class TComApartment {
public:
  TComApartment() { CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED); }
  ~TComApartment() { CoUninitialize(); }
  TComApartment(const TComApartment&) = delete;
  TComApartment& operator=(const TComApartment&) = delete;
};

class TAccessiblePtr {
public:
  TAccessiblePtr() = default;
  ~TAccessiblePtr() { Reset(); }
  TAccessiblePtr(TAccessiblePtr&& other) noexcept : FPtr(std::exchange(other.FPtr, nullptr)) {}
  TAccessiblePtr& operator=(TAccessiblePtr&& other) noexcept {
    Reset();
    FPtr = std::exchange(other.FPtr, nullptr);
    return *this;
  }
  TAccessiblePtr(const TAccessiblePtr&) = delete;
  TAccessiblePtr& operator=(const TAccessiblePtr&) = delete;
  IAccessible* operator->() const { return FPtr; }
  IAccessible* Get() const { return FPtr; }
  void** Out() {
    Reset();
    return reinterpret_cast<void**>(&FPtr);
  }
  explicit operator bool() const { return FPtr != nullptr; }
  void Reset() {
    if (FPtr) std::exchange(FPtr, nullptr)->Release();
  }

private:
  IAccessible* FPtr = nullptr;
};

VARIANT Child(long id) {
  VARIANT v;
  VariantInit(&v);
  v.vt = VT_I4;
  v.lVal = id;
  return v;
}
const VARIANT Self = Child(CHILDID_SELF);

TAccessiblePtr ObjectOf(HWND window) {
  TAccessiblePtr object;
  EXPECT_EQ(AccessibleObjectFromWindow(window, static_cast<DWORD>(OBJID_CLIENT), __uuidof(IAccessible), object.Out()),
            S_OK);
  return object;
}

// An object a call handed out as a VARIANT (VT_DISPATCH), as the client gets it.
TAccessiblePtr TakeObject(VARIANT& v) {
  TAccessiblePtr object;
  if (v.vt == VT_DISPATCH && v.pdispVal) v.pdispVal->QueryInterface(__uuidof(IAccessible), object.Out());
  VariantClear(&v);
  return object;
}

TAccessiblePtr ChildObject(IAccessible* window, long id) {
  IDispatch* dispatch = nullptr;
  TAccessiblePtr object;
  if (SUCCEEDED(window->get_accChild(Child(id), &dispatch)) && dispatch) {
    dispatch->QueryInterface(__uuidof(IAccessible), object.Out());
    dispatch->Release();
  }
  return object;
}

// A text property as the client reads it: "" when there is none or the call failed.
template <typename TGet>
std::string TextOf(TGet get) {
  BSTR text = nullptr;
  const HRESULT result = get(&text);
  std::string out = SUCCEEDED(result) && text ? Narrow(std::wstring_view(text, SysStringLen(text))) : "";
  SysFreeString(text);
  return out;
}

std::string NameOf(IAccessible* object, long id = CHILDID_SELF) {
  return TextOf([&](BSTR* out) { return object->get_accName(Child(id), out); });
}

long NumberOf(HRESULT result, VARIANT v) { return SUCCEEDED(result) && v.vt == VT_I4 ? v.lVal : -1; }

long RoleOf(IAccessible* object, long id = CHILDID_SELF) {
  VARIANT role;
  VariantInit(&role);
  return NumberOf(object->get_accRole(Child(id), &role), role);
}

long StateOf(IAccessible* object, long id = CHILDID_SELF) {
  VARIANT state;
  VariantInit(&state);
  return NumberOf(object->get_accState(Child(id), &state), state);
}

RECT LocationOf(IAccessible* object, long id = CHILDID_SELF) {
  long left = 0, top = 0, width = 0, height = 0;
  if (FAILED(object->accLocation(&left, &top, &width, &height, Child(id)))) return RECT{};
  return RECT{left, top, left + width, top + height};
}

long ChildCount(IAccessible* object) {
  long count = -1;
  object->get_accChildCount(&count);
  return count;
}

// The id of the window's child of that name, 0 when there is none.
long FindByName(IAccessible* window, const std::string& name) {
  for (long id = 1; id <= ChildCount(window); ++id)
    if (NameOf(window, id) == name) return id;
  return 0;
}

// Where a windowless control is on screen, as the system maps its toolbar's client area.
RECT OnScreen(const TControl* control) {
  RECT r = control->BoundsRect();
  MapWindowPoints(control->Parent()->HandleIfAllocated(), nullptr, reinterpret_cast<POINT*>(&r), 2);
  return r;
}

// The window events of this process's windows, as an out-of-context client receives them.
class TEventLog {
public:
  struct TEntry {
    DWORD Event;
    HWND Window;
    LONG Object;
    LONG Child;
  };

  TEventLog() {
    Current = this;
    FHook = SetWinEventHook(EVENT_OBJECT_REORDER, EVENT_OBJECT_NAMECHANGE, nullptr, &Record, GetCurrentProcessId(), 0,
                            WINEVENT_OUTOFCONTEXT);
  }
  ~TEventLog() {
    if (FHook) UnhookWinEvent(FHook);
    Current = nullptr;
  }
  TEventLog(const TEventLog&) = delete;
  TEventLog& operator=(const TEventLog&) = delete;

  bool Hooked() const { return FHook != nullptr; }
  void Clear() { FEntries.clear(); }
  // Whether `event` came for the client area of `window`, about child `child` (0: the window's object).
  bool Has(DWORD event, HWND window, LONG child) const {
    for (const TEntry& e : FEntries)
      if (e.Event == event && e.Window == window && e.Object == OBJID_CLIENT && e.Child == child) return true;
    return false;
  }

private:
  static void CALLBACK Record(HWINEVENTHOOK, DWORD event, HWND window, LONG object, LONG child, DWORD, DWORD) {
    if (Current) Current->FEntries.push_back(TEntry{event, window, object, child});
  }
  static inline TEventLog* Current = nullptr;
  HWINEVENTHOOK FHook = nullptr;
  std::vector<TEntry> FEntries;
};

void Settle() {
  PumpUntil([] { return false; }, kSettleMs);
}

// ---- the main window's toolbar

class MainToolbarAccessible : public TMainWindowFixture {
protected:
  void SetUp() override {
    OpenMain();
    Window = ObjectOf(Main->Toolbar971->Handle());
    ASSERT_TRUE(Window);
  }
  void TearDown() override {
    Window.Reset();
    TMainWindowFixture::TearDown();
  }

  TComApartment Apartment;
  TTempDir Files;
  TAccessiblePtr Window;
};

// "Add file" pressed by a client runs Add1Click as a click does: the Add dialog (through the seam) adds the
// chosen file; the client's call returns first, and the click follows from the message loop.
TEST_F(MainToolbarAccessible, PressingAddFileRunsTheAddDialogOnceTheClientsCallHasReturned) {
  const std::string wave = Files.WriteFile("one.wav", "RIFF");
  Seams().DialogAnswers.push_back(Choose({wave}));
  const long add = FindByName(Window.Get(), "Add file");
  ASSERT_NE(add, 0);
  EXPECT_EQ(Window->accDoDefaultAction(Child(add)), S_OK);
  EXPECT_TRUE(Seams().DialogTitles.empty()) << "the click waits for the message loop";
  ASSERT_TRUE(PumpUntil([&] { return !Seams().DialogTitles.empty(); }));
  EXPECT_EQ(Seams().DialogTitles, std::vector<std::string>{"Please select files to convert"});
  EXPECT_EQ(Rows(), std::vector<std::string>{wave});
}

// The disabled Encode names its action but refuses it, and nothing runs; enabled, the same call clicks it.
TEST_F(MainToolbarAccessible, TheDisabledEncodeRefusesThePressAndNothingRuns) {
  int clicks = 0;
  Main->Encode->OnClick = [&](TComponent*) { ++clicks; };
  const long encode = FindByName(Window.Get(), "Encode");
  ASSERT_NE(encode, 0);
  EXPECT_EQ(StateOf(Window.Get(), encode) & STATE_SYSTEM_UNAVAILABLE, STATE_SYSTEM_UNAVAILABLE);
  EXPECT_EQ(TextOf([&](BSTR* out) { return Window->get_accDefaultAction(Child(encode), out); }), "Press");

  EXPECT_TRUE(FAILED(Window->accDoDefaultAction(Child(encode))));
  Settle();
  EXPECT_EQ(clicks, 0);
  EXPECT_TRUE(Seams().MessageBoxes.empty());

  Main->Encode->SetEnabled(true);
  EXPECT_EQ(Window->accDoDefaultAction(Child(encode)), S_OK);
  Settle();
  EXPECT_EQ(clicks, 1);
}

// ---- a toolbar of the test's own

class ToolbarAccessible : public DockedFormTest {
protected:
  void TearDown() override {
    Window.Reset();
    DockedFormTest::TearDown();
    SetCursorPos(0, 0);
  }

  TToolbarButton97* AddButton(const char* caption, const char* hint, int* clicks = nullptr) {
    auto* button = new TToolbarButton97(Form);
    button->SetCaption(caption);
    button->SetHint(hint);
    if (clicks) button->OnClick = [clicks](TComponent*) { ++*clicks; };
    button->SetParent(Toolbar);
    return button;
  }
  void Open() {
    ShowForm();
    Window = ObjectOf(Toolbar->Handle());
    ASSERT_TRUE(Window);
  }
  // Every shown child's place as the client reads it, against the control's place on screen.
  void ExpectPlacesFollowTheControls(const char* when) {
    const TAccessiblePtr window = ObjectOf(Toolbar->Handle());
    const std::vector<TControl*> shown = Toolbar->ShownChildrenInOrder();
    ASSERT_EQ(ChildCount(window.Get()), static_cast<long>(shown.size())) << when;
    EXPECT_EQ(LocationOf(window.Get()), ClientRectOnScreen(Toolbar)) << when;
    for (size_t i = 0; i < shown.size(); ++i)
      EXPECT_EQ(LocationOf(window.Get(), static_cast<long>(i) + 1), OnScreen(shown[i])) << when << ", child " << i + 1;
  }

  TComApartment Apartment;
  TAccessiblePtr Window;
};

// The shown children in layout order (not in the order they are painted in), each with its name, description,
// role, place, default action and shortcut; a hit test finds each at its middle; navigation walks them in order.
TEST_F(ToolbarAccessible, ChildrenAreTheShownControlsInLayoutOrder) {
  TToolbarButton97* go = AddButton("&Go", "Start it");
  AddSeparator();
  AddButton("", "Stop");
  AddBlock();
  AddButton("Hidden", "Not shown")->SetVisible(false);
  go->BringToFront(); // painted last, still laid out first
  Open();

  EXPECT_EQ(NameOf(Window.Get()), "Toolbar");
  EXPECT_EQ(RoleOf(Window.Get()), ROLE_SYSTEM_TOOLBAR);
  struct TCase {
    const char* Name;
    const char* Description;
    long Role;
    const char* Action;
    const char* Shortcut;
  };
  const TCase cases[] = {
      {"Go", "Start it", ROLE_SYSTEM_PUSHBUTTON, "Press", "Alt+G"},
      {"", "", ROLE_SYSTEM_SEPARATOR, "", ""},
      {"Stop", "Stop", ROLE_SYSTEM_PUSHBUTTON, "Press", ""},
      {"", "", ROLE_SYSTEM_CLIENT, "", ""}, // a control of no kind a client knows
  };
  ASSERT_EQ(ChildCount(Window.Get()), static_cast<long>(std::size(cases)));
  const std::vector<TControl*> order = Toolbar->ChildOrder();
  for (long id = 1; id <= static_cast<long>(std::size(cases)); ++id) {
    const TCase& c = cases[id - 1];
    SCOPED_TRACE("child " + std::to_string(id) + " \"" + c.Name + "\"");
    // Asked through the child's own object, as clients do once they have it.
    const TAccessiblePtr child = ChildObject(Window.Get(), id);
    ASSERT_TRUE(child);
    EXPECT_EQ(NameOf(child.Get()), c.Name);
    EXPECT_EQ(TextOf([&](BSTR* out) { return child->get_accDescription(Self, out); }), c.Description);
    EXPECT_EQ(TextOf([&](BSTR* out) { return child->get_accDefaultAction(Self, out); }), c.Action);
    EXPECT_EQ(TextOf([&](BSTR* out) { return child->get_accKeyboardShortcut(Self, out); }), c.Shortcut);
    EXPECT_EQ(RoleOf(child.Get()), c.Role);
    EXPECT_EQ(LocationOf(child.Get()), OnScreen(order[static_cast<size_t>(id - 1)]));

    const RECT r = LocationOf(child.Get());
    VARIANT hit;
    EXPECT_EQ(Window->accHitTest((r.left + r.right) / 2, (r.top + r.bottom) / 2, &hit), S_OK);
    const TAccessiblePtr found = TakeObject(hit);
    ASSERT_TRUE(found);
    EXPECT_EQ(LocationOf(found.Get()), r);

    VARIANT next;
    const HRESULT stepped = child->accNavigate(NAVDIR_NEXT, Self, &next);
    const TAccessiblePtr after = TakeObject(next);
    if (id < static_cast<long>(std::size(cases))) {
      EXPECT_EQ(stepped, S_OK);
      ASSERT_TRUE(after);
      EXPECT_EQ(LocationOf(after.Get()), LocationOf(Window.Get(), id + 1));
    } else {
      EXPECT_EQ(stepped, S_FALSE) << "the last has no next";
    }
  }
}

// Each change of a button's state reaches the client as a state-change event for that child, and the state it
// then reads says what the button shows: unavailable, pressed (down in its group, or held), hot-tracked.
TEST_F(ToolbarAccessible, EveryStateChangeIsAnnouncedAndReadBack) {
  AddButton("One", "");
  TToolbarButton97* grouped = AddButton("Two", "");
  TToolbarButton97* other = AddButton("Three", "");
  grouped->SetGroupIndex(1);
  other->SetGroupIndex(1);
  Open();
  TEventLog events;
  ASSERT_TRUE(events.Hooked());
  const HWND window = Toolbar->Handle();
  const auto middle = [](TControl* c) { return c->ClientToScreen(POINT{c->Width() / 2, c->Height() / 2}); };
  struct TStep {
    const char* Name;
    std::function<void()> Do;
    std::vector<std::pair<long, long>> States; // child, state: each changed, so each announced
  };
  const TStep steps[] = {
      {"disabled", [&] { grouped->SetEnabled(false); }, {{2, STATE_SYSTEM_UNAVAILABLE}}},
      {"down while disabled", [&] { grouped->SetDown(true); }, {{2, STATE_SYSTEM_UNAVAILABLE | STATE_SYSTEM_PRESSED}}},
      {"enabled again, still down", [&] { grouped->SetEnabled(true); }, {{2, STATE_SYSTEM_PRESSED}}},
      {"another of the group down", [&] { other->SetDown(true); }, {{2, 0}, {3, STATE_SYSTEM_PRESSED}}},
      {"hot under the pointer", [&] { MoveTo(middle(Toolbar->Controls(0))); }, {{1, STATE_SYSTEM_HOTTRACKED}}},
      {"held by the mouse",
       [&] { SendMouse(MOUSEEVENTF_LEFTDOWN); },
       {{1, STATE_SYSTEM_HOTTRACKED | STATE_SYSTEM_PRESSED}}},
      {"released: clicked, hot again", [&] { SendMouse(MOUSEEVENTF_LEFTUP); }, {{1, STATE_SYSTEM_HOTTRACKED}}},
      {"the pointer gone",
       [&] {
         MoveTo(POINT{0, 0});
       },
       {{1, 0}}},
  };
  SetForegroundWindow(Form->Handle());
  for (const TStep& step : steps) {
    SCOPED_TRACE(step.Name);
    events.Clear();
    step.Do();
    Settle();
    for (const auto& [child, state] : step.States) {
      EXPECT_EQ(StateOf(Window.Get(), child), state) << "child " << child;
      EXPECT_TRUE(events.Has(EVENT_OBJECT_STATECHANGE, window, child)) << "no state change announced for " << child;
    }
  }
}

// Hiding an item reorders the window and moves the items after it; docking at the side, floating and wrapping
// move the window and its items; each is announced for the window that shows them, and the places a client
// reads then are where the controls are.
TEST_F(ToolbarAccessible, LayoutChangesAreAnnouncedAndThePlacesFollow) {
  TToolbarButton97* first = AddButton("One", "");
  AddSeparator();
  TToolbarButton97* second = AddButton("Two", "");
  AddButton("Three", "");
  Open();
  TEventLog events;
  ASSERT_TRUE(events.Hooked());
  struct TExpected {
    DWORD Event;
    LONG Child;
  };
  struct TStep {
    const char* Name;
    std::function<void()> Do;
    std::vector<TExpected> Events;
  };
  const TStep steps[] = {
      {"the first button hidden",
       [&] { first->SetVisible(false); },
       {{EVENT_OBJECT_REORDER, 0}, {EVENT_OBJECT_LOCATIONCHANGE, 2}, {EVENT_OBJECT_LOCATIONCHANGE, 3}}},
      {"shown again",
       [&] { first->SetVisible(true); },
       {{EVENT_OBJECT_REORDER, 0}, {EVENT_OBJECT_LOCATIONCHANGE, 3}, {EVENT_OBJECT_LOCATIONCHANGE, 4}}},
      {"docked at the left",
       [&] { Toolbar->SetDockedTo(Left); },
       {{EVENT_OBJECT_LOCATIONCHANGE, 0}, {EVENT_OBJECT_LOCATIONCHANGE, 3}, {EVENT_OBJECT_LOCATIONCHANGE, 4}}},
      {"floating", [&] { Toolbar->SetDockedTo(nullptr); }, {{EVENT_OBJECT_LOCATIONCHANGE, 0}}},
      {"wrapped after the separator",
       [&] { Toolbar->SetFloatRightX(second->Left() + second->Width()); },
       {{EVENT_OBJECT_LOCATIONCHANGE, 0}, {EVENT_OBJECT_LOCATIONCHANGE, 3}, {EVENT_OBJECT_LOCATIONCHANGE, 4}}},
  };
  for (const TStep& step : steps) {
    SCOPED_TRACE(step.Name);
    events.Clear();
    step.Do();
    Settle();
    for (const TExpected& e : step.Events)
      EXPECT_TRUE(events.Has(e.Event, Toolbar->Handle(), e.Child))
          << "event " << std::hex << e.Event << " for child " << std::dec << e.Child;
    ExpectPlacesFollowTheControls(step.Name);
  }
}

// An object kept by a client after its control went answers "not connected" to everything, never touching the
// control; the window's object then lists one child less and refuses the id that went. The window's own object
// does the same once the toolbar goes.
TEST_F(ToolbarAccessible, ObjectsThatOutliveTheirControlsAnswerNotConnected) {
  AddButton("One", "");
  TToolbarButton97* two = AddButton("Two", "Second");
  TToolbarButton97* three = AddButton("Three", "");
  Open();
  const TAccessiblePtr kept = ChildObject(Window.Get(), 2);
  const TAccessiblePtr leaving = ChildObject(Window.Get(), 3);
  ASSERT_TRUE(kept && leaving);
  ASSERT_EQ(NameOf(kept.Get()), "Two");

  delete two;
  three->SetParent(nullptr); // alive, but on no tool window any more
  const auto calls = [](IAccessible* object) {
    long left = 0, top = 0, width = 0, height = 0, count = 0;
    BSTR text = nullptr;
    VARIANT out;
    VariantInit(&out);
    IDispatch* dispatch = nullptr;
    HWND wnd = nullptr;
    IOleWindow* oleWindow = nullptr;
    object->QueryInterface(IID_IOleWindow, reinterpret_cast<void**>(&oleWindow));
    const std::vector<std::pair<const char*, HRESULT>> results{
        {"name", object->get_accName(Self, &text)},
        {"description", object->get_accDescription(Self, &text)},
        {"role", object->get_accRole(Self, &out)},
        {"state", object->get_accState(Self, &out)},
        {"location", object->accLocation(&left, &top, &width, &height, Self)},
        {"default action", object->get_accDefaultAction(Self, &text)},
        {"press", object->accDoDefaultAction(Self)},
        {"parent", object->get_accParent(&dispatch)},
        {"child count", object->get_accChildCount(&count)},
        {"navigate", object->accNavigate(NAVDIR_NEXT, Self, &out)},
        {"hit test", object->accHitTest(0, 0, &out)},
        {"window", oleWindow ? oleWindow->GetWindow(&wnd) : E_NOINTERFACE},
    };
    if (oleWindow) oleWindow->Release();
    return results;
  };
  for (IAccessible* object : {kept.Get(), leaving.Get()}) {
    for (const auto& [call, result] : calls(object))
      EXPECT_EQ(result, CO_E_OBJNOTCONNECTED) << (object == kept.Get() ? "freed: " : "taken off: ") << call;
  }

  EXPECT_EQ(ChildCount(Window.Get()), 1);
  BSTR name = nullptr;
  EXPECT_EQ(Window->get_accName(Child(2), &name), E_INVALIDARG);
  EXPECT_EQ(Window->accDoDefaultAction(Child(2)), E_INVALIDARG);
  delete three;

  delete Toolbar;
  Toolbar = nullptr;
  for (const auto& [call, result] : calls(Window.Get()))
    EXPECT_EQ(result, CO_E_OBJNOTCONNECTED) << "the toolbar freed: " << call;
}

// A press waits for the message loop and runs only if the button can still be pressed then: not once it was
// disabled, hidden or freed meanwhile; it survives the toolbar's window being made anew (docking, floating).
// While the mouse is held (a drag, a resize, another press) a press is refused.
TEST_F(ToolbarAccessible, APressRunsLaterAndOnlyIfTheButtonCanStillBePressed) {
  Open();
  struct TCase {
    const char* Name;
    std::function<void(TToolbarButton97*&)> Meanwhile;
    int Clicks;
  };
  const TCase cases[] = {
      {"nothing in between", [](TToolbarButton97*&) {}, 1},
      {"disabled", [](TToolbarButton97*& b) { b->SetEnabled(false); }, 0},
      {"hidden", [](TToolbarButton97*& b) { b->SetVisible(false); }, 0},
      {"freed", [](TToolbarButton97*& b) { delete std::exchange(b, nullptr); }, 0},
      {"the toolbar floated", [&](TToolbarButton97*&) { Toolbar->SetDockedTo(nullptr); }, 1},
      {"docked again", [&](TToolbarButton97*&) { Toolbar->SetDockedTo(Top); }, 1},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    int clicks = 0;
    TToolbarButton97* button = AddButton("Press me", "", &clicks);
    const TAccessiblePtr object = ChildObject(ObjectOf(Toolbar->Handle()).Get(), ChildCount(Window.Get()));
    ASSERT_EQ(NameOf(object.Get()), "Press me");
    EXPECT_EQ(object->accDoDefaultAction(Self), S_OK);
    EXPECT_EQ(clicks, 0);
    c.Meanwhile(button);
    Settle();
    EXPECT_EQ(clicks, c.Clicks);
    delete button;
  }

  int clicks = 0;
  TToolbarButton97* button = AddButton("Held", "", &clicks);
  const TAccessiblePtr object = ChildObject(Window.Get(), ChildCount(Window.Get()));
  SetCapture(Form->Handle());
  EXPECT_EQ(object->accDoDefaultAction(Self), E_FAIL) << "while the mouse is held";
  ReleaseCapture();
  Settle();
  EXPECT_EQ(clicks, 0);
  EXPECT_EQ(object->accDoDefaultAction(Self), S_OK);
  Settle();
  EXPECT_EQ(clicks, 1);
  delete button;
}

} // namespace
