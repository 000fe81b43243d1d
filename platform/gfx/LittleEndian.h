#pragma once
// Bounds-checked little-endian reads and writes. The picture decoders read
// outside bytes (a replaced resource module) only through these: a read
// that does not fit gives nothing instead of touching memory.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace platform::gfx {

inline bool Fits(std::span<const std::uint8_t> bytes, std::size_t offset, std::size_t count)
{
    return offset <= bytes.size() && count <= bytes.size() - offset;
}

inline std::optional<std::uint16_t> ReadU16(std::span<const std::uint8_t> bytes, std::size_t offset)
{
    if (!Fits(bytes, offset, 2))
        return std::nullopt;
    return static_cast<std::uint16_t>(bytes[offset] | bytes[offset + 1] << 8);
}

inline std::optional<std::uint32_t> ReadU32(std::span<const std::uint8_t> bytes, std::size_t offset)
{
    if (!Fits(bytes, offset, 4))
        return std::nullopt;
    return static_cast<std::uint32_t>(bytes[offset]) | static_cast<std::uint32_t>(bytes[offset + 1]) << 8 |
           static_cast<std::uint32_t>(bytes[offset + 2]) << 16 | static_cast<std::uint32_t>(bytes[offset + 3]) << 24;
}

inline std::optional<std::int32_t> ReadI32(std::span<const std::uint8_t> bytes, std::size_t offset)
{
    auto value = ReadU32(bytes, offset);
    if (!value)
        return std::nullopt;
    return static_cast<std::int32_t>(*value);
}

// Writers for encoders, which size their buffer first and write at offsets.
inline void PutU16(std::vector<std::uint8_t>& out, std::size_t offset, std::uint16_t value)
{
    out.at(offset) = static_cast<std::uint8_t>(value);
    out.at(offset + 1) = static_cast<std::uint8_t>(value >> 8);
}

inline void PutU32(std::vector<std::uint8_t>& out, std::size_t offset, std::uint32_t value)
{
    for (std::size_t i = 0; i < 4; ++i)
        out.at(offset + i) = static_cast<std::uint8_t>(value >> (8 * i));
}

} // namespace platform::gfx
