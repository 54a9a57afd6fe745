#include "Palette.h"

#include "Exception.h"

#include <algorithm>
#include <cstddef>
#include <cstring>

namespace qs {

namespace {

// The version every logical palette carries (LOGPALETTE.palVersion).
constexpr WORD LogPaletteVersion = 0x300;
constexpr size_t MaxPaletteEntries = 256;

} // namespace

TPalette TPalette::FromColorTable(std::span<const RGBQUAD> colors) {
  std::vector<PALETTEENTRY> entries;
  entries.reserve(std::min(colors.size(), MaxPaletteEntries));
  for (size_t i = 0; i < colors.size() && i < MaxPaletteEntries; ++i)
    entries.push_back(PALETTEENTRY{colors[i].rgbRed, colors[i].rgbGreen, colors[i].rgbBlue, 0});
  return TPalette(std::move(entries));
}

TPalette& TPalette::operator=(const TPalette& other) {
  if (this != &other) {
    FEntries = other.FEntries;
    FHandle.Reset();
  }
  return *this;
}

HPALETTE TPalette::Handle() const {
  if (!FHandle && !FEntries.empty()) {
    // LOGPALETTE ends in a one-entry array: room for the others follows it.
    std::vector<std::byte> buffer(sizeof(LOGPALETTE) + (FEntries.size() - 1) * sizeof(PALETTEENTRY));
    auto* log = reinterpret_cast<LOGPALETTE*>(buffer.data());
    log->palVersion = LogPaletteVersion;
    log->palNumEntries = static_cast<WORD>(FEntries.size());
    std::memcpy(buffer.data() + offsetof(LOGPALETTE, palPalEntry), FEntries.data(),
                FEntries.size() * sizeof(PALETTEENTRY));
    FHandle.Reset(CreatePalette(log));
    if (!FHandle) throw EOutOfResources("Cannot create palette");
  }
  return FHandle.Get();
}

} // namespace qs
