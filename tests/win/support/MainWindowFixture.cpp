#include "MainWindowFixture.h"

#include "QuillStackApp.h"

namespace qs::test {

void TMainWindowFixture::TearDown() { CloseMain(); }

TMain* ShowMainWindow() {
  InitializeApplication(*Application);
  auto* main = new TMain(Application);
  main->AfterConstruction();
  main->Show();
  PumpMessages();
  return main;
}

void CloseMainWindow(TMain*& main) {
  delete main;
  main = nullptr;
  PumpMessages();
}

void TMainWindowFixture::OpenMain() { Main = ShowMainWindow(); }

void TMainWindowFixture::CloseMain() { CloseMainWindow(Main); }

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
