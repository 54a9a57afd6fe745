// The main window as the user first sees it: its frame, the place of every control, the hints, the links,
// the menu and dialogs, the error box, and that opening and closing it leaks no GDI object.
#include "Exception.h"
#include "HintWindow.h"
#include "Main.h"
#include "MainWindowFixture.h"
#include "QsTest.h"
#include "QuillStackApp.h"

#include <memory>

using namespace qs;
using namespace qs::test;

namespace {

class MainWindow : public ::testing::Test {
protected:
  void SetUp() override { Main = ShowMainWindow(); }
  void TearDown() override { CloseMainWindow(Main); }

  TControl* Find(const std::string& name) const { return dynamic_cast<TControl*>(Main->FindComponent(name)); }

  TMain* Main = nullptr;
};

TEST_F(MainWindow, OpensCentredAtItsFixedClientSizeWithTheFilesPageInFront) {
  HWND wnd = Main->Handle();
  RECT client{}, frame{};
  GetClientRect(wnd, &client);
  GetWindowRect(wnd, &frame);
  EXPECT_EQ(client.right, 482);
  EXPECT_EQ(client.bottom, 313);
  const int screenW = GetSystemMetrics(SM_CXSCREEN), screenH = GetSystemMetrics(SM_CYSCREEN);
  EXPECT_NEAR((frame.left + frame.right) / 2, screenW / 2, 1);
  EXPECT_NEAR((frame.top + frame.bottom) / 2, screenH / 2, 1);

  const LONG_PTR style = GetWindowLongPtrW(wnd, GWL_STYLE);
  EXPECT_FALSE(style & WS_THICKFRAME) << "the window must not be resizable";
  EXPECT_FALSE(style & WS_MAXIMIZEBOX);
  EXPECT_TRUE(style & WS_MINIMIZEBOX);
  EXPECT_TRUE(style & WS_SYSMENU);

  wchar_t caption[64]{};
  GetWindowTextW(wnd, caption, 64);
  EXPECT_STREQ(caption, L"QuillStack V3");
  EXPECT_EQ(Main->PageControl1->ActivePage(), Main->Encodetab);
  EXPECT_TRUE(Main->Encodetab->Showing());
  EXPECT_FALSE(Main->Settingstab->Showing());
  EXPECT_FALSE(Main->Encode->Enabled());
  EXPECT_EQ(Application->Title(), "QuillStack v3");
}

struct TPlace {
  const char* Name;
  const char* Parent;
  int Left, Top, Width, Height; // -1: left to the control (auto-sized labels)
};

// Where every control of the window belongs, as Left, Top, Width x Height within its parent, once the program
// runs: the empty side docks take no room, so the list fills the page below the top dock.
const TPlace Layout[] = {
    {"PageControl1", "Main", 0, 0, 481, 313},
    {"Dock971", "Encodetab", 0, 0, 473, 26},
    {"Dock972", "Encodetab", 0, 26, 0, 259},
    {"Dock973", "Encodetab", 473, 26, 0, 259},
    {"ListView1", "Encodetab", 0, 26, 473, 259},
    {"Toolbar971", "Dock971", 0, 0, 473, 26},
    {"MediaPlayer1", "Encodetab", 216, 216, 253, 30},
    {"Newbutton", "Toolbar971", 0, 0, 23, 22},
    {"ToolbarButton972", "Toolbar971", 23, 0, 23, 22},
    {"ToolbarSep971", "Toolbar971", 46, 0, 6, 22},
    {"Deletebutton", "Toolbar971", 52, 0, 23, 22},
    {"ToolbarSep974", "Toolbar971", 75, 0, 6, 22},
    {"ToolbarButton973", "Toolbar971", 81, 0, 23, 22},
    {"ToolbarButton974", "Toolbar971", 104, 0, 23, 22},
    {"ToolbarSep972", "Toolbar971", 127, 0, 6, 22},
    {"Encode", "Toolbar971", 133, 0, 73, 22},
    {"ToolbarSep973", "Toolbar971", 206, 0, 6, 22},
    {"Settingsenc", "Settingstab", 8, 8, 465, 57},
    {"Label1", "Settingsenc", 16, 24, -1, -1},
    {"Enclocation", "Settingsenc", 80, 24, 289, 17},
    {"ChangeEnc", "Settingsenc", 360, 16, 97, 33},
    {"GroupBox1", "Settingstab", 8, 72, 465, 57},
    {"Label2", "GroupBox1", 8, 24, -1, -1},
    {"Label3", "GroupBox1", 120, 24, 249, 13},
    {"ChangeSave", "GroupBox1", 360, 16, 97, 33},
    {"GroupBox2", "Settingstab", 8, 136, 465, 57},
    {"Label4", "GroupBox2", 8, 24, -1, -1},
    {"Bitratebox", "GroupBox2", 120, 24, 121, 21},
    {"Resetbutton", "GroupBox2", 360, 16, 97, 33},
    {"GroupBox3", "Settingstab", 8, 200, 465, 57},
    {"Powerdownbox", "GroupBox3", 8, 24, 441, 17},
    {"Logo", "Abouttab", 56, 16, 369, 57},
    {"Label5", "Abouttab", 144, 80, 178, 16},
    {"Label6", "Abouttab", 32, 144, 433, 41},
    {"Label8", "Abouttab", 128, 200, -1, -1},
    {"Email", "Abouttab", 168, 200, -1, -1},
    {"Label9", "Abouttab", 112, 224, -1, -1},
    {"Label10", "Abouttab", 168, 224, -1, -1},
};

TEST_F(MainWindow, EveryControlStandsAtItsPlaceInItsParent) {
  for (const TPlace& place : Layout) {
    SCOPED_TRACE(place.Name);
    TControl* control = Find(place.Name);
    ASSERT_NE(control, nullptr);
    ASSERT_NE(control->Parent(), nullptr);
    EXPECT_EQ(control->Parent()->Name(), place.Parent);
    EXPECT_EQ(control->Left(), place.Left);
    if (place.Top >= 0) {
      EXPECT_EQ(control->Top(), place.Top);
    }
    if (place.Width >= 0) {
      EXPECT_EQ(control->Width(), place.Width);
    }
    if (place.Height >= 0) {
      EXPECT_EQ(control->Height(), place.Height);
    }
    // Windowed controls: the window itself must be where the control says it is.
    if (auto* win = dynamic_cast<TWinControl*>(control); win && win->HandleAllocated()) {
      RECT r{};
      GetWindowRect(win->HandleIfAllocated(), &r);
      MapWindowPoints(nullptr, GetParent(win->HandleIfAllocated()), reinterpret_cast<POINT*>(&r), 2);
      EXPECT_EQ(r.left, control->Left());
      EXPECT_EQ(r.top, control->Top());
      EXPECT_EQ(r.right - r.left, control->Width());
    }
  }
}

TEST_F(MainWindow, PagesCaptionsAndSettingsDefaults) {
  ASSERT_EQ(Main->PageControl1->PageCount(), 3);
  EXPECT_EQ(Main->PageControl1->Pages(0)->Caption(), "Files to encode");
  EXPECT_EQ(Main->PageControl1->Pages(1)->Caption(), "Settings");
  EXPECT_EQ(Main->PageControl1->Pages(2)->Caption(), "About");
  EXPECT_EQ(Main->Enclocation->Caption(), "Unknown");
  EXPECT_EQ(Main->Label3->Caption(), "c:\\");
  EXPECT_EQ(Main->Bitratebox->Text(), "128000");
  EXPECT_EQ(Main->Bitratebox->Items().size(), 14u);
  EXPECT_FALSE(Main->Powerdownbox->Checked());
  EXPECT_EQ(Main->ListView1->Count(), 0);
  EXPECT_FALSE(Find("MediaPlayer1")->Visible());
}

TEST_F(MainWindow, ListHintIsShownOnPureGreenAfterHalfASecond) {
  EXPECT_TRUE(Application->ShowHint());
  EXPECT_EQ(Application->HintPause(), 500);
  EXPECT_EQ(Application->HintColor(), 0x00FF00);

  const POINT centre = Main->ListView1->ClientToScreen(POINT{100, 100});
  SetCursorPos(centre.x, centre.y);
  Application->ActivateHint(centre);
  THintWindow* hint = Application->HintWindow();
  ASSERT_NE(hint, nullptr);
  ASSERT_TRUE(hint->IsShowing());
  EXPECT_EQ(hint->Caption(), "Right Click to add files");

  // Render the hint as it paints itself and probe a pixel clear of the text and border.
  RECT r = hint->ClientRect();
  HDC screen = GetDC(nullptr);
  TMemoryDC memory(screen);
  TBitmapHandle bitmap(CreateCompatibleBitmap(screen, r.right, r.bottom));
  ReleaseDC(nullptr, screen);
  {
    TSelectGuard select(memory.Get(), bitmap.Get());
    hint->PaintTo(memory.Get(), r);
    EXPECT_EQ(GetPixel(memory.Get(), 1, r.bottom - 2), RGB(0, 255, 0));
  }
  Application->CancelHint();
  EXPECT_FALSE(hint->IsShowing());
}

TEST_F(MainWindow, LinksGoToTheShellWithTheVerbOpen) {
  Main->PageControl1->SetActivePage(Main->Abouttab);
  PumpMessages();
  // A real click on the e-mail label: the tab sheet routes it to the windowless label.
  HWND sheet = Main->Abouttab->Handle();
  const LPARAM at = MAKELPARAM(Main->Email->Left() + 2, Main->Email->Top() + 2);
  SendMessageW(sheet, WM_LBUTTONDOWN, MK_LBUTTON, at);
  SendMessageW(sheet, WM_LBUTTONUP, 0, at);
  Main->Label10->Click();
  ASSERT_EQ(Seams().ShellCalls.size(), 2u);
  EXPECT_EQ(Seams().ShellCalls[0].Verb, "open");
  EXPECT_EQ(Seams().ShellCalls[0].File, "mailto:quillstack@example.com?subject=QuillStack");
  EXPECT_EQ(Seams().ShellCalls[1].Verb, "open");
  EXPECT_EQ(Seams().ShellCalls[1].File, TMain::WebPage);
  EXPECT_EQ(Main->Email->Cursor(), IDC_CROSS);
  EXPECT_EQ(Main->Email->Hint(), "Click to email");
  EXPECT_EQ(Main->Label10->Hint(), "Click to visit");
}

TEST_F(MainWindow, RightClickMenuHasItsItemsInOrder) {
  ASSERT_EQ(Main->ListView1->PopupMenu(), Main->PopupMenu1);
  const char* expected[] = {"Add", "Delete", "-", "Play", "Stop", "-", "Clear"};
  TMenuItem* items = Main->PopupMenu1->Items();
  ASSERT_EQ(items->Count(), 7);
  for (int i = 0; i < 7; ++i) EXPECT_EQ(items->Items(i)->Caption(), expected[i]) << "item " << i;
}

TEST_F(MainWindow, DialogsAreConfiguredForTheirJobs) {
  struct TCase {
    TFileDialog* Dialog;
    const char* Title;
    const char* Pattern;
    unsigned Options;
    const char* FileName;
  } cases[] = {
      {Main->OpenDialog1, "Please select files to convert", "*.wav", ofHideReadOnly | ofAllowMultiSelect, ""},
      {Main->Encodedir, "Please select the encoder batch file", "encode.bat", ofHideReadOnly, ""},
      {Main->SaveDialog1, "Please select the directory to save in", "Example.aac", ofHideReadOnly, "example.aac"},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Title);
    EXPECT_EQ(c.Dialog->Title(), c.Title);
    ASSERT_EQ(c.Dialog->Filter().size(), 1u);
    EXPECT_EQ(c.Dialog->Filter()[0].second, c.Pattern);
    EXPECT_EQ(c.Dialog->Options(), c.Options);
    EXPECT_EQ(c.Dialog->FileName(), c.FileName);
    EXPECT_EQ(c.Dialog->InitialDir(), "");
  }
  EXPECT_EQ(Main->SaveDialog1->Kind(), TFileDialog::TKind::Save);
}

