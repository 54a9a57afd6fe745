#pragma once
// A logical palette: the colour table of a picture with up to 256 colours, kept as entries so that copies
// cost no GDI object; the GDI palette is made when a DC first needs it.
#include "Handles.h"

#include <span>
#include <vector>

namespace qs {

class TPalette {
public:
  TPalette() = default;
  explicit TPalette(std::vector<PALETTEENTRY> entries) : FEntries(std::move(entries)) {}
  static TPalette FromColorTable(std::span<const RGBQUAD> colors);

  // Copies take the entries; each copy makes its own GDI palette when asked for one.
  TPalette(const TPalette& other) : FEntries(other.FEntries) {}
  TPalette& operator=(const TPalette& other);
  TPalette(TPalette&&) noexcept = default;
  TPalette& operator=(TPalette&&) noexcept = default;

  bool Empty() const { return FEntries.empty(); }
  int Count() const { return static_cast<int>(FEntries.size()); }
  const std::vector<PALETTEENTRY>& Entries() const { return FEntries; }
  // The GDI palette (null for an empty palette); it stays with this object.
  HPALETTE Handle() const;

private:
  std::vector<PALETTEENTRY> FEntries;
  mutable TPaletteHandle FHandle;
};

} // namespace qs
