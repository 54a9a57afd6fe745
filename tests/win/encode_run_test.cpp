// The encode run end to end: the real registry, the real command interpreter, and our stand-in aacenc.exe in a
// temporary encoder folder, which logs every call with its arguments exactly as received.
#include "MainWindowFixture.h"

#include "CommandInterpreter.h"
#include "EncodeRules.h"
#include "EndReport.h"
#include "Unicode.h"

#include <algorithm>
#include <functional>
#include <initializer_list>
#include <set>
#include <sstream>

using namespace qs;
using namespace qs::test;

namespace {

using TPaths = std::vector<std::string>;
using TCall = std::vector<std::string>;

constexpr char kIdleCaption[] = "QuillStack V3";
constexpr int kRunTimeoutMs = 60000;
// Long enough that the handler surely returns while the first encoder still sleeps.
constexpr char kEncoderSleepMs[] = "1500";
constexpr char kWaveBytes[] = "RIFF\x24\0\0\0WAVEfmt ";

// UTF-8 texts used below.
const std::string kEAcute = "\xC3\xA9";                        // é: 0x82 in the console's code page 437
const std::string kFullwidthQuote = "\xEF\xBC\x82";            // U+FF02: no exact counterpart in code page 437
const std::string kJapaneseMusic = "\xE9\x9F\xB3\xE6\xA5\xBD"; // 音楽

TCall ExpectedCall(const std::string& bitrate, const std::string& input, const std::string& output) {
  return {"-m", "tf", "-eb", ".aac", "-r", bitrate, "-c", "-aac_raw", "-vr", "-eo", ".wav", input, "-o", output};
}

std::string ExpectedLine(const std::string& bitrate, const std::string& input, const std::string& output) {
  return "call aacenc -m tf -eb .aac -r " + bitrate + " -c -aac_raw -vr -eo .wav  \"" + input + "\" -o \"" + output +
         "\"\r\n";
}

bool FileExists(const std::string& path) { return GetFileAttributesW(Widen(path).c_str()) != INVALID_FILE_ATTRIBUTES; }

void SetEnvironment(const char* name, const std::string& value) {
  SetEnvironmentVariableW(Widen(name).c_str(), value.empty() ? nullptr : Widen(value).c_str());
}

// What SetThreadExecutionState holds for this thread now. Asking changes nothing lasting on Windows; under Wine it
// also clears a state that ES_CONTINUOUS never made lasting, so only states set with it can be compared.
EXECUTION_STATE ExecutionState() { return SetThreadExecutionState(0); }

std::string ClipboardText() {
  if (!OpenClipboard(nullptr)) return "(clipboard not available)";
  std::string text;
  if (HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
    if (const auto* wide = static_cast<const wchar_t*>(GlobalLock(data))) {
      text = Narrow(wide);
      GlobalUnlock(data);
    }
  }
  CloseClipboard();
  return text;
}

void PressKeys(std::initializer_list<WORD> keys) {
  std::vector<INPUT> inputs;
  for (const WORD key : keys) {
    INPUT down{};
    down.type = INPUT_KEYBOARD;
    down.ki.wVk = key;
    inputs.push_back(down);
  }
  for (auto key = std::rbegin(keys); key != std::rend(keys); ++key) {
    INPUT up{};
    up.type = INPUT_KEYBOARD;
    up.ki.wVk = *key;
    up.ki.dwFlags = KEYEVENTF_KEYUP;
    inputs.push_back(up);
  }
  SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}

bool Inside(const RECT& inner, const RECT& outer) {
  return inner.left >= outer.left && inner.top >= outer.top && inner.right <= outer.right &&
         inner.bottom <= outer.bottom;
}

// A report fits when the whole window is inside its monitor's work area and its closing button can be clicked:
// the point in the button's middle belongs to the button itself.
void ExpectFitsTheWorkArea(TReportForm& report) {
  HWND window = report.Handle();
  MONITORINFO monitor{};
  monitor.cbSize = sizeof(monitor);
  ASSERT_TRUE(GetMonitorInfoW(MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST), &monitor));
  RECT outer{}, button{};
  GetWindowRect(window, &outer);
  GetWindowRect(report.CloseButton->Handle(), &button);
  EXPECT_TRUE(IsWindowVisible(window));
  EXPECT_TRUE(Inside(outer, monitor.rcWork))
      << "window " << outer.left << "," << outer.top << " - " << outer.right << "," << outer.bottom;
  EXPECT_TRUE(IsWindowVisible(report.CloseButton->Handle()));
  EXPECT_TRUE(Inside(button, outer));
  const POINT middle{(button.left + button.right) / 2, (button.top + button.bottom) / 2};
  EXPECT_EQ(WindowFromPoint(middle), report.CloseButton->Handle());
}

// The interpreters we start share our console and echo each line there; the test's output is easier to read without.
class TQuietChildren {
public:
  TQuietChildren()
      : FOutput(GetStdHandle(STD_OUTPUT_HANDLE)), FError(GetStdHandle(STD_ERROR_HANDLE)),
        FNull(CreateFileW(L"NUL", GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0,
                          nullptr)) {
    if (!FNull) return;
    SetStdHandle(STD_OUTPUT_HANDLE, FNull.Get());
    SetStdHandle(STD_ERROR_HANDLE, FNull.Get());
  }
  ~TQuietChildren() {
    SetStdHandle(STD_OUTPUT_HANDLE, FOutput);
    SetStdHandle(STD_ERROR_HANDLE, FError);
  }
  TQuietChildren(const TQuietChildren&) = delete;
  TQuietChildren& operator=(const TQuietChildren&) = delete;

private:
  HANDLE FOutput, FError;
  TFileHandle FNull;
};