TEST_F(MainWindow, AnErrorLeavingAHandlerIsShownAndTheProgramGoesOn) {
  Main->Resetbutton->OnClick = [](TComponent*) { throw Exception("Something went wrong"); };
  Main->PageControl1->SetActivePage(Main->Settingstab);
  SendMessageW(Main->Resetbutton->Handle(), BM_CLICK, 0, 0);
  PumpMessages();
  ASSERT_EQ(Seams().MessageBoxes.size(), 1u);
  EXPECT_EQ(Seams().MessageBoxes[0].Text, "Something went wrong.");
  EXPECT_EQ(Seams().MessageBoxes[0].Caption, "QuillStack v3");
  EXPECT_EQ(Seams().MessageBoxes[0].Type & MB_ICONMASK, static_cast<UINT>(MB_ICONSTOP));
  // The next message is handled as usual.
  Main->PageControl1->SetActivePage(Main->Abouttab);
  PumpMessages();
  Main->Label10->Click();
  EXPECT_EQ(Seams().ShellCalls.size(), 1u);
}

TEST(MainWindowStartUp, AnErrorInTheCreationEventIsReportedAndTheWindowStillOpens) {
  InitializeApplication(*Application);
  auto main = std::make_unique<TMain>(Application);
  main->OnCreate = [](TComponent*) { throw Exception("Invalid data type for 'Bitrate'"); };
  main->AfterConstruction();
  main->Show();
  PumpMessages();
  ASSERT_EQ(Seams().MessageBoxes.size(), 1u);
  EXPECT_EQ(Seams().MessageBoxes[0].Text, "Invalid data type for 'Bitrate'.");
  EXPECT_TRUE(IsWindowVisible(main->Handle()));
}

