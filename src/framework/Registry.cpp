#include "Registry.h"

#include "Exception.h"
#include "Unicode.h"

namespace qs {

namespace {

bool IsTextType(DWORD type) { return type == REG_SZ || type == REG_EXPAND_SZ; }

} // namespace

bool TRegistry::OpenKey(const std::string& path, bool canCreate) {
  CloseKey();
  const std::wstring widePath = Widen(path);
  HKEY key = nullptr;
  if (canCreate) {
    if (RegCreateKeyExW(FRootKey, widePath.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS, nullptr, &key,
                        nullptr) != ERROR_SUCCESS)
      throw ERegistryException("Failed to create key " + path);
  } else if (RegOpenKeyExW(FRootKey, widePath.c_str(), 0, KEY_ALL_ACCESS, &key) != ERROR_SUCCESS) {
    return false;
  }
  FCurrentKey.Reset(key);
  FCurrentPath = path;
  return true;
}

void TRegistry::CloseKey() {
  FCurrentKey.Reset();
  FCurrentPath.clear();
}

bool TRegistry::ValueExists(const std::string& name) const {
  return RegQueryValueExW(FCurrentKey.Get(), Widen(name).c_str(), nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
}

std::string TRegistry::ReadString(const std::string& name) const {
  const std::wstring wideName = Widen(name);
  DWORD type = REG_NONE;
  DWORD size = 0;
  if (RegQueryValueExW(FCurrentKey.Get(), wideName.c_str(), nullptr, &type, nullptr, &size) != ERROR_SUCCESS)
    throw ERegistryException("Failed to get data for '" + name + "'");
  if (!IsTextType(type)) throw ERegistryException("Invalid data type for '" + name + "'");
  if (size == 0) return {};
  // Room for an odd byte count and for a terminator the writer left out; the value may also grow between
  // the two queries.
  std::wstring buffer;
  LSTATUS status = ERROR_MORE_DATA;
  while (status == ERROR_MORE_DATA) {
    buffer.assign(size / sizeof(wchar_t) + 1, L'\0');
    size = static_cast<DWORD>(buffer.size() * sizeof(wchar_t));
    status = RegQueryValueExW(FCurrentKey.Get(), wideName.c_str(), nullptr, &type,
                              reinterpret_cast<BYTE*>(buffer.data()), &size);
  }
  if (status != ERROR_SUCCESS) throw ERegistryException("Failed to get data for '" + name + "'");
  if (!IsTextType(type)) throw ERegistryException("Invalid data type for '" + name + "'");
  buffer.resize(size / sizeof(wchar_t));
  if (const size_t end = buffer.find(L'\0'); end != std::wstring::npos) buffer.resize(end);
  return Narrow(buffer);
}

std::string TRegistry::ReadStringOr(const std::string& name, const std::string& defaultText) const {
  return ValueExists(name) ? ReadString(name) : defaultText;
}

void TRegistry::WriteString(const std::string& name, const std::string& text) {
  const std::wstring wideText = Widen(text);
  const auto bytes = static_cast<DWORD>(wideText.size() * sizeof(wchar_t));
  if (RegSetValueExW(FCurrentKey.Get(), Widen(name).c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(wideText.c_str()),
                     bytes) != ERROR_SUCCESS)
    throw ERegistryException("Failed to set data for '" + name + "'");
}

} // namespace qs