class EncodeRunTest : public TMainWindowFixture {
protected:
  void SetUp() override {
    for (const char* tool : {"aacenc.exe", "qscmd.exe"}) {
      const std::wstring from = Widen(std::string(QS_TOOLS_DIR) + "/" + tool);
      ASSERT_TRUE(CopyFileW(from.c_str(), Widen(Encoder.Path() + tool).c_str(), FALSE)) << tool;
    }
    FComspec = EnvironmentText("COMSPEC");
    TSettingsKey::WriteText("Encodepath", Encoder.Path());
    TSettingsKey::WriteText("Savepath", Out.Path());
    OpenMain();
  }

  void TearDown() override {
    CloseMain();
    // Nothing may still hold the temporary folders' files when they are removed.
    PumpUntil([] { return false; }, EncodersStarted() ? kSettleMs : 0);
    for (const char* name : {"QS_AACENC_EXIT", "QS_AACENC_EXIT_ON", "QS_AACENC_SLEEP_MS", "QS_QSCMD_LOG",
                             "QS_QSCMD_SLEEP_MS", "QS_QSCMD_EXIT"})
      SetEnvironment(name, "");
    SetEnvironment("COMSPEC", FComspec);
  }

  // The stand-in interpreter (tests/tools/qscmd.cpp) instead of the system's, logging into the encoder folder.
  void UseStandInInterpreter() {
    SetEnvironment("COMSPEC", Encoder.Path() + "qscmd.exe");
    SetEnvironment("QS_QSCMD_LOG", Encoder.Path() + "qscmd.log");
  }
  struct TInterpreterCall {
    std::string Folder, Arguments, GoBatLine;
    bool operator==(const TInterpreterCall&) const = default;
  };
  std::vector<TInterpreterCall> InterpreterCalls() const {
    std::vector<TInterpreterCall> calls;
    std::istringstream log(ReadFileBytes(Encoder.Path() + "qscmd.log"));
    for (std::string line; std::getline(log, line);) {
      std::istringstream fields(line);
      TInterpreterCall call;
      std::getline(fields, call.Folder, '\t');
      std::getline(fields, call.Arguments, '\t');
      std::getline(fields, call.GoBatLine);
      calls.push_back(call);
    }
    return calls;
  }
  // The folder as the interpreter sees its current directory: without the trailing backslash.
  std::string EncoderFolderAsCurrent() const { return Encoder.Path().substr(0, Encoder.Path().size() - 1); }
  std::string Overlaps() const { return ReadFileBytes(Encoder.Path() + "aacenc.overlaps.log"); }

  static std::string EnvironmentText(const char* name) {
    wchar_t value[MAX_PATH]{};
    const DWORD length = GetEnvironmentVariableW(Widen(name).c_str(), value, MAX_PATH);
    return length > 0 && length < MAX_PATH ? Narrow(value) : std::string();
  }

  TEndReport* Report() const { return Main->EncodeRun().Report(); }

  std::string Wav(const std::string& relative) const { return In.WriteFile(relative, std::string(kWaveBytes, 16)); }

  std::vector<TCall> EncoderCalls() const {
    std::vector<TCall> calls;
    std::istringstream log(ReadFileBytes(Encoder.Path() + "aacenc.log"));
    for (std::string line; std::getline(log, line);) {
      TCall call;
      std::istringstream fields(line);
      for (std::string field; std::getline(fields, field, '\t');) call.push_back(field);
      calls.push_back(call);
    }
    return calls;
  }
  bool EncodersStarted() const { return FileExists(Encoder.Path() + "aacenc.log"); }

  void Encode() { Click(&TMain::EncodeClick); }
  bool WaitForRunEnd() {
    return PumpUntil([&] { return !Main->EncodeRun().InProgress(); }, kRunTimeoutMs);
  }
  std::string GoBat() const { return ReadFileBytes(Encoder.Path() + "go.bat"); }
  std::string Caption() const { return Main->Caption(); }

  static constexpr int kSettleMs = 500;
  TQuietChildren Quiet;
  TTempDir Encoder, In, Out;
  std::string FComspec;
};

// The one line of go.bat, byte for byte with its CR LF, for the cases the line's rules name.
TEST_F(EncodeRunTest, GoBatHoldsTheLineByteForByte) {
  struct TCase {
    const char* Name;
    std::string Bitrate, Input, SaveFolder;
    std::string Line;
  };
  const std::string song = Wav("Song.wav");
  const TCase cases[] = {
      {"the example", "128000", "C:\\Music\\Song.wav", "D:\\Out\\",
       "call aacenc -m tf -eb .aac -r 128000 -c -aac_raw -vr -eo .wav  \"C:\\Music\\Song.wav\" -o "
       "\"D:\\Out\\Song.aac\"\r\n"},
      {"upper-case .WAV", "128000", "D:\\In\\Track.WAV", "c:\\",
       ExpectedLine("128000", "D:\\In\\Track.WAV", "c:\\Track.aac")},
      {"typed bitrate", "96k", "C:\\Music\\Song.wav", "D:\\Out\\",
       ExpectedLine("96k", "C:\\Music\\Song.wav", "D:\\Out\\Song.aac")},
      {"Error save folder is a name prefix", "128000", song, "Error", ExpectedLine("128000", song, "ErrorSong.aac")},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    Click(&TMain::Clear1Click);
    Main->AppendQueueRows({c.Input});
    Main->Bitratebox->SetText(c.Bitrate);
    Main->Label3->SetCaption(c.SaveFolder);
    Encode();
    ASSERT_TRUE(WaitForRunEnd());
    EXPECT_EQ(GoBat(), c.Line);
    EXPECT_EQ(TSettingsKey::ReadText("Bitrate"), c.Bitrate);
    EXPECT_EQ(Caption(), kIdleCaption);
  }
  // The "Error" prefix names a file relative to the interpreter's current directory: the encoder folder.
  EXPECT_TRUE(FileExists(Encoder.Path() + "ErrorSong.aac"));
}

