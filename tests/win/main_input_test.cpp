// The queue's commands reached the way the user reaches them, through real input and the message loop: the items
// of the list's right-click menu, chosen with the keyboard while the menu runs its own loop, and a double click
// on a row.
#include "InputKit.h"
#include "MPlayer.h"
#include "MainWindowFixture.h"
#include "Timer.h"

#include <windows.h>

#include <commctrl.h>

#include <functional>
#include <string>
#include <vector>

using namespace qs;
using namespace qs::test;

namespace {

constexpr unsigned kMenuPollMs = 50;
constexpr int kSettleMs = 300;

class MainInputTest : public TMainWindowFixture {
protected:
  void SetUp() override {
    OpenMain();
    A = Files.WriteFile("a.wav", SilentWave());
    B = Files.WriteFile("b.wav", SilentWave());
  }

  // Puts the pointer over a row of the list, with the main window in the foreground.
  void PointAtRow(int row) {
    SetForegroundWindow(Main->Handle());
    PumpMessages();
    RECT bounds{LVIR_BOUNDS, 0, 0, 0};
    SendMessageW(Main->ListView1->Handle(), LVM_GETITEMRECT, static_cast<WPARAM>(row),
                 reinterpret_cast<LPARAM>(&bounds));
    const POINT p =
        Main->ListView1->ClientToScreen(POINT{(bounds.left + bounds.right) / 2, (bounds.top + bounds.bottom) / 2});
    SetCursorPos(p.x, p.y);
    PumpMessages();
  }

  // Right-clicks the row and, once the menu shows, moves `downs` items down with the arrow key and presses Enter.
  // The menu runs a loop of its own; the keys come from a timer that fires inside it.
  void ChooseFromMenu(int row, int downs) {
    TTimer picker(nullptr);
    picker.SetInterval(kMenuPollMs);
    picker.SetOnTimer([&](TComponent*) {
      if (!ShownMenu()) return;
      picker.SetEnabled(false);
      for (int i = 0; i < downs; ++i) PressKey(VK_DOWN);
      PressKey(VK_RETURN);
    });
    picker.SetEnabled(true);
    PointAtRow(row);
    SendMouse(MOUSEEVENTF_RIGHTDOWN);
    SendMouse(MOUSEEVENTF_RIGHTUP);
    EXPECT_TRUE(PumpUntil([&] { return !picker.Enabled() && !ShownMenu(); })) << "the menu never showed or stayed";
    PumpUntil([] { return false; }, kSettleMs);
  }

  TTempDir Files;
  std::string A, B;
};

// Each item, chosen in the real menu, runs its own handler on the selected row (separators are skipped by the
// arrow key, so the items are 1 to 5 steps down).
TEST_F(MainInputTest, RightClickMenuItemsRunTheirHandlers) {
  struct TCase {
    const char* Name;
    int Downs;
    std::function<void()> Before;
    std::function<void()> Check;
  };
  std::string added;
  const TCase cases[] = {
      {"Add", 1,
       [&] {
         added = Files.WriteFile("c.wav", SilentWave());
         Seams().DialogAnswers.push_back(Choose({added}));
       },
       [&] {
         EXPECT_EQ(Seams().DialogTitles, std::vector<std::string>{"Please select files to convert"});
         EXPECT_EQ(Rows(), (std::vector<std::string>{A, B, added}));
       }},
      {"Delete", 2, [] {}, [&] { EXPECT_EQ(Rows(), std::vector<std::string>{B}); }},
      {"Play", 3, [] {}, [&] { EXPECT_EQ(Main->MediaPlayer1->FileName(), A); }},
      {"Stop", 4, [&] { Click(&TMain::Play1Click); },
       [&] {
         EXPECT_EQ(Main->MediaPlayer1->FileName(), "");
         EXPECT_FALSE(Main->MediaPlayer1->Opened());
       }},
      {"Clear", 5, [] {},
       [&] {
         EXPECT_TRUE(Rows().empty());
         EXPECT_FALSE(Main->Encode->Enabled());
       }},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    Seams().DialogTitles.clear();
    Click(&TMain::Stop1Click);
    Click(&TMain::Clear1Click);
    Main->AppendQueueRows({A, B});
    SelectRows({0});
    c.Before();
    ChooseFromMenu(0, c.Downs);
    c.Check();
    EXPECT_TRUE(Seams().MessageBoxes.empty());
  }
}

TEST_F(MainInputTest, DoubleClickOnARowPlaysIt) {
  Main->AppendQueueRows({A, B});
  PointAtRow(1);
  for (int i = 0; i < 2; ++i) {
    SendMouse(MOUSEEVENTF_LEFTDOWN);
    SendMouse(MOUSEEVENTF_LEFTUP);
  }
  EXPECT_TRUE(PumpUntil([&] { return Main->MediaPlayer1->FileName() == B; }));
  EXPECT_TRUE(Main->MediaPlayer1->Opened());
  EXPECT_TRUE(Main->ListView1->Selected(1));
  EXPECT_TRUE(Seams().MessageBoxes.empty());
  Click(&TMain::Stop1Click);
}

} // namespace
