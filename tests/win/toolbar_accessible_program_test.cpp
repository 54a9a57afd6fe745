// The main window's toolbar as a screen reader or an automation tool sees it from a process of its own: the real
// QuillStack.exe runs, the test client accprobe (tests/tools) asks the toolbar's window for its accessible object,
// so that the object crosses into the client's process, and what the client lists is checked against where the
// toolbar shows its buttons: docked at the top, then dragged with the mouse into the left dock and out to float.
// Pressing "Add file" from there opens the program's real Add dialog; the disabled Encode refuses. What a press
// does inside the program (the seams, the click's effects) is toolbar_accessible_test.
#include "ProgramProcess.h"
#include "QsTest.h"
#include "SettingsKey.h"
#include "ToolbarTestKit.h"

#include <windows.h>

#include <oleacc.h>

#include <map>
#include <sstream>
#include <string>
#include <vector>

using namespace qs;
using namespace qs::test;

namespace {

constexpr int kWindowTimeoutMs = 30000;
constexpr int kToolTimeoutMs = 60000;
constexpr int kInputStepMs = 100;
constexpr char kAddDialogTitle[] = "Please select files to convert";

// The toolbar's items as the main window builds them: where each starts along a horizontal line of items and
// along a vertical one (buttons are 22 high), and its width.
struct TItem {
  const char* Name;
  long Role;
  const char* Description;
  int Along;
  int AlongVertical;
  int Width;
};
constexpr long kButton = ROLE_SYSTEM_PUSHBUTTON;
constexpr long kSeparator = ROLE_SYSTEM_SEPARATOR;
const TItem kItems[] = {
    {"Clear list", kButton, "Clear list", 0, 0, 23},
    {"Add file", kButton, "Add file", 23, 22, 23},
    {"", kSeparator, "", 46, 44, 6},
    {"Delete", kButton, "Delete", 52, 50, 23},
    {"", kSeparator, "", 75, 72, 6},
    {"Play", kButton, "Play", 81, 78, 23},
    {"Stop", kButton, "Stop", 104, 100, 23},
    {"", kSeparator, "", 127, 122, 6},
    {"Encode", kButton, "Click to encode", 133, 128, 73},
    {"", kSeparator, "", 206, 150, 6},
};
constexpr int kItemHeight = 22;
// Docked at the side the row is as thick as the widest item, Encode; the others are centred across it.
constexpr int kSideRowThickness = 73;
// Floating, the line of items keeps this margin from the client area's left and top edges.
constexpr POINT kFloatingMargin{4, 2};

enum class TPlace { tpTop, tpLeft, tpFloating };

// Where the client should find an item, from the toolbar's client origin on screen.
RECT ExpectedRect(const TItem& item, TPlace place, POINT origin) {
  const bool separator = item.Role == kSeparator;
  RECT r{};
  switch (place) {
  case TPlace::tpTop: r = RECT{item.Along, 0, item.Along + item.Width, kItemHeight}; break;
  case TPlace::tpLeft:
    r = separator ? RECT{0, item.AlongVertical, kSideRowThickness, item.AlongVertical + item.Width}
                  : RECT{(kSideRowThickness - item.Width) / 2, item.AlongVertical, (kSideRowThickness + item.Width) / 2,
                         item.AlongVertical + kItemHeight};
    break;
  case TPlace::tpFloating:
    r = RECT{kFloatingMargin.x + item.Along, kFloatingMargin.y, kFloatingMargin.x + item.Along + item.Width,
             kFloatingMargin.y + kItemHeight};
    break;
  }
  OffsetRect(&r, origin.x, origin.y);
  return r;
}

RECT ParseLocation(const std::string& text) {
  std::istringstream in(text);
  long left = 0, top = 0, width = 0, height = 0;
  in >> left >> top >> width >> height;
  return RECT{left, top, left + width, top + height};
}

// One line of the client's listing: its fields by name, "kind" and (for a child) "id" included.
using TListed = std::map<std::string, std::string>;

std::vector<TListed> ParseListing(const std::string& output) {
  std::vector<TListed> lines;
  std::istringstream in(output);
  std::string line;
  while (std::getline(in, line)) {
    TListed fields;
    std::istringstream parts(line);
    std::string part;
    for (int i = 0; std::getline(parts, part, '\t'); ++i) {
      const size_t equals = part.find('=');
      if (i == 0) fields["kind"] = part;
      else if (equals == std::string::npos) fields["id"] = part;
      else fields[part.substr(0, equals)] = part.substr(equals + 1);
    }
    lines.push_back(fields);
  }
  return lines;
}

std::string Hex(HWND window) {
  char text[32];
  std::snprintf(text, sizeof(text), "%llx", static_cast<unsigned long long>(reinterpret_cast<UINT_PTR>(window)));
  return text;
}

RECT ClientOnScreen(HWND window) {
  RECT r{};
  GetClientRect(window, &r);
  MapWindowPoints(window, nullptr, reinterpret_cast<POINT*>(&r), 2);
  return r;
}

class ProgramToolbarAccessible : public ::testing::Test {
protected:
  void SetUp() override {
    ParkPointer();
    ASSERT_TRUE(Program.Started());
    ASSERT_TRUE(Poll(
        [&] {
          return (Main = FindTopLevel(Program.Id(),
                                      [](HWND w) { return ClassOf(w) == "QsForm" && TitleOf(w) == "QuillStack V3"; }));
        },
        kWindowTimeoutMs));
    SetForegroundWindow(Main);
    ASSERT_TRUE(Poll([&] { return Toolbar(TPlace::tpTop); }, kWindowTimeoutMs));
  }
  void TearDown() override { ParkPointer(); }

