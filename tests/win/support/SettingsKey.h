#pragma once
// The program's real registry key, HKCU\SOFTWARE\Quillstack, for tests that read and write it. Whatever was stored
// there is saved when the guard is made, the key is deleted so that each test starts as on a first run, and the
// saved values are put back at the end.
#include <windows.h>

#include <optional>
#include <set>
#include <string>
#include <vector>

namespace qs::test {

class TSettingsKey {
public:
  TSettingsKey();
  ~TSettingsKey();
  TSettingsKey(const TSettingsKey&) = delete;
  TSettingsKey& operator=(const TSettingsKey&) = delete;

  static void Clear();
  static bool Exists();
  static void WriteText(const std::string& name, const std::string& text);
  static void WriteNumber(const std::string& name, DWORD number);
  // The text of a REG_SZ value; nullopt when it is absent or of another type.
  static std::optional<std::string> ReadText(const std::string& name);
  static std::set<std::string> ValueNames();

private:
  struct TSavedValue {
    std::wstring Name;
    DWORD Type;
    std::vector<BYTE> Data;
  };
  std::vector<TSavedValue> FSaved;
  bool FExisted = false;
};

} // namespace qs::test
