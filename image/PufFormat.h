#pragma once
// The firmware image format: a 32-byte "PUF1" header, the firmware, and a
// trailing sum byte; stored in the executable scrambled by a rotation of the
// eight bit planes and a cycling key.

#include <array>
#include <cstddef>
#include <cstdint>

#include "ports/AccessCodes.h"

namespace puf {

inline constexpr std::size_t kHeaderSize = 32;
inline constexpr std::size_t kMagicOffset = 0;
inline constexpr std::size_t kMagicSize = 4;
inline constexpr char kMagic[kMagicSize + 1] = "PUF1";
inline constexpr std::size_t kModelCodeOffset = 4;
inline constexpr std::size_t kModelCodeSize = 6;
inline constexpr std::size_t kVersionOffset = 10;
inline constexpr std::size_t kVersionSize = 22;
static_assert(kMagicOffset + kMagicSize == kModelCodeOffset);
static_assert(kModelCodeOffset + kModelCodeSize == kVersionOffset);
static_assert(kVersionOffset + kVersionSize == kHeaderSize);

// The 8-bit sum of a whole resource, sum byte included.
inline constexpr std::uint8_t kExpectedSum = 0x7F;

// Texts longer than this read as unreadable (-1).
inline constexpr std::size_t kMaxNumberText = 10;

// The key: access code A's 500 characters and one zero byte, so it cycles
// over 501 positions and every 501st byte is left as it is.
inline constexpr std::size_t kKeySize = accesscodes::kCodeLength + 1;

// Bit plane b is rotated by floor((b + 1) * n / 9) positions.
inline constexpr unsigned kRotationParts = 9;
inline constexpr unsigned kBitPlanes = 8;

using PlaneShifts = std::array<std::uint32_t, kBitPlanes>;

inline PlaneShifts ComputePlaneShifts(std::uint32_t n)
{
    PlaneShifts shifts{};
    for (unsigned b = 0; b < kBitPlanes; ++b)
        shifts[b] = static_cast<std::uint32_t>((std::uint64_t{b} + 1) * n / kRotationParts);
    return shifts;
}

} // namespace puf
