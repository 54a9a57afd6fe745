#pragma once
// What every Wine test executable shares: the application object, recorders behind the seams (no test may
// ever wait on a real message box, file dialog, shell call or shutdown), and helpers to pump messages.
#include "Application.h"
#include "FileDialog.h"
#include "Seams.h"

#include <gtest/gtest.h>

#include <deque>
#include <functional>
#include <string>
#include <vector>

namespace qs::test {

struct TMessageBoxCall {
  std::string Text;
  std::string Caption;
  UINT Type;
};

struct TShellCall {
  std::string Verb;
  std::string File;
};

// Records what went through the seams. Installed fresh for every test by the test environment.
struct TSeamRecorder {
  std::vector<TMessageBoxCall> MessageBoxes;
  std::vector<TShellCall> ShellCalls;
  int ShutDowns = 0;
  // Answers for message boxes, taken in order; IDOK (or IDYES for Yes/No boxes) when empty.
  std::deque<int> MessageBoxAnswers;
  // Scripted file dialogs, taken in order; an empty queue means the user cancels.
  std::deque<std::function<bool(TFileDialog&)>> DialogAnswers;
  std::vector<std::string> DialogTitles;

  void Install();
};

TSeamRecorder& Seams();

// A dialog answer that confirms with these paths.
std::function<bool(TFileDialog&)> Choose(std::vector<std::string> files);
// A dialog answer that cancels.
std::function<bool(TFileDialog&)> Cancel();

// Handles every queued message (and signalled waits) without blocking.
void PumpMessages();
// Pumps messages until `done` is true or `timeoutMs` runs out; returns `done()`.
bool PumpUntil(const std::function<bool()>& done, int timeoutMs = 10000);

// A fresh temporary folder (ending in a backslash), removed with its contents at scope end.
class TTempDir {
public:
  TTempDir();
  ~TTempDir();
  TTempDir(const TTempDir&) = delete;
  TTempDir& operator=(const TTempDir&) = delete;
  const std::string& Path() const { return FPath; }
  // Writes a file below the folder (creating sub-folders) and returns its full path.
  std::string WriteFile(const std::string& relative, const std::string& bytes) const;

private:
  std::string FPath;
};

std::string ReadFileBytes(const std::string& path);

// A short, valid wave file: 8 kHz, mono, 8-bit, a tenth of a second of silence.
std::string SilentWave();

// True inside the test session of scripts/wine-session.sh, which provides what some tests need (a sound device
// on ALSA's null output, 8.3 names): there a missing one is a fault, elsewhere a known gap that skips.
bool InTestSession();

} // namespace qs::test
