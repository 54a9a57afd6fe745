// Quitting while an encode run is going on, through the real program: QuillStack.exe runs as a process of its own
// with its real message boxes and file dialog, driven from here by messages to its windows, and its exit code is
// what the system reports for it.
#include "ProgramProcess.h"
#include "QsTest.h"
#include "SettingsKey.h"
#include "Unicode.h"

#include <windows.h>

#include <commctrl.h>

#include <functional>
#include <string>

using namespace qs;
using namespace qs::test;

namespace {

constexpr int kWindowTimeoutMs = 30000;
constexpr int kRunTimeoutMs = 60000;
constexpr char kEncoderSleepMs[] = "1500";
constexpr char kWaveBytes[] = "RIFF\x24\0\0\0WAVEfmt ";
// The toolbar's buttons, in the toolbar's client coordinates: the middles of "Add file" and "Encode".
constexpr POINT kAddButton{23 + 11, 11};
constexpr POINT kEncodeButton{133 + 36, 11};
constexpr int kMessageBoxText = 0xFFFF;

// A visible top-level window of `process` with this class and title.
HWND FindTopLevel(DWORD process, const std::string& className, const std::string& title) {
  return qs::test::FindTopLevel(process, [&](HWND w) { return ClassOf(w) == className && TitleOf(w) == title; });
}

void ClickAt(HWND window, POINT p) {
  const LPARAM where = MAKELPARAM(p.x, p.y);
  PostMessageW(window, WM_MOUSEMOVE, 0, where);
  PostMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, where);
  PostMessageW(window, WM_LBUTTONUP, 0, where);
}

void SetEnvironment(const char* name, const std::string& value) {
  SetEnvironmentVariableW(Widen(name).c_str(), value.empty() ? nullptr : Widen(value).c_str());
}

class ProgramQuitTest : public ::testing::Test {
protected:
  void SetUp() override {
    for (const auto& [from, to] : {std::pair{std::string(QS_PROGRAM_PATH), Program.Path() + "QuillStack.exe"},
                                   std::pair{std::string(QS_TOOLS_DIR) + "/aacenc.exe", Encoder.Path() + "aacenc.exe"}})
      ASSERT_TRUE(CopyFileW(Widen(from).c_str(), Widen(to).c_str(), FALSE)) << from;
    TSettingsKey::WriteText("Encodepath", Encoder.Path());
    TSettingsKey::WriteText("Savepath", Out.Path());
    TSettingsKey::WriteText("Loadpath", In.Path());
    In.WriteFile("One.wav", std::string(kWaveBytes, 16));
    In.WriteFile("Two.wav", std::string(kWaveBytes, 16));
    SetEnvironment("QS_AACENC_SLEEP_MS", kEncoderSleepMs);
  }

  void TearDown() override {
    if (FProcess.hProcess && WaitForSingleObject(FProcess.hProcess, 0) == WAIT_TIMEOUT) {
      TerminateProcess(FProcess.hProcess, 1);
      WaitForSingleObject(FProcess.hProcess, kWindowTimeoutMs);
    }
    if (FProcess.hProcess) CloseHandle(FProcess.hProcess);
    if (FProcess.hThread) CloseHandle(FProcess.hThread);
    SetEnvironment("QS_AACENC_SLEEP_MS", "");
    // An interpreter the program left running finishes its row before the folders go.
    Poll([&] { return WaitingInterpreters() == 0; }, kRunTimeoutMs);
  }

  // Starts QuillStack with two files queued through its Add dialog and presses Encode.
  void StartProgramAndEncode() {
    std::wstring commandLine = L"QuillStack.exe";
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    ASSERT_TRUE(CreateProcessW(Widen(Program.Path() + "QuillStack.exe").c_str(), commandLine.data(), nullptr, nullptr,
                               FALSE, 0, nullptr, Widen(Program.Path()).c_str(), &startup, &FProcess));
    ASSERT_TRUE(
        Poll([&] { return (Main = FindTopLevel(FProcess.dwProcessId, "QsForm", "QuillStack V3")); }, kWindowTimeoutMs));
    HWND toolbar = FindDescendant(Main, [](HWND w) {
      return ClassOf(w) == "QsToolWindow97" && ClassOf(GetParent(w)) == "QsDock97"; // the toolbar in its dock
    });
    List = FindDescendant(Main, [](HWND w) { return ClassOf(w) == "QsListView"; });
    ASSERT_TRUE(toolbar && List);

    ClickAt(toolbar, kAddButton);
    HWND dialog = nullptr;
    ASSERT_TRUE(
        Poll([&] { return (dialog = FindTopLevel(FProcess.dwProcessId, "#32770", "Please select files to convert")); },
             kWindowTimeoutMs));
    HWND name = FindDescendant(dialog, [](HWND w) { return ClassOf(w) == "Edit" && IsWindowVisible(w); });
    ASSERT_TRUE(name);
    SendMessageW(name, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"\"One.wav\" \"Two.wav\""));
    PostMessageW(GetDlgItem(dialog, IDOK), BM_CLICK, 0, 0);
    ASSERT_TRUE(Poll([&] { return SendMessageW(List, LVM_GETITEMCOUNT, 0, 0) == 2; }, kWindowTimeoutMs));

