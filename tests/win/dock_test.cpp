// Docks and tool windows: how much room a dock takes, the docked frame, what docks and tool windows refuse, the
// events of a re-parenting in their order, the floating window's visibility, its close button, its owner and its
// resize loop, the frames' pixels, and no GDI object left behind by docking and floating.
#include "BitmapCanvas.h"
#include "Exception.h"
#include "Main.h"
#include "MainWindowFixture.h"
#include "TB97Hooks.h"
#include "ToolbarTestKit.h"

#include <atomic>
#include <string>
#include <thread>
#include <vector>

using namespace qs;
using namespace qs::test;

namespace {

class Docks : public DockedFormTest {};

TEST_F(Docks, AnEmptyDockTakesNoRoomAtRunTimeAndOnePixelWithFixAlign) {
  AddBlock();
  Right->SetFixAlign(true);
  ShowForm();
  EXPECT_EQ(Left->Width(), 0);
  EXPECT_EQ(Right->Width(), 1);
  EXPECT_EQ(Top->Height(), 22 + 4) << "one row of 22 and the bar's frame";
  EXPECT_EQ(Client->BoundsRect(), Bounds(0, 26, FormClientWidth - 1, FormClientHeight - 26));
}

// The docked frame: 2 pixels on every side, and the drag handle on the side the bar is dragged by.
TEST_F(Docks, TheDockedFrameLeavesTheClientAreaInsideTheHandleAndTheRing) {
  struct TCase {
    const char* Name;
    TDragHandleStyle Style;
    bool AllowDrag;
    int Narrower, Lower;
  };
  const TCase cases[] = {
      {"double handle", dhDouble, true, 13, 4},
      {"single handle", dhSingle, true, 10, 4},
      {"no handle", dhNone, true, 4, 4},
      {"dock that allows no drag", dhDouble, false, 4, 4},
  };
  AddBlock();
  ShowForm();
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    Toolbar->SetDragHandleStyle(c.Style);
    Top->SetAllowDrag(c.AllowDrag);
    PumpMessages();
    RECT window{}, client{};
    GetWindowRect(Toolbar->Handle(), &window);
    GetClientRect(Toolbar->Handle(), &client);
    EXPECT_EQ((window.right - window.left) - client.right, c.Narrower);
    EXPECT_EQ((window.bottom - window.top) - client.bottom, c.Lower);
    EXPECT_EQ(Toolbar->ClientRect(), client) << "the control's idea of its client area is the window's";
  }
}

TEST_F(Docks, RefusedPositionsAndParentsChangeNothing) {
  struct TCase {
    const char* Name;
    std::function<void()> Act;
    const char* Message;
  };
  auto* otherDock = MakeDock("Other", dpBottom);
  const TCase cases[] = {
      {"position of a dock holding a bar", [&] { Top->SetPosition(dpLeft); },
       "Cannot change Position of a TDock97 if it already contains controls"},
      {"a dock inside a tool window", [&] { otherDock->SetParent(Toolbar); },
       "A TDock97 control cannot be placed inside a tool window or another TDock97"},
      {"a dock inside a dock", [&] { otherDock->SetParent(Top); },
       "A TDock97 control cannot be placed inside a tool window or another TDock97"},
      {"a tool window on a panel", [&] { Toolbar->SetParent(Client); },
       "A tool window can only be placed on a TDock97 or directly on the form"},
      {"a separator on a panel", [&] { AddSeparator()->SetParent(Client); },
       "TToolbarSep97 can only be placed on a TToolbar97"},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    try {
      c.Act();
      ADD_FAILURE() << "no error";
    } catch (const EInvalidOperation& e) {
      EXPECT_STREQ(e.what(), c.Message);
    }
    EXPECT_EQ(Top->Position(), dpTop);
    EXPECT_EQ(otherDock->Parent(), Form);
    EXPECT_EQ(Toolbar->Parent(), Top);
  }
  auto* orphan = new TToolbar97(Form);
  orphan->SetName("Orphan");
  try {
    orphan->SetDockedTo(nullptr);
    ADD_FAILURE() << "no error";
  } catch (const EInvalidOperation& e) {
    EXPECT_STREQ(e.what(), "Control 'Orphan' has no parent window");
  }
}

