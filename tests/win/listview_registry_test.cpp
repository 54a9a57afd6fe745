// The queue's list view, the settings store's registry access and the timer, under Wine: real windows,
// real input and the real registry (below a test-only key that is removed afterwards).
#include "Exception.h"
#include "Form.h"
#include "InputKit.h"
#include "ListView.h"
#include "Menu.h"
#include "QsTest.h"
#include "Registry.h"
#include "Timer.h"
#include "Unicode.h"

#include <commctrl.h>

#include <cstdio>
#include <functional>
#include <random>
#include <string>
#include <vector>

using namespace qs;
using namespace qs::test;

namespace {

constexpr int FormWidth = 480;
constexpr int FormHeight = 300;
constexpr int NameColumnWidth = 300;
constexpr int SizeColumnWidth = 100;
// A list that repaints after every insert needs tens of seconds per few thousand rows under Wine, so fifty
// thousand would take many minutes; a suspended one takes a few seconds even on a loaded machine.
constexpr int LargeBatch = 50000;
constexpr int SortSample = 300;
constexpr unsigned RandomSeed = 20240601;
// Long enough for a queued message to arrive and be handled, short enough to keep the tests quick.
constexpr int SettleMs = 100;

std::vector<std::string> Captions(const TListView& list) {
  std::vector<std::string> result;
  for (int i = 0; i < list.Count(); ++i) result.push_back(list.Caption(i));
  return result;
}

std::vector<std::string> QueuePaths(int count) {
  std::vector<std::string> paths;
  for (int i = 1; i <= count; ++i) paths.push_back("C:\\q\\" + std::to_string(i) + ".wav");
  return paths;
}

// A shown form, as the main window is, and a list on it that gets its window either at once or only after
// the test has set it up (so that both places the rows can live are exercised).
class ListViewTest : public ::testing::Test {
protected:
  void SetUp() override {
    Form = new TForm(Application);
    Form->SetClientSize(FormWidth, FormHeight);
    Form->Show();
  }
  void TearDown() override { delete Form; }

  TListView* MakeList(bool withWindow) {
    auto* list = new TListView(Form);
    list->SetBounds(0, 0, FormWidth, FormHeight);
    list->SetMultiSelect(true);
    list->SetReadOnly(true);
    list->AddColumn("Name", NameColumnWidth);
    if (withWindow) Attach(list);
    return list;
  }
  static void Attach(TListView* list) {
    if (!list->Parent()) list->SetParent(list->Owner() ? static_cast<TWinControl*>(list->Owner()) : nullptr);
    ASSERT_TRUE(list->HandleAllocated());
  }
  static const char* Where(bool withWindow) { return withWindow ? "in the window" : "before the window"; }

