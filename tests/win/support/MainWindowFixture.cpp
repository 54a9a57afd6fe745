#include "MainWindowFixture.h"

#include "QuillStackApp.h"

namespace qs::test {

void TMainWindowFixture::TearDown() { CloseMain(); }

void TMainWindowFixture::OpenMain() {
  InitializeApplication(*Application);
  Main = new TMain(Application);
  Main->AfterConstruction();
  Main->Show();
  PumpMessages();
}

void TMainWindowFixture::CloseMain() {
  delete Main;
  Main = nullptr;
  PumpMessages();
}

void TMainWindowFixture::Click(void (TMain::*handler)(TComponent*)) {
  try {
    (Main->*handler)(Main);
  } catch (const std::exception& e) {
    Application->HandleException(e);
  }
}

void TMainWindowFixture::AddFiles(std::vector<std::string> paths) {
  Seams().DialogAnswers.push_back(Choose(std::move(paths)));
  Click(&TMain::Add1Click);
}

std::vector<std::string> TMainWindowFixture::Rows() const {
  std::vector<std::string> rows;
  for (int i = 0; i < Main->ListView1->Count(); ++i) rows.push_back(Main->ListView1->Caption(i));
  return rows;
}

void TMainWindowFixture::SelectRows(const std::vector<int>& rows) {
  for (int i = 0; i < Main->ListView1->Count(); ++i) Main->ListView1->SetSelected(i, false);
  for (const int row : rows) Main->ListView1->SetSelected(row, true);
}

} // namespace qs::test
