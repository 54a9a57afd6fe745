#pragma once
// Access to one registry key at a time below a root key. Values are read and written as UTF-8 text; the
// registry itself holds UTF-16. Failures raise ERegistryException with the value or key named.
#include "Handles.h"

#include <windows.h>

#include <string>

namespace qs {

class TRegistry {
public:
  TRegistry() = default;
  TRegistry(const TRegistry&) = delete;
  TRegistry& operator=(const TRegistry&) = delete;

  HKEY RootKey() const { return FRootKey; }
  // Takes effect at the next OpenKey; the key open now stays open.
  void SetRootKey(HKEY rootKey) { FRootKey = rootKey; }
  HKEY CurrentKey() const { return FCurrentKey.Get(); }
  const std::string& CurrentPath() const { return FCurrentPath; }

  // Opens `path` below the root key, closing the key open before. With `canCreate` a missing key is made
  // (and a failure raises); without it, false means the key could not be opened.
  bool OpenKey(const std::string& path, bool canCreate);
  // Closes without flushing: the registry writes in its own time, as every program's writes do.
  void CloseKey();

  bool ValueExists(const std::string& name) const;
  // The text of a REG_SZ or REG_EXPAND_SZ value (not expanded).
  std::string ReadString(const std::string& name) const;
  // `defaultText` when the value does not exist, else ReadString.
  std::string ReadStringOr(const std::string& name, const std::string& defaultText) const;
  // Stores REG_SZ; the byte count given excludes the terminating zero.
  void WriteString(const std::string& name, const std::string& text);

private:
  HKEY FRootKey = HKEY_CURRENT_USER;
  TKeyHandle FCurrentKey;
  std::string FCurrentPath;
};

} // namespace qs