TEST_F(EncodeRunTest, EmptyQueueStoresLoadpathAndBitrateOnly) {
  struct TCase {
    const char* Name;
    std::optional<std::string> AddDialogFile;
    std::optional<std::string> StoredLoadpath;
    std::optional<std::string> Loadpath;
  };
  const TCase cases[] = {
      {"folder of the Add dialog's file", "C:\\In\\x.wav", std::nullopt, "C:\\In\\"},
      {"dialog's folder replaces the stored one", "C:\\In\\x.wav", "C:\\Old\\", "C:\\In\\"},
      {"no dialog file yet: stored Loadpath kept", std::nullopt, "C:\\Kept\\", "C:\\Kept\\"},
      {"no dialog file and nothing stored: never written empty", std::nullopt, std::nullopt, std::nullopt},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    CloseMain();
    TSettingsKey::Clear();
    TSettingsKey::WriteText("Encodepath", Encoder.Path());
    if (c.StoredLoadpath) TSettingsKey::WriteText("Loadpath", *c.StoredLoadpath);
    OpenMain();
    if (c.AddDialogFile) {
      AddFiles({*c.AddDialogFile});
      Click(&TMain::Clear1Click);
    }
    std::set<std::string> expectedNames = TSettingsKey::ValueNames();
    expectedNames.insert("Bitrate");
    if (c.Loadpath) expectedNames.insert("Loadpath");

    Encode();
    EXPECT_FALSE(Main->EncodeRun().InProgress());
    EXPECT_EQ(TSettingsKey::ReadText("Loadpath"), c.Loadpath);
    EXPECT_EQ(TSettingsKey::ReadText("Bitrate"), "128000");
    EXPECT_EQ(TSettingsKey::ValueNames(), expectedNames);
    EXPECT_FALSE(FileExists(Encoder.Path() + "go.bat"));
    EXPECT_TRUE(Seams().MessageBoxes.empty());
  }
  EXPECT_FALSE(EncodersStarted());
}

// Every row once, in order, with exact paths; each interpreter exits before go.bat is rewritten for the next.
TEST_F(EncodeRunTest, RowsRunOneAtATimeInOrder) {
  const std::string names[] = {"One", "Two", "Three", "Four"};
  TPaths rows;
  std::vector<TCall> expected;
  for (const std::string& name : names) {
    rows.push_back(Wav(name + ".wav"));
    expected.push_back(ExpectedCall("128000", rows.back(), Out.Path() + name + ".aac"));
  }
  AddFiles(rows);
  SetEnvironment("QS_AACENC_SLEEP_MS", kEncoderSleepMs);

  Encode();
  // The handler returned while the first encoder still sleeps: the window was never blocked.
  EXPECT_TRUE(Main->EncodeRun().InProgress());
  EXPECT_FALSE(EncodersStarted());
  EXPECT_EQ(Caption(), "QuillStack V3 - encoding 1 of 4");
  EXPECT_EQ(Main->EncodeRun().RowsWaiting(), 4u);
  EXPECT_EQ(ExecutionState() & (ES_CONTINUOUS | ES_SYSTEM_REQUIRED), ES_CONTINUOUS | ES_SYSTEM_REQUIRED);
  EXPECT_TRUE(PumpUntil([&] { return Caption() == "QuillStack V3 - encoding 2 of 4"; }, kRunTimeoutMs));
  // Mid-run: the first encoder has ended and the second sleeps holding its lock; an encoder started for a row
  // before the one before it had ended would have found the lock taken.
  EXPECT_EQ(EncoderCalls().size(), 1u);
  EXPECT_EQ(Overlaps(), "");

  ASSERT_TRUE(WaitForRunEnd());
  EXPECT_EQ(Overlaps(), "");
  EXPECT_EQ(EncoderCalls(), expected);
  EXPECT_EQ(GoBat(), ExpectedLine("128000", rows.back(), Out.Path() + "Four.aac"));
  for (const std::string& name : names) EXPECT_TRUE(FileExists(Out.Path() + name + ".aac")) << name;
  EXPECT_EQ(Caption(), kIdleCaption);
  EXPECT_EQ(ExecutionState(), static_cast<EXECUTION_STATE>(ES_CONTINUOUS)) << "the system may sleep again";
  EXPECT_TRUE(Seams().MessageBoxes.empty()) << "a run in which all went well shows nothing";
  EXPECT_EQ(Report(), nullptr);
  EXPECT_EQ(Seams().ShutDowns, 0);
  EXPECT_EQ(Rows(), rows) << "the queue is kept";
}

TEST_F(EncodeRunTest, RunWorksFromWhatWasTakenWhenEncodeWasPressed) {
  const TPaths rows = {Wav("One.wav"), Wav("Two.wav")};
  AddFiles(rows);
  SetEnvironment("QS_AACENC_SLEEP_MS", kEncoderSleepMs);
  Encode();

  Main->Bitratebox->SetText("999");
  Main->Label3->SetCaption("C:\\Elsewhere\\");
  Main->Powerdownbox->SetChecked(true);
  Click(&TMain::Clear1Click);
  AddFiles({Wav("Three.wav")});
  Encode(); // starts nothing while a run is in progress

  ASSERT_TRUE(WaitForRunEnd());
  PumpUntil([] { return false; }, kSettleMs);
  EXPECT_EQ(EncoderCalls(), (std::vector<TCall>{ExpectedCall("128000", rows[0], Out.Path() + "One.aac"),
                                                ExpectedCall("128000", rows[1], Out.Path() + "Two.aac")}));
  EXPECT_EQ(Main->EncodeRun().Countdown(), nullptr) << "power-down was off when the run was taken";
  EXPECT_EQ(TSettingsKey::ReadText("Bitrate"), "128000");
}

