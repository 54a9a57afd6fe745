#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

#include "TB97ListSort.h"

namespace qs {
namespace {

int CompareInts(const int& a, const int& b, int direction) { return a < b ? -direction : (a > b ? direction : 0); }

// Orders that break naive quicksorts (sorted, reversed, all equal, organ pipe) come out sorted, element for
// element the same multiset as std::sort gives.
TEST(ListSort, SortsEveryShapeOfInput) {
  struct TCase {
    const char* Name;
    std::vector<int> Items;
  };
  const TCase cases[] = {
      {"empty", {}},
      {"one", {7}},
      {"two reversed", {2, 1}},
      {"sorted", {1, 2, 3, 4, 5, 6, 7, 8}},
      {"reversed", {8, 7, 6, 5, 4, 3, 2, 1}},
      {"all equal", {3, 3, 3, 3, 3, 3}},
      {"organ pipe", {1, 3, 5, 7, 6, 4, 2, 0}},
      {"duplicates and negatives", {5, -1, 5, 0, -1, 9, 0, 5, -7}},
      {"pivot is the largest", {1, 2, 9, 3, 4}},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    std::vector<int> sorted = c.Items;
    ListSort(sorted, CompareInts, 1);
    std::vector<int> expected = c.Items;
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(sorted, expected);
  }
}

// The context value reaches every comparison: the same function sorts descending when told so.
TEST(ListSort, ContextReachesTheComparison) {
  std::vector<int> items{4, 1, 3, 1, 5};
  ListSort(items, CompareInts, -1);
  EXPECT_EQ(items, (std::vector<int>{5, 4, 3, 1, 1}));
}

// Random lists of many sizes, with few distinct keys so that equal keys meet the pivot often.
TEST(ListSort, RandomListsComeOutSorted) {
  std::mt19937 random(97);
  for (int size : {3, 10, 33, 100, 1000, 20000}) {
    SCOPED_TRACE("size " + std::to_string(size));
    std::vector<int> items(static_cast<std::size_t>(size));
    std::uniform_int_distribution<int> key(0, size / 3);
    for (int& item : items) item = key(random);
    std::vector<int> expected = items;
    std::sort(expected.begin(), expected.end());
    ListSort(items, CompareInts, 1);
    EXPECT_EQ(items, expected);
  }
}

// Sorting records by one key moves whole records: nothing is lost or duplicated, keys are in order, and the
// other fields travel with their key.
TEST(ListSort, MovesWholeRecords) {
  struct TRecord {
    int Key;
    std::string Name;
  };
  std::vector<TRecord> records{{3, "c"}, {1, "a"}, {2, "b"}, {1, "a"}, {0, "z"}};
  ListSort(
      records, [](const TRecord& a, const TRecord& b, int) { return a.Key - b.Key; }, 0);
  const std::vector<std::string> names{"z", "a", "a", "b", "c"};
  for (std::size_t i = 0; i < records.size(); ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(records[i].Name, names[i]);
  }
}

} // namespace
} // namespace qs
