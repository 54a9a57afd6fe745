// The program's entry: the application object, the main window, the message loop.
#include "Exception.h"
#include "Main.h"
#include "QuillStackApp.h"
#include "Seams.h"

#include <windows.h>

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  try {
    qs::TApplication application;
    qs::InitializeApplication(application);
    application.CreateForm<qs::TMain>();
    application.Run();
  } catch (const std::exception& e) {
    // The last resort: the application object may be gone, so the box is shown directly.
    qs::TSeams::ShowMessageBox(nullptr, qs::ErrorBoxText(e.what()), qs::ApplicationTitle, MB_OK | MB_ICONSTOP);
  }
  // The exit code is 0 after a normal end and after an error alike.
  return 0;
}
