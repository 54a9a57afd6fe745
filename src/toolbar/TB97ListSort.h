#pragma once
// The toolbar library's list sort: the quicksort the dock uses for its bars and the toolbar for its children
// and resize candidates. Its order for equal keys is part of the library's behaviour (it is not stable), so the
// library keeps its own sort instead of std::sort, whose order for equal keys is unspecified and may change
// between standard libraries.
#include <cstddef>
#include <utility>
#include <vector>

namespace qs {

// Sorts `items` in place so that compare(a, b, context) <= 0 for every neighbouring pair. `compare` answers
// negative, zero or positive like strcmp; `context` is handed to every call unchanged. Hoare partitioning around
// the middle element of each range; equal keys end up in no particular order.
template <typename T, typename TContext, typename TCompare>
void ListSort(std::vector<T>& items, TCompare compare, const TContext& context) {
  if (items.size() < 2) return;
  // Explicit stack of ranges instead of recursion, the smaller half first, so a hostile order cannot exhaust it.
  std::vector<std::pair<std::ptrdiff_t, std::ptrdiff_t>> ranges{{0, static_cast<std::ptrdiff_t>(items.size()) - 1}};
  while (!ranges.empty()) {
    auto [low, high] = ranges.back();
    ranges.pop_back();
    while (low < high) {
      std::ptrdiff_t i = low;
      std::ptrdiff_t j = high;
      const T pivot = items[static_cast<std::size_t>(low + (high - low) / 2)];
      do {
        while (compare(items[static_cast<std::size_t>(i)], pivot, context) < 0) ++i;
        while (compare(items[static_cast<std::size_t>(j)], pivot, context) > 0) --j;
        if (i <= j) {
          std::swap(items[static_cast<std::size_t>(i)], items[static_cast<std::size_t>(j)]);
          ++i;
          --j;
        }
      } while (i <= j);
      // [low, j] and [i, high] remain; go on with the smaller one and keep the larger one for later.
      if (j - low < high - i) {
        if (i < high) ranges.emplace_back(i, high);
        high = j;
      } else {
        if (low < j) ranges.emplace_back(low, j);
        low = i;
      }
    }
  }
}

} // namespace qs
