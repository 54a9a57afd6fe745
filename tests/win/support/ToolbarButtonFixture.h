#pragma once
// Shared by the tests of the flat toolbar button: buttons on a docked toolbar of a shown form, driven by mouse
// messages through the message loop with the pointer really where the messages say, and what they paint read
// back from memory bitmaps.
#include "ArtPictures.h"
#include "ControlTestKit.h"
#include "GdiCounter.h"
#include "Menu.h"
#include "TB97Button.h"
#include "TB97Dock.h"
#include "TB97GlyphCache.h"
#include "TB97Toolbar.h"
#include "Timer.h"

#include <atomic>
#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace qs::test {

using TDs = TButtonDrawState;

// The pixels of a picture of a given size, drawn by `draw` on a memory DC first filled with `fill`.
class TPicture {
public:
  TPicture(int width, int height, TColor fill, const std::function<void(HDC)>& draw) : FWidth(width), FHeight(height) {
    TWindowDC screen(nullptr);
    TMemoryDC dc(screen.Get());
    TBitmapHandle bitmap(CreateCompatibleBitmap(screen.Get(), width, height));
    TSelectGuard select(dc.Get(), bitmap.Get());
    TCanvas(dc.Get()).FillRect(Rect(0, 0, width, height), fill);
    draw(dc.Get());
    for (int y = 0; y < height; ++y)
      for (int x = 0; x < width; ++x) FPixels.push_back(GetPixel(dc.Get(), x, y));
  }
  COLORREF At(int x, int y) const { return FPixels[static_cast<size_t>(y * FWidth + x)]; }
  int Width() const { return FWidth; }
  int Height() const { return FHeight; }

private:
  int FWidth, FHeight;
  std::vector<COLORREF> FPixels;
};

// What the button paints of itself, on a backdrop it must cover when opaque.
inline TPicture Render(TToolbarButton97& button) {
  return TPicture(button.Width(), button.Height(), Backdrop, [&](HDC dc) { button.PaintControl(dc); });
}

// Pixel by pixel; reports the first difference.
inline void ExpectSame(const TPicture& actual, const TPicture& expected, const std::string& what) {
  ASSERT_EQ(actual.Width(), expected.Width()) << what;
  ASSERT_EQ(actual.Height(), expected.Height()) << what;
  for (int y = 0; y < actual.Height(); ++y)
    for (int x = 0; x < actual.Width(); ++x)
      if (actual.At(x, y) != expected.At(x, y)) {
        ADD_FAILURE() << what << ": pixel " << x << "," << y << " is " << std::hex << actual.At(x, y) << ", expected "
                      << expected.At(x, y);
        return;
      }
}

struct TEdge {
  UINT Style;
  UINT Flags;
};
inline constexpr UINT FlatFlags = BF_RECT;
inline constexpr UINT RaisedFlags = BF_RECT | BF_MIDDLE | BF_SOFT;

// A button face as it should look: the face colour, the frame, then whatever `content` draws.
inline TPicture Expected(int width, int height, std::optional<TEdge> edge, const std::function<void(HDC)>& content) {
  return TPicture(width, height, clBtnFace, [&](HDC dc) {
    if (edge) {
      RECT r{0, 0, width, height};
      DrawEdge(dc, &r, edge->Style, edge->Flags);
    }
    content(dc);
  });
}

// The picture of a glyph resource drawn where a button should put it.
inline std::function<void(HDC)> GlyphAt(const wchar_t* resource, TIntPoint at, TDs state = TDs::dsUp) {
  return [=](HDC dc) {
    TButtonGlyph glyph;
    glyph.SetGlyph(Loaded(resource));
    TCanvas canvas(dc);
    glyph.DrawStateImage(canvas, at, state);
  };
}

inline void Tick(TTimer* timer) {
  ASSERT_NE(timer, nullptr);
  timer->OnTimer()(timer);
}

// A form with a top dock holding one toolbar; the buttons go on the toolbar.
class ToolbarButtonTest : public FormTest {
protected:
  void SetUp() override {
    FormTest::SetUp();
    Dock = Place<TDock97>(FForm, FForm, 0, 0, FormWidth, 26);
    Toolbar = new TToolbar97(FForm);
    Toolbar->SetParent(Dock);
  }
  void TearDown() override {
    SetCursorPos(0, 0);
    FormTest::TearDown();
    EXPECT_EQ(TToolbarButton97::HotButton(), nullptr) << "a hot button outlived its form";
    EXPECT_EQ(TGlyphCache::Instance(), nullptr) << "a glyph list outlived its buttons";
  }

  TToolbarButton97* AddButton(const wchar_t* glyph = nullptr, int width = TToolbarButton97::DefaultWidth) {
    auto* button = new TToolbarButton97(FForm);
    button->SetBounds(Toolbar->ControlCount() * 100, 0, width, TToolbarButton97::DefaultHeight);
    if (glyph) button->SetGlyph(Loaded(glyph));
    button->SetParent(Toolbar);
    return button;
  }
  // Counts the button's clicks.
  int& CountClicks(TToolbarButton97* button) {
    auto& count = FClicks.emplace_back(0);
    button->OnClick = [&count](TComponent*) { ++count; };
    return count;
  }
  void ShowAndActivate() {
    ShowForm();
    ASSERT_TRUE(IsWindowVisible(Toolbar->Handle()));
    SetForegroundWindow(FForm->Handle());
    PumpMessages();
    ASSERT_EQ(GetActiveWindow(), FForm->Handle()) << "the test form must be active";
  }

  // A point of `control` in the toolbar's client coordinates, as the toolbar's window receives it.
  LPARAM ToolbarPoint(const TControl* control, POINT p) const {
    const POINT t = Toolbar->ScreenToClient(control->ClientToScreen(p));
    return MAKELPARAM(static_cast<WORD>(t.x), static_cast<WORD>(t.y));
  }
  // The pointer goes to `p` of `control` (client coordinates) and the toolbar sees it move there.
  void PointAt(const TControl* control, POINT p, WPARAM keys = 0) {
    const POINT s = control->ClientToScreen(p);
    SetCursorPos(s.x, s.y);
    PostMessageW(Toolbar->Handle(), WM_MOUSEMOVE, keys, ToolbarPoint(control, p));
    PumpMessages();
  }
  void Post(const TControl* control, UINT msg, WPARAM keys, POINT p) {
    PostMessageW(Toolbar->Handle(), msg, keys, ToolbarPoint(control, p));
    PumpMessages();
  }
  void Press(const TControl* control, POINT p) {
    PointAt(control, p);
    Post(control, WM_LBUTTONDOWN, MK_LBUTTON, p);
  }
  void Release(const TControl* control, POINT p) {
    PointAt(control, p, MK_LBUTTON);
    Post(control, WM_LBUTTONUP, 0, p);
  }
  void ClickOn(const TControl* control, POINT p = POINT{10, 10}) {
    Press(control, p);
    Release(control, p);
  }
  // The pointer on the form below the dock, away from every button.
  void PointAway() {
    const POINT p{10, FormHeight - 10};
    const POINT s = FForm->ClientToScreen(p);
    SetCursorPos(s.x, s.y);
    PostMessageW(FForm->Handle(), WM_MOUSEMOVE, 0, MAKELPARAM(p.x, p.y));
    PumpMessages();
  }

  TDock97* Dock = nullptr;
  TToolbar97* Toolbar = nullptr;

private:
  // Counters stay where they are while more are added.
  std::deque<int> FClicks;
};

} // namespace qs::test
