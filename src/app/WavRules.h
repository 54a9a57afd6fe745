#pragma once
// Which files the queue takes: .wav files, by the extension in any ASCII letter case.
#include <string_view>

namespace qs {

// True when the extension text is "wav" in any ASCII letter case.
bool IsWavExtension(std::string_view extension);

// The Add dialog's test: the extension is taken from the whole path, so a dot in a folder counts when the file
// name has none (C:\my.music\song has the extension "music\song" and is refused).
bool HasWavExtension(std::string_view fullPath);

} // namespace qs
