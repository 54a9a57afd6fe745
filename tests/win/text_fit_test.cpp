// Text as the user sees it, measured with the fonts the Wine prefixes provide (scripts/wine-fonts.sh): every label
// that sizes itself to its text ends before the control beside it, and file names in Japanese, Korean and Greek
// are drawn as their letters, not as boxes.
#include "Handles.h"
#include "MainWindowFixture.h"
#include "Unicode.h"

#include <windows.h>

#include <string>
#include <vector>

using namespace qs;
using namespace qs::test;

namespace {

int TextWidth(TControl& control, const std::string& text) {
  TWindowDC screen(nullptr);
  TSelectGuard select(screen.Get(), control.Font().Handle());
  const std::wstring wide = Widen(text);
  RECT r{0, 0, 0, 0};
  DrawTextW(screen.Get(), wide.c_str(), static_cast<int>(wide.size()), &r, DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX);
  return r.right - r.left;
}

constexpr int kInkArea = 600;

// One past the rightmost pixel that `text` inks when drawn at x = 0 in `font`; a glyph inked past the measured
// width would be cut off by the control's own bounds.
int InkRight(HFONT font, const std::string& text) {
  constexpr int kLeft = 8; // room for a glyph that starts left of its origin
  TWindowDC screen(nullptr);
  TMemoryDC memory(CreateCompatibleDC(screen.Get()));
  TBitmapHandle bitmap(CreateCompatibleBitmap(screen.Get(), kInkArea, kInkArea / 10));
  TSelectGuard selectBitmap(memory.Get(), bitmap.Get());
  TSelectGuard selectFont(memory.Get(), font);
  const RECT all{0, 0, kInkArea, kInkArea / 10};
  FillRect(memory.Get(), &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
  SetBkMode(memory.Get(), TRANSPARENT);
  const std::wstring wide = Widen(text);
  TextOutW(memory.Get(), kLeft, 0, wide.c_str(), static_cast<int>(wide.size()));
  for (int x = kInkArea - 1; x >= 0; --x)
    for (int y = 0; y < kInkArea / 10; ++y)
      if (GetPixel(memory.Get(), x, y) != RGB(255, 255, 255)) return x + 1 - kLeft;
  return 0;
}

// The pixels of one character drawn black on white in `font`.
std::vector<COLORREF> Drawn(HFONT font, const std::wstring& character) {
  constexpr int kSize = 32;
  TWindowDC screen(nullptr);
  TMemoryDC memory(CreateCompatibleDC(screen.Get()));
  TBitmapHandle bitmap(CreateCompatibleBitmap(screen.Get(), kSize, kSize));
  TSelectGuard selectBitmap(memory.Get(), bitmap.Get());
  TSelectGuard selectFont(memory.Get(), font);
  const RECT all{0, 0, kSize, kSize};
  FillRect(memory.Get(), &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
  SetTextColor(memory.Get(), RGB(0, 0, 0));
  SetBkMode(memory.Get(), TRANSPARENT);
  TextOutW(memory.Get(), 2, 2, character.c_str(), static_cast<int>(character.size()));
  std::vector<COLORREF> pixels;
  for (int y = 0; y < kSize; ++y)
    for (int x = 0; x < kSize; ++x) pixels.push_back(GetPixel(memory.Get(), x, y));
  return pixels;
}

class TextFitTest : public ::testing::Test {
protected:
  void SetUp() override { Main = ShowMainWindow(); }
  void TearDown() override { CloseMainWindow(Main); }
  TMain* Main = nullptr;
};

TEST_F(TextFitTest, AutoSizedLabelsEndBeforeTheControlBesideThem) {
  struct TCase {
    TLabel* Label;
    TControl* Neighbour;
  };
  const TCase cases[] = {
      {Main->Label1, Main->Enclocation}, {Main->Label2, Main->Label3},  {Main->Label4, Main->Bitratebox},
      {Main->Label8, Main->Email},       {Main->Label9, Main->Label10},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Label->Caption());
    ASSERT_TRUE(c.Label->AutoSize());
    ASSERT_EQ(c.Label->Parent(), c.Neighbour->Parent());
    const int width = TextWidth(*c.Label, c.Label->Caption());
    EXPECT_EQ(c.Label->Width(), width) << "the label is as wide as its text";
    EXPECT_LE(c.Label->Left() + width, c.Neighbour->Left())
        << "text ends at " << c.Label->Left() + width << ", the neighbour starts at " << c.Neighbour->Left();
    EXPECT_LE(InkRight(c.Label->Font().Handle(), c.Label->Caption()), width) << "the last glyph would be cut off";
  }
  // The group boxes cut their captions into the frame at the measured width.
  for (TGroupBox* group : {Main->Settingsenc, Main->GroupBox1, Main->GroupBox2, Main->GroupBox3}) {
    SCOPED_TRACE(group->Caption());
    EXPECT_LE(InkRight(group->Font().Handle(), group->Caption()), TextWidth(*group, group->Caption()));
  }
  // The check box's text runs from its box to its right edge.
  const int boxAndGap = GetSystemMetrics(SM_CXMENUCHECK) + GetSystemMetrics(SM_CXEDGE);
  EXPECT_LE(boxAndGap + TextWidth(*Main->Powerdownbox, Main->Powerdownbox->Caption()), Main->Powerdownbox->Width());
}

// A character no font has is drawn as the font's empty box; a letter drawn like it is a box too.
TEST_F(TextFitTest, FileNamesInOtherScriptsAreDrawnAsLetters) {
  struct TCase {
    const char* Name;
    std::wstring Character;
  };
  const TCase cases[] = {
      {"Japanese kanji", L"\x97F3"}, {"Japanese kana", L"\x3042"}, {"Korean", L"\xD55C"}, {"Greek", L"\x03A9"}};
  const HFONT listFont = Main->ListView1->Font().Handle();
  const std::vector<COLORREF> box = Drawn(listFont, L"\x0378"); // unassigned
  const std::vector<COLORREF> blank = Drawn(listFont, L" ");
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    const std::vector<COLORREF> drawn = Drawn(listFont, c.Character);
    EXPECT_NE(drawn, box);
    EXPECT_NE(drawn, blank);
  }
}

} // namespace
