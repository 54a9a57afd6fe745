// The main window's six toolbar buttons as the user meets them: clicked with the mouse (real input through the
// message loop) each runs its handler and the disabled Encode runs nothing; at rest they show their pictures
// where they belong and Encode its embossed caption; buttons with pictures of one size share their lists.
#include "ControlTestKit.h"
#include "InputKit.h"
#include "MPlayer.h"
#include "MainWindowFixture.h"
#include "TB97GlyphList.h"

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

using namespace qs;
using namespace qs::test;

namespace {

using TDs = TButtonDrawState;

constexpr int kSettleMs = 300;

class MainToolbarTest : public TMainWindowFixture {
protected:
  void SetUp() override {
    OpenMain();
    A = Files.WriteFile("a.wav", SilentWave());
    B = Files.WriteFile("b.wav", SilentWave());
  }
  void TearDown() override {
    SetCursorPos(0, 0);
    TMainWindowFixture::TearDown();
  }

  // A click of the left button in the middle of `button`, with the main window in front.
  void ClickWithTheMouse(TToolbarButton97* button) {
    SetForegroundWindow(Main->Handle());
    PumpMessages();
    const POINT p = button->ClientToScreen(POINT{button->Width() / 2, button->Height() / 2});
    SetCursorPos(p.x, p.y);
    PumpMessages();
    SendMouse(MOUSEEVENTF_LEFTDOWN);
    SendMouse(MOUSEEVENTF_LEFTUP);
    PumpUntil([] { return false; }, kSettleMs);
  }
  // The pointer away from the window: nothing hot.
  void PointAway() {
    SetCursorPos(0, 0);
    PumpUntil([] { return false; }, kSettleMs);
  }

