#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "FileDialogRules.h"

namespace qs {
namespace {

using namespace std::string_literals;

// One chosen file comes back as its full path; several as their folder followed by their names.
TEST(FileDialogRules, SplitsTheOpenDialogsResult) {
  struct TCase {
    const char* Name;
    std::string Result;
    std::vector<std::string> Paths;
  };
  const TCase cases[] = {
      {"one file", "C:\\In\\a.wav"s, {"C:\\In\\a.wav"}},
      {"folder and names, in the dialog's order", "C:\\In\0b.wav\0a.wav"s, {"C:\\In\\b.wav", "C:\\In\\a.wav"}},
      {"a drive's root keeps its one backslash", "D:\\\0x.wav\0y.wav"s, {"D:\\x.wav", "D:\\y.wav"}},
      {"names outside ASCII",
       "C:\\\xE9\x9F\xB3\0\xCE\xA9.wav\0b.wav"s,
       {"C:\\\xE9\x9F\xB3\\\xCE\xA9.wav", "C:\\\xE9\x9F\xB3\\b.wav"}},
      {"ends at the empty text", "C:\\In\0a.wav\0\0stale.wav"s, {"C:\\In\\a.wav"}},
      {"a trailing zero", "C:\\In\\a.wav\0"s, {"C:\\In\\a.wav"}},
      {"nothing", ""s, {}},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    EXPECT_EQ(SplitOpenDialogResult(c.Result), c.Paths);
  }
}

} // namespace
} // namespace qs
