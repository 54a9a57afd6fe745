#pragma once
// The plain window classes of the program's own helper windows (the application's, the timers', the menus', the
// drag outline's): no cursor, no background, nothing but a window procedure.
#include <windows.h>

namespace qs {

// Registers the class `name` of this module with `proc`, once: a class already registered is kept as it is.
// False when the system refuses the class.
bool RegisterWindowClass(const wchar_t* name, WNDPROC proc);

} // namespace qs
