// Dragging the toolbar with the mouse, as a person does: from the top dock to the side and out to float and
// back, Ctrl and Escape, which dock wins, a dock that refuses, rows made by a drop; the outline as drawn and as
// shown on screen; and nothing left behind whichever way the loop ends.
#include "Exception.h"
#include "InputKit.h"
#include "Main.h"
#include "MainWindowFixture.h"
#include "TB97DragLoop.h"
#include "ToolbarTestKit.h"
#include "WorkArea.h"

#include <optional>
#include <string>
#include <vector>

using namespace qs;
using namespace qs::test;

namespace {

HWND OutlineWindow() { return FindWindowW(L"QsDragOutline", nullptr); }

RECT OutlineOnScreen() {
  RECT r{};
  if (HWND wnd = OutlineWindow(); wnd && IsWindowVisible(wnd)) GetWindowRect(wnd, &r);
  return r;
}

void Press() { SendMouse(MOUSEEVENTF_LEFTDOWN); }
void Release() { SendMouse(MOUSEEVENTF_LEFTUP); }
RECT VirtualScreen() {
  return RECT{GetSystemMetrics(SM_XVIRTUALSCREEN), GetSystemMetrics(SM_YVIRTUALSCREEN),
              GetSystemMetrics(SM_XVIRTUALSCREEN) + GetSystemMetrics(SM_CXVIRTUALSCREEN),
              GetSystemMetrics(SM_YVIRTUALSCREEN) + GetSystemMetrics(SM_CYVIRTUALSCREEN)};
}

// After the loop, whichever way it ended: nobody holds the mouse, no outline shows, the pointer is free.
void ExpectNothingLeft(const char* how) {
  EXPECT_EQ(GetCapture(), nullptr) << how;
  EXPECT_FALSE(OutlineWindow() && IsWindowVisible(OutlineWindow())) << how;
  RECT clip{};
  GetClipCursor(&clip);
  EXPECT_EQ(clip, VirtualScreen()) << how;
}

// ---- the main window's toolbar

class MainDrag : public ::testing::Test {
protected:
  void SetUp() override {
    Main = ShowMainWindow();
    SetForegroundWindow(Main->Handle());
    PumpMessages();
  }
  void TearDown() override { CloseMainWindow(Main); }

  // A point on the toolbar's drag handle: at its left while docked at the top, at its top while at the side,
  // on the caption while floating.
  POINT Handle() const {
    RECT r{};
    GetWindowRect(Main->Toolbar971->Handle(), &r);
    if (!Main->Toolbar971->Docked()) return POINT{r.left + 12, r.top + 8};
    if (Main->Toolbar971->DockedTo() == Main->Dock971) return POINT{r.left + 6, r.top + 12};
    return POINT{r.left + 12, r.top + 6};
  }
  // The page's client area on screen: where the docks and the list live.
  RECT Page() const {
    RECT r = Main->Encodetab->ClientRect();
    const POINT origin = Main->Encodetab->ClientOrigin();
    OffsetRect(&r, origin.x, origin.y);
    return r;
  }
  bool Drag(POINT to, std::vector<std::function<void()>> whileHeld = {}) {
    const POINT from = Handle();
    std::vector<std::function<void()>> steps{[from] { MoveTo(from); }, [] { Press(); },
                                             [from] {
                                               MoveTo(POINT{from.x + 3, from.y + 3});
                                             },
                                             [to] { MoveTo(to); }};
    for (auto& step : whileHeld) steps.push_back(std::move(step));
    steps.push_back([] { Release(); });
    TInputScript script(std::move(steps));
    return script.Run();
  }

