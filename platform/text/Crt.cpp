#include "platform/text/Crt.h"

#include <clocale>
#include <cstdint>
#include <cstdlib>
#include <cwctype>
#include <limits>
#include <locale.h>

namespace platform {
namespace {

bool IsCSpace(char c)
{
    return c == ' ' || (c >= '\t' && c <= '\r');
}

int DigitValue(wchar_t c)
{
    if (c >= L'0' && c <= L'9')
        return c - L'0';
    if (c >= L'a' && c <= L'z')
        return c - L'a' + 10;
    if (c >= L'A' && c <= L'Z')
        return c - L'A' + 10;
    return 99;
}

struct ParsedInteger {
    std::uint64_t magnitude = 0;
    bool negative = false;
    bool overflow = false; // magnitude exceeded 32 bits
};

// The common front of strtol and strtoul: white space, sign, optional 0x
// for base 16, then digits. Only 32-bit overflow matters to the callers, so
// accumulation stops growing once it passes 2^32.
ParsedInteger ParseInteger(const wchar_t* text, int base)
{
    ParsedInteger result;
    if (text == nullptr || base < 2 || base > 36)
        return result;
    const wchar_t* p = text;
    while (std::iswspace(static_cast<std::wint_t>(*p)))
        ++p;
    if (*p == L'+' || *p == L'-') {
        result.negative = *p == L'-';
        ++p;
    }
    if (base == 16 && p[0] == L'0' && (p[1] == L'x' || p[1] == L'X') && DigitValue(p[2]) < 16)
        p += 2;
    for (; DigitValue(*p) < base; ++p) {
        result.magnitude = result.magnitude * static_cast<unsigned>(base) + static_cast<unsigned>(DigitValue(*p));
        if (result.magnitude > 0xFFFFFFFFull) {
            result.overflow = true;
            result.magnitude = 0x100000000ull;
        }
    }
    return result;
}

locale_t ClassicLocale()
{
    static locale_t classic = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(nullptr));
    return classic;
}

} // namespace

std::int32_t Atoi(const char* text)
{
    if (text == nullptr)
        return 0;
    const char* p = text;
    while (IsCSpace(*p))
        ++p;
    bool negative = false;
    if (*p == '+' || *p == '-') {
        negative = *p == '-';
        ++p;
    }
    std::int64_t value = 0;
    constexpr std::int64_t kLimit = std::int64_t{std::numeric_limits<std::int32_t>::max()} + 1;
    for (; *p >= '0' && *p <= '9'; ++p) {
        value = value * 10 + (*p - '0');
        if (value > kLimit)
            value = kLimit;
    }
    if (negative)
        return static_cast<std::int32_t>(-value);
    return static_cast<std::int32_t>(value >= kLimit ? kLimit - 1 : value);
}

double Atof(const char* text)
{
    if (text == nullptr)
        return 0.0;
    return strtod_l(text, nullptr, ClassicLocale());
}

std::int32_t Wcstol(const wchar_t* text, int base)
{
    ParsedInteger parsed = ParseInteger(text, base);
    constexpr std::uint64_t kMax = std::numeric_limits<std::int32_t>::max();
    if (parsed.negative) {
        if (parsed.overflow || parsed.magnitude > kMax + 1)
            return std::numeric_limits<std::int32_t>::min();
        return static_cast<std::int32_t>(-static_cast<std::int64_t>(parsed.magnitude));
    }
    if (parsed.overflow || parsed.magnitude > kMax)
        return std::numeric_limits<std::int32_t>::max();
    return static_cast<std::int32_t>(parsed.magnitude);
}

std::uint32_t Wcstoul(const wchar_t* text, int base)
{
    ParsedInteger parsed = ParseInteger(text, base);
    if (parsed.overflow)
        return 0xFFFFFFFFu;
    auto value = static_cast<std::uint32_t>(parsed.magnitude);
    return parsed.negative ? static_cast<std::uint32_t>(0u - value) : value;
}

} // namespace platform

namespace platform {

std::optional<std::int32_t> TruncateToInt32(double value)
{
    // NaN fails both comparisons.
    if (!(value > -2147483649.0 && value < 2147483648.0))
        return std::nullopt;
    return static_cast<std::int32_t>(value);
}

} // namespace platform
