// The end of a run that went wrong: the report of every file not encoded with its reason, fitting the screen and
// answering the keyboard, exit codes and interpreters that cannot start, go.bat that cannot be written at a later
// row, and the report shown inside the power-down countdown.
#include "EncodeRunFixture.h"

using namespace qs;
using namespace qs::test;

namespace {

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

} // namespace
