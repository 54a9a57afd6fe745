#include "QsTest.h"

#include "Unicode.h"

#include <windows.h>

#include <chrono>
#include <fstream>
#include <iterator>
#include <system_error>

namespace qs::test {

namespace {

TSeamRecorder Recorder;

class TEnvironment : public ::testing::Environment {
public:
  void SetUp() override {
    FApplication = new TApplication();
    FApplication->Initialize();
  }
  void TearDown() override {
    delete FApplication;
    TSeams::Reset();
  }

private:
  TApplication* FApplication = nullptr;
};

class TSeamListener : public ::testing::EmptyTestEventListener {
  void OnTestStart(const ::testing::TestInfo&) override { Recorder.Install(); }
};

} // namespace

void TSeamRecorder::Install() {
  *this = TSeamRecorder{};
  TSeams::ShowMessageBox = [this](HWND, const std::string& text, const std::string& caption, UINT type) {
    MessageBoxes.push_back({text, caption, type});
    if (!MessageBoxAnswers.empty()) {
      const int answer = MessageBoxAnswers.front();
      MessageBoxAnswers.pop_front();
      return answer;
    }
    return (type & MB_YESNO) ? IDYES : IDOK;
  };
  TSeams::ShellOpen = [this](HWND, const std::string& verb, const std::string& file) {
    ShellCalls.push_back({verb, file});
  };
  TSeams::ShutDown = [this] {
    ++ShutDowns;
    return true;
  };
  TSeams::FileDialog = [this](TFileDialog& dialog) {
    DialogTitles.push_back(dialog.Title());
    if (DialogAnswers.empty()) return false;
    auto answer = std::move(DialogAnswers.front());
    DialogAnswers.pop_front();
    return answer(dialog);
  };
}

TSeamRecorder& Seams() { return Recorder; }

std::function<bool(TFileDialog&)> Choose(std::vector<std::string> files) {
  return [files = std::move(files)](TFileDialog& dialog) {
    dialog.SetResult(files);
    return true;
  };
}

std::function<bool(TFileDialog&)> Cancel() {
  return [](TFileDialog&) { return false; };
}

void PumpMessages() { Application->ProcessMessages(); }

bool PumpUntil(const std::function<bool()>& done, int timeoutMs) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
  while (!done()) {
    if (std::chrono::steady_clock::now() > deadline) return false;
    if (!Application->ProcessMessage()) MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    PumpMessages();
  }
  return true;
}

TTempDir::TTempDir() {
  wchar_t base[MAX_PATH];
  GetTempPathW(MAX_PATH, base);
  static int counter = 0;
  for (;;) {
    std::wstring candidate =
        std::wstring(base) + L"qs_test_" + std::to_wstring(GetCurrentProcessId()) + L"_" + std::to_wstring(++counter);
    if (CreateDirectoryW(candidate.c_str(), nullptr)) {
      FPath = Narrow(candidate) + "\\";
      break;
    }
  }
}

namespace {
void RemoveTree(const std::wstring& dir) {
  WIN32_FIND_DATAW data;
  HANDLE find = FindFirstFileW((dir + L"\\*").c_str(), &data);
  if (find != INVALID_HANDLE_VALUE) {
    do {
      const std::wstring name = data.cFileName;
      if (name == L"." || name == L"..") continue;
      const std::wstring full = dir + L"\\" + name;
      if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) RemoveTree(full);
      else {
        SetFileAttributesW(full.c_str(), FILE_ATTRIBUTE_NORMAL);
        DeleteFileW(full.c_str());
      }
    } while (FindNextFileW(find, &data));
    FindClose(find);
  }
  RemoveDirectoryW(dir.c_str());
}
} // namespace

TTempDir::~TTempDir() {
  std::wstring dir = Widen(FPath);
  dir.pop_back();
  RemoveTree(dir);
}

std::string TTempDir::WriteFile(const std::string& relative, const std::string& bytes) const {
  const std::string full = FPath + relative;
  for (size_t pos = FPath.size(); (pos = full.find('\\', pos)) != std::string::npos; ++pos)
    CreateDirectoryW(Widen(full.substr(0, pos)).c_str(), nullptr);
  HANDLE file =
      CreateFileW(Widen(full).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) throw std::runtime_error("cannot write " + full);
  DWORD written = 0;
  ::WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
  CloseHandle(file);
  return full;
}

std::string ReadFileBytes(const std::string& path) {
  HANDLE file = CreateFileW(Widen(path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                            OPEN_EXISTING, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return {};
  std::string bytes;
  char buffer[4096];
  DWORD read = 0;
  while (ReadFile(file, buffer, sizeof(buffer), &read, nullptr) && read > 0) bytes.append(buffer, read);
  CloseHandle(file);
  return bytes;
}

bool InTestSession() {
  wchar_t value[2]{};
  return GetEnvironmentVariableW(L"QS_TEST_SESSION", value, 2) == 1 && value[0] == L'1';
}

std::string SilentWave() {
  constexpr unsigned Samples = 800;
  auto le = [](unsigned value, int bytes) {
    std::string out;
    for (int i = 0; i < bytes; ++i) out += static_cast<char>((value >> (8 * i)) & 0xFF);
    return out;
  };
  return "RIFF" + le(36 + Samples, 4) + "WAVEfmt " + le(16, 4) + le(1, 2) + le(1, 2) + le(8000, 4) + le(8000, 4) +
         le(1, 2) + le(8, 2) + "data" + le(Samples, 4) + std::string(Samples, '\x80');
}

} // namespace qs::test

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  ::testing::AddGlobalTestEnvironment(new qs::test::TEnvironment());
  ::testing::UnitTest::GetInstance()->listeners().Append(new qs::test::TSeamListener());
  return RUN_ALL_TESTS();
}
