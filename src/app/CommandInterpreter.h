#pragma once
// What the encode run needs of the system to hand one line to the command interpreter: the interpreter's percent
// rule, the console's code page, 8.3 names, and starting "cmd /c go.bat" in a folder.
#include "EncodeRules.h"
#include "Handles.h"

#include <optional>
#include <string>
#include <string_view>

namespace qs {

// Wine's cmd expands a CALL line's percents once, Windows' cmd twice (see EscapePercents). Wine's ntdll exports
// wine_get_version; Windows' does not.
TInterpreterRule RunningInterpreterRule();

// The interpreter reads a batch file in the console's code page, which is the OEM code page unless changed. No
// best-fit mapping is allowed: a fullwidth quote must not become '"'. nullopt when a character has no exact
// counterpart.
std::optional<std::string> ToConsoleCodePage(std::string_view utf8);

// The 8.3 form of an existing path; nullopt when the file system has none (or the file is missing).
std::optional<std::string> ShortPathName(const std::string& path);

// The system's text for an error code, without the trailing line break.
std::string SystemErrorText(unsigned long error);

struct TStartedInterpreter {
  TKernelHandle Process; // empty when nothing was started
  std::string Error;     // why, when nothing was started
};

// Starts %COMSPEC% /c go.bat with `folder` as its current directory, without waiting. The program's own current
// directory is left alone.
TStartedInterpreter StartBatchInFolder(const std::string& folder);

// True when `folder` is a full path (drive or UNC) of a folder that exists and can be entered. A relative path is
// refused: it would mean whatever folder happens to be current.
bool CanEnterFolder(const std::string& folder);

} // namespace qs
