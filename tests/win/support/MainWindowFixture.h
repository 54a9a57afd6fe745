#pragma once
// A shown main window over a cleared settings key, for the tests of the queue, the settings and the encode run.
// The window is opened by the test (OpenMain) so that a test can store settings first for start-up to read.
#include "Main.h"
#include "QsTest.h"
#include "SettingsKey.h"

#include <string>
#include <vector>

namespace qs::test {

// Makes the main window as start-up does (creation event included), shows it and lets it paint.
TMain* ShowMainWindow();
// Destroys it and handles what that leaves in the queue.
void CloseMainWindow(TMain*& main);

class TMainWindowFixture : public ::testing::Test {
protected:
  void TearDown() override;

  void OpenMain();
  void CloseMain();
  // Runs a handler the way a click does: an error it raises goes to the application's error box.
  void Click(void (TMain::*handler)(TComponent*));
  // Chooses `paths` in the Add dialog and confirms.
  void AddFiles(std::vector<std::string> paths);
  std::vector<std::string> Rows() const;
  void SelectRows(const std::vector<int>& rows);

  TSettingsKey Key;
  TMain* Main = nullptr;
};

} // namespace qs::test