  TForm* Form = nullptr;
};

// ---- rows

TEST_F(ListViewTest, DeleteSelectedRemovesExactlyTheSelectedRows) {
  struct TCase {
    const char* Name;
    std::vector<int> Selected;
    std::vector<std::string> Left;
  };
  const TCase cases[] = {
      {"rows 2-4 of 5", {1, 2, 3}, {"C:\\q\\1.wav", "C:\\q\\5.wav"}},
      {"first and last", {0, 4}, {"C:\\q\\2.wav", "C:\\q\\3.wav", "C:\\q\\4.wav"}},
      {"none selected", {}, QueuePaths(5)},
      {"all selected", {0, 1, 2, 3, 4}, {}},
  };
  for (bool withWindow : {true, false}) {
    for (const TCase& c : cases) {
      TListView* list = MakeList(withWindow);
      list->AddRange(QueuePaths(5));
      for (int i : c.Selected) list->SetSelected(i, true);
      EXPECT_EQ(list->SelectedCount(), static_cast<int>(c.Selected.size())) << c.Name << ", " << Where(withWindow);
      list->DeleteSelected();
      Attach(list);
      EXPECT_EQ(Captions(*list), c.Left) << c.Name << ", " << Where(withWindow);
      EXPECT_EQ(list->SelectedCount(), 0) << c.Name << ", " << Where(withWindow);
      delete list;
    }
  }
}

TEST_F(ListViewTest, RowsSetBeforeTheWindowExistAppearInIt) {
  TListView* list = MakeList(false);
  EXPECT_EQ(list->Add("C:\\a\\x.wav"), 0);
  EXPECT_EQ(list->Add("C:\\a\\y.wav"), 1);
  list->AddRange({"C:\\a\\z.wav", "C:\\Müsik\\é.wav"});
  list->SetCaption(1, "C:\\a\\renamed.wav");
  list->SetSelected(3, true);
  list->Delete(0);
  Attach(list);
  HWND wnd = list->Handle();
  ASSERT_EQ(SendMessageW(wnd, LVM_GETITEMCOUNT, 0, 0), 3);
  EXPECT_EQ(Captions(*list), (std::vector<std::string>{"C:\\a\\renamed.wav", "C:\\a\\z.wav", "C:\\Müsik\\é.wav"}));
  EXPECT_EQ(SendMessageW(wnd, LVM_GETITEMSTATE, 2, LVIS_SELECTED), LVIS_SELECTED);
  EXPECT_EQ(SendMessageW(wnd, LVM_GETSELECTEDCOUNT, 0, 0), 1);
  EXPECT_EQ(SendMessageW(reinterpret_cast<HWND>(SendMessageW(wnd, LVM_GETHEADER, 0, 0)), HDM_GETITEMCOUNT, 0, 0), 1);
}

TEST_F(ListViewTest, RowsSelectionAndColumnSurviveANewWindow) {
  struct TCase {
    const char* Name;
    std::function<void(TListView*)> Remake;
    bool EditLabels;
  };
  const TCase cases[] = {
      {"RecreateWnd", [](TListView* l) { l->RecreateWnd(); }, false},
      {"ReadOnly switched off", [](TListView* l) { l->SetReadOnly(false); }, true},
  };
  for (const TCase& c : cases) {
    TListView* list = MakeList(true);
    list->AddRange({"C:\\a\\1.wav", "C:\\a\\2.wav", "C:\\a\\3.wav"});
    list->SetSelected(0, true);
    list->SetSelected(2, true);
    SendMessageW(list->Handle(), LVM_SETCOLUMNWIDTH, 0, SizeColumnWidth);
    HWND before = list->Handle();
    c.Remake(list);
    HWND after = list->Handle();
    EXPECT_NE(before, after) << c.Name;
    EXPECT_EQ(Captions(*list), (std::vector<std::string>{"C:\\a\\1.wav", "C:\\a\\2.wav", "C:\\a\\3.wav"})) << c.Name;
    EXPECT_TRUE(list->Selected(0) && !list->Selected(1) && list->Selected(2)) << c.Name;
    EXPECT_EQ(SendMessageW(after, LVM_GETCOLUMNWIDTH, 0, 0), SizeColumnWidth) << c.Name;
    EXPECT_EQ((GetWindowLongPtrW(after, GWL_STYLE) & LVS_EDITLABELS) != 0, c.EditLabels) << c.Name;
    delete list;
  }
}

TEST_F(ListViewTest, SingleSelectionKeepsOneRow) {
  for (bool withWindow : {true, false}) {
    TListView* list = MakeList(withWindow);
    list->SetMultiSelect(false);
    list->AddRange(QueuePaths(3));
    list->SetSelected(0, true);
    list->SetSelected(2, true);
    Attach(list);
    EXPECT_EQ(list->SelectedCount(), 1) << Where(withWindow);
    EXPECT_TRUE(list->Selected(2)) << Where(withWindow);
    delete list;
  }
}

TEST_F(ListViewTest, ClearAndBadIndexes) {
  TListView* list = MakeList(true);
  list->AddRange(QueuePaths(4));
  list->SetSelected(1, true);
  list->Clear();
  EXPECT_EQ(list->Count(), 0);
  EXPECT_EQ(list->SelectedCount(), 0);
  EXPECT_EQ(list->Add("C:\\q\\new.wav"), 0) << "the list is usable after Clear";

  const std::vector<std::pair<const char*, std::function<void()>>> misuses = {
      {"Caption(1)", [&] { list->Caption(1); }},
      {"SetCaption(-1)", [&] { list->SetCaption(-1, "x"); }},
      {"Delete(1)", [&] { list->Delete(1); }},
      {"SetSelected(7)", [&] { list->SetSelected(7, true); }},
  };
  for (const auto& [name, misuse] : misuses) EXPECT_THROW(misuse(), EInvalidOperation) << name;
  EXPECT_EQ(list->Count(), 1);
}

// WM_SETREDRAW hides and shows the window as a side effect; a batch must leave the window as visible as the
// control is at its end.
TEST_F(ListViewTest, BatchLeavesVisibilityAsTheControlSays) {
  struct TCase {
    const char* Name;
    bool Before;
    bool During;
  };
  const TCase cases[] = {
      {"shown throughout", true, true},
      {"hidden throughout", false, false},
      {"hidden during the batch", true, false},
      {"shown during the batch", false, true},
  };
  for (const TCase& c : cases) {
    TListView* list = MakeList(true);
    list->SetVisible(c.Before);
    list->BeginUpdate();
    list->BeginUpdate();
    list->AddRange(QueuePaths(3));
    list->EndUpdate();
    list->SetVisible(c.During);
    list->DeleteSelected();
    list->EndUpdate();
    EXPECT_EQ(IsWindowVisible(list->Handle()) != FALSE, c.During) << c.Name;
    EXPECT_EQ(list->Count(), 3) << c.Name;
    delete list;
  }
}

// Editing a caption in place: a sorted list moves the row to its place instead of letting the list write
// the text where the row was.
TEST_F(ListViewTest, EditedCaptionIsKeptAndPlaced) {
  struct TCase {
    TSortType Sort;
    std::vector<std::string> After;
  };
  const TCase cases[] = {
      {TSortType::stNone, {"C:\\z.wav", "C:\\b.wav", "C:\\c.wav"}},
      {TSortType::stText, {"C:\\b.wav", "C:\\c.wav", "C:\\z.wav"}},
  };
  for (const TCase& c : cases) {
    TListView* list = MakeList(true);
    list->SetReadOnly(false);
    list->AddRange({"C:\\a.wav", "C:\\b.wav", "C:\\c.wav"});
    list->SetSortType(c.Sort);
    list->SetFocus();
    HWND edit = reinterpret_cast<HWND>(SendMessageW(list->Handle(), LVM_EDITLABELW, 0, 0));
    ASSERT_NE(edit, nullptr);
    SetWindowTextW(edit, L"C:\\z.wav");
    SendMessageW(edit, WM_KEYDOWN, VK_RETURN, 0);
    PumpMessages();
    EXPECT_EQ(Captions(*list), c.After) << (c.Sort == TSortType::stText ? "sorted" : "unsorted");
    delete list;
  }
}

// ---- sorted mode

// Ordinal order would put "Zulu" before "beta" and "émile" after "f": the list follows lstrcmpW instead.
TEST_F(ListViewTest, SwitchToSortedSortsAtOnceInLocaleOrder) {
  const std::vector<std::string> inserted = {"zeta", "Alpha", "f", "beta", "Zulu", "émile"};
  const std::vector<std::string> sorted = {"Alpha", "beta", "émile", "f", "zeta", "Zulu"};
  for (bool withWindow : {true, false}) {
    TListView* list = MakeList(withWindow);
    list->AddRange(inserted);
    list->SetSelected(0, true); // "zeta"
    list->SetSortType(TSortType::stText);
    Attach(list);
    EXPECT_EQ(Captions(*list), sorted) << Where(withWindow);
    EXPECT_EQ(list->SelectedCount(), 1) << Where(withWindow);
    EXPECT_TRUE(list->Selected(4)) << "the selection follows its row, " << Where(withWindow);
    delete list;
  }
}

TEST_F(ListViewTest, SortedListPlacesNewAndRenamedRows) {
  TListView* list = MakeList(true);
  list->AddRange({"C:\\m.wav", "C:\\c.wav", "C:\\x.wav"});
  list->SetSortType(TSortType::stText);
  EXPECT_EQ(list->Add("C:\\a.wav"), 0) << "a caption that sorts first lands at the top";
  EXPECT_EQ(list->Add("C:\\n.wav"), 3);
  EXPECT_EQ(list->Add("C:\\z.wav"), 5);
  list->AddRange({"C:\\b.wav", "C:\\y.wav"});
  list->SetCaption(0, "C:\\zz.wav");
  EXPECT_EQ(Captions(*list), (std::vector<std::string>{"C:\\b.wav", "C:\\c.wav", "C:\\m.wav", "C:\\n.wav", "C:\\x.wav",
                                                       "C:\\y.wav", "C:\\z.wav", "C:\\zz.wav"}));
  list->SetSortType(TSortType::stNone);
  EXPECT_EQ(list->Add("C:\\a.wav"), 8) << "unsorted again: appended";
}

// Inserting one by one into a sorted list gives the order of sorting the same rows at once.
TEST_F(ListViewTest, SortedInsertsGiveTheOrderOfAFullSort) {
  const std::wstring alphabet = L"aAbBzZéÉ0 9-_.\\";
  std::mt19937 random(RandomSeed);
  std::uniform_int_distribution<size_t> letter(0, alphabet.size() - 1);
  constexpr int maxLength = 8;
  std::uniform_int_distribution<int> length(1, maxLength);
  std::vector<std::string> captions;
  constexpr int prefixes = 7; // a few shared leading digits, so that captions differ late as well as early
  for (int i = 0; i < SortSample; ++i) {
    std::wstring caption = std::to_wstring(i % prefixes);
    for (int n = length(random); n > 0; --n) caption += alphabet[letter(random)];
    captions.push_back(Narrow(caption + std::to_wstring(i))); // distinct, so the order is unique
  }
  TListView* insertedSorted = MakeList(true);
  insertedSorted->SetSortType(TSortType::stText);
  for (const std::string& c : captions) insertedSorted->Add(c);
  TListView* sortedAfter = MakeList(true);
  sortedAfter->AddRange(captions);
  sortedAfter->SetSortType(TSortType::stText);
  const std::vector<std::string> order = Captions(*insertedSorted);
  EXPECT_EQ(order, Captions(*sortedAfter));
  for (size_t i = 1; i < order.size(); ++i)
    ASSERT_LE(lstrcmpW(Widen(order[i - 1]).c_str(), Widen(order[i]).c_str()), 0) << order[i - 1] << " / " << order[i];
}

// ---- events from real input

TEST_F(ListViewTest, HeaderClickFiresOnColumnClick) {
  TListView* list = MakeList(true);
  list->AddColumn("Size", SizeColumnWidth);
  int clicked = -1;
  list->OnColumnClick = [&](TComponent* sender, int column) {
    EXPECT_EQ(sender, list);
    clicked = column;
  };
  HWND header = reinterpret_cast<HWND>(SendMessageW(list->Handle(), LVM_GETHEADER, 0, 0));
  for (int column : {0, 1}) {
    clicked = -1;
    RECT r{};
    SendMessageW(header, HDM_GETITEMRECT, static_cast<WPARAM>(column), reinterpret_cast<LPARAM>(&r));
    const LPARAM centre = MAKELPARAM((r.left + r.right) / 2, (r.top + r.bottom) / 2);
    PostMessageW(header, WM_LBUTTONDOWN, MK_LBUTTON, centre);
    PostMessageW(header, WM_LBUTTONUP, 0, centre);
    EXPECT_TRUE(PumpUntil([&] { return clicked != -1; })) << "column " << column;
    EXPECT_EQ(clicked, column);
  }
}

class ListViewInputTest : public ListViewTest {
protected:
  // Puts the pointer over the first row of a list in the foreground.
  void PointAtFirstRow(TListView* list) {
    SetForegroundWindow(Form->Handle());
    PumpMessages();
    RECT row{LVIR_BOUNDS, 0, 0, 0};
    SendMessageW(list->Handle(), LVM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&row));
    const POINT p = list->ClientToScreen(POINT{(row.left + row.right) / 2, (row.top + row.bottom) / 2});
    SetCursorPos(p.x, p.y);
    PumpMessages();
  }
};