TEST_F(Docks, ARedockingReportsItsStepsInOrderAndTheSameDockNothing) {
  AddBlock();
  ShowForm();
  std::vector<std::string> events;
  auto note = [&](const char* what) { return [&events, what](TComponent*) { events.push_back(what); }; };
  Toolbar->OnDockChanging = note("DockChanging");
  Toolbar->OnRecreating = note("Recreating");
  Toolbar->OnMove = note("Move");
  Toolbar->OnRecreated = note("Recreated");
  Toolbar->OnDockChanged = note("DockChanged");
  for (TDock97* dock : {Top, Left})
    dock->OnInsertRemoveBar = [&events](TComponent* sender, bool inserting, TCustomToolWindow97*) {
      events.push_back(sender->Name() + (inserting ? " inserting" : " removing"));
    };
  Toolbar->SetDockedTo(Left);
  EXPECT_EQ(events, (std::vector<std::string>{"DockChanging", "Recreating", "Top removing", "Left inserting", "Move",
                                              "Recreated", "DockChanged"}));
  events.clear();
  Toolbar->SetDockedTo(Left);
  EXPECT_TRUE(events.empty());
  EXPECT_EQ(Top->Height(), 0) << "the top dock collapses once it is empty";
  EXPECT_EQ(Left->Width(), 23 + 4) << "a left dock is as thick as the widest block and the frame";
}

// ---- floating

class Floating : public DockedFormTest {
protected:
  void Float() {
    AddBlock();
    AddBlock();
    ShowForm();
    Toolbar->SetFloatingPosition(POINT{300, 400});
    Toolbar->SetDockedTo(nullptr);
    PumpMessages();
  }
  bool ToolbarShown() const { return IsWindowVisible(Toolbar->HandleIfAllocated()) != FALSE; }
};

TEST_F(Floating, AFloatingToolbarIsAPopupAtItsFloatingPositionOwnedByItsForm) {
  Float();
  ASSERT_FALSE(Toolbar->Docked());
  HWND wnd = Toolbar->Handle();
  // The system adds WS_CLIPSIBLINGS to every top-level window.
  EXPECT_EQ(static_cast<DWORD>(GetWindowLongPtrW(wnd, GWL_STYLE)) & ~(WS_VISIBLE | WS_CLIPSIBLINGS),
            static_cast<DWORD>(WS_POPUP | WS_BORDER | WS_THICKFRAME));
  EXPECT_TRUE(ToolbarShown());
  const RECT r = WindowRectOf(Toolbar);
  EXPECT_EQ(r.left, 300);
  EXPECT_EQ(r.top, 400);
  EXPECT_EQ(reinterpret_cast<HWND>(GetWindowLongPtrW(wnd, GWLP_HWNDPARENT)), Form->Handle());
  EXPECT_EQ(GetActiveWindow(), Form->Handle()) << "floating takes nothing from the form";
  // The client area sits inside the frame and below the small caption.
  RECT client{};
  GetClientRect(wnd, &client);
  const TIntPoint frame = Toolbar->FrameMetrics();
  EXPECT_EQ(r.right - r.left, client.right + 2 * frame.X);
  EXPECT_EQ(r.bottom - r.top, client.bottom + 2 * frame.Y + TCustomToolWindow97::CaptionHeight());
}

TEST_F(Floating, HidesWithItsMinimisedFormAndComesBack) {
  Float();
  ASSERT_TRUE(ToolbarShown());
  ShowWindow(Form->Handle(), SW_MINIMIZE);
  PumpMessages();
  EXPECT_FALSE(ToolbarShown());
  ShowWindow(Form->Handle(), SW_RESTORE);
  PumpMessages();
  EXPECT_TRUE(ToolbarShown());
}