TEST_F(EncodeRunTest, PowerDownIsRequestedOnceAfterTheLastRow) {
  struct TCase {
    const char* Name;
    int CountdownSeconds;
    bool PressCancel;
    int ShutDowns;
  };
  const TCase cases[] = {
      {"countdown runs out", 1, false, 1},
      {"Cancel pressed", TPowerDownCountdown::DefaultSeconds, true, 0},
  };
  const TPaths rows = {Wav("One.wav"), Wav("Two.wav"), Wav("Three.wav")};
  AddFiles(rows);
  Main->Powerdownbox->SetChecked(true);
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    DeleteFileW(Widen(Encoder.Path() + "aacenc.log").c_str());
    Seams().ShutDowns = 0;
    Main->EncodeRun().SetCountdownSeconds(c.CountdownSeconds);
    SetEnvironment("QS_AACENC_SLEEP_MS", "300");
    Encode();
    EXPECT_TRUE(Main->EncodeRun().InProgress()) << "power-down mode does not block the window either";
    EXPECT_FALSE(EncodersStarted());

    ASSERT_TRUE(PumpUntil([&] { return Main->EncodeRun().Countdown() && Main->EncodeRun().Countdown()->Counting(); },
                          kRunTimeoutMs));
    EXPECT_EQ(EncoderCalls().size(), rows.size()) << "the countdown starts after the last row";
    EXPECT_EQ(Seams().ShutDowns, 0) << "no request while rows ran";
    EXPECT_TRUE(IsWindowVisible(Main->EncodeRun().Countdown()->Handle()));
    if (c.PressCancel) SendMessageW(Main->EncodeRun().Countdown()->CancelButton->Handle(), BM_CLICK, 0, 0);
    ASSERT_TRUE(WaitForRunEnd());
    PumpUntil([] { return false; }, kSettleMs);
    EXPECT_EQ(Seams().ShutDowns, c.ShutDowns);
  }
}

// Characters the interpreter treats specially, and one outside ASCII, arrive at the encoder as they were listed.
TEST_F(EncodeRunTest, PathsReachTheEncoderIntact) {
  struct TCase {
    std::string Relative, Base;
  };
  const TCase cases[] = {
      {"Caf" + kEAcute + " au lait\\Track one.wav", "Track one"},
      {"R&B (live)\\A & B (1).wav", "A & B (1)"},
      {"100%\\50% mix %PATH%.wav", "50% mix %PATH%"},
      {"a;b,c=d!e\\x!y.wav", "x!y"},
  };
  TPaths rows;
  std::vector<TCall> expected;
  for (const TCase& c : cases) {
    rows.push_back(Wav(c.Relative));
    expected.push_back(ExpectedCall("128000", rows.back(), Out.Path() + c.Base + ".aac"));
  }
  AddFiles(rows);
  Encode();
  ASSERT_TRUE(WaitForRunEnd());
  EXPECT_EQ(EncoderCalls(), expected);
  for (const TCase& c : cases) EXPECT_TRUE(FileExists(Out.Path() + c.Base + ".aac")) << c.Base;
  EXPECT_TRUE(Seams().MessageBoxes.empty());
}

// The bytes of go.bat under each interpreter's percent rule, and a look-alike quote that must never become '"'.
TEST_F(EncodeRunTest, GoBatBytesUnderBothInterpreterRules) {
  ASSERT_EQ(GetOEMCP(), 437u) << "the test session pins its locale, and so the console's code page";
  struct TCase {
    const char* Name;
    TInterpreterRule Rule;
    std::string Input;
    std::string Line; // empty: the row is not run and go.bat is not written
  };
  const std::string percent = "C:\\In\\100% pure.wav";
  const std::string lookAlike = "C:\\In\\a" + kFullwidthQuote + " & calc & " + kFullwidthQuote + ".wav";
  const TCase cases[] = {
      {"percent, Windows cmd", irWindowsCmd, percent,
       ExpectedLine("128000", "C:\\In\\100%%%% pure.wav", Out.Path() + "100%%%% pure.aac")},
      {"percent, Wine cmd", irWineCmd, percent,
       ExpectedLine("128000", "C:\\In\\100%% pure.wav", Out.Path() + "100%% pure.aac")},
      {"fullwidth quote, Windows cmd", irWindowsCmd, lookAlike, ""},
      {"fullwidth quote, Wine cmd", irWineCmd, lookAlike, ""},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    DeleteFileW(Widen(Encoder.Path() + "go.bat").c_str());
    Click(&TMain::Clear1Click);
    Main->AppendQueueRows({c.Input});
    Main->EncodeRun().SetInterpreterRule(c.Rule);
    Encode();
    ASSERT_TRUE(WaitForRunEnd());
    EXPECT_EQ(GoBat(), c.Line);
    EXPECT_TRUE(Seams().MessageBoxes.empty());
    if (c.Line.empty()) {
      ASSERT_NE(Report(), nullptr);
      EXPECT_EQ(Report()->ReportText(), "1 of 1 file was not encoded\n\n" + c.Input +
                                            ": not run: the input path holds the character \"" + kFullwidthQuote +
                                            "\" (U+FF02), which the console's code page cannot hold");
    }
  }
}

// A file in a folder whose name the console cannot show runs under its 8.3 path when the file system has one.
TEST_F(EncodeRunTest, ShortNameStandsInForAFolderOutsideTheCodePage) {
  const std::string input = Wav(kJapaneseMusic + "\\Song.wav");
  const std::optional<std::string> shortInput = ShortPathName(input);
  if (!shortInput || shortInput->find(kJapaneseMusic) != std::string::npos) {
    const char* gap = "this file system gives no usable 8.3 name";
    if (InTestSession()) FAIL() << gap << ", although the test session's does";
    GTEST_SKIP() << gap;
  }
  AddFiles({input});
  Encode();
  ASSERT_TRUE(WaitForRunEnd());
  EXPECT_EQ(EncoderCalls(), std::vector<TCall>{ExpectedCall("128000", *shortInput, Out.Path() + "Song.aac")});
  EXPECT_TRUE(FileExists(Out.Path() + "Song.aac"));
  EXPECT_TRUE(Seams().MessageBoxes.empty());
}