TEST_F(ListViewInputTest, DoubleClickFiresOnDblClick) {
  TListView* list = MakeList(true);
  list->AddRange(QueuePaths(3));
  int doubleClicks = 0;
  list->OnDblClick = [&](TComponent* sender) {
    EXPECT_EQ(sender, list);
    ++doubleClicks;
  };
  PointAtFirstRow(list);
  for (int i = 0; i < 2; ++i) {
    SendMouse(MOUSEEVENTF_LEFTDOWN);
    SendMouse(MOUSEEVENTF_LEFTUP);
  }
  EXPECT_TRUE(PumpUntil([&] { return doubleClicks > 0; }));
  PumpUntil([] { return false; }, SettleMs);
  EXPECT_EQ(doubleClicks, 1);
  EXPECT_TRUE(list->Selected(0)) << "the first click selected the row under the pointer";
}

// The list view answers a right click with WM_CONTEXTMENU to itself; the control's popup menu must show.
TEST_F(ListViewInputTest, RightClickShowsThePopupMenu) {
  TListView* list = MakeList(true);
  list->AddRange(QueuePaths(3));
  auto* menu = new TPopupMenu(Form);
  menu->AddItem("Play1", "Play");
  list->SetPopupMenu(menu);
  TTimer closer(nullptr);
  closer.SetEnabled(false);
  closer.SetInterval(SettleMs);
  closer.SetOnTimer([&](TComponent*) {
    closer.SetEnabled(false);
    EndMenu();
  });
  TComponent* shownFor = nullptr;
  menu->OnPopup = [&](TComponent*) {
    shownFor = menu->PopupComponent();
    closer.SetEnabled(true);
  };
  PointAtFirstRow(list);
  SendMouse(MOUSEEVENTF_RIGHTDOWN);
  SendMouse(MOUSEEVENTF_RIGHTUP);
  EXPECT_TRUE(PumpUntil([&] { return shownFor != nullptr; }));
  EXPECT_EQ(shownFor, list);
}

