#pragma once
// The inverse of the installer's unscrambling: how a firmware resource is
// made from a raw image. Used by the firmware packer and by tests.

#include <cstdint>
#include <span>
#include <vector>

namespace puf {

// Scrambles resource bytes as they are: adds the cycling key, then rotates
// each bit plane back. Unscrambling the result gives the bytes again.
std::vector<std::uint8_t> ScrambleBytes(std::span<const std::uint8_t> resource);

// The byte that brings the 8-bit sum of raw plus itself to 0x7F.
std::uint8_t SumByteFor(std::span<const std::uint8_t> raw);

// Makes the resource from a raw image: appends the sum byte and scrambles.
std::vector<std::uint8_t> PackFirmware(std::span<const std::uint8_t> raw);

} // namespace puf