  // Far from every window, so that no button is hot.
  static void ParkPointer() { SetCursorPos(GetSystemMetrics(SM_CXSCREEN) - 1, GetSystemMetrics(SM_CYSCREEN) - 1); }

  // The toolbar's window once it shows in `place`, or null.
  HWND Toolbar(TPlace place) const {
    const auto isToolbar = [](HWND w) { return ClassOf(w) == "QsToolWindow97" && IsWindowVisible(w); };
    if (place == TPlace::tpFloating) return FindTopLevel(Program.Id(), isToolbar);
    HWND toolbar = FindDescendant(Main, isToolbar);
    if (!toolbar) return nullptr;
    const RECT client = ClientOnScreen(toolbar);
    const bool vertical = client.bottom - client.top > client.right - client.left;
    return vertical == (place == TPlace::tpLeft) ? toolbar : nullptr;
  }

  // Drags the toolbar by its handle with the mouse, as a person does, to `to` on screen.
  void Drag(HWND toolbar, TPlace from, POINT to) {
    RECT r{};
    GetWindowRect(toolbar, &r);
    const POINT handle = from == TPlace::tpTop    ? POINT{r.left + 6, r.top + 12}
                         : from == TPlace::tpLeft ? POINT{r.left + 12, r.top + 6}
                                                  : POINT{r.left + 12, r.top + 8};
    SetForegroundWindow(Main);
    for (const auto& step :
         std::vector<std::function<void()>>{[&] { MoveTo(handle); }, [] { SendMouse(MOUSEEVENTF_LEFTDOWN); },
                                            [&] {
                                              MoveTo(POINT{handle.x + 3, handle.y + 3});
                                            },
                                            [&] { MoveTo(to); }, [] { SendMouse(MOUSEEVENTF_LEFTUP); }}) {
      step();
      Sleep(kInputStepMs);
    }
    ParkPointer();
  }

  // The page the docks and the list are on, on screen.
  RECT Page() const { return ClientOnScreen(GetParent(GetParent(Toolbar(TPlace::tpTop)))); }

  // What the client prints, its lines ending in a plain line feed.
  TToolRun Probe(HWND toolbar, const std::string& command) {
    TToolRun run = RunTool("accprobe", Hex(toolbar) + " " + command, kToolTimeoutMs);
    std::erase(run.Output, '\r');
    return run;
  }