// Another application taking the activation: a window of another thread, as the system sees applications.
class TOtherApplication {
public:
  TOtherApplication() {
    FThread = std::thread([this] {
      WNDCLASSW wc{};
      wc.lpfnWndProc = DefWindowProcW;
      wc.hInstance = GetModuleHandleW(nullptr);
      wc.lpszClassName = L"QsOtherApplication";
      RegisterClassW(&wc);
      FThreadId = GetCurrentThreadId();
      FWnd = CreateWindowExW(0, wc.lpszClassName, L"Other", WS_POPUP | WS_VISIBLE, 700, 600, 100, 100, nullptr, nullptr,
                             wc.hInstance, nullptr);
      SetForegroundWindow(FWnd);
      FReady = true;
      MSG msg;
      while (GetMessageW(&msg, nullptr, 0, 0) > 0) DispatchMessageW(&msg);
      DestroyWindow(FWnd);
    });
    PumpUntil([this] { return FReady.load(); });
  }
  ~TOtherApplication() {
    PostThreadMessageW(FThreadId, WM_QUIT, 0, 0);
    FThread.join();
  }

private:
  std::thread FThread;
  DWORD FThreadId = 0;
  HWND FWnd = nullptr;
  std::atomic<bool> FReady{false};
};

TEST_F(Floating, HidesWhileTheApplicationIsInactiveOrElseShowsAnInactiveCaption) {
  Float();
  {
    TOtherApplication other;
    PumpUntil([&] { return !ToolbarShown(); }, 2000);
    EXPECT_FALSE(ToolbarShown());
  }
  SetForegroundWindow(Form->Handle());
  PumpUntil([&] { return ToolbarShown(); }, 2000);
  EXPECT_TRUE(ToolbarShown());

  Toolbar->SetHideWhenInactive(false);
  {
    TOtherApplication other;
    PumpUntil([&] { return Toolbar->CaptionInactive(); }, 2000);
    EXPECT_TRUE(ToolbarShown());
    EXPECT_TRUE(Toolbar->CaptionInactive());
  }
  SetForegroundWindow(Form->Handle());
  PumpUntil([&] { return !Toolbar->CaptionInactive(); }, 2000);
  EXPECT_FALSE(Toolbar->CaptionInactive());
}

TEST_F(Floating, TheCloseButtonHidesTheWindowOnlyWhenReleasedOverIt) {
  Float();
  int closes = 0;
  Toolbar->OnClose = [&](TComponent*) { ++closes; };
  const TFloatingCaptionRects rects = FloatingCaptionRects(
      Toolbar->FrameMetrics(), TCustomToolWindow97::CaptionHeight(), Toolbar->ClientRect().right, true);
  const POINT button = ToolbarWindowPoint((rects.CloseButton.Left + rects.CloseButton.Right) / 2,
                                          (rects.CloseButton.Top + rects.CloseButton.Bottom) / 2);
  const POINT away = ToolbarWindowPoint(-40, -40);
  TInputScript offFirst({[&] { MoveTo(button); }, [] { SendMouse(MOUSEEVENTF_LEFTDOWN); }, [&] { MoveTo(away); },
                         [] { SendMouse(MOUSEEVENTF_LEFTUP); }});
  ASSERT_TRUE(offFirst.Run());
  EXPECT_EQ(closes, 0);
  EXPECT_TRUE(Toolbar->Visible());

  TInputScript click(
      {[&] { MoveTo(button); }, [] { SendMouse(MOUSEEVENTF_LEFTDOWN); }, [] { SendMouse(MOUSEEVENTF_LEFTUP); }});
  ASSERT_TRUE(click.Run());
  EXPECT_EQ(closes, 1);
  EXPECT_FALSE(Toolbar->Visible());
  EXPECT_FALSE(ToolbarShown());
}

TEST_F(Floating, AWindowThatOwnedTheToolbarGoesAndTheToolbarStays) {
  Float();
  HWND wnd = Toolbar->Handle();
  HWND oldForm = Form->Handle();
  HWND ownerWhenFormWent = nullptr;
  // Looks at the owner right after the form's old window was destroyed, before the toolbar is shown again.
  TInputScript look({[&] { ownerWhenFormWent = reinterpret_cast<HWND>(GetWindowLongPtrW(wnd, GWLP_HWNDPARENT)); }});
  Form->RecreateWnd(); // the form's old window is destroyed, and a window it owned would go with it
  ASSERT_FALSE(IsWindow(oldForm));
  EXPECT_TRUE(IsWindow(wnd));
  look.Run();
  EXPECT_NE(ownerWhenFormWent, oldForm);
  PumpMessages();
  EXPECT_EQ(reinterpret_cast<HWND>(GetWindowLongPtrW(wnd, GWLP_HWNDPARENT)), Form->Handle())
      << "shown again, it belongs to the form's new window";
}

