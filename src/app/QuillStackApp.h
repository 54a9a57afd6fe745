#pragma once
// What start-up does to the application object before the main window is made.
#include "Application.h"

namespace qs {

constexpr const char* ApplicationTitle = "QuillStack v3";

void InitializeApplication(TApplication& application);

} // namespace qs
