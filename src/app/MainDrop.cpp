// Files dropped on the list from the shell. The drop target reports every path of a drop on its own; the
// accepted ones are listed together when the drop ends, because a list that takes rows one at a time
// repaints after each of them.
#include "Main.h"

#include "WavRules.h"

namespace qs {

void TMain::Addtolist(TComponent*, std::string fileWithPath, std::string, std::string extension) {
  if (!IsWavExtension(extension)) return;
  if (FCollectingDrop) FDroppedPaths.push_back(std::move(fileWithPath));
  else AppendQueueRows({std::move(fileWithPath)});
}

void TMain::DropStarted(TComponent*) {
  FDroppedPaths.clear();
  FCollectingDrop = true;
}

void TMain::DropEnded(TComponent*) {
  FCollectingDrop = false;
  const std::vector<std::string> paths = std::move(FDroppedPaths);
  FDroppedPaths.clear();
  AppendQueueRows(paths);
}

} // namespace qs