TEST_F(Floating, TheResizeLoopKeepsTheMinimumAndEscapeKeepsTheSize) {
  Float();
  const RECT before = WindowRectOf(Toolbar);
  const int width = before.right - before.left, height = before.bottom - before.top;
  const POINT rightEdge = ToolbarWindowPoint(width - 2, height / 2);
  TInputScript cancelled({[&] { MoveTo(rightEdge); }, [] { SendMouse(MOUSEEVENTF_LEFTDOWN); },
                          [&] {
                            MoveTo(POINT{rightEdge.x + 60, rightEdge.y});
                          },
                          [] {
                            SendKey(VK_ESCAPE, false);
                            SendKey(VK_ESCAPE, true);
                          },
                          [] { SendMouse(MOUSEEVENTF_LEFTUP); }});
  ASSERT_TRUE(cancelled.Run());
  EXPECT_EQ(WindowRectOf(Toolbar), before);

  TInputScript squeezed({[&] { MoveTo(rightEdge); }, [] { SendMouse(MOUSEEVENTF_LEFTDOWN); },
                         [&] {
                           MoveTo(POINT{before.left - 200, rightEdge.y});
                         },
                         [] { SendMouse(MOUSEEVENTF_LEFTUP); }});
  ASSERT_TRUE(squeezed.Run());
  const RECT after = WindowRectOf(Toolbar);
  RECT client{};
  GetClientRect(Toolbar->Handle(), &client);
  EXPECT_GT(after.right - after.left, 0);
  EXPECT_GE(client.right, 23 + 8) << "never narrower than a block and the margins";
  EXPECT_EQ(after.left, before.left) << "the left edge stays while the right one moves";
}

TEST_F(Floating, ClosingTheMainWindowsFloatingToolbarDocksItBackAtTheTop) {
  TMain* main = ShowMainWindow();
  SetForegroundWindow(main->Handle());
  TToolbar97* toolbar = main->Toolbar971;
  toolbar->SetFloatingPosition(POINT{200, 200});
  toolbar->SetDockedTo(nullptr);
  PumpMessages();
  ASSERT_FALSE(toolbar->Docked());
  ASSERT_TRUE(IsWindowVisible(toolbar->Handle()));
  const TFloatingCaptionRects rects = FloatingCaptionRects(
      toolbar->FrameMetrics(), TCustomToolWindow97::CaptionHeight(), toolbar->ClientRect().right, true);
  RECT window{};
  GetWindowRect(toolbar->Handle(), &window);
  const POINT button{window.left + (rects.CloseButton.Left + rects.CloseButton.Right) / 2,
                     window.top + (rects.CloseButton.Top + rects.CloseButton.Bottom) / 2};
  TInputScript click(
      {[&] { MoveTo(button); }, [] { SendMouse(MOUSEEVENTF_LEFTDOWN); }, [] { SendMouse(MOUSEEVENTF_LEFTUP); }});
  ASSERT_TRUE(click.Run());
  PumpMessages();
  EXPECT_EQ(toolbar->DockedTo(), main->Dock971);
  EXPECT_EQ(toolbar->DockRow(), 0);
  EXPECT_TRUE(toolbar->Visible());
  EXPECT_TRUE(IsWindowVisible(toolbar->Handle()));
  EXPECT_EQ(main->Dock971->Height(), 26);
  CloseMainWindow(main);
}

// ---- the frames' pixels