    ClickAt(toolbar, kEncodeButton);
    ASSERT_TRUE(Poll([&] { return TitleOf(Main) == "QuillStack V3 - encoding 1 of 2"; }, kWindowTimeoutMs));
  }

  // Closes the main window and answers the question it asks with `button`.
  void CloseAndAnswer(int button) {
    PostMessageW(Main, WM_CLOSE, 0, 0);
    HWND box = nullptr;
    ASSERT_TRUE(
        Poll([&] { return (box = FindTopLevel(FProcess.dwProcessId, "#32770", "QuillStack v3")); }, kWindowTimeoutMs));
    EXPECT_EQ(TitleOf(GetDlgItem(box, kMessageBoxText)), "2 files are still waiting to be encoded. Quit anyway?");
    ASSERT_TRUE(GetDlgItem(box, button));
    PostMessageW(GetDlgItem(box, button), BM_CLICK, 0, 0);
  }

  // The program's exit code once it has ended, or nothing while it runs.
  std::optional<DWORD> ExitCode(int timeoutMs) {
    if (WaitForSingleObject(FProcess.hProcess, static_cast<DWORD>(timeoutMs)) != WAIT_OBJECT_0) return std::nullopt;
    DWORD code = 0;
    GetExitCodeProcess(FProcess.hProcess, &code);
    return code;
  }

  int EncoderCalls() const {
    const std::string log = ReadFileBytes(Encoder.Path() + "aacenc.log");
    return static_cast<int>(std::count(log.begin(), log.end(), '\n'));
  }
  // Encoders started that have not logged yet: each holds aacenc.lock while it runs.
  int WaitingInterpreters() const {
    HANDLE lock = CreateFileW(Widen(Encoder.Path() + "aacenc.lock").c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                              0, nullptr);
    if (lock == INVALID_HANDLE_VALUE) return GetLastError() == ERROR_SHARING_VIOLATION ? 1 : 0;
    CloseHandle(lock);
    return 0;
  }

  TSettingsKey Key;
  TTempDir Program, Encoder, In, Out;
  PROCESS_INFORMATION FProcess{};
  HWND Main = nullptr;
  HWND List = nullptr;
};

// "Yes" ends the process at once with exit code 0; the interpreter already started finishes its row, and no other
// row starts.
TEST_F(ProgramQuitTest, YesEndsTheProcessWithExitCodeZero) {
  ASSERT_NO_FATAL_FAILURE(StartProgramAndEncode());
  ASSERT_NO_FATAL_FAILURE(CloseAndAnswer(IDYES));
  EXPECT_EQ(ExitCode(kWindowTimeoutMs), std::optional<DWORD>(0));
  ASSERT_TRUE(Poll([&] { return EncoderCalls() == 1 && WaitingInterpreters() == 0; }, kRunTimeoutMs));
  Sleep(std::stoi(kEncoderSleepMs) * 2);
  EXPECT_EQ(EncoderCalls(), 1);
}

// "No" keeps the program and its run: both rows are encoded, after which closing asks nothing and ends with 0.
TEST_F(ProgramQuitTest, NoKeepsTheRunGoing) {
  ASSERT_NO_FATAL_FAILURE(StartProgramAndEncode());
  ASSERT_NO_FATAL_FAILURE(CloseAndAnswer(IDNO));
  EXPECT_EQ(ExitCode(0), std::nullopt);
  ASSERT_TRUE(Poll([&] { return TitleOf(Main) == "QuillStack V3"; }, kRunTimeoutMs)) << "the run never ended";
  EXPECT_EQ(EncoderCalls(), 2);
  EXPECT_EQ(ReadFileBytes(Encoder.Path() + "aacenc.overlaps.log"), "");
  PostMessageW(Main, WM_CLOSE, 0, 0);
  EXPECT_EQ(ExitCode(kWindowTimeoutMs), std::optional<DWORD>(0));
}

} // namespace
