#include "sim/server/Hex.h"

#include <algorithm>

namespace sim::server {
namespace {

constexpr char kDigits[] = "0123456789abcdef";

} // namespace

std::string Hex(std::span<const std::uint8_t> bytes, std::size_t limit)
{
    const std::size_t count = std::min(bytes.size(), limit);
    std::string text;
    text.reserve(count * 2);
    for (std::size_t i = 0; i < count; ++i) {
        text += kDigits[bytes[i] >> 4];
        text += kDigits[bytes[i] & 0x0F];
    }
    return text;
}

std::string HexByte(std::uint8_t byte)
{
    return std::string("0x") + kDigits[byte >> 4] + kDigits[byte & 0x0F];
}

} // namespace sim::server
