// Preview playback through the real MCI with wave files written by the test: which row plays, how a second Play
// replaces or restarts the device, what a missing file and a Stop without a device report, what happens when
// playback ends by itself, and that the player closes its device when it goes.
//
// Playing needs a wave output device. The Wine test session sends ALSA's output to its null device, which
// plays faster than real time; the tests only rely on a long file still playing when they look and a short one
// ending soon. Without any output device the tests that need playback are skipped (MCI opens the files but
// every play fails at once), except inside the test session, where a missing device is a fault.
#include "MPlayer.h"
#include "Main.h"
#include "MainWindowFixture.h"
#include "QsTest.h"
#include "QuillStackApp.h"
#include "Unicode.h"

#include <windows.h>

#include <mmsystem.h>

#include <cstdint>
#include <string>
#include <vector>

using namespace qs;
using namespace qs::test;

namespace {

constexpr uint32_t SampleRate = 8000;
constexpr uint16_t BitsPerSample = 8;
constexpr uint16_t Channels = 1;
constexpr uint16_t PcmFormat = 1;
constexpr uint32_t FmtChunkSize = 16;
constexpr int ToneHalfPeriod = 10;                       // samples: a 400 Hz square wave at 8 kHz
constexpr unsigned char ToneLow = 0x70, ToneHigh = 0x90; // quiet, around the 8-bit midpoint 0x80

// Long enough to be still playing whenever a test looks, even on the null device that plays ahead of time.
constexpr int LongMs = 20000;
constexpr int ShortMs = 200;
// A position well into the long file, and well away from its start.
constexpr DWORD RestartMarkMs = 1000;

const char* const NoSoundDevice =
    "known platform gap: no wave output device, so MCI cannot play (run inside scripts/wine-session.sh, which "
    "routes ALSA to its null device)";

void PutLE(std::string& out, uint32_t value, int bytes) {
  for (int i = 0; i < bytes; ++i) out.push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
}

// A mono 8-bit PCM RIFF/WAVE file holding a quiet square tone of `ms` milliseconds.
std::string WaveFile(int ms) {
  const uint32_t samples = SampleRate * static_cast<uint32_t>(ms) / 1000;
  const uint32_t blockAlign = Channels * BitsPerSample / 8;
  std::string wav = "RIFF";
  PutLE(wav, 4 + 8 + FmtChunkSize + 8 + samples, 4);
  wav += "WAVEfmt ";
  PutLE(wav, FmtChunkSize, 4);
  PutLE(wav, PcmFormat, 2);
  PutLE(wav, Channels, 2);
  PutLE(wav, SampleRate, 4);
  PutLE(wav, SampleRate * blockAlign, 4);
  PutLE(wav, blockAlign, 2);
  PutLE(wav, BitsPerSample, 2);
  wav += "data";
  PutLE(wav, samples, 4);
  for (uint32_t i = 0; i < samples; ++i)
    wav.push_back(static_cast<char>((i / ToneHalfPeriod) % 2 ? ToneHigh : ToneLow));
  return wav;
}

bool HaveSound() { return waveOutGetNumDevs() > 0; }

// Skips a test that needs playback when there is no output device, unless the test session promised one.
#define QS_REQUIRE_SOUND()                                                                                             \
  if (!HaveSound()) {                                                                                                  \
    if (InTestSession()) FAIL() << "no wave output device inside the test session, which routes ALSA to its null one"; \
    GTEST_SKIP() << NoSoundDevice;                                                                                     \
  }

int OpenMciDevices() {
  wchar_t answer[32]{};
  mciSendStringW(L"sysinfo all quantity open", answer, 32, nullptr);
  return _wtoi(answer);
}

std::string MciText(MCIERROR code) {
  wchar_t text[MAXERRORLENGTH]{};
  mciGetErrorStringW(code, text, MAXERRORLENGTH);
  return Narrow(text);
}

class Playback : public ::testing::Test {
protected:
  void SetUp() override {
    Main = ShowMainWindow();
    LongA = Dir.WriteFile("long a.wav", WaveFile(LongMs));
    LongB = Dir.WriteFile("long b.wav", WaveFile(LongMs));
    Short = Dir.WriteFile("short.wav", WaveFile(ShortMs));
  }
  void TearDown() override { CloseMainWindow(Main); }

