#pragma once
// Text is UTF-8 inside the program; Win32 is called through its W functions. These two helpers are the only
// place where the conversion happens, so that no file name is lost to a code page.
#include <string>
#include <string_view>

namespace qs {

std::wstring Widen(std::string_view utf8);
std::string Narrow(std::wstring_view utf16);

} // namespace qs