  TTempDir Files;
  std::string A, B;
};

TEST_F(MainToolbarTest, EachButtonClickedWithTheMouseRunsItsHandler) {
  struct TCase {
    const char* Name;
    TToolbarButton97* TMain::*Button;
    std::function<void()> Before;
    std::function<void()> Check;
  };
  std::string added;
  const TCase cases[] = {
      {"Clear list", &TMain::Newbutton, [] {}, [&] { EXPECT_TRUE(Rows().empty()); }},
      {"Add file", &TMain::ToolbarButton972,
       [&] {
         added = Files.WriteFile("c.wav", SilentWave());
         Seams().DialogAnswers.push_back(Choose({added}));
       },
       [&] {
         EXPECT_EQ(Seams().DialogTitles, std::vector<std::string>{"Please select files to convert"});
         EXPECT_EQ(Rows(), (std::vector<std::string>{A, B, added}));
       }},
      {"Delete", &TMain::Deletebutton, [&] { SelectRows({0}); },
       [&] { EXPECT_EQ(Rows(), std::vector<std::string>{B}); }},
      {"Play", &TMain::ToolbarButton973, [&] { SelectRows({1}); },
       [&] {
         EXPECT_EQ(Main->MediaPlayer1->FileName(), B);
         EXPECT_TRUE(Main->MediaPlayer1->Opened());
       }},
      {"Stop", &TMain::ToolbarButton974,
       [&] {
         SelectRows({0});
         Click(&TMain::Play1Click);
         ASSERT_TRUE(Main->MediaPlayer1->Opened());
       },
       [&] {
         EXPECT_EQ(Main->MediaPlayer1->FileName(), "");
         EXPECT_FALSE(Main->MediaPlayer1->Opened());
       }},
      // A bitrate that is refused stops the run before anything is written: the error box shows it ran.
      {"Encode", &TMain::Encode, [&] { Main->Bitratebox->SetText("12 8"); },
       [&] {
         ASSERT_EQ(Seams().MessageBoxes.size(), 1u) << "EncodeClick ran and refused the bitrate";
         Seams().MessageBoxes.clear();
       }},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    Seams().DialogTitles.clear();
    Click(&TMain::Stop1Click);
    Click(&TMain::Clear1Click);
    Main->AppendQueueRows({A, B});
    ASSERT_TRUE(Main->Encode->Enabled());
    c.Before();
    ClickWithTheMouse(Main->*c.Button);
    c.Check();
    EXPECT_TRUE(Seams().MessageBoxes.empty());
    EXPECT_FALSE((Main->*c.Button)->Pressed());
  }
  Click(&TMain::Stop1Click);
}

TEST_F(MainToolbarTest, TheDisabledEncodeButtonRunsNothing) {
  ASSERT_FALSE(Main->Encode->Enabled()) << "disabled at start";
  Main->Bitratebox->SetText("12 8"); // EncodeClick would refuse it with an error box
  int clicks = 0;
  const TNotifyEvent handler = Main->Encode->OnClick;
  Main->Encode->OnClick = [&](TComponent* sender) {
    ++clicks;
    handler(sender);
  };
  ClickWithTheMouse(Main->Encode);
  EXPECT_EQ(clicks, 0);
  EXPECT_TRUE(Seams().MessageBoxes.empty());
  EXPECT_EQ(Main->Encode->DrawState(), TDs::dsDisabled);
  EXPECT_FALSE(Main->Encode->MouseIn()) << "nor does it show the pointer over it";
}

// The toolbar at rest: each picture where a 23 x 22 flat button shows it, no frame, and the disabled Encode
// with its caption drawn in the highlight colour one pixel right and down, then in the shadow colour.
TEST_F(MainToolbarTest, AtRestTheButtonsShowTheirPicturesAndEncodeItsEmbossedCaption) {
  PointAway();
  const TRendering toolbar(*Main->Toolbar971);
  struct TCase {
    const char* Name;
    TToolbarButton97* Button;
    std::function<void(HDC)> Draw;
  };
  const auto glyph = [](const wchar_t* resource, TIntPoint at) {
    return [=](HDC dc) {
      TBitmap picture;
      picture.LoadFromResourceName(resource);
      TButtonGlyph g;
      g.SetGlyph(picture);
      TCanvas canvas(dc);
      g.DrawStateImage(canvas, at, TDs::dsUp);
    };
  };
  const TFont& font = Main->Encode->Font();
  const SIZE extent = TextExtent(font, "Encode");
  const auto embossedCaption = [&](HDC dc) {
    TSelectGuard select(dc, font.Handle());
    SetBkMode(dc, TRANSPARENT);
    const RECT caption = Bounds(1 + (71 - extent.cx + 1) / 2, 1 + (20 - extent.cy + 1) / 2, extent.cx, extent.cy);
    struct TPass {
      int Offset;
      TColor Color;
    };
    for (const TPass& pass : {TPass{1, clBtnHighlight}, TPass{0, clBtnShadow}}) {
      RECT r = caption;
      OffsetRect(&r, pass.Offset, pass.Offset);
      SetTextColor(dc, ColorToRGB(pass.Color));
      DrawTextW(dc, L"Encode", -1, &r, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    }
  };
  const TCase cases[] = {
      {"Clear list", Main->Newbutton, glyph(L"GLYPH_CLEAR", {4, 3})},
      {"Add file", Main->ToolbarButton972, glyph(L"GLYPH_ADD", {4, 3})},
      {"Delete", Main->Deletebutton, glyph(L"GLYPH_DELETE", {4, 3})},
      {"Play", Main->ToolbarButton973, glyph(L"GLYPH_PLAY", {6, 6})},
      {"Stop", Main->ToolbarButton974, glyph(L"GLYPH_STOP", {6, 5})},
      {"Encode", Main->Encode, embossedCaption},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    const int w = c.Button->Width(), h = c.Button->Height();
    TWindowDC screen(nullptr);
    TMemoryDC dc(screen.Get());
    TBitmapHandle bitmap(CreateCompatibleBitmap(screen.Get(), w, h));
    TSelectGuard select(dc.Get(), bitmap.Get());
    TCanvas(dc.Get()).FillRect(Rect(0, 0, w, h), clBtnFace);
    c.Draw(dc.Get());
    int inked = 0;
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x) {
        const COLORREF expected = GetPixel(dc.Get(), x, y);
        inked += expected != ColorToRGB(clBtnFace);
        const COLORREF actual = toolbar.At(c.Button->Left() + x, c.Button->Top() + y);
        if (actual != expected) {
          ADD_FAILURE() << "pixel " << x << "," << y << " is " << std::hex << actual << ", expected " << expected;
          y = h;
          break;
        }
      }
    EXPECT_GT(inked, 10) << "the expected picture shows something";
  }
}

// The three 16 x 16 pictures share one list and, once disabled, one 17 x 17 list; the two smaller pictures
// have lists of their own sizes.
TEST_F(MainToolbarTest, ButtonsWithPicturesOfOneSizeShareTheirLists) {
  TToolbarButton97* sixteen[] = {Main->Newbutton, Main->ToolbarButton972, Main->Deletebutton};
  for (TToolbarButton97* button : sixteen) {
    button->SetEnabled(false);
    button->ButtonGlyph().EnsureStateImage(TDs::dsDisabled);
    button->ButtonGlyph().EnsureStateImage(TDs::dsUp);
  }
  Main->ToolbarButton973->ButtonGlyph().EnsureStateImage(TDs::dsUp);
  TGlyphList* normal = Main->Newbutton->ButtonGlyph().List(true);
  TGlyphList* disabled = Main->Newbutton->ButtonGlyph().List(false);
  ASSERT_NE(normal, nullptr);
  ASSERT_NE(disabled, nullptr);
  EXPECT_EQ(normal->Width(), 16);
  EXPECT_EQ(disabled->Width(), 17);
  EXPECT_EQ(disabled->Height(), 17);
  for (TToolbarButton97* button : sixteen) {
    EXPECT_EQ(button->ButtonGlyph().List(true), normal) << button->Name();
    EXPECT_EQ(button->ButtonGlyph().List(false), disabled) << button->Name();
  }
  EXPECT_EQ(normal->Count(), 3);
  EXPECT_EQ(disabled->Count(), 3);
  EXPECT_NE(Main->ToolbarButton973->ButtonGlyph().List(true), normal);
  for (TToolbarButton97* button : sixteen) button->SetEnabled(true);
}

} // namespace