TEST(MainWindowStartUp, OpeningAndClosingTheWindowLeaksNoGdiObject) {
  InitializeApplication(*Application);
  // One round first: fonts and brushes cached for the process's life are made here, not counted as leaks.
  delete new TMain(Application);
  const long before = TGdiCounter::Live();
  for (int round = 0; round < 3; ++round) {
    auto* main = new TMain(Application);
    main->AfterConstruction();
    main->Show();
    main->PageControl1->SetActivePage(main->Settingstab);
    main->PageControl1->SetActivePage(main->Abouttab);
    PumpMessages();
    delete main;
    PumpMessages();
  }
  EXPECT_EQ(TGdiCounter::Live(), before);
}

TEST(MainWindowStartUp, MainIconHoldsThreeSizesOf256Colours) {
#pragma pack(push, 2)
  struct TGroupIconEntry {
    BYTE Width, Height, ColorCount, Reserved;
    WORD Planes, BitCount;
    DWORD BytesInRes;
    WORD Id;
  };
  struct TGroupIconHeader {
    WORD Reserved, Type, Count;
  };
#pragma pack(pop)
  HRSRC res = FindResourceW(nullptr, L"MAINICON", RT_GROUP_ICON);
  ASSERT_NE(res, nullptr);
  auto* header = static_cast<const TGroupIconHeader*>(LockResource(LoadResource(nullptr, res)));
  ASSERT_EQ(header->Count, 3);
  auto* entries = reinterpret_cast<const TGroupIconEntry*>(header + 1);
  std::vector<int> sizes;
  for (int i = 0; i < header->Count; ++i) {
    sizes.push_back(entries[i].Width);
    EXPECT_EQ(entries[i].BitCount, 8) << "icon " << int(entries[i].Width);
  }
  std::sort(sizes.begin(), sizes.end());
  EXPECT_EQ(sizes, (std::vector<int>{16, 32, 48}));
}

} // namespace