TEST_F(Docks, TheDockedFrameAndItsHandleArePaintedAtTheirPlaces) {
  AddBlock();
  ShowForm();
  const TFrameRendering frame(*Toolbar);
  const int height = frame.Height;
  const COLORREF face = GetSysColor(COLOR_BTNFACE), highlight = GetSysColor(COLOR_BTNHIGHLIGHT),
                 shadow = GetSysColor(COLOR_BTNSHADOW);
  struct TProbe {
    const char* Name;
    int X, Y;
    COLORREF Expected;
  };
  const int clientHeight = height - 4;
  const TProbe probes[] = {
      {"outer ring top (raised: highlight)", 5, 0, highlight},
      {"outer ring bottom (raised: shadow)", 5, height - 1, shadow},
      {"second ring in the face colour", 5, 1, face},
      {"fill before the first ridge", 2, 5, face},
      {"first ridge's lit edge", 4, 5, highlight},
      {"first ridge's shadow", 6, 5, shadow},
      {"first ridge's foot set to highlight", 4, clientHeight + 1, highlight},
      {"second ridge's lit edge", 7, 5, highlight},
      {"second ridge's shadow", 9, 5, shadow},
      {"strip after the handle", 10, 5, face},
  };
  for (const TProbe& p : probes) EXPECT_EQ(frame.At(p.X, p.Y), p.Expected) << p.Name;
}

TEST_F(Floating, TheFloatingFrameHasItsCaptionStripLineAndCloseButton) {
  Float();
  const TFrameRendering frame(*Toolbar);
  const int width = frame.Width, height = frame.Height;
  const TFloatingCaptionRects rects = FloatingCaptionRects(
      Toolbar->FrameMetrics(), TCustomToolWindow97::CaptionHeight(), Toolbar->ClientRect().right, true);
  EXPECT_EQ(frame.At(0, 0), GetSysColor(COLOR_3DLIGHT)) << "EDGE_RAISED starts with the light edge";
  EXPECT_EQ(frame.At(width - 1, height - 1), GetSysColor(COLOR_3DDKSHADOW));
  EXPECT_EQ(frame.At(rects.LineBelow.Left + 3, rects.LineBelow.Top), GetSysColor(COLOR_BTNFACE));
  BOOL gradient = FALSE;
  SystemParametersInfoW(SPI_GETGRADIENTCAPTIONS, 0, &gradient, 0);
  EXPECT_EQ(frame.At(rects.Caption.Left, rects.Caption.Top), GetSysColor(COLOR_ACTIVECAPTION))
      << "the strip starts in the active caption colour";
  EXPECT_EQ(frame.At(rects.CloseButton.Left, rects.CloseButton.Top),
            GetSysColor(gradient ? COLOR_GRADIENTACTIVECAPTION : COLOR_ACTIVECAPTION))
      << "the close button is framed in the caption colour";
}

// ---- double clicks

TEST_F(Floating, ADoubleClickFloatsADockedWindowAndDocksAFloatingOneFirstInItsDefaultDock) {
  AddBlock();
  auto* other = AddToolbar("Other", Left);
  ShowForm();
  auto doubleClick = [&](POINT p) {
    TInputScript script({[p] { MoveTo(p); }, [] { SendMouse(MOUSEEVENTF_LEFTDOWN); },
                         [] { SendMouse(MOUSEEVENTF_LEFTUP); }, [] { SendMouse(MOUSEEVENTF_LEFTDOWN); },
                         [] { SendMouse(MOUSEEVENTF_LEFTUP); }},
                        20);
    ASSERT_TRUE(script.Run());
    PumpMessages();
  };
  doubleClick(ToolbarWindowPoint(5, 10)); // on the drag handle
  ASSERT_FALSE(Toolbar->Docked());

  doubleClick(ToolbarWindowPoint(10, 8)); // on the caption
  EXPECT_FALSE(Toolbar->Docked()) << "without a default dock nothing happens";

  Toolbar->SetDefaultDock(Left);
  doubleClick(ToolbarWindowPoint(10, 8));
  ASSERT_EQ(Toolbar->DockedTo(), Left);
  EXPECT_EQ(Toolbar->DockRow(), 0);
  EXPECT_EQ(Toolbar->DockPos(), 0) << "first in row 0";
  EXPECT_GT(other->DockPos(), 0) << "the bar already there moved up";
}

// ---- background and bound lines

