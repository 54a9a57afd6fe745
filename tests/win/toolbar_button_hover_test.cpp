// The flat toolbar button's hover, which ends when the pointer or the activation goes, its keys and
// accelerator, a disabled button, and its dropdown menu.
#include "InputKit.h"
#include "ToolbarButtonFixture.h"

using namespace qs;
using namespace qs::test;

namespace {

// ---------------------------------------------------------------------------------------------------------
// Hover

// One button at a time is hot: the pointer moving from one to the next ends the first one's hover; moving to
// the bare toolbar (the mouse-move hook) or off the window without a word (the hover timer) ends it too.
TEST_F(ToolbarButtonTest, OneButtonIsHotAndLosesItWhenThePointerGoes) {
  TToolbarButton97* a = AddButton(L"GLYPH_ADD");
  TToolbarButton97* b = AddButton(L"GLYPH_PLAY");
  std::vector<std::string> events;
  for (auto [button, name] : {std::pair{a, "a"}, std::pair{b, "b"}}) {
    button->OnMouseEnter = [&events, name](TComponent*) { events.push_back(std::string("enter ") + name); };
    button->OnMouseExit = [&events, name](TComponent*) { events.push_back(std::string("exit ") + name); };
  }
  ShowAndActivate();

  PointAt(a, POINT{5, 5});
  EXPECT_EQ(TToolbarButton97::HotButton(), a);
  EXPECT_EQ(a->DrawState(), TDs::dsMouseIn);
  ASSERT_NE(TToolbarButton97::HoverTimer(), nullptr);
  EXPECT_TRUE(TToolbarButton97::HoverTimer()->Enabled());
  EXPECT_EQ(TToolbarButton97::HoverTimer()->Interval(), 125u);
  PointAt(a, POINT{15, 15});
  PointAt(b, POINT{5, 5});
  EXPECT_EQ(TToolbarButton97::HotButton(), b);
  EXPECT_FALSE(a->MouseIn());
  EXPECT_EQ(a->DrawState(), TDs::dsUp);
  EXPECT_EQ(events, (std::vector<std::string>{"enter a", "exit a", "enter b"}));

  PointAway();
  EXPECT_EQ(TToolbarButton97::HotButton(), nullptr) << "the mouse-move hook";
  EXPECT_EQ(b->DrawState(), TDs::dsUp);
  EXPECT_FALSE(TToolbarButton97::HoverTimer()->Enabled());

  PointAt(b, POINT{5, 5});
  ASSERT_EQ(TToolbarButton97::HotButton(), b);
  SetCursorPos(0, 0); // off the window, with no message about it
  Tick(TToolbarButton97::HoverTimer());
  EXPECT_EQ(TToolbarButton97::HotButton(), nullptr) << "the hover timer";
  EXPECT_FALSE(b->MouseIn());
  ExpectSame(Render(*b), Expected(23, 22, std::nullopt, GlyphAt(L"GLYPH_PLAY", {6, 6})), "no border left");
}

// After its click the button under the pointer is hot again, and tracked: the pointer leaving without passing
// over it first still takes the border away.
TEST_F(ToolbarButtonTest, AfterAClickTheHoverIsTrackedAgain) {
  TToolbarButton97* button = AddButton(L"GLYPH_ADD");
  int& clicks = CountClicks(button);
  ShowAndActivate();
  ClickOn(button);
  EXPECT_EQ(clicks, 1);
  EXPECT_EQ(button->DrawState(), TDs::dsMouseIn);
  EXPECT_EQ(TToolbarButton97::HotButton(), button);
  SetCursorPos(0, 0);
  Tick(TToolbarButton97::HoverTimer());
  EXPECT_EQ(button->DrawState(), TDs::dsUp);
  EXPECT_FALSE(button->MouseIn());
}

// Deactivating the application takes the hot border away unless ShowBorderWhenInactive.
TEST_F(ToolbarButtonTest, DeactivatingTheApplicationEndsTheHover) {
  for (bool showWhenInactive : {false, true}) {
    SCOPED_TRACE(showWhenInactive ? "ShowBorderWhenInactive" : "default");
    TToolbarButton97* button = AddButton(L"GLYPH_ADD");
    button->SetShowBorderWhenInactive(showWhenInactive);
    ShowAndActivate();
    PointAt(button, POINT{5, 5});
    ASSERT_EQ(TToolbarButton97::HotButton(), button);
    SendMessageW(FForm->Handle(), WM_ACTIVATEAPP, FALSE, 0);
    EXPECT_EQ(button->MouseIn(), showWhenInactive);
    EXPECT_EQ(TToolbarButton97::HotButton() == button, showWhenInactive);
    const std::optional<TEdge> edge =
        showWhenInactive ? std::optional<TEdge>(TEdge{BDR_RAISEDINNER, FlatFlags}) : std::nullopt;
    ExpectSame(Render(*button), Expected(23, 22, edge, GlyphAt(L"GLYPH_ADD", {4, 3})), "after deactivation");
    PointAway();
    delete button;
  }
}

// With no active window in the thread a button does not become hot, unless ShowBorderWhenInactive.
TEST_F(ToolbarButtonTest, WithoutAnActiveWindowNoButtonBecomesHot) {
  TToolbarButton97* plain = AddButton(L"GLYPH_ADD");
  TToolbarButton97* always = AddButton(L"GLYPH_PLAY");
  always->SetShowBorderWhenInactive(true);
  ShowAndActivate();
  // Another thread's window takes the foreground: this thread has no active window any more.
  std::atomic<DWORD> otherThread{0};
  TKernelHandle ready(CreateEventW(nullptr, TRUE, FALSE, nullptr));
  std::thread foreground([&] {
    HWND other = CreateWindowExW(0, L"STATIC", L"other", WS_POPUP | WS_VISIBLE, 600, 600, 50, 50, nullptr, nullptr,
                                 GetModuleHandleW(nullptr), nullptr);
    SetForegroundWindow(other);
    otherThread = GetCurrentThreadId();
    SetEvent(ready.Get());
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) DispatchMessageW(&msg);
    DestroyWindow(other);
  });
  WaitForSingleObject(ready.Get(), 10000);
  struct TEndThread {
    std::thread& Thread;
    std::atomic<DWORD>& Id;
    ~TEndThread() {
      PostThreadMessageW(Id, WM_QUIT, 0, 0);
      Thread.join();
    }
  } endThread{foreground, otherThread};
  PumpMessages();
  if (GetActiveWindow() != nullptr) GTEST_SKIP() << "the form stayed active (a known gap of this session)";
  PointAt(plain, POINT{5, 5});
  EXPECT_EQ(TToolbarButton97::HotButton(), nullptr);
  EXPECT_FALSE(plain->MouseIn());
  PointAt(always, POINT{5, 5});
  EXPECT_EQ(TToolbarButton97::HotButton(), always);
  EXPECT_TRUE(always->MouseIn());
  PointAway();
}

