#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "QueueRules.h"

namespace qs {
namespace {

// The duplicate test is exact: case, prefixes and trailing characters all make a different caption.
TEST(QueueRules, IndexMatchesWholeCaptionCaseSensitively) {
  TQueueIndex index;
  index.Add("C:\\a\\x.wav");
  struct TCase {
    const char* Name;
    std::string_view Caption;
    bool Listed;
  };
  const TCase cases[] = {
      {"same text", "C:\\a\\x.wav", true},    {"other case", "C:\\a\\X.wav", false},
      {"prefix", "C:\\a\\x.wa", false},       {"trailing space", "C:\\a\\x.wav ", false},
      {"forward slash", "C:/a/x.wav", false},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    EXPECT_EQ(index.Contains(c.Caption), c.Listed);
  }
}

// A caption listed twice (dropped twice) stays known until its last row goes; a stray removal breaks no count.
TEST(QueueRules, IndexCountsRowsPerCaption) {
  TQueueIndex index;
  index.Add("C:\\a\\x.wav");
  index.Add("C:\\a\\x.wav");
  index.Remove("C:\\a\\x.wav");
  EXPECT_TRUE(index.Contains("C:\\a\\x.wav"));
  index.Remove("C:\\a\\x.wav");
  EXPECT_FALSE(index.Contains("C:\\a\\x.wav"));

  index.Remove("C:\\a\\y.wav");
  index.Add("C:\\a\\y.wav");
  index.Remove("C:\\a\\y.wav");
  EXPECT_FALSE(index.Contains("C:\\a\\y.wav"));

  index.Add("C:\\a\\z.wav");
  index.Clear();
  EXPECT_FALSE(index.Contains("C:\\a\\z.wav"));
}

// The Add dialog keeps .wav files not yet listed, in the dialog's order; earlier files of the same choice count.
TEST(QueueRules, AddDialogAcceptsNewWavFilesOnly) {
  struct TCase {
    const char* Name;
    std::vector<std::string> Listed, Chosen, Accepted;
  };
  const TCase cases[] = {
      {"wav and mp3", {}, {"C:\\a\\x.WAV", "C:\\a\\y.mp3"}, {"C:\\a\\x.WAV"}},
      {"only other types", {}, {"C:\\a\\y.mp3", "C:\\my.music\\song"}, {}},
      {"same file twice in one choice", {}, {"C:\\a\\x.wav", "C:\\a\\x.wav"}, {"C:\\a\\x.wav"}},
      {"already listed", {"C:\\a\\x.wav"}, {"C:\\a\\x.wav"}, {}},
      {"other case is another file", {"C:\\a\\x.wav"}, {"C:\\a\\X.wav"}, {"C:\\a\\X.wav"}},
      {"dialog order kept", {}, {"C:\\b.wav", "C:\\a.wav", "C:\\c.wav"}, {"C:\\b.wav", "C:\\a.wav", "C:\\c.wav"}},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    TQueueIndex index;
    for (const std::string& caption : c.Listed) index.Add(caption);
    EXPECT_EQ(AcceptFromAddDialog(c.Chosen, index), c.Accepted);
    for (const std::string& caption : c.Accepted) EXPECT_TRUE(index.Contains(caption)) << caption;
  }
}

// Deleting the rows in the order given removes exactly the selected ones, adjacent runs included.
TEST(QueueRules, DeleteRemovesExactlyTheSelectedRows) {
  const std::vector<std::string> rows = {"1", "2", "3", "4", "5"};
  struct TCase {
    const char* Name;
    std::vector<bool> Selected;
    std::vector<std::string> Left;
  };
  const TCase cases[] = {
      {"rows 2 to 4", {false, true, true, true, false}, {"1", "5"}},
      {"none selected", {false, false, false, false, false}, {"1", "2", "3", "4", "5"}},
      {"all selected", {true, true, true, true, true}, {}},
      {"alternate rows", {true, false, true, false, true}, {"2", "4"}},
      {"first and last", {true, false, false, false, true}, {"2", "3", "4"}},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    std::vector<std::string> left = rows;
    for (const std::size_t row : RowsToDelete(c.Selected)) left.erase(left.begin() + static_cast<std::ptrdiff_t>(row));
    EXPECT_EQ(left, c.Left);
  }
}

} // namespace
} // namespace qs
