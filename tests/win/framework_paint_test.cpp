// Painting without flicker (opaque windowless children, repaints that do not erase), frames painted on a DC a
// test can read, and the private loop of a mouse interaction: how it ends and what it leaves behind.
#include "CaptureLoop.h"
#include "ControlTestKit.h"
#include "GraphicControl.h"
#include "NonClientDC.h"

#include <optional>

using namespace qs;
using namespace qs::test;

namespace {

constexpr COLORREF Untouched = RGB(255, 0, 255);

// Paints nothing at all: what shows in its bounds is whatever was there before.
class TOpaqueBlank : public TGraphicControl {
public:
  explicit TOpaqueBlank(TComponent* owner) : TGraphicControl(owner) { SetControlStyle(ControlStyle() | csOpaque); }
};

// A memory bitmap prefilled with a colour nothing paints.
class TCanvasBitmap {
public:
  TCanvasBitmap(int width, int height) {
    TWindowDC screen(nullptr);
    FBitmap.Reset(CreateCompatibleBitmap(screen.Get(), width, height));
    FSelect.emplace(FDC.Get(), FBitmap.Get());
    TBrushHandle fill(CreateSolidBrush(Untouched));
    RECT all{0, 0, width, height};
    FillRect(FDC.Get(), &all, fill.Get());
  }
  HDC DC() const { return FDC.Get(); }
  COLORREF At(int x, int y) const { return GetPixel(FDC.Get(), x, y); }

private:
  TMemoryDC FDC{nullptr};
  TBitmapHandle FBitmap;
  std::optional<TSelectGuard> FSelect;
};

class Painting : public FormTest {};

TEST_F(Painting, TheParentDoesNotPaintUnderAnOpaqueChild) {
  auto* child = Place<TOpaqueBlank>(FForm, FForm, 20, 20, 30, 30);
  ShowForm();
  TCanvasBitmap bitmap(FormWidth, FormHeight);
  FForm->PaintTo(bitmap.DC(), FForm->ClientRect());
  EXPECT_EQ(bitmap.At(25, 25), Untouched) << "under the opaque child";
  EXPECT_EQ(bitmap.At(10, 10), ColorToRGB(Backdrop)) << "beside it";

  child->SetControlStyle(child->ControlStyle() & ~csOpaque);
  TCanvasBitmap again(FormWidth, FormHeight);
  FForm->PaintTo(again.DC(), FForm->ClientRect());
  EXPECT_EQ(again.At(25, 25), ColorToRGB(Backdrop)) << "a transparent child shows its parent";
}

// Counts WM_ERASEBKGND: BeginPaint sends it only when a repaint asked for erasing.
struct TEraseCounter {
  static inline WNDPROC Previous = nullptr;
  static inline int Erases = 0;
  static LRESULT CALLBACK Proc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_ERASEBKGND) ++Erases;
    return CallWindowProcW(Previous, wnd, msg, wParam, lParam);
  }
};

TEST_F(Painting, AnOpaqueChildAsksForItsRepaintWithoutErasing) {
  auto* opaque = Place<TOpaqueBlank>(FForm, FForm, 20, 20, 30, 30);
  auto* transparent = Place<TGraphicControl>(FForm, FForm, 80, 20, 30, 30);
  ShowForm();
  HWND wnd = FForm->Handle();
  TEraseCounter::Previous =
      reinterpret_cast<WNDPROC>(SetWindowLongPtrW(wnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&TEraseCounter::Proc)));
  TEraseCounter::Erases = 0;
  opaque->Invalidate();
  UpdateWindow(wnd);
  const int opaqueErases = TEraseCounter::Erases;
  transparent->Invalidate();
  UpdateWindow(wnd);
  const int transparentErases = TEraseCounter::Erases - opaqueErases;
  SetWindowLongPtrW(wnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(TEraseCounter::Previous));
  EXPECT_EQ(opaqueErases, 0);
  EXPECT_EQ(transparentErases, 1) << "a transparent control needs its parent's background first";
}

// ---- the frame DC

TEST_F(Painting, TheFrameDCIsClippedToTheUpdateRegionInWindowCoordinates) {
  FForm->SetBounds(120, 90, FForm->Width(), FForm->Height());
  ShowForm();
  HWND wnd = FForm->Handle();
  RECT window{};
  GetWindowRect(wnd, &window);
  // The update region of WM_NCPAINT is in screen coordinates: a 10 x 10 square 5 pixels into the window.
  TRegionHandle region(CreateRectRgn(window.left + 5, window.top + 5, window.left + 15, window.top + 15));
  TNonClientDC dc(wnd, reinterpret_cast<WPARAM>(region.Get()));
  RECT clip{};
  ASSERT_NE(GetClipBox(dc.Get(), &clip), ERROR);
  EXPECT_EQ(clip, (RECT{5, 5, 15, 15}));

  TNonClientDC whole(wnd, 1);
  ASSERT_NE(GetClipBox(whole.Get(), &clip), ERROR);
  EXPECT_EQ(clip, (RECT{0, 0, window.right - window.left, window.bottom - window.top}));
}

// ---- the capture loop

TEST_F(Painting, ACaptureLoopEndsWhenItLosesTheCaptureOrMeetsQuitAndGivesTheCaptureBack) {
  ShowForm();
  HWND wnd = FForm->Handle();
  {
    TCaptureLoop loop(wnd);
    EXPECT_EQ(GetCapture(), wnd);
    PostMessageW(wnd, WM_NULL, 0, 0);
    MSG msg{};
    ASSERT_TRUE(loop.Next(msg));
    ReleaseCapture(); // as when another window takes the mouse
    EXPECT_FALSE(loop.Next(msg));
  }
  {
    TCaptureLoop loop(wnd);
    PostQuitMessage(7);
    MSG msg{};
    EXPECT_FALSE(loop.Next(msg));
  }
  EXPECT_EQ(GetCapture(), nullptr);
  MSG quit{};
  ASSERT_TRUE(PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) << "the quit is posted again";
  EXPECT_EQ(quit.wParam, 7u);
}

TEST_F(Painting, FlushingPaintsLeavesNoWindowWaitingForPaint) {
  ShowForm();
  InvalidateRect(FForm->Handle(), nullptr, TRUE);
  FlushPaintMessages();
  RECT update{};
  EXPECT_FALSE(GetUpdateRect(FForm->Handle(), &update, FALSE));
}

TEST(CursorClip, TheGuardPutsBackTheClipItFoundOrNone) {
  const RECT screen{GetSystemMetrics(SM_XVIRTUALSCREEN), GetSystemMetrics(SM_YVIRTUALSCREEN),
                    GetSystemMetrics(SM_XVIRTUALSCREEN) + GetSystemMetrics(SM_CXVIRTUALSCREEN),
                    GetSystemMetrics(SM_YVIRTUALSCREEN) + GetSystemMetrics(SM_CYVIRTUALSCREEN)};
  const RECT found{10, 10, 300, 200};
  ClipCursor(&found);
  {
    TCursorClipGuard guard(RECT{50, 50, 100, 100});
    RECT now{};
    GetClipCursor(&now);
    EXPECT_EQ(now, (RECT{50, 50, 100, 100}));
  }
  RECT after{};
  GetClipCursor(&after);
  EXPECT_EQ(after, found);
  ClipCursor(nullptr);
  { TCursorClipGuard guard(RECT{50, 50, 100, 100}); }
  GetClipCursor(&after);
  EXPECT_EQ(after, screen);
}

} // namespace