// ---------------------------------------------------------------------------------------------------------
// Keys, disabled buttons, the menu

// Enter clicks a Default button and Escape a Cancel one, through the form's dialog keys; the click gives the
// button's ModalResult to the form.
TEST_F(ToolbarButtonTest, DefaultAndCancelButtonsTakeTheirKeys) {
  TToolbarButton97* ok = AddButton(L"GLYPH_ADD");
  TToolbarButton97* cancel = AddButton(L"GLYPH_STOP");
  ok->SetDefault(true);
  ok->SetModalResult(1);
  cancel->SetCancel(true);
  cancel->SetModalResult(2);
  int& okClicks = CountClicks(ok);
  int& cancelClicks = CountClicks(cancel);
  ShowAndActivate();
  PostMessageW(FForm->Handle(), WM_KEYDOWN, VK_RETURN, 0);
  PumpMessages();
  EXPECT_EQ(okClicks, 1);
  EXPECT_EQ(FForm->ModalResult(), 1);
  PostMessageW(FForm->Handle(), WM_KEYDOWN, VK_ESCAPE, 0);
  PumpMessages();
  EXPECT_EQ(cancelClicks, 1);
  EXPECT_EQ(FForm->ModalResult(), 2);
  EXPECT_EQ(okClicks, 1);
  ok->SetEnabled(false);
  PostMessageW(FForm->Handle(), WM_KEYDOWN, VK_RETURN, 0);
  PumpMessages();
  EXPECT_EQ(okClicks, 1) << "a disabled button takes no key";
}

// The caption's accelerator clicks the button, unless it shows no caption.
TEST_F(ToolbarButtonTest, TheAcceleratorClicksTheButton) {
  TToolbarButton97* button = AddButton(nullptr, 73);
  button->SetCaption("&Encode");
  int& clicks = CountClicks(button);
  ShowAndActivate();
  const auto altKey = [&](wchar_t c) {
    PostMessageW(FForm->Handle(), WM_SYSCHAR, c, 0);
    PumpMessages();
  };
  altKey(L'e');
  EXPECT_EQ(clicks, 1) << "either letter case";
  altKey(L'x');
  EXPECT_EQ(clicks, 1) << "another letter";
  button->SetDisplayMode(TButtonDisplayMode::dmGlyphOnly);
  altKey(L'E');
  EXPECT_EQ(clicks, 1) << "the caption is not shown";
  button->SetDisplayMode(TButtonDisplayMode::dmBoth);
  altKey(L'E');
  EXPECT_EQ(clicks, 2);
}

