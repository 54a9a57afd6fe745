// Files dropped from the shell: what the drop target reports for each path, how its hook sits in the target
// window's chain of procedures (also with other subclasses around it), that every drop handle is released
// once the window's own procedure has seen it, and what the main window lists.
#include "DropFile.h"
#include "Exception.h"
#include "Main.h"
#include "MainWindowFixture.h"
#include "Panel.h"
#include "QsTest.h"
#include "QuillStackApp.h"
#include "ShellDrop.h"

#include <commctrl.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <string>
#include <vector>

using namespace qs;
using namespace qs::test;

namespace {

// The index that makes DragQueryFileW answer with the number of paths.
constexpr UINT QueryFileCount = 0xFFFFFFFF;
const UINT ProbeMessage = RegisterWindowMessageW(L"QsDropFileTestProbe");

WNDPROC CurrentProc(HWND wnd) { return reinterpret_cast<WNDPROC>(GetWindowLongPtrW(wnd, GWLP_WNDPROC)); }
bool AcceptsDrops(HWND wnd) { return (GetWindowLongPtrW(wnd, GWL_EXSTYLE) & WS_EX_ACCEPTFILES) != 0; }

// A subclass as other code installs one: on top of whatever is there, and on removal the previous procedure
// put back without looking. Id tells apart the two instances a test may have (one under our hook, one over).
template <int Id>
class TTestSubclass {
public:
  explicit TTestSubclass(HWND wnd) : FWnd(wnd) {
    Instance = this;
    FPrevious = reinterpret_cast<WNDPROC>(SetWindowLongPtrW(wnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&Proc)));
  }
  ~TTestSubclass() { Remove(); }
  TTestSubclass(const TTestSubclass&) = delete;
  TTestSubclass& operator=(const TTestSubclass&) = delete;

  void Remove() {
    if (FPrevious) SetWindowLongPtrW(FWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(std::exchange(FPrevious, nullptr)));
  }
  static WNDPROC Procedure() { return &Proc; }
  int Seen(UINT msg) const { return static_cast<int>(std::count(Messages.begin(), Messages.end(), msg)); }

  std::vector<UINT> Messages;
  std::function<void(UINT, WPARAM, LPARAM)> OnMessage;

private:
  static LRESULT CALLBACK Proc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    TTestSubclass* self = Instance;
    self->Messages.push_back(msg);
    if (self->OnMessage) self->OnMessage(msg, wParam, lParam);
    return CallWindowProcW(self->FPrevious, wnd, msg, wParam, lParam);
  }

  static inline TTestSubclass* Instance = nullptr;
  HWND FWnd;
  WNDPROC FPrevious = nullptr;
};
using TInnerSubclass = TTestSubclass<0>;
using TOuterSubclass = TTestSubclass<1>;

HDROP SendDrop(HWND wnd, const std::vector<std::string>& paths, TDropText text = TDropText::Wide) {
  HDROP drop = MakeShellDrop(paths, text);
  SendMessageW(wnd, WM_DROPFILES, reinterpret_cast<WPARAM>(drop), 0);
  return drop;
}

// A form with a panel on it, and drop targets that write what they report into a log.
class DropTarget : public ::testing::Test {
protected:
  void SetUp() override {
    Form = new TForm(Application);
    Form->SetBounds(100, 100, 320, 200);
    Target = new TPanel(Form);
    Target->SetBounds(10, 10, 200, 100);
    Target->SetParent(Form);
    Form->Show();
    PumpMessages();
  }
  void TearDown() override {
    delete Form;
    PumpMessages();
  }

  TDropFile* NewDropFile(TWinControl* target, std::vector<std::string>& log) {
    auto* drop = new TDropFile(Form);
    if (target) drop->SetDropTarget(target);
    drop->OnDropStart = [&log](TComponent*) { log.push_back("start"); };
    drop->OnDropFile = [&log](TComponent*, std::string path, std::string name, std::string extension) {
      log.push_back(path + "|" + name + "|" + extension);
    };
    drop->OnDropEnd = [&log](TComponent*) { log.push_back("end"); };
    return drop;
  }
  TDropFile* NewDropFile(TWinControl* target) { return NewDropFile(target, Log); }

  TForm* Form = nullptr;
  TPanel* Target = nullptr;
  std::vector<std::string> Log;
};

