#pragma once
// Path and name rules of Windows paths held as UTF-8 text.
//
// Text is UTF-8. A backslash (0x5C) or dot (0x2E) byte never occurs inside a multi-byte UTF-8 sequence, so
// searching for them byte by byte finds only real separators; the double-byte trail-byte caveat of ANSI code
// pages does not arise.
#include <string>
#include <string_view>

namespace qs {

// Equal when the texts differ at most in the case of ASCII letters; no other folding (é and É differ).
bool SameTextAscii(std::string_view a, std::string_view b);

// The part after the last backslash; the whole text when it holds no backslash (a bare name is its own name).
std::string ExtractFileName(std::string_view path);

// Up to and including the last backslash; empty when the text holds no backslash.
std::string ExtractFilePath(std::string_view path);

// The part after the last dot, without the dot; empty when the text holds no dot.
std::string ExtensionAfterLastDot(std::string_view text);

// The code point of the UTF-8 character `character` starts with; 0 when it does not start with a whole, well-formed
// character (a stray continuation byte, a character cut short) or is empty.
char32_t Utf8CodePoint(std::string_view character);

// "\r\n" for every "\n", as edit controls and the clipboard's text want their line breaks.
std::string WithLineBreaks(std::string_view text);

} // namespace qs
