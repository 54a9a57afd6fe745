#include "QueueRules.h"

#include "WavRules.h"

namespace qs {

void TQueueIndex::Add(std::string_view caption) {
  const auto found = FRowCounts.find(caption);
  if (found == FRowCounts.end()) {
    FRowCounts.emplace(std::string(caption), 1);
  } else {
    ++found->second;
  }
}

void TQueueIndex::Remove(std::string_view caption) {
  const auto found = FRowCounts.find(caption);
  if (found == FRowCounts.end()) return;
  if (--found->second == 0) FRowCounts.erase(found);
}

bool TQueueIndex::Contains(std::string_view caption) const { return FRowCounts.find(caption) != FRowCounts.end(); }

void TQueueIndex::Clear() { FRowCounts.clear(); }

std::vector<std::string> AcceptFromAddDialog(const std::vector<std::string>& chosenPaths, TQueueIndex& index) {
  std::vector<std::string> accepted;
  for (const std::string& path : chosenPaths) {
    if (!HasWavExtension(path) || index.Contains(path)) continue;
    index.Add(path);
    accepted.push_back(path);
  }
  return accepted;
}

} // namespace qs
