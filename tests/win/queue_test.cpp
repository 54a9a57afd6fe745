// The queue: what the Add dialog lets in, Delete, Clear, the switch to sorted order, the Encode button rule, and
// the duplicate index staying in step with the list through every change.
#include "MainWindowFixture.h"

using namespace qs;
using namespace qs::test;

namespace {

using TPaths = std::vector<std::string>;

class QueueTest : public TMainWindowFixture {
protected:
  void SetUp() override { OpenMain(); }
};

// Each case confirms the Add dialog once per entry of Dialogs, in order, on an empty list.
TEST_F(QueueTest, AddDialogTakesWavFilesOnceEach) {
  struct TCase {
    const char* Name;
    std::vector<TPaths> Dialogs;
    TPaths Rows;
  };
  const TCase cases[] = {
      {"other types skipped", {{"C:\\a\\x.WAV", "C:\\a\\y.mp3"}}, {"C:\\a\\x.WAV"}},
      {"extension in any case",
       {{"C:\\a\\1.wav", "C:\\a\\2.WAV", "C:\\a\\3.Wav", "C:\\a\\4.wAV"}},
       {"C:\\a\\1.wav", "C:\\a\\2.WAV", "C:\\a\\3.Wav", "C:\\a\\4.wAV"}},
      {"only non-wav files", {{"C:\\a\\y.mp3", "C:\\a\\z.wave"}}, {}},
      {"dot in the folder only", {{"C:\\my.music\\song", "C:\\old.wav\\song"}}, {}},
      {"same path twice in one dialog", {{"C:\\a\\x.wav", "C:\\a\\x.wav"}}, {"C:\\a\\x.wav"}},
      {"same path in two dialogs", {{"C:\\a\\x.wav"}, {"C:\\a\\x.wav"}}, {"C:\\a\\x.wav"}},
      {"duplicates are case-sensitive", {{"C:\\a\\x.wav"}, {"C:\\a\\X.wav"}}, {"C:\\a\\x.wav", "C:\\a\\X.wav"}},
      {"whole text compared",
       {{"C:\\a\\x.wav"}, {"C:\\a\\x.wav.wav", "D:\\C:\\a\\x.wav"}},
       {"C:\\a\\x.wav", "C:\\a\\x.wav.wav", "D:\\C:\\a\\x.wav"}},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    Click(&TMain::Clear1Click);
    for (const TPaths& chosen : c.Dialogs) AddFiles(chosen);
    EXPECT_EQ(Rows(), c.Rows);
    EXPECT_TRUE(Main->Encode->Enabled()) << "every confirmed Add dialog enables Encode";
  }
}

TEST_F(QueueTest, CancelledAddDialogChangesNothing) {
  Seams().DialogAnswers.push_back(Cancel());
  Click(&TMain::Add1Click);
  EXPECT_FALSE(Main->Encode->Enabled());

  AddFiles({"C:\\a\\x.wav"});
  Click(&TMain::Delete1Click); // nothing selected: the row stays and so does the button state
  Seams().DialogAnswers.push_back(Cancel());
  Click(&TMain::Add1Click);
  EXPECT_EQ(Rows(), TPaths{"C:\\a\\x.wav"});
  EXPECT_TRUE(Main->Encode->Enabled());
  ASSERT_EQ(Seams().DialogTitles.size(), 3u);
  EXPECT_EQ(Seams().DialogTitles[0], "Please select files to convert");
}

TEST_F(QueueTest, DeleteRemovesExactlyTheSelectedRows) {
  struct TCase {
    const char* Name;
    std::vector<int> Selected;
    TPaths Left;
  };
  const TCase cases[] = {
      {"rows 2 to 4 of 5", {1, 2, 3}, {"C:\\1.wav", "C:\\5.wav"}},
      {"first and last", {0, 4}, {"C:\\2.wav", "C:\\3.wav", "C:\\4.wav"}},
      {"every other row", {0, 2, 4}, {"C:\\2.wav", "C:\\4.wav"}},
      {"none", {}, {"C:\\1.wav", "C:\\2.wav", "C:\\3.wav", "C:\\4.wav", "C:\\5.wav"}},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    Click(&TMain::Clear1Click);
    AddFiles({"C:\\1.wav", "C:\\2.wav", "C:\\3.wav", "C:\\4.wav", "C:\\5.wav"});
    SelectRows(c.Selected);
    Click(&TMain::Delete1Click);
    EXPECT_EQ(Rows(), c.Left);
    EXPECT_TRUE(Main->Encode->Enabled());
  }
}

TEST_F(QueueTest, EmptyingTheListDisablesEncode) {
  AddFiles({"C:\\1.wav", "C:\\2.wav"});
  SelectRows({0, 1});
  Click(&TMain::Delete1Click);
  EXPECT_TRUE(Rows().empty());
  EXPECT_FALSE(Main->Encode->Enabled());

  AddFiles({"C:\\1.wav"});
  EXPECT_TRUE(Main->Encode->Enabled());
  Click(&TMain::Clear1Click);
  EXPECT_TRUE(Rows().empty());
  EXPECT_FALSE(Main->Encode->Enabled());
}

// The duplicate test reads an index, not the list: every way a row leaves or joins must keep the two in step.
TEST_F(QueueTest, DuplicateTestFollowsEveryChangeOfTheList) {
  AddFiles({"C:\\a.wav", "C:\\b.wav"});
  SelectRows({0});
  Click(&TMain::Delete1Click);
  AddFiles({"C:\\a.wav", "C:\\b.wav"});
  EXPECT_EQ(Rows(), (TPaths{"C:\\b.wav", "C:\\a.wav"})) << "a deleted row can be added again, a kept one cannot";

  Click(&TMain::Clear1Click);
  AddFiles({"C:\\a.wav"});
  EXPECT_EQ(Rows(), TPaths{"C:\\a.wav"}) << "a cleared row can be added again";

  // Dropped rows skip the duplicate test, so a path can be listed twice; deleting one copy leaves it listed.
  Click(&TMain::Clear1Click);
  Main->AppendQueueRows({"C:\\d.wav", "C:\\d.wav"});
  EXPECT_TRUE(Main->Encode->Enabled());
  SelectRows({0});
  Click(&TMain::Delete1Click);
  AddFiles({"C:\\d.wav"});
  EXPECT_EQ(Rows(), TPaths{"C:\\d.wav"});
  SelectRows({0});
  Click(&TMain::Delete1Click);
  AddFiles({"C:\\d.wav"});
  EXPECT_EQ(Rows(), TPaths{"C:\\d.wav"});
}

TEST_F(QueueTest, HeaderClickSortsOnceAndPlacesNewRows) {
  AddFiles({"C:\\b.wav", "C:\\C.wav", "C:\\a.wav"});
  Main->ListView1->OnColumnClick(Main->ListView1, 0);
  EXPECT_EQ(Rows(), (TPaths{"C:\\a.wav", "C:\\b.wav", "C:\\C.wav"}));

  AddFiles({"C:\\0 first.wav", "C:\\bb.wav"});
  EXPECT_EQ(Rows(), (TPaths{"C:\\0 first.wav", "C:\\a.wav", "C:\\b.wav", "C:\\bb.wav", "C:\\C.wav"}));
  Main->AppendQueueRows({"C:\\0 a.wav"});
  EXPECT_EQ(Rows().front(), "C:\\0 a.wav") << "dropped rows take their sorted place too";

  Main->ListView1->OnColumnClick(Main->ListView1, 0); // no toggle, no descending order
  EXPECT_EQ(Rows().front(), "C:\\0 a.wav");
  EXPECT_EQ(Rows().back(), "C:\\C.wav");
}

// Thousands of files from one dialog are all listed, with the duplicate test still exact.
TEST_F(QueueTest, LargeSelectionIsListedWhole) {
  constexpr int kFiles = 5000;
  TPaths chosen;
  for (int i = 0; i < kFiles; ++i) chosen.push_back("C:\\Music\\Track " + std::to_string(i) + ".wav");
  AddFiles(chosen);
  chosen.push_back("C:\\Music\\Track 0.WAV");
  AddFiles(chosen);
  const TPaths rows = Rows();
  ASSERT_EQ(rows.size(), static_cast<size_t>(kFiles + 1));
  EXPECT_EQ(rows[kFiles - 1], "C:\\Music\\Track 4999.wav");
  EXPECT_EQ(rows.back(), "C:\\Music\\Track 0.WAV");
  EXPECT_EQ(Main->ListView1->UpdateCount(), 0) << "the batch must not leave the list frozen";
}

} // namespace