  TMain* Main = nullptr;
};

TEST_F(MainDrag, FromTheTopToTheLeftDockThenOutToFloatAndBackToTheTop) {
  const RECT page = Page();
  ASSERT_TRUE(Drag(POINT{page.left, page.top + 120}));
  ExpectNothingLeft("dropped in the left dock");
  EXPECT_EQ(Main->Toolbar971->DockedTo(), Main->Dock972);
  EXPECT_EQ(Main->Dock971->Height(), 0) << "the top dock collapses";
  EXPECT_EQ(Main->Dock972->Width(), 73 + 4) << "vertical: as thick as Encode and the frame";
  EXPECT_EQ(Main->ListView1->BoundsRect(), Bounds(77, 0, 473 - 77, 285)) << "the list fills what is left";
  EXPECT_EQ(Main->Encode->BoundsRect(), Bounds(0, 128, 73, 22));

  const POINT away{page.right + 120, page.top + 60};
  ASSERT_TRUE(Drag(away));
  ExpectNothingLeft("dropped to float");
  EXPECT_FALSE(Main->Toolbar971->Docked());
  EXPECT_EQ(Main->Dock972->Width(), 0);
  EXPECT_TRUE(IsWindowVisible(Main->Toolbar971->Handle()));
  const POINT floating = Main->Toolbar971->FloatingPosition();
  RECT bounds{};
  GetWindowRect(Main->Toolbar971->Handle(), &bounds);
  EXPECT_EQ(bounds.left, floating.x);
  EXPECT_EQ(bounds.top, floating.y);

  ASSERT_TRUE(Drag(POINT{page.left + 150, page.top}));
  EXPECT_EQ(Main->Toolbar971->DockedTo(), Main->Dock971);
  EXPECT_EQ(Main->Dock971->Height(), 26);
  EXPECT_EQ(Main->ListView1->BoundsRect(), Bounds(0, 26, 473, 259));
}

TEST_F(MainDrag, CtrlTurnsTheDockedOutlineIntoTheFloatingOneAndBackAndEscapeChangesNothing) {
  const RECT page = Page();
  const int row = Main->Toolbar971->DockRow(), pos = Main->Toolbar971->DockPos();
  const POINT floatingBefore = Main->Toolbar971->FloatingPosition();
  RECT overDock{}, withCtrl{}, ctrlReleased{};
  ASSERT_TRUE(
      Drag(POINT{page.left, page.top + 120}, {[&] { overDock = OutlineOnScreen(); }, [] { SendKey(VK_CONTROL, false); },
                                              [&] { withCtrl = OutlineOnScreen(); }, [] { SendKey(VK_CONTROL, true); },
                                              [&] { ctrlReleased = OutlineOnScreen(); }, [] { PressKey(VK_ESCAPE); }}));
  ExpectNothingLeft("cancelled with Escape");
  EXPECT_EQ(overDock.right - overDock.left, 77) << "the docked shape in the left dock";
  EXPECT_NE(withCtrl.right - withCtrl.left, 77) << "Ctrl shows the floating shape at once";
  EXPECT_GT(withCtrl.bottom - withCtrl.top, TCustomToolWindow97::CaptionHeight()) << "with its caption";
  EXPECT_EQ(ctrlReleased, overDock);
  EXPECT_EQ(Main->Toolbar971->DockedTo(), Main->Dock971);
  EXPECT_EQ(Main->Toolbar971->DockRow(), row);
  EXPECT_EQ(Main->Toolbar971->DockPos(), pos);
  EXPECT_EQ(Main->Toolbar971->FloatingPosition().x, floatingBefore.x);
  EXPECT_EQ(Main->Toolbar971->FloatingPosition().y, floatingBefore.y);
}

// ---- which dock takes the window

class Targets : public DockedFormTest {
protected:
  void SetUp() override {
    DockedFormTest::SetUp();
    AddBlock();
    AddBlock();
    ShowForm();
  }
  POINT HandlePoint() const {
    const RECT r = WindowRectOf(Toolbar);
    if (!Toolbar->Docked()) return POINT{r.left + 8, r.top + 8};
    return IsVerticalDock(Toolbar->DockedTo()->Position()) ? POINT{r.left + 10, r.top + 5}
                                                           : POINT{r.left + 5, r.top + 10};
  }
  bool DragTo(POINT to) {
    const POINT from = HandlePoint();
    TInputScript script({[from] { MoveTo(from); }, [] { Press(); },
                         [from] {
                           MoveTo(POINT{from.x + 3, from.y});
                         },
                         [to] { MoveTo(to); }, [] { Release(); }});
    return script.Run();
  }
  RECT FormClient() const { return ClientRectOnScreen(Form); }
};

TEST_F(Targets, AnEmptySideDockCatchesTheCursorAndTheTopDockWinsWhereZonesOverlap) {
  const RECT client = FormClient();
  ASSERT_EQ(Left->Width(), 0);
  ASSERT_TRUE(DragTo(POINT{client.left, client.top + 150}));
  EXPECT_EQ(Toolbar->DockedTo(), Left) << "the 0-wide dock, widened to 2 pixels with its slack";

  Toolbar->SetDockedTo(Right);
  PumpMessages();
  ASSERT_TRUE(DragTo(POINT{client.left, client.top}));
  EXPECT_EQ(Toolbar->DockedTo(), Top) << "the top-left corner is in both zones: the top dock comes first";
}

TEST_F(Targets, ADockThatRefusesIsPassedOver) {
  const RECT client = FormClient();
  int asked = 0;
  Left->OnRequestDock = [&](TComponent*, TCustomToolWindow97* bar, bool& accept) {
    EXPECT_EQ(bar, Toolbar);
    ++asked;
    accept = false;
  };
  ASSERT_TRUE(DragTo(POINT{client.left, client.top + 150}));
  EXPECT_GT(asked, 0);
  EXPECT_FALSE(Toolbar->Docked()) << "nothing else takes it there, so it floats";
}

TEST_F(Targets, AFullSizeBarDroppedOnAnOccupiedRowGetsARowOfItsOwn) {
  auto* other = AddToolbar("Other", Left);
  Toolbar->SetFullSize(true);
  PumpMessages();
  const RECT client = FormClient();
  // Over the middle of the other bar's row in the left dock.
  const RECT row = WindowRectOf(other);
  ASSERT_TRUE(DragTo(POINT{(row.left + row.right) / 2, client.top + 150}));
  ASSERT_EQ(Toolbar->DockedTo(), Left);
  EXPECT_NE(Toolbar->DockRow(), other->DockRow());
  EXPECT_EQ(Left->CountBarsInRow(Toolbar->DockRow(), nullptr), 1);
}

TEST_F(Targets, TheFloatingOutlineKeepsPartOfItselfOnTheWorkArea) {
  Toolbar->SetFloatingPosition(POINT{400, 400});
  Toolbar->SetDockedTo(nullptr);
  PumpMessages();
  const RECT window = WindowRectOf(Toolbar);
  const TIntPoint frame = Toolbar->FrameMetrics();
  // Grabbed near its right end, the window would leave the screen when the cursor goes to the left edge.
  const POINT origin = Toolbar->ClientOrigin();
  TDragLoop loop(*Toolbar, window.right - 6 - origin.x, window.top + 8 - origin.y);
  const TIntRect work = WorkAreaNearPoint(POINT{0, 300});
  SetCursorPos(work.Left, 300);
  loop.MouseMoved();
  EXPECT_GE(loop.OutlineRect().Right, work.Left + frame.X + 4);
  SetCursorPos(300, work.Top);
  loop.MouseMoved();
  EXPECT_GE(loop.OutlineRect().Top, work.Top + 4 - frame.Y - TCustomToolWindow97::CaptionHeight());
  EXPECT_EQ(loop.Target(), nullptr);
}

// ---- every way out of the loop

TEST_F(Targets, EveryWayOutOfTheLoopLeavesNoCaptureOutlineOrClip) {
  struct TCase {
    const char* Name;
    std::function<void()> End;
  };
  bool raise = false;
  Top->OnRequestDock = [&](TComponent*, TCustomToolWindow97*, bool&) {
    if (raise) throw Exception("Refused loudly");
  };
  const TCase cases[] = {
      {"release", [] { Release(); }},
      {"Escape", [] { PressKey(VK_ESCAPE); }},
      {"a second press", [] { Press(); }},
      {"lost capture", [] { ReleaseCapture(); }},
      {"quit", [] { PostQuitMessage(3); }},
      {"an error in a handler",
       [&] {
         raise = true;
         MoveTo(Toolbar->ClientOrigin());
       }},
  };
  const RECT client = FormClient();
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    Toolbar->SetDockedTo(Top);
    PumpMessages();
    raise = false;
    const POINT from = HandlePoint();
    TInputScript script({[from] { MoveTo(from); }, [] { Press(); },
                         [&] {
                           MoveTo(POINT{client.left + 200, client.top + 150});
                         },
                         c.End, [] { Release(); }});
    script.Run();
    MSG quit{};
    PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE);
    ExpectNothingLeft(c.Name);
  }
  EXPECT_EQ(Seams().MessageBoxes.size(), 1u) << "the error reached the error box";
}

