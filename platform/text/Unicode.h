#pragma once
// UTF-8 and UTF-16 as byte formats, independent of the process locale.
//
// Files the program reads from outside (the host folder's .reg files, the
// print server's device list) are UTF-8 whatever the user's locale says, and
// the registry measures its strings in UTF-16 code units as Windows stores
// them. Wide text is UTF-32 here (wchar_t is 32 bits on Linux).

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace platform {

// Decodes UTF-8. Each ill-formed sequence (a stray continuation byte, a cut
// sequence, an overlong form, an encoded surrogate, a value beyond U+10FFFF)
// becomes one U+FFFD per maximal ill-formed subpart, as the Unicode standard
// recommends and Windows' converter does. Zero bytes decode to U+0000.
std::wstring Utf8ToWide(std::string_view bytes);

// As Utf8ToWide, but nothing for input that is not well-formed UTF-8.
std::optional<std::wstring> Utf8ToWideStrict(std::string_view bytes);

// Encodes as UTF-8; a value that is no Unicode scalar (a surrogate, beyond
// U+10FFFF) becomes U+FFFD.
std::string WideToUtf8(std::wstring_view text);

// The number of UTF-16 code units `text` takes: two for a character beyond
// U+FFFF, one for any other.
std::size_t Utf16Length(std::wstring_view text);

// UTF-16 as little-endian bytes (Windows' in-memory and registry form);
// non-scalars become U+FFFD.
std::string WideToUtf16Le(std::wstring_view text);

// Decodes little-endian UTF-16 bytes. An unpaired surrogate becomes U+FFFD;
// an odd trailing byte is ignored.
std::wstring Utf16LeToWide(std::string_view bytes);

} // namespace platform
