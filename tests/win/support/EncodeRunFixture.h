#pragma once
// Shared by the tests of the encode run: the real registry, the real command interpreter or the stand-in one,
// and the stand-in aacenc.exe in a temporary encoder folder, which logs every call with its arguments exactly as
// received.
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

#include <sstream>
#include <string>
#include <vector>

namespace qs::test {

using TPaths = std::vector<std::string>;
using TCall = std::vector<std::string>;

inline constexpr char kIdleCaption[] = "QuillStack V3";
inline constexpr int kRunTimeoutMs = 60000;
// Long enough that the handler surely returns while the first encoder still sleeps.
inline constexpr char kEncoderSleepMs[] = "1500";
inline constexpr char kWaveBytes[] = "RIFF\x24\0\0\0WAVEfmt ";

// UTF-8 texts used below.
inline const std::string kEAcute = "\xC3\xA9";                        // é: 0x82 in the console's code page 437
inline const std::string kFullwidthQuote = "\xEF\xBC\x82";            // U+FF02: no exact counterpart in code page 437
inline const std::string kJapaneseMusic = "\xE9\x9F\xB3\xE6\xA5\xBD"; // 音楽

inline TCall ExpectedCall(const std::string& bitrate, const std::string& input, const std::string& output) {
  return {"-m", "tf", "-eb", ".aac", "-r", bitrate, "-c", "-aac_raw", "-vr", "-eo", ".wav", input, "-o", output};
}

inline std::string ExpectedLine(const std::string& bitrate, const std::string& input, const std::string& output) {
  return "call aacenc -m tf -eb .aac -r " + bitrate + " -c -aac_raw -vr -eo .wav  \"" + input + "\" -o \"" + output +
         "\"\r\n";
}

inline bool FileExists(const std::string& path) {
  return GetFileAttributesW(Widen(path).c_str()) != INVALID_FILE_ATTRIBUTES;
}

inline void SetEnvironment(const char* name, const std::string& value) {
  SetEnvironmentVariableW(Widen(name).c_str(), value.empty() ? nullptr : Widen(value).c_str());
}

// What SetThreadExecutionState holds for this thread now. Asking changes nothing lasting on Windows; under Wine it
// also clears a state that ES_CONTINUOUS never made lasting, so only states set with it can be compared.
EXECUTION_STATE ExecutionState() { return SetThreadExecutionState(0); }

inline std::string ClipboardText() {
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

inline void PressKeys(std::initializer_list<WORD> keys) {
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

inline bool Inside(const RECT& inner, const RECT& outer) {
  return inner.left >= outer.left && inner.top >= outer.top && inner.right <= outer.right &&
         inner.bottom <= outer.bottom;
}

// A report fits when the whole window is inside its monitor's work area and its closing button can be clicked:
// the point in the button's middle belongs to the button itself.
inline void ExpectFitsTheWorkArea(TReportForm& report) {
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

} // namespace qs::test
