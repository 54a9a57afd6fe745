#include "Application.h"

#include <windows.h>

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  qs::TApplication app;
  app.Initialize();
  app.SetTitle("QuillStack v3");
  return 0;
}
