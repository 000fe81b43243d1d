#include <gtest/gtest.h>

#include <string>

#include "platform/text/Unicode.h"

namespace {

TEST(Unicode, Utf8DecodesLikeWindowsWithOneReplacementPerIllFormedPart)
{
    struct Row {
        const char* what;
        std::string bytes;
        std::wstring text;
        bool wellFormed;
    };
    const Row rows[] = {
        {"ASCII", "DeviceInfo", L"DeviceInfo", true},
        {"two, three and four bytes", "\xC3\xA9\xE4\xBA\x8B\xF0\x9F\x96\xA8", L"\u00E9\u4E8B\U0001F5A8", true},
        {"zero byte kept", std::string("a\0b", 3), std::wstring(L"a\0b", 3), true},
        {"stray continuation", "a\x80" "b", L"a\uFFFD" "b", false},
        {"cut sequence then ASCII", "\xE4\xBA" "a", L"\uFFFD" "a", false},
        {"cut at the end", "a\xF0\x9F\x96", L"a\uFFFD", false},
        {"overlong slash", "\xC0\xAF", L"\uFFFD\uFFFD", false},
        {"overlong three-byte", "\xE0\x80\xAF", L"\uFFFD\uFFFD\uFFFD", false},
        {"encoded surrogate", "\xED\xA0\x80", L"\uFFFD\uFFFD\uFFFD", false},
        {"beyond U+10FFFF", "\xF4\x90\x80\x80", L"\uFFFD\uFFFD\uFFFD\uFFFD", false},
        {"UTF-16 byte-order mark", "\xFF\xFE", L"\uFFFD\uFFFD", false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        EXPECT_EQ(platform::Utf8ToWide(row.bytes), row.text);
        EXPECT_EQ(platform::Utf8ToWideStrict(row.bytes).has_value(), row.wellFormed);
        if (row.wellFormed) {
            EXPECT_EQ(platform::WideToUtf8(row.text), row.bytes);
        }
    }
}

TEST(Unicode, Utf16RoundTripsAndCountsSurrogatePairs)
{
    const std::wstring text = L"A\u00E9\u4E8B\U0001F5A8";
    const std::string bytes = platform::WideToUtf16Le(text);
    EXPECT_EQ(bytes, std::string("A\0\xE9\0\x8B\x4E\x3D\xD8\xA8\xDD", 10));
    EXPECT_EQ(platform::Utf16Length(text), 5u);
    EXPECT_EQ(platform::Utf16LeToWide(bytes), text);
    // Unpaired surrogates and non-scalars become U+FFFD; an odd last byte
    // is no character.
    EXPECT_EQ(platform::Utf16LeToWide(std::string("\x3D\xD8" "A\0" "\x00\xDC" "B", 7)), L"\uFFFDA\uFFFD");
    EXPECT_EQ(platform::WideToUtf8(std::wstring(1, static_cast<wchar_t>(0xD800))), "\xEF\xBF\xBD");
    EXPECT_EQ(platform::WideToUtf16Le(std::wstring(1, static_cast<wchar_t>(0x110000))), "\xFD\xFF");
}

} // namespace