  TSettingsKey Key;
  TTempDir Folder;
  TProgramProcess Program{QS_PROGRAM_PATH, "", Folder.Path()};
  HWND Main = nullptr;
};

// The client finds the toolbar named by its caption and the ten items in layout order: the six buttons by their
// captions or hints, Encode unavailable, the separators between them, each where the toolbar shows it, and a hit
// test at its middle finds it again. Dragged to the left dock and out to float, the places follow.
TEST_F(ProgramToolbarAccessible, ListsTheButtonsWhereTheToolbarShowsThemDockedAtTheTopAtTheLeftAndFloating) {
  const RECT page = Page();
  struct TStep {
    const char* Name;
    TPlace From;
    POINT DragTo; // nowhere for the first step: the toolbar as the program starts
    TPlace Place;
  };
  const TStep steps[] = {
      {"docked at the top", TPlace::tpTop, POINT{}, TPlace::tpTop},
      {"dragged to the left dock", TPlace::tpTop, POINT{page.left, page.top + 120}, TPlace::tpLeft},
      {"dragged out to float", TPlace::tpLeft, POINT{page.right + 120, page.top + 60}, TPlace::tpFloating},
  };
  for (const TStep& step : steps) {
    SCOPED_TRACE(step.Name);
    if (step.DragTo.x != 0) Drag(Toolbar(step.From), step.From, step.DragTo);
    HWND toolbar = nullptr;
    ASSERT_TRUE(Poll([&] { return (toolbar = Toolbar(step.Place)); }, kWindowTimeoutMs))
        << "the toolbar never got there";
    Sleep(kInputStepMs); // the last layout's paint and events settle

    const TToolRun run = Probe(toolbar, "list");
    ASSERT_EQ(run.ExitCode, std::optional<DWORD>(0)) << run.Output;
    const std::vector<TListed> listed = ParseListing(run.Output);
    ASSERT_EQ(listed.size(), std::size(kItems) + 1) << run.Output;
    const RECT client = ClientOnScreen(toolbar);
    EXPECT_EQ(listed[0].at("kind"), "window");
    EXPECT_EQ(listed[0].at("name"), "Toolbar971");
    EXPECT_EQ(listed[0].at("role"), std::to_string(ROLE_SYSTEM_TOOLBAR));
    EXPECT_EQ(listed[0].at("state"), "0x0");
    EXPECT_EQ(ParseLocation(listed[0].at("location")), client);

    const POINT origin{client.left, client.top};
    for (size_t i = 0; i < std::size(kItems); ++i) {
      const TItem& item = kItems[i];
      const TListed& child = listed[i + 1];
      SCOPED_TRACE("child " + std::to_string(i + 1) + " \"" + item.Name + "\"");
      const bool button = item.Role == kButton;
      const bool disabled = std::string(item.Name) == "Encode";
      EXPECT_EQ(child.at("kind"), "child");
      EXPECT_EQ(child.at("id"), std::to_string(i + 1));
      EXPECT_EQ(child.at("name"), item.Name);
      EXPECT_EQ(child.at("description"), item.Description);
      EXPECT_EQ(child.at("role"), std::to_string(item.Role));
      EXPECT_EQ(child.at("state"), disabled ? "0x1" : "0x0");
      EXPECT_EQ(child.at("action"), button ? "Press" : "!0x80020003"); // DISP_E_MEMBERNOTFOUND
      EXPECT_EQ(ParseLocation(child.at("location")), ExpectedRect(item, step.Place, origin));
      EXPECT_EQ(child.at("hit"), item.Name);
    }
  }
}

// "Add file" pressed from outside opens the program's real Add dialog, and the client's call has returned while the
// dialog is still open; the disabled Encode refuses (E_FAIL) and the program carries on as it was.
TEST_F(ProgramToolbarAccessible, PressingAddFileOpensTheAddDialogAndTheDisabledEncodeRefuses) {
  HWND toolbar = Toolbar(TPlace::tpTop);
  const auto addDialog = [&] {
    return FindTopLevel(Program.Id(), [](HWND w) { return ClassOf(w) == "#32770" && TitleOf(w) == kAddDialogTitle; });
  };

  const TToolRun encode = Probe(toolbar, "press Encode");
  EXPECT_EQ(encode.ExitCode, std::optional<DWORD>(0));
  EXPECT_EQ(encode.Output, "press\tEncode\t0x80004005\n");
  Sleep(kInputStepMs * 5);
  EXPECT_EQ(TitleOf(Main), "QuillStack V3");
  EXPECT_FALSE(FindTopLevel(Program.Id(), [&](HWND w) { return w != Main; })) << "a window opened";

  const TToolRun add = Probe(toolbar, "press \"Add file\"");
  EXPECT_EQ(add.ExitCode, std::optional<DWORD>(0));
  EXPECT_EQ(add.Output, "press\tAdd file\t0x00000000\n");
  HWND dialog = nullptr;
  ASSERT_TRUE(Poll([&] { return (dialog = addDialog()); }, kWindowTimeoutMs)) << "no Add dialog";
  PostMessageW(GetDlgItem(dialog, IDCANCEL), BM_CLICK, 0, 0);
  EXPECT_TRUE(Poll([&] { return !addDialog(); }, kWindowTimeoutMs));
}

} // namespace