// The report at the end names every file that was not run or whose run failed, with the reason; the rest run. It is
// a window of its own that fits the screen, its text can be copied, and OK closes it.
TEST_F(EncodeRunTest, EndReportListsRowsNotRunAndFailedRuns) {
  const std::string good = Wav("Good.wav");
  const std::string outside = "C:\\In\\" + kJapaneseMusic + ".wav"; // no such file, so no 8.3 name either
  const std::string failing = Wav("Fails.wav");
  const std::string missing = In.Path() + "Missing.wav";
  AddFiles({good, outside, failing, missing});
  SetEnvironment("QS_AACENC_EXIT", "3");
  SetEnvironment("QS_AACENC_EXIT_ON", "Fails");
  Encode();
  ASSERT_TRUE(WaitForRunEnd());

  const std::vector<TCall> calls = EncoderCalls();
  ASSERT_EQ(calls.size(), 3u);
  EXPECT_EQ(calls[0][11], good);
  EXPECT_EQ(calls[1][11], failing);
  EXPECT_EQ(calls[2][11], missing);
  EXPECT_TRUE(Seams().MessageBoxes.empty()) << "the report is a window of its own, not a message box";
  ASSERT_NE(Report(), nullptr);
  // Known platform gap: Wine's cmd ends a CALL of a failing program with errorlevel 1, whatever its exit code;
  // Windows' cmd passes the program's own code on. The stand-in interpreter's test checks the codes themselves.
  const bool wine = RunningInterpreterRule() == irWineCmd;
  const std::string lines = outside + ": not run: the input path holds the character \"" + kJapaneseMusic.substr(0, 3) +
                            "\" (U+97F3), which the console's code page cannot hold\n" + failing +
                            ": the encoder's run ended with exit code " + (wine ? "1" : "3") + "\n" + missing +
                            ": the encoder's run ended with exit code " + (wine ? "1" : "2");
  EXPECT_EQ(Report()->Caption(), "QuillStack v3");
  EXPECT_EQ(Report()->Summary->Caption(), "3 of 4 files were not encoded");
  EXPECT_EQ(Report()->List->Text(), lines);
  EXPECT_EQ(Report()->ReportText(), "3 of 4 files were not encoded\n\n" + lines);
  ExpectFitsTheWorkArea(*Report());

  SendMessageW(Report()->CopyButton->Handle(), BM_CLICK, 0, 0);
  std::string copied = ClipboardText();
  std::erase(copied, '\r');
  EXPECT_EQ(copied, Report()->ReportText());

  SendMessageW(Report()->OkButton->Handle(), BM_CLICK, 0, 0);
  EXPECT_FALSE(IsWindowVisible(Report()->Handle()));
  EXPECT_TRUE(IsWindowEnabled(Main->Handle())) << "nothing was modal";
}

// Ctrl+C copies what is selected in the list; Enter and Esc close the report like OK.
TEST_F(EncodeRunTest, EndReportAnswersTheKeyboard) {
  struct TCase {
    const char* Name;
    WORD Key;
  };
  const TCase cases[] = {{"Esc", VK_ESCAPE}, {"Enter", VK_RETURN}};
  UseStandInInterpreter();
  SetEnvironment("QS_QSCMD_EXIT", "3");
  const std::string row = "C:\\In\\Song.wav";
  Main->AppendQueueRows({row});
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    Encode();
    ASSERT_TRUE(WaitForRunEnd());
    ASSERT_NE(Report(), nullptr);
    SetForegroundWindow(Report()->Handle());
    Report()->List->SetFocus();
    Report()->List->SelectAll();
    PressKeys({VK_CONTROL, 'C'});
    PumpMessages();
    EXPECT_EQ(ClipboardText(), row + ": the encoder's run ended with exit code 3");

    Report()->OkButton->SetFocus();
    PressKeys({c.Key});
    EXPECT_TRUE(PumpUntil([&] { return !IsWindowVisible(Report()->Handle()); }));
  }
}

// 101 files, 53 of which cannot be run for reasons of every kind: each of those is named with its culprit, the
// others all run, and the report still fits the screen with OK in reach while its list scrolls.
TEST_F(EncodeRunTest, ReportOfAHundredAndOneHostileNamesFitsTheScreen) {
  const std::string longFolder(8200, 'x');
  struct TKind {
    std::string Prefix, Reason;
  };
  const std::string outside = "which the console's code page cannot hold";
  const TKind hostile[] = {
      {"C:\\In\\A^B ", "not run: the input path holds a caret (^), which the command interpreter would double"},
      {"C:\\In\\A\"B ", "not run: the input path holds a double quote (\"), which would break the command line"},
      {"C:\\In\\A\tB ",
       "not run: the input path holds the control character U+0009, which would break the command line"},
      {"C:\\" + kJapaneseMusic + "\\",
       "not run: the input path holds the character \"\xE9\x9F\xB3\" (U+97F3), " + outside},
      {"C:\\In\\\xED\x95\x9C\xEA\xB5\xAD ", // 한국
       "not run: the input path holds the character \"\xED\x95\x9C\" (U+D55C), " + outside},
      {"C:\\In\\\xCE\x95\xCE\xBB\xCE\xBB ", // Ελλ
       "not run: the input path holds the character \"\xCE\x95\" (U+0395), " + outside},
      {"C:\\" + longFolder + "\\", ""},
  };
  constexpr int kRows = 101;
  constexpr int kHostileRows = 53;
  UseStandInInterpreter();
  TPaths rows;
  std::string expectedLines;
  int hostileRows = 0;
  for (int i = 0; i < kRows; ++i) {
    const std::string number = std::to_string(i + 1);
    // Plain and hostile rows alternate until the plain ones are all listed; hostile ones follow.
    if (i % 2 == 0 || i >= 2 * (kRows - kHostileRows)) {
      const TKind& kind = hostile[static_cast<size_t>(hostileRows) % std::size(hostile)];
      rows.push_back(kind.Prefix + number + ".wav");
      const std::string reason = kind.Reason.empty()
                                     ? "not run: its command line would be " +
                                           std::to_string(BuildEncodeLine("128000", rows.back(), Out.Path()).size()) +
                                           " characters long, over the command interpreter's limit of 8191"
                                     : kind.Reason;
      if (!expectedLines.empty()) expectedLines += '\n';
      expectedLines += rows.back() + ": " + reason;
      ++hostileRows;
    } else {
      rows.push_back("C:\\In\\Track " + number + ".wav");
    }
  }
  ASSERT_EQ(hostileRows, kHostileRows);
  Main->AppendQueueRows(rows);
  Encode();
  ASSERT_TRUE(WaitForRunEnd());

  const std::vector<TInterpreterCall> calls = InterpreterCalls();
  EXPECT_EQ(calls.size(), static_cast<size_t>(kRows - kHostileRows));
  for (const TInterpreterCall& call : calls) {
    EXPECT_EQ(call.Folder, EncoderFolderAsCurrent());
    EXPECT_EQ(call.Arguments, "/c go.bat");
  }
  ASSERT_NE(Report(), nullptr);
  EXPECT_EQ(Report()->Summary->Caption(), "53 of 101 files were not encoded");
  EXPECT_EQ(Report()->List->Text(), expectedLines);
  ExpectFitsTheWorkArea(*Report());

  // Every run failing too: 101 lines are more than the screen holds, so the list takes what is left and scrolls.
  SetEnvironment("QS_QSCMD_EXIT", "3");
  Encode();
  ASSERT_TRUE(WaitForRunEnd());
  ASSERT_NE(Report(), nullptr);
  EXPECT_EQ(Report()->Summary->Caption(), "101 of 101 files were not encoded");
  ExpectFitsTheWorkArea(*Report());
  SCROLLINFO scroll{};
  scroll.cbSize = sizeof(scroll);
  scroll.fMask = SIF_ALL;
  ASSERT_TRUE(GetScrollInfo(Report()->List->Handle(), SB_VERT, &scroll));
  EXPECT_GT(scroll.nMax - scroll.nMin + 1, static_cast<int>(scroll.nPage)) << "the list scrolls";
}