TEST_F(DropTarget, TheOwnerAcceptsDropsUntilAnotherTargetIsSet) {
  HWND form = Form->Handle(), target = Target->Handle();
  const WNDPROC formProc = CurrentProc(form), targetProc = CurrentProc(target);

  auto* drop = NewDropFile(nullptr);
  EXPECT_EQ(drop->DropTarget(), Form);
  EXPECT_EQ(drop->HookedWindow(), form);
  EXPECT_TRUE(AcceptsDrops(form));
  EXPECT_NE(CurrentProc(form), formProc);

  drop->SetDropTarget(Target);
  EXPECT_FALSE(AcceptsDrops(form)) << "the owner stops accepting drops once another target is set";
  EXPECT_EQ(CurrentProc(form), formProc);
  EXPECT_EQ(drop->HookedWindow(), target);
  EXPECT_TRUE(AcceptsDrops(target));

  drop->SetEnableDrop(false);
  EXPECT_FALSE(AcceptsDrops(target));
  drop->SetEnableDrop(true);
  EXPECT_TRUE(AcceptsDrops(target));

  delete drop;
  EXPECT_FALSE(AcceptsDrops(target));
  EXPECT_EQ(CurrentProc(target), targetProc);
}

TEST_F(DropTarget, ReportsEveryPathInTheShellsOrderBetweenStartAndEnd) {
  const std::string longName = std::string(150, 'n') + ".wav";
  const std::string longPath = "C:\\" + std::string(200, 'd') + "\\" + longName; // over 128 bytes and MAX_PATH
  struct TCase {
    std::string Path, Name, Extension;
  };
  const TCase cases[] = {
      {"C:\\Takes\\Take1.WAV", "Take1.WAV", "WAV"},
      {"C:\\a\\archive.wav.bak", "archive.wav.bak", "bak"},
      {"C:\\old.wav\\readme", "readme", ""}, // the extension comes from the name only
      {"loose.wav", "", ""},                 // no backslash: no name, so no extension
      {longPath, longName, "wav"},
      {"C:\\Музыка\\日本の歌.wav", "日本の歌.wav", "wav"}, // shorter than the one before: no tail of it
  };
  std::vector<std::string> paths, expected{"start"};
  for (const TCase& c : cases) {
    paths.push_back(c.Path);
    expected.push_back(c.Path + "|" + c.Name + "|" + c.Extension);
  }
  expected.push_back("end");

  NewDropFile(Target);
  SendDrop(Target->Handle(), paths);
  EXPECT_EQ(Log, expected);

  // The same drop in the ANSI form, for what the code page can hold.
  paths.pop_back();
  expected.erase(expected.end() - 2);
  Log.clear();
  SendDrop(Target->Handle(), paths, TDropText::Ansi);
  EXPECT_EQ(Log, expected);
}

TEST_F(DropTarget, ReleasesEachDropAfterTheWindowsOwnProcedureHasReadIt) {
  HWND target = Target->Handle();
  TInnerSubclass own(target);
  UINT pathsSeen = 0;
  own.OnMessage = [&](UINT msg, WPARAM wParam, LPARAM) {
    if (msg == WM_DROPFILES) pathsSeen = DragQueryFileW(reinterpret_cast<HDROP>(wParam), QueryFileCount, nullptr, 0);
  };
  std::unique_ptr<TDropFile> drop(NewDropFile(Target));

  HDROP ours = SendDrop(target, {"C:\\a.wav", "C:\\b.wav"});
  EXPECT_EQ(pathsSeen, 2u) << "the drop must still be readable when it reaches the window's own procedure";
  EXPECT_TRUE(DropReleased(ours));

  drop.reset();
  HDROP notOurs = SendDrop(target, {"C:\\c.wav"});
  EXPECT_FALSE(DropReleased(notOurs)) << "once unhooked, a drop on the window is not ours to release";
  DragFinish(notOurs);
}

TEST_F(DropTarget, UnhookingUnderALaterSubclassKeepsTheChainWhole) {
  HWND target = Target->Handle();
  TInnerSubclass own(target);
  auto* drop = NewDropFile(Target);
  TOuterSubclass later(target); // holds our procedure as its previous one

  delete drop;
  EXPECT_EQ(CurrentProc(target), TOuterSubclass::Procedure()) << "the later subclass must not be cut off";
  EXPECT_FALSE(AcceptsDrops(target));
  SendMessageW(target, ProbeMessage, 0, 0);
  EXPECT_EQ(later.Seen(ProbeMessage), 1);
  EXPECT_EQ(own.Seen(ProbeMessage), 1) << "messages must still reach the window's own procedure";
  HDROP drop2 = SendDrop(target, {"C:\\a.wav"});
  EXPECT_TRUE(Log.empty()) << "a drop target that is gone reports nothing";
  EXPECT_FALSE(DropReleased(drop2));
  DragFinish(drop2);

  later.Remove(); // puts our procedure back on top: it steps out of the chain at the next message
  SendMessageW(target, ProbeMessage, 0, 0);
  EXPECT_EQ(own.Seen(ProbeMessage), 2);
  EXPECT_EQ(CurrentProc(target), TInnerSubclass::Procedure());
}

