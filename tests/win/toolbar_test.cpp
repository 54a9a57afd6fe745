// The toolbar on real windows: the main window's toolbar laid out docked at the top and at the side, the sizes
// of an empty toolbar, the floating margins, a wrapped floating toolbar with its separator and row line, the
// separator's lines and its press that drags the toolbar, hidden children, and the floating resize snapping to
// the toolbar's layouts.
#include "Main.h"
#include "MainWindowFixture.h"
#include "ToolbarTestKit.h"

#include <algorithm>
#include <optional>
#include <string>
#include <vector>

using namespace qs;
using namespace qs::test;

namespace {

// What a custom control paints (itself and its windowless children), read back from a memory bitmap.
class TPixels {
public:
  explicit TPixels(TCustomControl& control) {
    const RECT client = control.ClientRect();
    TWindowDC screen(nullptr);
    FBitmap.Reset(CreateCompatibleBitmap(screen.Get(), std::max(1L, client.right), std::max(1L, client.bottom)));
    FSelect.emplace(FDC.Get(), FBitmap.Get());
    control.PaintTo(FDC.Get(), client);
  }
  COLORREF At(int x, int y) const { return GetPixel(FDC.Get(), x, y); }

private:
  TMemoryDC FDC{nullptr};
  TBitmapHandle FBitmap;
  std::optional<TSelectGuard> FSelect;
};

// ---- the main window's toolbar

class MainToolbar : public ::testing::Test {
protected:
  void SetUp() override { Main = ShowMainWindow(); }
  void TearDown() override { CloseMainWindow(Main); }
  std::vector<TControl*> Items() const {
    return {Main->Newbutton,     Main->ToolbarButton972, Main->ToolbarSep971,    Main->Deletebutton,
            Main->ToolbarSep974, Main->ToolbarButton973, Main->ToolbarButton974, Main->ToolbarSep972,
            Main->Encode,        Main->ToolbarSep973};
  }
  TMain* Main = nullptr;
};

TEST_F(MainToolbar, DockedAtTheTopItLaysOutInOneLineAndNeeds212By22) {
  const int lefts[] = {0, 23, 46, 52, 75, 81, 104, 127, 133, 206};
  const std::vector<TControl*> items = Items();
  for (size_t i = 0; i < items.size(); ++i) {
    SCOPED_TRACE(items[i]->Name());
    EXPECT_EQ(items[i]->Left(), lefts[i]);
    EXPECT_EQ(items[i]->Top(), 0);
  }
  TIntSize size;
  Main->Toolbar971->LayoutChildren(false, doHorizontal, size, Main->Dock971);
  EXPECT_EQ(size, (TIntSize{212, 22}));
}

TEST_F(MainToolbar, DockedAtTheSideTheItemsStackAndButtonsAreCentredAcrossTheRow) {
  for (TDock97* side : {Main->Dock972, Main->Dock973}) {
    SCOPED_TRACE(side->Name());
    Main->Toolbar971->SetDockedTo(side);
    PumpMessages();
    // The row is as thick as the widest button, Encode's 73: 23-wide buttons sit (73 - 23) / 2 = 25 in.
    struct TExpected {
      int Left, Top, Width, Height;
    };
    const TExpected expected[] = {{25, 0, 23, 22},  {25, 22, 23, 22}, {0, 44, 73, 6},    {25, 50, 23, 22},
                                  {0, 72, 73, 6},   {25, 78, 23, 22}, {25, 100, 23, 22}, {0, 122, 73, 6},
                                  {0, 128, 73, 22}, {0, 150, 73, 6}};
    const std::vector<TControl*> items = Items();
    for (size_t i = 0; i < items.size(); ++i) {
      SCOPED_TRACE(items[i]->Name());
      EXPECT_EQ(items[i]->BoundsRect(),
                Bounds(expected[i].Left, expected[i].Top, expected[i].Width, expected[i].Height));
    }
    EXPECT_EQ(side->Width(), 73 + 4);
    EXPECT_EQ(Main->Dock971->Height(), 0);
  }
}

// ---- layouts of a toolbar of blocks

class Toolbars : public DockedFormTest {};

TEST_F(Toolbars, AnEmptyToolbarIs8By8DockedAnd16By11Floating) {
  ShowForm();
  EXPECT_EQ(Toolbar->ClientRect(), (RECT{0, 0, 8, 8}));
  Toolbar->SetFloatingPosition(POINT{300, 300});
  Toolbar->SetDockedTo(nullptr);
  PumpMessages();
  RECT client{};
  GetClientRect(Toolbar->Handle(), &client);
  EXPECT_EQ(client, (RECT{0, 0, 16, 11}));
}

TEST_F(Toolbars, FloatingInOneRowTheItemsKeepTheFloatingMargins) {
  TBlock* first = AddBlock();
  AddSeparator();
  TBlock* last = AddBlock();
  ShowForm();
  Toolbar->SetFloatingPosition(POINT{300, 300});
  Toolbar->SetDockedTo(nullptr);
  PumpMessages();
  EXPECT_EQ(first->BoundsRect(), Bounds(4, 2, 23, 22));
  EXPECT_EQ(last->BoundsRect(), Bounds(4 + 23 + 6, 2, 23, 22));
  EXPECT_EQ(Toolbar->ClientRect(), (RECT{0, 0, 4 + 23 + 6 + 23 + 4, 2 + 22 + 1}));
}

TEST_F(Toolbars, WrappedAtASeparatorTheNextRowStartsLowerBelowAnEtchedLine) {
  TBlock* a = AddBlock();
  TToolbarSep97* sep = AddSeparator();
  TBlock* b = AddBlock();
  ShowForm();
  Toolbar->SetFloatingPosition(POINT{300, 300});
  Toolbar->SetDockedTo(nullptr);
  Toolbar->SetFloatRightX(40); // room for one block and the margins
  PumpMessages();
  EXPECT_EQ(a->BoundsRect(), Bounds(4, 2, 23, 22));
  EXPECT_EQ(sep->Width(), 0) << "the separator ending the row takes no room";
  const int secondRow = 2 + 22 + 6;
  EXPECT_EQ(b->BoundsRect(), Bounds(4, secondRow, 23, 22));
  {
    TPixels pixels(*Toolbar);
    EXPECT_EQ(pixels.At(10, secondRow - 4), GetSysColor(COLOR_BTNSHADOW));
    EXPECT_EQ(pixels.At(10, secondRow - 3), GetSysColor(COLOR_BTNHIGHLIGHT));
    EXPECT_EQ(pixels.At(0, secondRow - 4), GetSysColor(COLOR_BTNFACE)) << "the line starts at x = 1";
  }
  sep->SetBlank(true);
  Toolbar->ArrangeAndResize();
  TPixels blank(*Toolbar);
  EXPECT_EQ(blank.At(10, secondRow - 4), GetSysColor(COLOR_BTNFACE)) << "a blank separator draws no row line";
}

TEST_F(Toolbars, AHiddenChildLeavesTheLayoutAndComesBackInItsPlace) {
  TBlock* a = AddBlock();
  TBlock* b = AddBlock();
  TBlock* c = AddBlock();
  ShowForm();
  b->Hide();
  PumpMessages();
  EXPECT_EQ(c->Left(), 23);
  EXPECT_EQ(Toolbar->ClientRect().right, 46);
  b->Show();
  PumpMessages();
  EXPECT_EQ(a->Left(), 0);
  EXPECT_EQ(b->Left(), 23);
  EXPECT_EQ(c->Left(), 46);
}

TEST_F(Toolbars, ASeparatorDrawsItsLinesJustLeftOfItsMiddle) {
  ShowForm();
  for (int width : {6, 7}) {
    SCOPED_TRACE(width);
    TToolbarSep97 sep(nullptr);
    sep.SetParent(Toolbar);
    sep.SetSizeHorz(width);
    ASSERT_EQ(sep.Width(), width);
    TWindowDC screen(nullptr);
    TMemoryDC dc(screen.Get());
    TBitmapHandle bitmap(CreateCompatibleBitmap(screen.Get(), width, 22));
    TSelectGuard select(dc.Get(), bitmap.Get());
    RECT all{0, 0, width, 22};
    FillRect(dc.Get(), &all, GetSysColorBrush(COLOR_BTNFACE));
    sep.PaintControl(dc.Get());
    EXPECT_EQ(GetPixel(dc.Get(), 2, 4), GetSysColor(COLOR_BTNSHADOW));
    EXPECT_EQ(GetPixel(dc.Get(), 3, 4), GetSysColor(COLOR_BTNHIGHLIGHT));
    EXPECT_EQ(GetPixel(dc.Get(), 4, 4), GetSysColor(COLOR_BTNFACE));
    sep.SetParent(nullptr);
  }
}

TEST_F(Toolbars, APressOnASeparatorDragsTheWholeToolbar) {
  AddBlock();
  TToolbarSep97* sep = AddSeparator();
  AddBlock();
  ShowForm();
  HWND held = nullptr;
  const POINT onSeparator = sep->ClientToScreen(POINT{2, 10});
  TInputScript script({[&] { MoveTo(onSeparator); }, [] { SendMouse(MOUSEEVENTF_LEFTDOWN); },
                       [&] { held = GetCapture(); },
                       [] {
                         SendKey(VK_ESCAPE, false);
                         SendKey(VK_ESCAPE, true);
                       },
                       [] { SendMouse(MOUSEEVENTF_LEFTUP); }});
  ASSERT_TRUE(script.Run());
  wchar_t heldClass[64] = {};
  GetClassNameW(held, heldClass, 64);
  EXPECT_EQ(held, Toolbar->Handle()) << "the toolbar's drag loop held the mouse, not " << Narrow(heldClass);
  EXPECT_EQ(Toolbar->DockedTo(), Top) << "Escape left it where it was";
}

TEST_F(Toolbars, ResizingTheFloatingToolbarSnapsToItsLayouts) {
  for (int i = 0; i < 4; ++i) {
    AddBlock();
    AddSeparator();
  }
  ShowForm();
  Toolbar->SetFloatingPosition(POINT{200, 300});
  Toolbar->SetDockedTo(nullptr);
  PumpMessages();
  auto candidates = [&] {
    std::vector<TToolbarChild> children;
    for (TControl* c : Toolbar->ChildOrder()) {
      TToolbarChild child;
      child.Shown = c->Visible();
      child.Width = c->Width();
      child.Height = c->Height();
      child.IsSeparator = dynamic_cast<TToolbarSep97*>(c) != nullptr;
      children.push_back(child);
    }
    return BuildSizeCandidates(children, Toolbar->FrameMetrics(), TCustomToolWindow97::CaptionHeight(), false);
  }();
  const RECT before = WindowRectOf(Toolbar);
  const POINT edge = ToolbarWindowPoint(before.right - before.left - 2, (before.bottom - before.top) / 2);
  TInputScript nudge({[&] { MoveTo(edge); }, [] { SendMouse(MOUSEEVENTF_LEFTDOWN); },
                      [&] {
                        MoveTo(POINT{edge.x - 5, edge.y});
                      },
                      [] { SendMouse(MOUSEEVENTF_LEFTUP); }});
  ASSERT_TRUE(nudge.Run());
  EXPECT_EQ(WindowRectOf(Toolbar), before) << "less than the tolerance keeps the size";

  for (int target : {150, 100, 60}) {
    SCOPED_TRACE(target);
    const RECT now = WindowRectOf(Toolbar);
    const POINT from = ToolbarWindowPoint(now.right - now.left - 2, (now.bottom - now.top) / 2);
    TInputScript drag({[&] { MoveTo(from); }, [] { SendMouse(MOUSEEVENTF_LEFTDOWN); },
                       [&] {
                         MoveTo(POINT{now.left + target, from.y});
                       },
                       [] { SendMouse(MOUSEEVENTF_LEFTUP); }});
    ASSERT_TRUE(drag.Run());
    const RECT after = WindowRectOf(Toolbar);
    const TSizeCandidate size{static_cast<std::int16_t>(after.right - after.left),
                              static_cast<std::int16_t>(after.bottom - after.top)};
    EXPECT_NE(std::find(candidates.begin(), candidates.end(), size), candidates.end())
        << "left at " << size.Width << " x " << size.Height;
  }
  EXPECT_LT(WindowRectOf(Toolbar).right - WindowRectOf(Toolbar).left, before.right - before.left)
      << "dragging the edge in made it narrower";
}

} // namespace