TEST_F(EncodeRunTest, FailuresBeforeAnyRowStartNothing) {
  struct TCase {
    const char* Name;
    std::function<std::string()> EncoderFolder; // stored as "Encodepath"
    std::function<std::string()> Error;
    bool HoldGoBat = false;
  };
  TTempDir current;
  const TCase cases[] = {
      {"missing encoder folder", [&] { return Encoder.Path() + "missing\\"; },
       [&] { return "Cannot open encoder folder " + Encoder.Path() + "missing\\."; }},
      {"relative encoder folder", [] { return std::string("sub\\"); },
       [] { return std::string("Cannot open encoder folder sub\\."); }},
      {"a file, not a folder", [&] { return Encoder.Path() + "aacenc.exe\\"; },
       [&] { return "Cannot open encoder folder " + Encoder.Path() + "aacenc.exe\\."; }},
      // Last, because the test's own go.bat stays behind.
      {"go.bat held open without sharing", [&] { return Encoder.Path(); },
       [] { return std::string("Cannot create file go.bat."); }, true},
  };
  current.WriteFile("sub\\keep.txt", "");
  wchar_t before[MAX_PATH]{};
  GetCurrentDirectoryW(MAX_PATH, before);
  SetCurrentDirectoryW(Widen(current.Path()).c_str());
  AddFiles({Wav("One.wav")});
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    Seams().MessageBoxes.clear();
    TSettingsKey::WriteText("Encodepath", c.EncoderFolder());
    TFileHandle held;
    if (c.HoldGoBat)
      held.Reset(CreateFileW(Widen(Encoder.Path() + "go.bat").c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                             CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    Encode();
    ASSERT_EQ(Seams().MessageBoxes.size(), 1u);
    EXPECT_EQ(Seams().MessageBoxes[0].Text, c.Error());
    EXPECT_EQ(Seams().MessageBoxes[0].Type & MB_ICONMASK, static_cast<UINT>(MB_ICONSTOP));
    EXPECT_FALSE(Main->EncodeRun().InProgress());
    EXPECT_EQ(Caption(), kIdleCaption);
    EXPECT_FALSE(FileExists(current.Path() + "go.bat")) << "never written into the current folder";
    EXPECT_FALSE(FileExists(current.Path() + "sub\\go.bat"));
    if (!c.HoldGoBat) {
      EXPECT_FALSE(FileExists(Encoder.Path() + "go.bat"));
    }
  }
  SetCurrentDirectoryW(before);
  PumpUntil([] { return false; }, kSettleMs);
  EXPECT_FALSE(EncodersStarted());
}

// With no encoder ever chosen, the load folder stands in for the encoder folder; after drops only, the stored
// "Loadpath" is that load folder.
TEST_F(EncodeRunTest, LoadFolderStandsInForAnEncoderNeverChosen) {
  struct TCase {
    const char* Name;
    bool ThroughAddDialog;
  };
  const TCase cases[] = {{"added through the dialog", true}, {"dropped only", false}};
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    CloseMain();
    TSettingsKey::Clear();
    if (!c.ThroughAddDialog) TSettingsKey::WriteText("Loadpath", Encoder.Path());
    DeleteFileW(Widen(Encoder.Path() + "aacenc.log").c_str());
    OpenMain();
    const std::string row = Encoder.Path() + "Here.wav";
    Encoder.WriteFile("Here.wav", kWaveBytes);
    if (c.ThroughAddDialog) AddFiles({row});
    else Main->AppendQueueRows({row});
    Main->Label3->SetCaption(Out.Path());
    Encode();
    ASSERT_TRUE(WaitForRunEnd());
    EXPECT_EQ(EncoderCalls(), std::vector<TCall>{ExpectedCall("128000", row, Out.Path() + "Here.aac")});
    EXPECT_EQ(TSettingsKey::ReadText("Loadpath"), Encoder.Path());
  }
}