// ---- large batches (their speed is measured by bench/queue_bench.cpp, not here)

TEST_F(ListViewTest, FiftyThousandRowsAddedInOneBatchOrAsARange) {
  constexpr int rows = LargeBatch;
  const std::vector<std::string> paths = QueuePaths(rows);
  TListView* list = MakeList(true);
  list->BeginUpdate();
  for (const std::string& p : paths) list->Add(p);
  list->EndUpdate();
  list->Update();
  ASSERT_EQ(list->Count(), rows);
  EXPECT_EQ(list->Caption(rows - 1), paths.back());

  TListView* ranged = MakeList(true);
  ranged->AddRange(paths);
  ranged->Update();
  ASSERT_EQ(ranged->Count(), rows);
  EXPECT_EQ(ranged->Caption(0), paths.front());
  EXPECT_EQ(ranged->Caption(rows - 1), paths.back());
}

TEST_F(ListViewTest, FiftyThousandShuffledRowsLandSortedInASortedList) {
  constexpr int rows = LargeBatch;
  std::vector<std::string> paths = QueuePaths(rows);
  std::shuffle(paths.begin(), paths.end(), std::mt19937(RandomSeed));
  TListView* list = MakeList(true);
  list->SetSortType(TSortType::stText);
  list->BeginUpdate();
  for (const std::string& p : paths) list->Add(p);
  list->EndUpdate();
  list->Update();
  ASSERT_EQ(list->Count(), rows);
  EXPECT_EQ(list->Caption(0), "C:\\q\\1.wav");
}

