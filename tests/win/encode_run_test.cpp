// The encode run end to end: the line written into go.bat, the rows run one at a time and in order, paths that
// reach the encoder intact, what stops a run before it starts, and the question asked when closing during a run.
#include "EncodeRunFixture.h"

using namespace qs;
using namespace qs::test;

namespace {

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