TEST_F(DropTarget, TwoDropTargetsOnOneWindowEachHearADropOnceAndLeaveInAnyOrder) {
  HWND target = Target->Handle();
  TInnerSubclass own(target);
  std::vector<std::string> first, second;
  auto* inner = NewDropFile(Target, first);
  auto* outer = NewDropFile(Target, second);
  const std::vector<std::string> heard{"start", "C:\\x.wav|x.wav|wav", "end"};

  HDROP drop = SendDrop(target, {"C:\\x.wav"});
  EXPECT_EQ(first, heard);
  EXPECT_EQ(second, heard);
  EXPECT_EQ(own.Seen(WM_DROPFILES), 1);
  EXPECT_TRUE(DropReleased(drop));

  delete inner; // goes while the other one is hooked over it
  first.clear();
  second.clear();
  EXPECT_TRUE(AcceptsDrops(target)) << "the remaining drop target still wants drops";
  drop = SendDrop(target, {"C:\\x.wav"});
  EXPECT_TRUE(first.empty());
  EXPECT_EQ(second, heard);
  EXPECT_EQ(own.Seen(WM_DROPFILES), 2);
  EXPECT_TRUE(DropReleased(drop));

  delete outer;
  EXPECT_FALSE(AcceptsDrops(target));
  SendMessageW(target, ProbeMessage, 0, 0);
  EXPECT_EQ(CurrentProc(target), TInnerSubclass::Procedure());
}

TEST_F(DropTarget, ATargetDestroyedFirstLeavesNothingHooked) {
  auto* drop = NewDropFile(Target);
  delete Target;
  Target = nullptr;
  EXPECT_EQ(drop->DropTarget(), nullptr);
  EXPECT_EQ(drop->HookedWindow(), nullptr);
  drop->SetDropTarget(nullptr); // back to the owner
  EXPECT_EQ(drop->HookedWindow(), Form->Handle());
  EXPECT_TRUE(AcceptsDrops(Form->Handle()));
  delete drop;
}

// A target whose window is made again (a list switched to single selection after it was shown) still takes
// drops: the drop target follows the new window and leaves nothing on the old one.
TEST_F(DropTarget, FollowsTheTargetWhenItsWindowIsMadeAgain) {
  auto* drop = NewDropFile(Target);
  HWND old = Target->Handle();
  Target->RecreateWnd();
  HWND renewed = Target->Handle();
  ASSERT_NE(renewed, old);
  EXPECT_EQ(drop->HookedWindow(), renewed);
  EXPECT_TRUE(AcceptsDrops(renewed));
  const HDROP sent = SendDrop(renewed, {"C:\\a\\x.wav"});
  EXPECT_EQ(Log, (std::vector<std::string>{"start", "C:\\a\\x.wav|x.wav|wav", "end"}));
  EXPECT_TRUE(DropReleased(sent));
  delete drop;
  EXPECT_FALSE(AcceptsDrops(renewed));
}

TEST_F(DropTarget, AFailingHandlerIsReportedAndTheDropStillGoesOnAndIsReleased) {
  HWND target = Target->Handle();
  TInnerSubclass own(target);
  std::unique_ptr<TDropFile> drop(NewDropFile(Target));
  drop->OnDropFile = [this](TComponent*, std::string path, std::string, std::string) {
    Log.push_back(path);
    if (path == "C:\\bad.wav") throw EInvalidOperation("Cannot take C:\\bad.wav");
  };

  HDROP sent = SendDrop(target, {"C:\\ok.wav", "C:\\bad.wav", "C:\\late.wav"});
  EXPECT_EQ(Log, (std::vector<std::string>{"start", "C:\\ok.wav", "C:\\bad.wav", "end"}));
  ASSERT_EQ(Seams().MessageBoxes.size(), 1u);
  EXPECT_EQ(Seams().MessageBoxes[0].Text, "Cannot take C:\\bad.wav.");
  EXPECT_EQ(own.Seen(WM_DROPFILES), 1);
  EXPECT_TRUE(DropReleased(sent));
}

// The main window: the list is the drop target, and Addtolist keeps only .wav files.
class DropOnMainWindow : public ::testing::Test {
protected:
  void SetUp() override { Main = ShowMainWindow(); }
  void TearDown() override { CloseMainWindow(Main); }