TEST_F(EncodeRunTest, ClosingWhileRowsWaitAsksFirst) {
  struct TCase {
    const char* Name;
    int Answer;
    bool StaysOpen;
  };
  const TCase cases[] = {{"No keeps the run going", IDNO, true}, {"Yes quits", IDYES, false}};
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    CloseMain();
    DeleteFileW(Widen(Encoder.Path() + "aacenc.log").c_str());
    OpenMain();
    const TPaths rows = {Wav("One.wav"), Wav("Two.wav"), Wav("Three.wav")};
    AddFiles(rows);
    SetEnvironment("QS_AACENC_SLEEP_MS", "700");
    Encode();
    Seams().MessageBoxAnswers.push_back(c.Answer);
    SendMessageW(Main->Handle(), WM_CLOSE, 0, 0);
    ASSERT_EQ(Seams().MessageBoxes.size(), 1u);
    EXPECT_EQ(Seams().MessageBoxes[0].Text, "3 files are still waiting to be encoded. Quit anyway?");
    EXPECT_EQ(Seams().MessageBoxes[0].Caption, "QuillStack v3");
    EXPECT_EQ(Seams().MessageBoxes[0].Type & MB_TYPEMASK, static_cast<UINT>(MB_YESNO));
    EXPECT_EQ(IsWindowVisible(Main->Handle()) != FALSE, c.StaysOpen);
    if (c.StaysOpen) {
      ASSERT_TRUE(WaitForRunEnd());
      EXPECT_EQ(EncoderCalls().size(), rows.size());
      SendMessageW(Main->Handle(), WM_CLOSE, 0, 0);
      EXPECT_EQ(Seams().MessageBoxes.size(), 1u) << "nothing waits any more: no question";
      EXPECT_FALSE(IsWindowVisible(Main->Handle()));
    } else {
      // The window goes; the interpreter already started finishes its row, and no further row starts.
      CloseMain();
      PumpUntil([&] { return EncodersStarted(); }, kRunTimeoutMs);
      PumpUntil([] { return false; }, 2000);
      EXPECT_EQ(EncoderCalls().size(), 1u);
    }
    Seams().MessageBoxes.clear();
    SetEnvironment("QS_AACENC_SLEEP_MS", "");
  }
}

// The interpreter named by COMSPEC is started as "<it> /c go.bat" in the encoder folder, and what becomes of it,
// seen end to end through the stand-in: its exit code as it is, or why it could not be started.
TEST_F(EncodeRunTest, InterpreterExitCodesAndStartFailuresReachTheReport) {
  struct TCase {
    const char* Name;
    std::function<std::string()> Comspec; // empty: unset
    const char* ExitCode;
    std::string Reason; // empty: the row was encoded and there is no report
  };
  const TCase cases[] = {
      {"exit code 0", [&] { return Encoder.Path() + "qscmd.exe"; }, "0", ""},
      {"exit code 3", [&] { return Encoder.Path() + "qscmd.exe"; }, "3", "the encoder's run ended with exit code 3"},
      {"access violation", [&] { return Encoder.Path() + "qscmd.exe"; }, "0xC0000005",
       "the encoder's run ended with exit code 0xC0000005"},
      {"COMSPEC not set", [] { return std::string(); }, "0",
       "not run: the command interpreter could not be started (COMSPEC is not set)"},
      {"interpreter missing", [&] { return Encoder.Path() + "missing.exe"; }, "0",
       "not run: the command interpreter could not be started (" + SystemErrorText(ERROR_FILE_NOT_FOUND) + ")"},
  };
  const std::string row = "C:\\In\\Song.wav";
  Main->AppendQueueRows({row});
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    DeleteFileW(Widen(Encoder.Path() + "qscmd.log").c_str());
    UseStandInInterpreter();
    SetEnvironment("COMSPEC", c.Comspec());
    SetEnvironment("QS_QSCMD_EXIT", c.ExitCode);
    Encode();
    ASSERT_TRUE(WaitForRunEnd());
    const bool started = c.Reason.find("could not be started") == std::string::npos;
    const std::string line = ExpectedLine("128000", row, Out.Path() + "Song.aac");
    const std::vector<TInterpreterCall> expected = {
        {EncoderFolderAsCurrent(), "/c go.bat", line.substr(0, line.size() - 2)}};
    EXPECT_EQ(InterpreterCalls(), started ? expected : std::vector<TInterpreterCall>{});
    if (c.Reason.empty()) {
      EXPECT_EQ(Report(), nullptr);
    } else {
      ASSERT_NE(Report(), nullptr);
      EXPECT_EQ(Report()->ReportText(), "1 of 1 file was not encoded\n\n" + row + ": " + c.Reason);
    }
    EXPECT_TRUE(Seams().MessageBoxes.empty());
  }
}

