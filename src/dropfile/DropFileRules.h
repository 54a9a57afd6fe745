#pragma once
// How the drop target splits a dropped path for its event: the whole path, what follows its last backslash,
// and what follows the last dot of that name.
#include <string>
#include <string_view>

namespace qs {

// The part after the last backslash; empty when the text holds no backslash: a shell path without a backslash
// has no name part.
std::string DropFileName(std::string_view path);

struct TDroppedPath {
  std::string FileWithPath;
  std::string FileName;  // DropFileName(FileWithPath)
  std::string Extension; // taken from FileName only, so a folder named old.wav does not make its files .wav
};

TDroppedPath SplitDroppedPath(std::string_view path);

} // namespace qs
