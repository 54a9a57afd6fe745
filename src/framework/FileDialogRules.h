#pragma once
// What the open dialog hands back, as paths. The dialog writes its result into one buffer as texts that each end
// in a zero, the list ending in an empty text: one full path when one file was chosen, otherwise the folder
// followed by the names chosen in it.
#include <string>
#include <string_view>
#include <vector>

namespace qs {

// `result` is the buffer's text up to the empty text that ends the list, the zeros between the texts included.
// The paths come in the dialog's order; a folder without a trailing backslash (every folder but a drive's root)
// gets one.
std::vector<std::string> SplitOpenDialogResult(std::string_view result);

} // namespace qs
