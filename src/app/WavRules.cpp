#include "WavRules.h"

#include "TextRules.h"

namespace qs {

namespace {
constexpr std::string_view kWavExtension = "wav";
} // namespace

bool IsWavExtension(std::string_view extension) { return SameTextAscii(extension, kWavExtension); }

bool HasWavExtension(std::string_view fullPath) { return IsWavExtension(ExtensionAfterLastDot(fullPath)); }

} // namespace qs
