// The settings in HKCU\SOFTWARE\Quillstack: what start-up applies from the real registry, the encoder and save
// folder choices, Reset, and a value of the wrong type.
#include "MainWindowFixture.h"

#include "Unicode.h"

#include <functional>
#include <map>
#include <optional>

using namespace qs;
using namespace qs::test;

namespace {

using TValues = std::map<std::string, std::string>;

class SettingsTest : public TMainWindowFixture {
protected:
  static void Store(const TValues& values) {
    for (const auto& [name, text] : values) TSettingsKey::WriteText(name, text);
  }
};

// Only a stored "Encodepath" makes the others count; then each is applied as read, "Error" and all.
TEST_F(SettingsTest, StartUpAppliesStoredValuesByTheEncodepathRule) {
  struct TCase {
    const char* Name;
    TValues Stored;
    std::string Encoder, SaveFolder, Bitrate;
    std::string AddFolder, SaveDialogFolder, EncoderDialogFolder;
  };
  const TCase cases[] = {
      {"first start", {}, "Unknown", "c:\\", "128000", "", "", ""},
      {"all four stored",
       {{"Encodepath", "C:\\Enc\\"}, {"Savepath", "D:\\Out\\"}, {"Loadpath", "E:\\In\\"}, {"Bitrate", "96k"}},
       "C:\\Enc\\",
       "D:\\Out\\",
       "96k",
       "E:\\In\\",
       "D:\\Out\\",
       "C:\\Enc\\"},
      {"Encodepath alone: Error applied, bitrate mended",
       {{"Encodepath", "C:\\Enc\\"}},
       "C:\\Enc\\",
       "Error",
       "128000",
       "Error",
       "Error",
       "C:\\Enc\\"},
      {"Savepath without Encodepath is not applied",
       {{"Savepath", "D:\\Out\\"}, {"Bitrate", "64000"}},
       "Unknown",
       "c:\\",
       "128000",
       "",
       "",
       ""},
      {"Encodepath stored as Error counts as absent",
       {{"Encodepath", "Error"}, {"Savepath", "D:\\Out\\"}},
       "Unknown",
       "c:\\",
       "128000",
       "",
       "",
       ""},
      {"Bitrate stored as Error",
       {{"Encodepath", "C:\\Enc\\"}, {"Bitrate", "Error"}},
       "C:\\Enc\\",
       "Error",
       "128000",
       "Error",
       "Error",
       "C:\\Enc\\"},
      {"sentinel is case-sensitive",
       {{"Encodepath", "C:\\Enc\\"}, {"Savepath", "error"}},
       "C:\\Enc\\",
       "error",
       "128000",
       "Error",
       "error",
       "C:\\Enc\\"},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    TSettingsKey::Clear();
    Store(c.Stored);
    OpenMain();
    EXPECT_EQ(Main->Enclocation->Caption(), c.Encoder);
    EXPECT_EQ(Main->Label3->Caption(), c.SaveFolder);
    EXPECT_EQ(Main->Bitratebox->Text(), c.Bitrate);
    EXPECT_EQ(Main->OpenDialog1->InitialDir(), c.AddFolder);
    EXPECT_EQ(Main->SaveDialog1->InitialDir(), c.SaveDialogFolder);
    EXPECT_EQ(Main->Encodedir->InitialDir(), c.EncoderDialogFolder);
    EXPECT_TRUE(TSettingsKey::Exists()) << "start-up creates the key";
    EXPECT_EQ(TSettingsKey::ValueNames().size(), c.Stored.size()) << "start-up writes nothing";
    EXPECT_TRUE(Seams().MessageBoxes.empty());
    CloseMain();
  }
}

TEST_F(SettingsTest, NumberStoredAsBitrateIsReportedAndTheWindowStillOpens) {
  Store({{"Encodepath", "C:\\Enc\\"}, {"Savepath", "D:\\Out\\"}});
  TSettingsKey::WriteNumber("Bitrate", 128000);
  OpenMain();
  ASSERT_EQ(Seams().MessageBoxes.size(), 1u);
  EXPECT_EQ(Seams().MessageBoxes[0].Text, "Invalid data type for 'Bitrate'.");
  EXPECT_EQ(Seams().MessageBoxes[0].Caption, "QuillStack v3");
  EXPECT_EQ(Seams().MessageBoxes[0].Type & MB_ICONMASK, static_cast<UINT>(MB_ICONSTOP));
  EXPECT_TRUE(IsWindowVisible(Main->Handle()));
  // Values are all read before any is applied, so the window keeps its design-time settings.
  EXPECT_EQ(Main->Enclocation->Caption(), "Unknown");
  EXPECT_EQ(Main->Label3->Caption(), "c:\\");
  EXPECT_EQ(Main->Bitratebox->Text(), "128000");
}

TEST_F(SettingsTest, EncoderIsAcceptedOnlyAsEncodeBat) {
  struct TCase {
    const char* Name;
    std::function<bool(TFileDialog&)> Answer;
    std::optional<std::string> Stored;
    std::string Caption;
  };
  const TCase cases[] = {
      {"encode.bat in any case", Choose({"C:\\Tools\\ENCODE.BAT"}), "C:\\Tools\\", "C:\\Tools\\"},
      {"other batch file", Choose({"C:\\Tools\\encoder.bat"}), std::nullopt, "Unknown"},
      {"name only ends in encode.bat", Choose({"C:\\Tools\\myencode.bat"}), std::nullopt, "Unknown"},
      {"cancelled", Cancel(), std::nullopt, "Unknown"},
  };
  OpenMain();
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    TSettingsKey::Clear();
    Main->Enclocation->SetCaption("Unknown");
    Seams().DialogAnswers.push_back(c.Answer);
    Click(&TMain::ChangeEncClick);
    EXPECT_EQ(TSettingsKey::ReadText("Encodepath"), c.Stored);
    EXPECT_EQ(Main->Enclocation->Caption(), c.Caption);
    EXPECT_EQ(Main->Encodedir->InitialDir(), "") << "only start-up sets the dialogs' folders";
    EXPECT_FALSE(Main->Encode->Enabled()) << "an empty queue keeps Encode as it was";
  }
  EXPECT_EQ(Seams().DialogTitles.front(), "Please select the encoder batch file");
}

