#pragma once
// Path and name rules shared by the queue, the drop target, the settings and the encode run.
//
// Text is UTF-8. A backslash (0x5C) or dot (0x2E) byte never occurs inside a multi-byte UTF-8 sequence, so
// searching for them byte by byte finds only real separators; the double-byte trail-byte caveat of ANSI code
// pages does not arise.
#include <string>
#include <string_view>

namespace qs {

// Equal when the texts differ at most in the case of ASCII letters; no other folding (é and É differ).
bool SameTextAscii(std::string_view a, std::string_view b);

// The part after the last backslash; the whole text when it holds no backslash (a bare name is its own name).
std::string ExtractFileName(std::string_view path);

// The part after the last backslash; empty when the text holds no backslash. This is the name the drop target
// hands on: a shell path without a backslash has no name part.
std::string DropFileName(std::string_view path);

// Up to and including the last backslash; empty when the text holds no backslash.
std::string ExtractFilePath(std::string_view path);

// The part after the last dot, without the dot; empty when the text holds no dot.
std::string ExtensionAfterLastDot(std::string_view text);

// True when the extension text is "wav" in any ASCII letter case.
bool IsWavExtension(std::string_view extension);

// The Add dialog's test: the extension is taken from the whole path, so a dot in a folder counts when the file
// name has none (C:\my.music\song has the extension "music\song" and is refused).
bool HasWavExtension(std::string_view fullPath);

// A dropped path split the way the drop target reports it.
struct TDroppedPath {
  std::string FileWithPath;
  std::string FileName;  // DropFileName(FileWithPath)
  std::string Extension; // taken from FileName only, so a folder named old.wav does not make its files .wav
};

TDroppedPath SplitDroppedPath(std::string_view path);

} // namespace qs