TEST_F(ListViewTest, DeletingEveryOtherOfTenThousandSelectedRowsKeepsTheRest) {
  constexpr int rows = 10000;
  TListView* list = MakeList(true);
  list->AddRange(QueuePaths(rows));
  list->BeginUpdate();
  for (int i = 0; i < rows; i += 2) list->SetSelected(i, true);
  list->EndUpdate();
  list->DeleteSelected();
  list->Update();
  ASSERT_EQ(list->Count(), rows / 2);
  EXPECT_EQ(list->Caption(0), "C:\\q\\2.wav");
  EXPECT_EQ(list->Caption(rows / 2 - 1), "C:\\q\\10000.wav");
}

// ---- registry

// Each test works below its own key under HKCU\SOFTWARE\QuillStackTest, removed afterwards.
class RegistryTest : public ::testing::Test {
protected:
  static constexpr wchar_t TestRoot[] = L"SOFTWARE\\QuillStackTest";

  void SetUp() override {
    Path = Narrow(TestRoot) + "\\" + std::to_string(GetCurrentProcessId()) + "_" + std::to_string(GetTickCount());
    Registry.OpenKey(Path, true);
  }
  void TearDown() override {
    Registry.CloseKey();
    RegDeleteTreeW(HKEY_CURRENT_USER, Widen(Path).c_str());
    RegDeleteKeyW(HKEY_CURRENT_USER, TestRoot); // only when no other run still uses it
  }
  // What the registry holds for a value, read past TRegistry.
  struct TStored {
    DWORD Type = REG_NONE;
    DWORD Size = 0;
  };
  TStored Stored(const std::string& name) const {
    TStored s;
    EXPECT_EQ(RegQueryValueExW(Registry.CurrentKey(), Widen(name).c_str(), nullptr, &s.Type, nullptr, &s.Size),
              ERROR_SUCCESS)
        << name;
    return s;
  }
  void SetRaw(const std::string& name, DWORD type, const void* data, DWORD size) {
    ASSERT_EQ(RegSetValueExW(Registry.CurrentKey(), Widen(name).c_str(), 0, type, static_cast<const BYTE*>(data), size),
              ERROR_SUCCESS);
  }
  static std::string ErrorOf(const std::function<void()>& action) {
    try {
      action();
    } catch (const ERegistryException& e) {
      return e.Message();
    }
    return "no ERegistryException";
  }

