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

} // namespace
} // namespace qs