// go.bat that cannot be written for a later row ends the run there: the error box says why, the report lists the
// earlier row's failure and every row not run, no other interpreter starts and no power-down follows.
TEST_F(EncodeRunTest, GoBatUnwritableAtALaterRowEndsTheRunWithErrorBoxAndReport) {
  UseStandInInterpreter();
  SetEnvironment("QS_QSCMD_EXIT", "3");
  SetEnvironment("QS_QSCMD_SLEEP_MS", "700");
  const TPaths rows = {"C:\\In\\One.wav", "C:\\In\\Two.wav", "C:\\In\\Three.wav"};
  Main->AppendQueueRows(rows);
  Main->Powerdownbox->SetChecked(true);
  Encode();
  // The first interpreter has read go.bat and sleeps; go.bat is then held open without sharing until the end.
  ASSERT_TRUE(PumpUntil([&] { return InterpreterCalls().size() == 1; }, kRunTimeoutMs));
  TFileHandle held(CreateFileW(Widen(Encoder.Path() + "go.bat").c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                               OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  ASSERT_TRUE(held);
  ASSERT_TRUE(WaitForRunEnd());
  PumpUntil([] { return false; }, kSettleMs);

  EXPECT_EQ(InterpreterCalls().size(), 1u);
  ASSERT_EQ(Seams().MessageBoxes.size(), 1u);
  EXPECT_EQ(Seams().MessageBoxes[0].Text, "Cannot create file go.bat.");
  EXPECT_EQ(Seams().MessageBoxes[0].Type & MB_ICONMASK, static_cast<UINT>(MB_ICONSTOP));
  ASSERT_NE(Report(), nullptr);
  EXPECT_EQ(Report()->ReportText(),
            "3 of 3 files were not encoded\n\n" + rows[0] + ": the encoder's run ended with exit code 3\n" + rows[1] +
                ": not run: go.bat could not be written in the encoder folder\n" + rows[2] +
                ": not run: the run ended at an earlier file, whose go.bat could not be written");
  EXPECT_TRUE(IsWindowVisible(Report()->Handle()));
  EXPECT_EQ(Main->EncodeRun().Countdown(), nullptr);
  EXPECT_EQ(Seams().ShutDowns, 0);
  EXPECT_EQ(Caption(), kIdleCaption);
}

// A bitrate that could end the option or start a command is refused before anything is written or run; the stored
// bitrate keeps its value.
TEST_F(EncodeRunTest, BitrateThatCouldBreakTheLineIsRefusedBeforeAnythingIsWritten) {
  struct TCase {
    const char* Name;
    std::string Bitrate, Message;
  };
  const auto refused = [](const std::string& text) {
    return "The bitrate \"" + text + "\" cannot be used: a bitrate may hold only letters (A to Z), digits and dots.";
  };
  const TCase cases[] = {
      {"a second command", "128000 & mkdir X", refused("128000 & mkdir X")},
      {"percent", "50%", refused("50%")},
      {"quote", "128\"000", refused("128\"000")},
      {"space", "128 000", refused("128 000")},
      {"empty", "", "The bitrate box is empty: type a bitrate such as 128000 or choose one."},
  };
  AddFiles({Wav("One.wav")});
  TSettingsKey::WriteText("Bitrate", "96000");
  TSettingsKey::WriteText("Loadpath", "C:\\Before\\");
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    Seams().MessageBoxes.clear();
    Main->Bitratebox->SetText(c.Bitrate);
    Encode();
    ASSERT_EQ(Seams().MessageBoxes.size(), 1u);
    EXPECT_EQ(Seams().MessageBoxes[0].Text, c.Message);
    EXPECT_EQ(Seams().MessageBoxes[0].Type & MB_ICONMASK, static_cast<UINT>(MB_ICONSTOP));
    EXPECT_FALSE(Main->EncodeRun().InProgress());
    EXPECT_EQ(TSettingsKey::ReadText("Bitrate"), "96000");
    EXPECT_EQ(TSettingsKey::ReadText("Loadpath"), "C:\\Before\\");
    EXPECT_FALSE(FileExists(Encoder.Path() + "go.bat"));
  }
  PumpUntil([] { return false; }, kSettleMs);
  EXPECT_FALSE(EncodersStarted());
  EXPECT_FALSE(FileExists(Encoder.Path() + "X"));
}

// In power-down mode nobody waits for OK: the countdown shows the report and runs; when it runs out the machine
// goes off, and Cancel keeps it on and leaves the report to read.
TEST_F(EncodeRunTest, PowerDownShowsTheReportInTheCountdown) {
  struct TCase {
    const char* Name;
    bool PressCancel;
    int ShutDowns;
  };
  const TCase cases[] = {{"countdown runs out", false, 1}, {"Cancel pressed", true, 0}};
  UseStandInInterpreter();
  SetEnvironment("QS_QSCMD_EXIT", "3");
  const std::string row = "C:\\In\\Song.wav";
  const std::string report = "1 of 1 file was not encoded\n\n" + row + ": the encoder's run ended with exit code 3";
  Main->AppendQueueRows({row});
  Main->Powerdownbox->SetChecked(true);
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    Seams().ShutDowns = 0;
    Main->EncodeRun().SetCountdownSeconds(c.PressCancel ? TPowerDownCountdown::DefaultSeconds : 2);
    Encode();
    ASSERT_TRUE(PumpUntil([&] { return Main->EncodeRun().Countdown() && Main->EncodeRun().Countdown()->Counting(); },
                          kRunTimeoutMs));
    TPowerDownCountdown& countdown = *Main->EncodeRun().Countdown();
    EXPECT_TRUE(Seams().MessageBoxes.empty()) << "nothing waits for a click";
    EXPECT_EQ(Report(), nullptr);
    EXPECT_EQ(countdown.ReportText(), report);
    EXPECT_EQ(countdown.Summary->Caption(), "1 of 1 file was not encoded");
    EXPECT_TRUE(IsWindowVisible(countdown.List->Handle()));
    ExpectFitsTheWorkArea(countdown);
    if (c.PressCancel) SendMessageW(countdown.CancelButton->Handle(), BM_CLICK, 0, 0);
    ASSERT_TRUE(WaitForRunEnd());
    EXPECT_EQ(Seams().ShutDowns, c.ShutDowns);
    if (c.PressCancel) {
      ASSERT_NE(Report(), nullptr);
      EXPECT_EQ(Report()->ReportText(), report);
      EXPECT_TRUE(IsWindowVisible(Report()->Handle()));
    }
  }
}

// The lock of the stand-in encoder catches two encoders running at once, so the tests that find no overlap mean it.
TEST_F(EncodeRunTest, StandInEncoderDetectsOverlappingRuns) {
  SetEnvironment("QS_AACENC_SLEEP_MS", "1000");
  std::vector<TKernelHandle> encoders;
  for (const char* name : {"first", "second"}) {
    std::wstring commandLine = L"aacenc.exe " + Widen(name);
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process{};
    ASSERT_TRUE(CreateProcessW(Widen(Encoder.Path() + "aacenc.exe").c_str(), commandLine.data(), nullptr, nullptr,
                               FALSE, 0, nullptr, nullptr, &startup, &process));
    TKernelHandle thread(process.hThread);
    encoders.emplace_back(process.hProcess);
    // The first takes the lock before the second starts.
    if (encoders.size() == 1) PumpUntil([&] { return FileExists(Encoder.Path() + "aacenc.lock"); });
  }
  for (const TKernelHandle& encoder : encoders) WaitForSingleObject(encoder.Get(), kRunTimeoutMs);
  EXPECT_EQ(Overlaps(), "second\n");
}

} // namespace
