#pragma once
// Wide text and the "ANSI code page".
//
// Wide text is std::wstring. The ANSI code page stands for the process
// locale's narrow encoding (UTF-8 normally): conversions use the current
// LC_CTYPE, and a character the encoding cannot represent becomes '?', as
// the Windows conversion's default character does.

#include <cstddef>
#include <span>
#include <string>
#include <string_view>

namespace platform {

// Converts to the narrow encoding into a fixed buffer, zero-terminated.
// Returns false when the text and its terminator do not fit (a 16-byte
// buffer takes at most 15 bytes of text); the buffer then holds the empty
// text, so a caller that ignores the result never reads a truncated name.
bool WideToAnsi(std::wstring_view text, std::span<char> buffer);

// Unbounded conversions.
std::string WideToAnsi(std::wstring_view text);
// Bytes that do not decode in the narrow encoding become U+FFFD each.
std::wstring AnsiToWide(std::string_view bytes);

} // namespace platform