// ---- the outline

// The pixels of one drawing of DrawDragOutline on a white bitmap.
class TOutlineBitmap {
public:
  static constexpr int Size = 60;
  TOutlineBitmap() {
    TWindowDC screen(nullptr);
    FBitmap.Reset(CreateCompatibleBitmap(screen.Get(), Size, Size));
    FSelect.emplace(FDC.Get(), FBitmap.Get());
    RECT all{0, 0, Size, Size};
    FillRect(FDC.Get(), &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
  }
  HDC DC() const { return FDC.Get(); }
  std::vector<COLORREF> Pixels() const {
    std::vector<COLORREF> pixels;
    for (int y = 0; y < Size; ++y)
      for (int x = 0; x < Size; ++x) pixels.push_back(GetPixel(FDC.Get(), x, y));
    return pixels;
  }

private:
  TMemoryDC FDC{nullptr};
  TBitmapHandle FBitmap;
  std::optional<TSelectGuard> FSelect;
};

TEST(DragOutline, AMoveRepaintsOnlyThePixelsThatChangedAndASecondDrawingErases) {
  const RECT first{5, 5, 40, 30}, second{8, 7, 45, 33};
  TOutlineBitmap moved, direct, blank;
  DrawDragOutline(moved.DC(), &first, 3, nullptr, 0);
  DrawDragOutline(moved.DC(), &second, 3, &first, 3);
  DrawDragOutline(direct.DC(), &second, 3, nullptr, 0);
  EXPECT_EQ(moved.Pixels(), direct.Pixels()) << "the old ring is gone, the new one drawn";

  TOutlineBitmap once;
  DrawDragOutline(once.DC(), &first, 3, nullptr, 0);
  const std::vector<COLORREF> ring = once.Pixels(), white = blank.Pixels();
  int inverted = 0;
  for (size_t i = 0; i < ring.size(); ++i) inverted += ring[i] != white[i];
  // A 3-pixel ring of 35 x 25, every other pixel inverted by the halftone brush.
  const int ringArea = 35 * 25 - (35 - 6) * (25 - 6);
  EXPECT_EQ(inverted, ringArea / 2);
  DrawDragOutline(once.DC(), nullptr, 0, &first, 3);
  EXPECT_EQ(once.Pixels(), white);
}

TEST_F(Targets, TheOutlineWindowShowsExactlyTheRingOnScreen) {
  const RECT client = FormClient();
  const RECT ring{client.left + 40, client.top + 60, client.left + 140, client.top + 130};
  TWindowDC screen(nullptr);
  const COLORREF inside = GetPixel(screen.Get(), ring.left + 30, ring.top + 30);
  const COLORREF outside = GetPixel(screen.Get(), ring.left - 2, ring.top + 30);
  {
    TOutlineWindow outline;
    outline.Show(ring, 3);
    PumpMessages();
    for (int y = ring.top; y < ring.top + 3; ++y)
      for (int x = ring.left + 10; x < ring.left + 14; ++x) {
        const COLORREF c = GetPixel(screen.Get(), x, y);
        EXPECT_TRUE(c == RGB(0, 0, 0) || c == RGB(255, 255, 255)) << x << ", " << y;
        EXPECT_NE(c, GetPixel(screen.Get(), x + 1, y)) << "a one-pixel checkerboard";
      }
    EXPECT_EQ(GetPixel(screen.Get(), ring.left + 30, ring.top + 30), inside) << "the middle shows through";
    EXPECT_EQ(GetPixel(screen.Get(), ring.left - 2, ring.top + 30), outside);
    EXPECT_EQ(GetPixel(screen.Get(), ring.left + 3, ring.top + 30), inside) << "the ring is 3 pixels thick";
  }
}

} // namespace
