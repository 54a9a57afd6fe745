#include <gtest/gtest.h>

#include <string>

#include "DropFileRules.h"
#include "WavRules.h"

namespace qs {
namespace {

// The Add dialog takes the extension from the whole path, the drop target from the name part only (a path
// without a backslash has no name part); both accept "wav" in any ASCII case and nothing else.
TEST(WavRules, AddDialogAndDropTargetAcceptWavOnly) {
  struct TCase {
    const char* Name;
    std::string_view Path;
    bool AddDialogAccepts;
    std::string DropName;
    std::string DropExtension;
    bool DropAccepts;
  };
  const TCase cases[] = {
      {"upper-case extension", "C:\\a\\x.WAV", true, "x.WAV", "WAV", true},
      {"mixed-case extension", "C:\\a\\Take1.Wav", true, "Take1.Wav", "Wav", true},
      {"other type", "C:\\a\\y.mp3", false, "y.mp3", "mp3", false},
      {"dot only in folder", "C:\\my.music\\song", false, "song", "", false},
      {"file in folder named .wav", "C:\\old.wav\\song", false, "song", "", false},
      {"last extension counts", "C:\\a\\archive.wav.bak", false, "archive.wav.bak", "bak", false},
      {"folder named loops.wav", "C:\\loops.wav", true, "loops.wav", "wav", true},
      {"longer extension", "C:\\a\\x.wavx", false, "x.wavx", "wavx", false},
      {"trailing dot", "C:\\a\\x.", false, "x.", "", false},
      {"name without backslash", "x.wav", true, "", "", false},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    EXPECT_EQ(HasWavExtension(c.Path), c.AddDialogAccepts);
    const TDroppedPath dropped = SplitDroppedPath(c.Path);
    EXPECT_EQ(dropped.FileWithPath, c.Path);
    EXPECT_EQ(dropped.FileName, c.DropName);
    EXPECT_EQ(dropped.Extension, c.DropExtension);
    EXPECT_EQ(IsWavExtension(dropped.Extension), c.DropAccepts);
  }
}

} // namespace
} // namespace qs
