// Text as the user sees it, measured with the fonts the Wine prefixes provide (scripts/wine-fonts.sh): every label
// that sizes itself to its text ends before the control beside it, and file names in Japanese, Korean and Greek
// are drawn as their letters, not as boxes, in the queue's list and in the report's.
#include "Handles.h"
#include "MainWindowFixture.h"
#include "Memo.h"
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

// The pixels of `text` as a memo (the report's list, an edit control, which lays text out its own way) shows it.
std::vector<COLORREF> ShownInMemo(const std::wstring& text) {
  constexpr int kSize = 40;
  TForm form(nullptr);
  form.SetBorderStyle(TFormBorderStyle::bsNone);
  form.SetBounds(0, 0, kSize * 2, kSize);
  auto* memo = new TMemo(&form);
  memo->SetBounds(0, 0, kSize * 2, kSize);
  memo->SetParent(&form);
  memo->SetText(Narrow(text));
  form.Show();
  UpdateWindow(memo->Handle());
  PumpMessages();
  HDC dc = GetDC(memo->Handle());
  std::vector<COLORREF> pixels;
  for (int y = 0; y < kSize; ++y)
    for (int x = 0; x < kSize * 2; ++x) pixels.push_back(GetPixel(dc, x, y));
  ReleaseDC(memo->Handle(), dc);
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

// Two different letters of one script drawn alike are two empty boxes: no font provided either of them.
TEST_F(TextFitTest, FileNamesInOtherScriptsAreDrawnAsLetters) {
  struct TCase {
    const char* Name;
    std::wstring First, Second;
  };
  const TCase cases[] = {{"Japanese kanji", L"\x97F3", L"\x697D"},
                         {"Japanese kana", L"\x3042", L"\x30C6"},
                         {"Korean", L"\xD55C", L"\xAD6D"},
                         {"Greek", L"\x03A9", L"\x03BB"}};
  const HFONT listFont = Main->ListView1->Font().Handle();
  const std::vector<COLORREF> blankInList = Drawn(listFont, L" ");
  const std::vector<COLORREF> blankInMemo = ShownInMemo(L" ");
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    const std::vector<COLORREF> first = Drawn(listFont, c.First);
    EXPECT_NE(first, Drawn(listFont, c.Second)) << "boxes in the list";
    EXPECT_NE(first, blankInList) << "nothing drawn in the list";
    const std::vector<COLORREF> firstInMemo = ShownInMemo(c.First);
    EXPECT_NE(firstInMemo, ShownInMemo(c.Second)) << "boxes in the report";
    EXPECT_NE(firstInMemo, blankInMemo) << "nothing drawn in the report";
  }
}

} // namespace