TEST_F(SettingsTest, AcceptedEncoderEnablesEncodeOnlyWithRowsQueued) {
  OpenMain();
  AddFiles({"C:\\a.wav"});
  Main->Encode->SetEnabled(false);
  Seams().DialogAnswers.push_back(Choose({"C:\\Tools\\encoder.bat"}));
  Click(&TMain::ChangeEncClick);
  EXPECT_FALSE(Main->Encode->Enabled()) << "a refused file changes nothing";
  Seams().DialogAnswers.push_back(Choose({"C:\\Tools\\encode.bat"}));
  Click(&TMain::ChangeEncClick);
  EXPECT_TRUE(Main->Encode->Enabled());
}

TEST_F(SettingsTest, SaveFolderIsCutFromTheChosenNameAndNoFileIsMade) {
  OpenMain();
  TTempDir out;
  Seams().DialogAnswers.push_back(Choose({out.Path() + "example.aac"}));
  Click(&TMain::ChangeSaveClick);
  EXPECT_EQ(TSettingsKey::ReadText("Savepath"), out.Path());
  EXPECT_EQ(Main->Label3->Caption(), out.Path());
  EXPECT_EQ(GetFileAttributesW(Widen(out.Path() + "example.aac").c_str()), INVALID_FILE_ATTRIBUTES);

  Seams().DialogAnswers.push_back(Cancel());
  Click(&TMain::ChangeSaveClick);
  EXPECT_EQ(Main->Label3->Caption(), out.Path());
  EXPECT_EQ(Seams().DialogTitles.back(), "Please select the directory to save in");
}

TEST_F(SettingsTest, ResetSetsTheBoxAndLeavesTheStoredBitrate) {
  Store({{"Encodepath", "C:\\Enc\\"}, {"Bitrate", "64000"}});
  OpenMain();
  Main->Bitratebox->SetText("96k");
  Click(&TMain::ResetbuttonClick);
  EXPECT_EQ(Main->Bitratebox->Text(), "128000");
  EXPECT_EQ(TSettingsKey::ReadText("Bitrate"), "64000");
}

} // namespace
