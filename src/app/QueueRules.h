#pragma once
// The queue's bookkeeping beside the list view: which captions are listed, and which rows a Delete removes.
#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace qs {

// Counts the rows per caption so that the Add dialog's duplicate test (exact, case-sensitive, whole text) costs
// O(1) instead of a scan of the list. Drops may list a caption more than once, so deleting one of those rows must
// leave the caption known.
class TQueueIndex {
public:
  void Add(std::string_view caption);
  void Remove(std::string_view caption); // a caption not listed is left alone
  bool Contains(std::string_view caption) const;
  void Clear();

private:
  // Heterogeneous lookup: tests and removals by string_view build no temporary string.
  struct THash {
    using is_transparent = void;
    std::size_t operator()(std::string_view text) const noexcept { return std::hash<std::string_view>{}(text); }
  };
  std::unordered_map<std::string, std::size_t, THash, std::equal_to<>> FRowCounts;
};

// The Add dialog's choice, in the dialog's order, reduced to the paths that become rows: .wav files not yet
// listed. Each accepted path is added to the index at once, so a path chosen twice in one pass is listed once.
std::vector<std::string> AcceptFromAddDialog(const std::vector<std::string>& chosenPaths, TQueueIndex& index);

} // namespace qs