  void Drop(const std::vector<std::string>& paths) {
    HDROP drop = SendDrop(Main->ListView1->Handle(), paths);
    EXPECT_TRUE(DropReleased(drop));
  }
  std::vector<std::string> Rows() const {
    std::vector<std::string> rows;
    for (int i = 0; i < Main->ListView1->Count(); ++i) rows.push_back(Main->ListView1->Caption(i));
    return rows;
  }

  TMain* Main = nullptr;
};

TEST_F(DropOnMainWindow, OnlyTheListAcceptsDrops) {
  HWND list = Main->ListView1->Handle();
  EXPECT_EQ(Main->DropFile1->DropTarget(), Main->ListView1);
  EXPECT_EQ(Main->DropFile1->HookedWindow(), list);
  EXPECT_TRUE(AcceptsDrops(list));
  EXPECT_FALSE(AcceptsDrops(Main->Handle()));
}

TEST_F(DropOnMainWindow, ListsTheDroppedWaveFilesAndEnablesEncode) {
  const std::string longPath = "C:\\" + std::string(140, 'f') + "\\Take.wav";
  struct TCase {
    const char* Name;
    std::vector<std::vector<std::string>> Drops;
    std::vector<std::string> Rows;
  };
  const TCase cases[] = {
      {"letter case is ignored", {{"C:\\Takes\\Take1.WAV"}}, {"C:\\Takes\\Take1.WAV"}},
      {"a text file beside a wave file", {{"C:\\a\\notes.txt", "C:\\a\\take2.wav"}}, {"C:\\a\\take2.wav"}},
      {"the last extension counts", {{"C:\\a\\archive.wav.bak"}}, {}},
      {"a name without a dot in a folder old.wav", {{"C:\\old.wav\\readme"}}, {}},
      {"a folder named loops.wav", {{"C:\\Samples\\loops.wav"}}, {"C:\\Samples\\loops.wav"}},
      {"the same file dropped twice", {{"C:\\a\\x.wav"}, {"C:\\a\\x.wav"}}, {"C:\\a\\x.wav", "C:\\a\\x.wav"}},
      {"the shell's order is kept", {{"C:\\b.wav", "C:\\a.wav", "C:\\c.wav"}}, {"C:\\b.wav", "C:\\a.wav", "C:\\c.wav"}},
      {"a path longer than 128 bytes", {{longPath}}, {longPath}},
      {"a name outside the ANSI code page", {{"C:\\Музыка\\日本の歌.wav"}}, {"C:\\Музыка\\日本の歌.wav"}},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    Main->Clear1Click(nullptr);
    for (const auto& paths : c.Drops) Drop(paths);
    EXPECT_EQ(Rows(), c.Rows);
    EXPECT_EQ(Main->Encode->Enabled(), !c.Rows.empty());
  }
}

TEST_F(DropOnMainWindow, ADropIsListedAsOneBatch) {
  // The list reports each insert to its parent: every row must go in inside one update of the list (which
  // keeps it from repainting), and only once the drop's last path has arrived.
  TOuterSubclass page(Main->Encodetab->Handle());
  std::vector<int> updateLevelAtInsert;
  page.OnMessage = [&](UINT msg, WPARAM, LPARAM lParam) {
    if (msg == WM_NOTIFY && reinterpret_cast<const NMHDR*>(lParam)->code == LVN_INSERTITEM)
      updateLevelAtInsert.push_back(Main->ListView1->UpdateCount());
  };
  std::vector<int> rowsWhilePathsArrive;
  auto addtolist = Main->DropFile1->OnDropFile;
  Main->DropFile1->OnDropFile = [&](TComponent* sender, std::string path, std::string name, std::string extension) {
    rowsWhilePathsArrive.push_back(Main->ListView1->Count());
    addtolist(sender, path, name, extension);
  };

  Drop({"C:\\1.wav", "C:\\skip.txt", "C:\\2.wav", "C:\\3.WAV"});
  EXPECT_EQ(rowsWhilePathsArrive, (std::vector<int>{0, 0, 0, 0})) << "rows go in together once the drop ends";
  EXPECT_EQ(updateLevelAtInsert, (std::vector<int>{1, 1, 1}));
  EXPECT_EQ(Main->ListView1->UpdateCount(), 0);

  // Outside a drop the handler lists its path at once.
  Main->Addtolist(nullptr, "C:\\4.wav", "4.wav", "wav");
  EXPECT_EQ(Rows(), (std::vector<std::string>{"C:\\1.wav", "C:\\2.wav", "C:\\3.WAV", "C:\\4.wav"}));
}

} // namespace