  std::string Path;
  TRegistry Registry;
};

TEST_F(RegistryTest, WrittenTextReadsBackAsRegSz) {
  const std::pair<const char*, std::string> cases[] = {
      {"Encodepath", "C:\\Müsik\\é\\"},
      {"Bitrate", "128000"},
      {"Savepath", ""},
      {"Loadpath", std::string(600, 'x') + "\\日本語\\"},
  };
  for (const auto& [name, text] : cases) Registry.WriteString(name, text);
  Registry.CloseKey();

  TRegistry reader;
  ASSERT_TRUE(reader.OpenKey(Path, false));
  for (const auto& [name, text] : cases) {
    EXPECT_EQ(reader.ReadString(name), text) << name;
    EXPECT_EQ(reader.ReadStringOr(name, "Error"), text) << name;
  }
  // The byte count given leaves the terminator out; the registry (Windows' as well as Wine's) counts it back
  // in itself when a zero follows the text, so a value holds the text and one zero, and an empty text nothing.
  Registry.OpenKey(Path, false);
  for (const auto& [name, text] : cases) {
    const TStored s = Stored(name);
    EXPECT_EQ(s.Type, static_cast<DWORD>(REG_SZ)) << name;
    const size_t units = Widen(text).size();
    EXPECT_EQ(s.Size, (units == 0 ? 0 : units + 1) * sizeof(wchar_t)) << name;
  }
}

TEST_F(RegistryTest, MissingValueGivesTheDefaultOrAnError) {
  EXPECT_FALSE(Registry.ValueExists("Savepath"));
  EXPECT_EQ(Registry.ReadStringOr("Savepath", "Error"), "Error");
  EXPECT_EQ(ErrorOf([&] { Registry.ReadString("Savepath"); }), "Failed to get data for 'Savepath'");
}

TEST_F(RegistryTest, OnlyTextTypesReadAsText) {
  const DWORD bitrate = 128000;
  SetRaw("Bitrate", REG_DWORD, &bitrate, sizeof(bitrate));
  const BYTE bytes[] = {1, 2, 3};
  SetRaw("Blob", REG_BINARY, bytes, sizeof(bytes));
  const std::wstring expandable = L"%TEMP%\\enc\\";
  SetRaw("Expandable", REG_EXPAND_SZ, expandable.c_str(),
         static_cast<DWORD>((expandable.size() + 1) * sizeof(wchar_t)));

  EXPECT_EQ(ErrorOf([&] { Registry.ReadString("Bitrate"); }), "Invalid data type for 'Bitrate'");
  EXPECT_EQ(ErrorOf([&] { Registry.ReadStringOr("Bitrate", "Error"); }), "Invalid data type for 'Bitrate'")
      << "a value that exists is never replaced by the default";
  EXPECT_EQ(ErrorOf([&] { Registry.ReadString("Blob"); }), "Invalid data type for 'Blob'");
  EXPECT_EQ(Registry.ReadString("Expandable"), "%TEMP%\\enc\\") << "read as stored, not expanded";
}

// Other programs may store text without its terminator, or with an odd byte count.
TEST_F(RegistryTest, TextWithoutTerminatorReadsWhole) {
  // The character after the counted ones is not zero, so that the registry cannot add a terminator itself.
  const wchar_t data[] = L"C:\\Enc\\Xabc";
  struct TCase {
    const char* Name;
    DWORD Bytes;
    const char* Expected;
  };
  const TCase cases[] = {
      {"no terminator", 7 * sizeof(wchar_t), "C:\\Enc\\"},
      {"odd byte count", 7 * sizeof(wchar_t) + 1, "C:\\Enc\\"},
      {"whole buffer", sizeof(data), "C:\\Enc\\Xabc"},
  };
  for (const TCase& c : cases) {
    SetRaw(c.Name, REG_SZ, data, c.Bytes);
    EXPECT_EQ(Registry.ReadString(c.Name), c.Expected) << c.Name;
  }
}

