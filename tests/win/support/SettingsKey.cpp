#include "SettingsKey.h"

#include "Handles.h"
#include "Unicode.h"

namespace qs::test {

namespace {

constexpr wchar_t kKeyPath[] = L"SOFTWARE\\Quillstack";
constexpr DWORD kLongestValueName = 16384;

TKeyHandle OpenKey(REGSAM access, bool create) {
  HKEY key = nullptr;
  const LONG result = create
                          ? RegCreateKeyExW(HKEY_CURRENT_USER, kKeyPath, 0, nullptr, 0, access, nullptr, &key, nullptr)
                          : RegOpenKeyExW(HKEY_CURRENT_USER, kKeyPath, 0, access, &key);
  return TKeyHandle(result == ERROR_SUCCESS ? key : nullptr);
}

} // namespace

TSettingsKey::TSettingsKey() {
  if (TKeyHandle key = OpenKey(KEY_READ, false)) {
    FExisted = true;
    for (DWORD index = 0;; ++index) {
      std::wstring name(kLongestValueName, L'\0');
      DWORD nameLength = kLongestValueName;
      DWORD type = 0, size = 0;
      if (RegEnumValueW(key.Get(), index, name.data(), &nameLength, nullptr, &type, nullptr, &size) != ERROR_SUCCESS)
        break;
      name.resize(nameLength);
      std::vector<BYTE> data(size);
      RegQueryValueExW(key.Get(), name.c_str(), nullptr, &type, data.data(), &size);
      FSaved.push_back({name, type, std::move(data)});
    }
  }
  Clear();
}

TSettingsKey::~TSettingsKey() {
  Clear();
  if (!FExisted) return;
  TKeyHandle key = OpenKey(KEY_WRITE, true);
  for (const TSavedValue& value : FSaved)
    RegSetValueExW(key.Get(), value.Name.c_str(), 0, value.Type, value.Data.data(),
                   static_cast<DWORD>(value.Data.size()));
}

void TSettingsKey::Clear() {
  // RegDeleteTreeW empties the key; the key itself goes with RegDeleteKeyW.
  RegDeleteTreeW(HKEY_CURRENT_USER, kKeyPath);
  RegDeleteKeyW(HKEY_CURRENT_USER, kKeyPath);
}

bool TSettingsKey::Exists() { return static_cast<bool>(OpenKey(KEY_READ, false)); }

void TSettingsKey::WriteText(const std::string& name, const std::string& text) {
  const std::wstring data = Widen(text);
  TKeyHandle key = OpenKey(KEY_WRITE, true);
  RegSetValueExW(key.Get(), Widen(name).c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(data.c_str()),
                 static_cast<DWORD>((data.size() + 1) * sizeof(wchar_t)));
}

void TSettingsKey::WriteNumber(const std::string& name, DWORD number) {
  TKeyHandle key = OpenKey(KEY_WRITE, true);
  RegSetValueExW(key.Get(), Widen(name).c_str(), 0, REG_DWORD, reinterpret_cast<const BYTE*>(&number), sizeof(number));
}

std::optional<std::string> TSettingsKey::ReadText(const std::string& name) {
  TKeyHandle key = OpenKey(KEY_READ, false);
  if (!key) return std::nullopt;
  const std::wstring wideName = Widen(name);
  DWORD type = 0, size = 0;
  if (RegQueryValueExW(key.Get(), wideName.c_str(), nullptr, &type, nullptr, &size) != ERROR_SUCCESS || type != REG_SZ)
    return std::nullopt;
  std::wstring text(size / sizeof(wchar_t), L'\0');
  RegQueryValueExW(key.Get(), wideName.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(text.data()), &size);
  while (!text.empty() && text.back() == L'\0') text.pop_back();
  return Narrow(text);
}

std::set<std::string> TSettingsKey::ValueNames() {
  std::set<std::string> names;
  TKeyHandle key = OpenKey(KEY_READ, false);
  if (!key) return names;
  for (DWORD index = 0;; ++index) {
    std::wstring name(kLongestValueName, L'\0');
    DWORD nameLength = kLongestValueName;
    if (RegEnumValueW(key.Get(), index, name.data(), &nameLength, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
      break;
    name.resize(nameLength);
    names.insert(Narrow(name));
  }
  return names;
}

} // namespace qs::test