  void List(const std::vector<std::string>& rows, const std::vector<int>& selected) {
    Main->ListView1->Clear();
    for (const std::string& row : rows) Main->ListView1->Add(row);
    for (int row : selected) Main->ListView1->SetSelected(row, true);
  }
  void SelectOnly(int row) {
    for (int i = 0; i < Main->ListView1->Count(); ++i) Main->ListView1->SetSelected(i, i == row);
  }
  // Runs a command as the window's event dispatch does: an error that leaves it goes to the error box.
  void Run(void (TMain::*command)(TComponent*)) {
    try {
      (Main->*command)(nullptr);
    } catch (const std::exception& e) {
      Application->HandleException(e);
    }
  }
  TMediaPlayer& Player() { return *Main->MediaPlayer1; }
  bool Playing() { return Player().Opened() && Player().Mode() == TMPModes::mpPlaying; }

  TTempDir Dir;
  TMain* Main = nullptr;
  std::string LongA, LongB, Short;
};

TEST_F(Playback, WithNoRowSelectedOrNothingLoadedPlayAndStopDoNothing) {
  for (const std::vector<std::string>& rows : {std::vector<std::string>{}, std::vector<std::string>{LongA, LongB}}) {
    SCOPED_TRACE(rows.size());
    List(rows, {});
    Run(&TMain::Play1Click);
    Run(&TMain::Stop1Click);
    EXPECT_FALSE(Player().Opened());
    EXPECT_EQ(Player().FileName(), "");
    EXPECT_TRUE(Seams().MessageBoxes.empty());
  }
  EXPECT_EQ(OpenMciDevices(), 0);
}

TEST_F(Playback, OnlyTheFirstSelectedRowPlays) {
  QS_REQUIRE_SOUND();
  List({LongA, LongB, Short}, {1, 2});
  Run(&TMain::Play1Click);
  EXPECT_EQ(Player().FileName(), LongB);
  EXPECT_TRUE(Playing());
  EXPECT_EQ(OpenMciDevices(), 1);
  EXPECT_TRUE(Seams().MessageBoxes.empty());
}

TEST_F(Playback, PlayOnTheSameRowRestartsItAndOnAnotherRowReplacesTheDevice) {
  QS_REQUIRE_SOUND();
  List({LongA, LongB}, {0});
  Run(&TMain::Play1Click);
  ASSERT_TRUE(Playing());
  ASSERT_TRUE(PumpUntil([&] { return Player().Position() >= RestartMarkMs; }));

  Run(&TMain::Play1Click);
  EXPECT_LT(Player().Position(), RestartMarkMs) << "playing the same row again starts it from the beginning";
  EXPECT_TRUE(Playing());
  EXPECT_EQ(OpenMciDevices(), 1);

  SelectOnly(1);
  Run(&TMain::Play1Click);
  EXPECT_EQ(Player().FileName(), LongB);
  EXPECT_TRUE(Playing());
  EXPECT_EQ(OpenMciDevices(), 1) << "the first file's device is closed before the next one opens";
  EXPECT_TRUE(Seams().MessageBoxes.empty());
}

TEST_F(Playback, AMissingFileShowsMCIsTextThenStopReportsNoDeviceAndAGoodRowStillPlays) {
  const std::string gone = Dir.WriteFile("gone.wav", WaveFile(ShortMs));
  ASSERT_TRUE(DeleteFileW(Widen(gone).c_str()));
  List({gone, LongA}, {0});

  Run(&TMain::Play1Click);
  ASSERT_EQ(Seams().MessageBoxes.size(), 1u);
  ASSERT_NE(Player().Error(), 0u);
  const std::string mciText = MciText(Player().Error());
  EXPECT_FALSE(mciText.empty());
  EXPECT_EQ(Seams().MessageBoxes[0].Text, ErrorBoxText(mciText));
  EXPECT_EQ(Seams().MessageBoxes[0].Caption, "QuillStack v3");
  EXPECT_EQ(Seams().MessageBoxes[0].Type, static_cast<UINT>(MB_OK | MB_ICONSTOP));
  EXPECT_FALSE(Player().Opened());
  EXPECT_EQ(Player().FileName(), gone);

  Run(&TMain::Stop1Click);
  ASSERT_EQ(Seams().MessageBoxes.size(), 2u);
  EXPECT_EQ(Seams().MessageBoxes[1].Text, "No MCI device open.");
  EXPECT_EQ(Player().FileName(), gone) << "a failed Stop leaves the name as it was";

  SelectOnly(1);
  Run(&TMain::Play1Click);
  EXPECT_EQ(Seams().MessageBoxes.size(), 2u);
  EXPECT_EQ(Player().FileName(), LongA);
  EXPECT_TRUE(Player().Opened());
  QS_REQUIRE_SOUND();
  EXPECT_TRUE(Playing());
}

TEST_F(Playback, PlaybackEndingByItselfIsRecordedAndLeavesTheDeviceOpenUntilStop) {
  QS_REQUIRE_SOUND();
  int notifications = 0;
  Player().OnNotify = [&](TComponent*) { ++notifications; };
  List({Short}, {0});

  Run(&TMain::Play1Click);
  ASSERT_TRUE(PumpUntil([&] { return notifications == 1; }));
  EXPECT_EQ(Player().NotifyValue(), TMPNotifyValues::nvSuccessful);
  EXPECT_TRUE(Player().Opened()) << "the device stays open when playback ends by itself";
  EXPECT_EQ(Player().FileName(), Short);
  EXPECT_EQ(Player().Mode(), TMPModes::mpStopped);

  Run(&TMain::Stop1Click);
  EXPECT_FALSE(Player().Opened());
  EXPECT_EQ(Player().FileName(), "");
  EXPECT_EQ(OpenMciDevices(), 0);
  EXPECT_TRUE(Seams().MessageBoxes.empty());
}

TEST_F(Playback, APlayerOnItsOwnRewindsWhenPlayStartsAtTheEnd) {
  QS_REQUIRE_SOUND();
  TMediaPlayer player(nullptr); // not on a form: MCI still needs its window for the notifications
  int notifications = 0;
  player.OnNotify = [&](TComponent*) { ++notifications; };
  player.SetFileName(LongA);
  player.Open();

  player.SetFrom(player.Length() - ShortMs); // only the tail: the play ends at the end of the medium
  player.Play();
  ASSERT_TRUE(PumpUntil([&] { return notifications == 1; }));
  ASSERT_EQ(player.Position(), player.Length());

  player.Play();
  EXPECT_EQ(player.Mode(), TMPModes::mpPlaying);
  EXPECT_LT(player.Position(), RestartMarkMs) << "a play from the end starts at the beginning again";
}

TEST_F(Playback, StopWhilePlayingClosesTheDeviceAndThePlayersEndClosesAnOpenOne) {
  List({LongA}, {0});
  Run(&TMain::Play1Click);
  ASSERT_TRUE(Player().Opened());
  Run(&TMain::Stop1Click);
  EXPECT_FALSE(Player().Opened());
  EXPECT_EQ(Player().FileName(), "");
  EXPECT_EQ(OpenMciDevices(), 0);

  Run(&TMain::Play1Click);
  ASSERT_EQ(OpenMciDevices(), 1);
  delete Main;
  Main = nullptr;
  EXPECT_EQ(OpenMciDevices(), 0);
  EXPECT_TRUE(Seams().MessageBoxes.empty());
}

} // namespace
