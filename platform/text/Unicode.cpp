#include "platform/text/Unicode.h"

#include <cstdint>

namespace platform {
namespace {

constexpr char32_t kReplacement = 0xFFFD;

bool IsScalar(char32_t c)
{
    return c <= 0x10FFFF && (c < 0xD800 || c > 0xDFFF);
}

// Decodes one sequence at `pos`, advancing `pos` past it. An ill-formed
// sequence gives nothing and advances past its maximal subpart (at least one
// byte), so the caller substitutes exactly one U+FFFD for it.
std::optional<char32_t> DecodeOne(std::string_view bytes, std::size_t& pos)
{
    const auto lead = static_cast<std::uint8_t>(bytes[pos]);
    if (lead < 0x80) {
        ++pos;
        return lead;
    }
    // The range of the second byte is what rules out overlong forms,
    // surrogates and values beyond U+10FFFF (Unicode's table 3-7).
    int trail = 0;
    std::uint8_t low = 0x80, high = 0xBF;
    char32_t value = 0;
    if (lead >= 0xC2 && lead <= 0xDF) {
        trail = 1;
        value = lead & 0x1F;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        trail = 2;
        value = lead & 0x0F;
        if (lead == 0xE0)
            low = 0xA0;
        else if (lead == 0xED)
            high = 0x9F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        trail = 3;
        value = lead & 0x07;
        if (lead == 0xF0)
            low = 0x90;
        else if (lead == 0xF4)
            high = 0x8F;
    } else {
        ++pos;
        return std::nullopt;
    }
    std::size_t next = pos + 1;
    for (int i = 0; i < trail; ++i, ++next) {
        if (next >= bytes.size())
            break;
        const auto byte = static_cast<std::uint8_t>(bytes[next]);
        if (byte < low || byte > high)
            break;
        value = (value << 6) | (byte & 0x3F);
        low = 0x80;
        high = 0xBF;
        if (i == trail - 1) {
            pos = next + 1;
            return value;
        }
    }
    pos = next;
    return std::nullopt;
}

template <typename Sink>
bool DecodeUtf8(std::string_view bytes, Sink&& sink)
{
    bool wellFormed = true;
    std::size_t pos = 0;
    while (pos < bytes.size()) {
        std::optional<char32_t> c = DecodeOne(bytes, pos);
        if (!c)
            wellFormed = false;
        sink(static_cast<wchar_t>(c.value_or(kReplacement)));
    }
    return wellFormed;
}

} // namespace

std::wstring Utf8ToWide(std::string_view bytes)
{
    std::wstring text;
    text.reserve(bytes.size());
    DecodeUtf8(bytes, [&](wchar_t c) { text.push_back(c); });
    return text;
}

std::optional<std::wstring> Utf8ToWideStrict(std::string_view bytes)
{
    std::wstring text;
    text.reserve(bytes.size());
    if (!DecodeUtf8(bytes, [&](wchar_t c) { text.push_back(c); }))
        return std::nullopt;
    return text;
}

std::string WideToUtf8(std::wstring_view text)
{
    std::string bytes;
    bytes.reserve(text.size());
    for (wchar_t wc : text) {
        char32_t c = static_cast<char32_t>(wc);
        if (!IsScalar(c))
            c = kReplacement;
        if (c < 0x80) {
            bytes.push_back(static_cast<char>(c));
        } else if (c < 0x800) {
            bytes.push_back(static_cast<char>(0xC0 | (c >> 6)));
            bytes.push_back(static_cast<char>(0x80 | (c & 0x3F)));
        } else if (c < 0x10000) {
            bytes.push_back(static_cast<char>(0xE0 | (c >> 12)));
            bytes.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
            bytes.push_back(static_cast<char>(0x80 | (c & 0x3F)));
        } else {
            bytes.push_back(static_cast<char>(0xF0 | (c >> 18)));
            bytes.push_back(static_cast<char>(0x80 | ((c >> 12) & 0x3F)));
            bytes.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
            bytes.push_back(static_cast<char>(0x80 | (c & 0x3F)));
        }
    }
    return bytes;
}

std::size_t Utf16Length(std::wstring_view text)
{
    std::size_t units = 0;
    for (wchar_t wc : text) {
        const auto c = static_cast<char32_t>(wc);
        units += (c > 0xFFFF && IsScalar(c)) ? 2 : 1;
    }
    return units;
}

std::string WideToUtf16Le(std::wstring_view text)
{
    std::string bytes;
    bytes.reserve(text.size() * 2);
    auto put = [&](char32_t unit) {
        bytes.push_back(static_cast<char>(unit & 0xFF));
        bytes.push_back(static_cast<char>((unit >> 8) & 0xFF));
    };
    for (wchar_t wc : text) {
        char32_t c = static_cast<char32_t>(wc);
        if (!IsScalar(c))
            c = kReplacement;
        if (c > 0xFFFF) {
            c -= 0x10000;
            put(0xD800 + (c >> 10));
            put(0xDC00 + (c & 0x3FF));
        } else {
            put(c);
        }
    }
    return bytes;
}

std::wstring Utf16LeToWide(std::string_view bytes)
{
    std::wstring text;
    text.reserve(bytes.size() / 2);
    const std::size_t units = bytes.size() / 2;
    auto unitAt = [&](std::size_t i) {
        return static_cast<char32_t>(static_cast<std::uint8_t>(bytes[2 * i]) |
                                     (static_cast<std::uint8_t>(bytes[2 * i + 1]) << 8));
    };
    for (std::size_t i = 0; i < units; ++i) {
        const char32_t unit = unitAt(i);
        if (unit >= 0xD800 && unit <= 0xDBFF && i + 1 < units) {
            const char32_t low = unitAt(i + 1);
            if (low >= 0xDC00 && low <= 0xDFFF) {
                text.push_back(static_cast<wchar_t>(0x10000 + ((unit - 0xD800) << 10) + (low - 0xDC00)));
                ++i;
                continue;
            }
        }
        text.push_back(static_cast<wchar_t>(unit >= 0xD800 && unit <= 0xDFFF ? kReplacement : unit));
    }
    return text;
}

} // namespace platform
