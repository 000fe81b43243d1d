#pragma once
// Reading the device list's text.

#include <string>
#include <string_view>

// A device list larger than this is not read (it gives the empty text, as a
// failed allocation would); real lists are a few kilobytes.
inline constexpr std::size_t kMaxDeviceListBytes = std::size_t{16} << 20;

// The file's text: its bytes after an optional byte-order mark (EF BB BF), up
// to the first zero byte, converted from UTF-8 (ill-formed sequences become
// U+FFFD). The file is held exclusively while it is read: a file that another
// holder has locked is not read. Any failure (no such file, a lock held
// elsewhere, no access, a folder, too large) gives the empty text and
// reports nothing.
std::wstring ReadUtf8TextFile(std::wstring_view path);

// The conversion ReadUtf8TextFile applies to the bytes it read.
std::wstring Utf8TextFromBytes(std::string_view bytes);