// A disabled button ignores a press, the pointer and its accelerator, and disabling one that is pressed and
// hot ends both.
TEST_F(ToolbarButtonTest, ADisabledButtonIgnoresPressesHoverAndItsAccelerator) {
  TToolbarButton97* button = AddButton(nullptr, 73);
  button->SetCaption("&Encode");
  int& clicks = CountClicks(button);
  ShowAndActivate();
  Press(button, POINT{10, 10});
  ASSERT_TRUE(button->Pressed());
  ASSERT_EQ(TToolbarButton97::HotButton(), button);
  button->SetEnabled(false);
  EXPECT_EQ(button->DrawState(), TDs::dsDisabled);
  EXPECT_FALSE(button->Pressed());
  EXPECT_FALSE(button->MouseIn());
  EXPECT_EQ(TToolbarButton97::HotButton(), nullptr);
  EXPECT_NE(GetCapture(), Toolbar->Handle()) << "the capture ended with the press";
  Release(button, POINT{10, 10});
  EXPECT_EQ(clicks, 0);

  PointAway();
  ClickOn(button);
  PointAt(button, POINT{30, 10});
  PostMessageW(FForm->Handle(), WM_SYSCHAR, L'e', 0);
  PumpMessages();
  EXPECT_EQ(clicks, 0);
  EXPECT_EQ(button->DrawState(), TDs::dsDisabled);
  EXPECT_EQ(TToolbarButton97::HotButton(), nullptr);

  button->SetEnabled(true);
  EXPECT_EQ(button->DrawState(), TDs::dsUp);
}

// A press on a menu button (anywhere, or on a split button's arrow part) shows its menu below the button,
// pressed meanwhile; a plain menu button fires OnClick first, a split one only from its main part.
TEST_F(ToolbarButtonTest, AMenuButtonShowsItsMenuBelowItself) {
  struct TCase {
    const char* Name;
    bool Combo;
    POINT PressAt;
    bool MenuShown;
    int Clicks;
  };
  const TCase cases[] = {
      {"menu button", false, POINT{10, 10}, true, 1},
      {"split button, arrow part", true, POINT{28, 10}, true, 0},
      {"split button, main part", true, POINT{10, 10}, false, 1},
  };
  TPopupMenu menu(FForm);
  menu.AddItem("Item", "Item");
  menu.SetAlignment(TPopupAlignment::paCenter);
  ShowAndActivate();
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    TToolbarButton97* button = AddButton(L"GLYPH_ADD");
    button->SetDropdownMenu(&menu);
    button->SetDropdownCombo(c.Combo);
    int& clicks = CountClicks(button);
    std::optional<RECT> shownAt;
    TDs stateWhileShown = TDs::dsUp;
    TComponent* popupComponent = nullptr;
    TTimer closer(nullptr);
    closer.SetInterval(50);
    closer.SetOnTimer([&](TComponent*) {
      HWND shown = ShownMenu();
      if (!shown) return;
      closer.SetEnabled(false);
      RECT r{};
      GetWindowRect(shown, &r);
      shownAt = r;
      stateWhileShown = button->DrawState();
      popupComponent = menu.PopupComponent();
      EndMenu();
    });
    Press(button, c.PressAt);
    PumpUntil([&] { return !closer.Enabled() || !c.MenuShown; }, 3000);
    Release(button, c.PressAt);
    EXPECT_EQ(clicks, c.Clicks);
    EXPECT_EQ(shownAt.has_value(), c.MenuShown);
    if (shownAt) {
      const POINT corner = button->ClientToScreen(POINT{0, button->Height()});
      EXPECT_EQ(shownAt->left, corner.x) << "below the button's bottom-left corner";
      EXPECT_EQ(shownAt->top, corner.y);
      EXPECT_EQ(stateWhileShown, TDs::dsDown);
      EXPECT_EQ(popupComponent, button);
    }
    EXPECT_EQ(menu.Alignment(), TPopupAlignment::paCenter) << "the menu's alignment is given back";
    EXPECT_FALSE(button->InClick());
    EXPECT_NE(button->DrawState(), TDs::dsDown);
    PointAway();
    delete button;
  }
}

// A menu that goes away leaves no reference behind, nor does an image list.
TEST_F(ToolbarButtonTest, AFreedMenuOrImageListIsLetGo) {
  TToolbarButton97* button = AddButton();
  auto* menu = new TPopupMenu(FForm);
  auto* images = new TImageList(16, 16, FForm);
  button->SetDropdownMenu(menu);
  button->SetImages(images);
  EXPECT_TRUE(button->HasMenu());
  delete menu;
  EXPECT_EQ(button->DropdownMenu(), nullptr);
  EXPECT_FALSE(button->HasMenu());
  delete images;
  EXPECT_EQ(button->Images(), nullptr);
}

} // namespace
