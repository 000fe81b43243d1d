#include "platform/net/InetAddr.h"

#include <array>

namespace platform {
namespace {

bool IsSpace(char ch)
{
    // The C locale's white space, whatever the process locale says.
    return ch == ' ' || ch == '\t' || ch == '\n' || ch == '\v' || ch == '\f' || ch == '\r';
}

bool IsDigit(char ch)
{
    return ch >= '0' && ch <= '9';
}

// The value of `ch` as a digit of `base`, or -1.
int DigitValue(char ch, unsigned base)
{
    int value = -1;
    if (ch >= '0' && ch <= '9')
        value = ch - '0';
    else if (ch >= 'a' && ch <= 'f')
        value = ch - 'a' + 10;
    else if (ch >= 'A' && ch <= 'F')
        value = ch - 'A' + 10;
    return value >= 0 && static_cast<unsigned>(value) < base ? value : -1;
}

// Reads one part at `p`, which starts with a digit, and moves `p` past it.
// False when the part has no digits after "0x" or does not fit 32 bits.
bool ReadPart(const char*& p, std::uint32_t& value)
{
    unsigned base = 10;
    bool digits = false;
    if (*p == '0') {
        ++p;
        if (*p == 'x' || *p == 'X') {
            base = 16;
            ++p;
        } else {
            base = 8;
            digits = true; // the 0 itself
        }
    }
    std::uint64_t sum = 0;
    for (int digit; (digit = DigitValue(*p, base)) >= 0; ++p) {
        sum = sum * base + static_cast<unsigned>(digit);
        if (sum > 0xFFFFFFFFu)
            return false;
        digits = true;
    }
    value = static_cast<std::uint32_t>(sum);
    return digits;
}

} // namespace

std::uint32_t InetAddr(const char* text)
{
    if (text == nullptr)
        return INADDR_NONE;
    // Windows answers a lone space with INADDR_ANY.
    if (text[0] == ' ' && text[1] == '\0')
        return 0;

    // The room of the last part, by how many parts came before it.
    static constexpr std::array<std::uint32_t, 4> kLastPartMax = {0xFFFFFFFFu, 0xFFFFFFu, 0xFFFFu, 0xFFu};
    std::array<std::uint32_t, 3> leading{};
    std::size_t count = 0; // parts before the current one
    std::uint32_t part = 0;
    const char* p = text;
    for (;;) {
        if (!IsDigit(*p) || !ReadPart(p, part))
            return INADDR_NONE;
        if (*p != '.')
            break;
        if (count == leading.size() || part > 0xFF)
            return INADDR_NONE;
        leading[count++] = part;
        ++p;
    }
    if (*p != '\0' && !IsSpace(*p))
        return INADDR_NONE;
    if (part > kLastPartMax[count])
        return INADDR_NONE;

    std::uint32_t host = part;
    for (std::size_t i = 0; i < count; ++i)
        host |= leading[i] << (24 - 8 * i);
    return htonl(host);
}

} // namespace platform