TEST_F(Docks, TheBackgroundTilesSeamlesslyAcrossTheDockAndItsBarsAndBoundLinesFrameTheDock) {
  AddBlock();
  ShowForm();
  // A 4 x 4 picture whose pixel (x, y) has red x * 60 and green y * 60: every pixel tells where in its tile it is.
  TBitmap tile;
  tile.SetSize(4, 4);
  {
    TBitmapCanvas canvas(tile);
    for (int y = 0; y < 4; ++y)
      for (int x = 0; x < 4; ++x) SetPixel(canvas.Handle(), x, y, RGB(x * 60, y * 60, 0));
  }
  Top->SetBackground(tile);
  Top->SetBoundLines(blTop | blBottom);
  PumpMessages();
  // The parent's client origin is the tiles' origin: a pixel at parent coordinates (x, y) is tile (x % 4, y % 4).
  auto expected = [](int x, int y) { return RGB((x % 4) * 60, (y % 4) * 60, 0); };
  TWindowDC screen(nullptr);
  const POINT formOrigin = Form->ClientOrigin();
  UpdateWindow(Top->Handle());
  UpdateWindow(Toolbar->Handle());
  RECT dockWindow = WindowRectOf(Top);
  // In the dock's client area, right of the bar.
  const POINT inDock{dockWindow.right - 10, dockWindow.top + 10};
  EXPECT_EQ(GetPixel(screen.Get(), inDock.x, inDock.y), expected(inDock.x - formOrigin.x, inDock.y - formOrigin.y));
  // In the bar's client area (a transparent spot: no block there) and in its frame's second ring.
  const RECT bar = WindowRectOf(Toolbar);
  const POINT inFrame{bar.left + 20, bar.top + 1};
  EXPECT_EQ(GetPixel(screen.Get(), inFrame.x, inFrame.y), expected(inFrame.x - formOrigin.x, inFrame.y - formOrigin.y));
  // The bound lines: shadow along the top, highlight along the bottom, each taking a pixel off the client area.
  EXPECT_EQ(GetPixel(screen.Get(), dockWindow.left + 50, dockWindow.top), GetSysColor(COLOR_BTNSHADOW));
  EXPECT_EQ(GetPixel(screen.Get(), dockWindow.left + 50, dockWindow.bottom - 1), GetSysColor(COLOR_BTNHIGHLIGHT));
  EXPECT_EQ(Top->Height(), 22 + 4 + 2);

  // Transparent, the picture's bottom-left colour (tile pixel 0, 3) gives way to the dock's own colour and
  // every other pixel stays.
  Top->SetBackgroundTransparent(true);
  PumpMessages();
  UpdateWindow(Top->Handle());
  // The screen point in the dock's client area, right of the bar, that shows tile pixel (tx, ty).
  auto showing = [&](int tx, int ty) {
    POINT p{dockWindow.right - 12, dockWindow.top + 8};
    while ((p.x - formOrigin.x) % 4 != tx) ++p.x;
    while ((p.y - formOrigin.y) % 4 != ty) ++p.y;
    return p;
  };
  const POINT transparent = showing(0, 3), opaque = showing(1, 3);
  EXPECT_EQ(GetPixel(screen.Get(), transparent.x, transparent.y), ColorToRGB(Top->Color()));
  EXPECT_EQ(GetPixel(screen.Get(), opaque.x, opaque.y), RGB(60, 180, 0));
}

// ---- hooks and resources

TEST_F(Docks, ToolWindowsHoldTheirHooksFromCreationToDestruction) {
  EXPECT_NE(InstalledHook(WH_CBT), nullptr);
  EXPECT_NE(InstalledHook(WH_CALLWNDPROC), nullptr);
  delete Toolbar;
  Toolbar = nullptr;
  EXPECT_EQ(InstalledHook(WH_CBT), nullptr);
  EXPECT_EQ(InstalledHook(WH_CALLWNDPROC), nullptr);
}

TEST_F(Docks, DockingAndFloatingAThousandTimesLeavesNoGdiObject) {
  AddBlock();
  AddSeparator();
  AddBlock();
  ShowForm();
  Toolbar->SetFloatingPosition(POINT{250, 300});
  const long before = TGdiCounter::Live();
  for (int i = 0; i < 1000; ++i) {
    Toolbar->SetDockedTo(nullptr);
    Toolbar->SetDockedTo(Top);
  }
  PumpMessages();
  EXPECT_EQ(TGdiCounter::Live(), before);
}

} // namespace
