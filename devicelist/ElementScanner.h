#pragma once
// A small tag scanner over the print server's device list (not an XML
// parser): it finds elements by exact, case-sensitive name and takes their
// contents exactly as they stand between the tags, with no entity decoding
// and no trimming.
//
// A start tag is "<name>" or "<name" followed by one space and anything up
// to the next '>'; "<name/>", or a tab or line break after the name, is no
// start tag. The content runs to the first "</name>" after the start tag,
// and the search then goes on inside it, so nested elements of the same name
// are found too. A start tag with no end tag after it contributes nothing.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

// The contents found are capped at this many characters in all (the text
// itself may be up to 16 MiB): nested or unclosed start tags each take in
// the rest of the text, so a few thousand of them would otherwise need
// gigabytes. Past the cap the search ends as a failed allocation would end
// it, keeping what it has found.
inline constexpr std::size_t kMaxElementContentChars = std::size_t{16} << 20;

// Appends the content of every element named `name` to `list`, in the order
// their start tags appear; returns the number appended.
int FindElements(std::wstring_view text, std::wstring_view name, std::vector<std::wstring>& list);

// The content of the first element named `name`, or the empty text.
std::wstring GetElementText(std::wstring_view text, std::wstring_view name);

// The first element named `name` read as a decimal number: leading white
// space, an optional sign, digits up to the first other character, clamped
// to the signed 32-bit range; 0 when it is missing, empty or starts with no
// digit. Note the order of the arguments: the name comes first.
int GetElementNumber(std::wstring_view name, std::wstring_view text);