TEST_F(RegistryTest, KeysAreCreatedOnlyWhenAsked) {
  TRegistry other;
  const std::string missing = Path + "\\Missing";
  EXPECT_FALSE(other.OpenKey(missing, false));
  EXPECT_EQ(other.CurrentKey(), nullptr);
  ASSERT_TRUE(other.OpenKey(missing, true));
  other.CloseKey();
  EXPECT_TRUE(other.OpenKey(missing, false)) << "the created key stays";
}

TEST_F(RegistryTest, FailuresNameTheKeyOrValue) {
  TRegistry unopened;
  EXPECT_EQ(ErrorOf([&] { unopened.WriteString("Savepath", "C:\\Out\\"); }), "Failed to set data for 'Savepath'");
  EXPECT_EQ(ErrorOf([&] { unopened.ReadString("Savepath"); }), "Failed to get data for 'Savepath'");
  TRegistry badRoot;
  badRoot.SetRootKey(nullptr);
  EXPECT_EQ(ErrorOf([&] { badRoot.OpenKey("SOFTWARE\\Quillstack", true); }),
            "Failed to create key SOFTWARE\\Quillstack");
}

// ---- timer

constexpr unsigned ShortInterval = 20;
constexpr int QuietMs = 150;

TEST(TimerTest, FiresWhileEnabledAndStopsWhenDisabled) {
  TTimer timer(nullptr);
  timer.SetInterval(ShortInterval);
  int fired = 0;
  timer.SetOnTimer([&](TComponent* sender) {
    EXPECT_EQ(sender, &timer);
    ++fired;
  });
  EXPECT_TRUE(PumpUntil([&] { return fired >= 3; }));
  timer.SetEnabled(false);
  PumpMessages();
  const int stoppedAt = fired;
  PumpUntil([] { return false; }, QuietMs);
  EXPECT_EQ(fired, stoppedAt);
}

TEST(TimerTest, RunsOnlyWithIntervalEnabledAndHandler) {
  struct TCase {
    const char* Name;
    unsigned Interval;
    bool Enabled;
  };
  const TCase cases[] = {{"interval 0", 0, true}, {"disabled", ShortInterval, false}};
  for (const TCase& c : cases) {
    TTimer timer(nullptr);
    timer.SetInterval(c.Interval);
    timer.SetEnabled(c.Enabled);
    int fired = 0;
    timer.SetOnTimer([&](TComponent*) { ++fired; });
    PumpUntil([] { return false; }, QuietMs);
    EXPECT_EQ(fired, 0) << c.Name;
  }
  // A handler given last starts an enabled timer.
  TTimer late(nullptr);
  late.SetInterval(ShortInterval);
  bool fired = false;
  late.SetOnTimer([&](TComponent*) { fired = true; });
  EXPECT_TRUE(PumpUntil([&] { return fired; }));
}

// A WM_TIMER already queued for a timer that is gone must not reach it.
TEST(TimerTest, DestroyedTimerNeverFires) {
  int fired = 0;
  auto* timer = new TTimer(nullptr);
  timer->SetInterval(1);
  timer->SetOnTimer([&](TComponent*) { ++fired; });
  Sleep(ShortInterval);
  delete timer;
  PumpUntil([] { return false; }, QuietMs);
  EXPECT_EQ(fired, 0);

  // Nor may a handler that frees its own timer trip over it.
  auto* selfDestroying = new TTimer(nullptr);
  selfDestroying->SetInterval(ShortInterval);
  selfDestroying->SetOnTimer([&](TComponent* sender) {
    ++fired;
    delete sender;
  });
  EXPECT_TRUE(PumpUntil([&] { return fired == 1; }));
  PumpUntil([] { return false; }, QuietMs);
  EXPECT_EQ(fired, 1);
}

TEST(TimerTest, HandlerErrorGoesToTheErrorBox) {
  TTimer timer(nullptr);
  timer.SetInterval(ShortInterval);
  timer.SetOnTimer([&](TComponent*) {
    timer.SetEnabled(false);
    throw Exception("Timer broke");
  });
  ASSERT_TRUE(PumpUntil([] { return !Seams().MessageBoxes.empty(); }));
  EXPECT_EQ(Seams().MessageBoxes.front().Text, "Timer broke.");
}

} // namespace
