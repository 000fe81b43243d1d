#pragma once
// The two device access codes, A and B: 500 printable ASCII characters each,
// B a permutation of A. Each is kept as the message the printer expects,
// "OPEN CODE=" followed by the code (510 characters, zero-terminated).
// Code A also keys the firmware image's scrambling, so the image, the ports
// and the firmware packer all read the codes from here.

#include <cstddef>
#include <cstdint>
#include <span>

namespace accesscodes {

inline constexpr std::size_t kCodeLength = 500;
inline constexpr std::size_t kPrefixLength = 10; // "OPEN CODE="
inline constexpr std::size_t kMessageLength = kPrefixLength + kCodeLength;

// Zero-terminated constant messages; never built or freed at run time.
const char* MessageA();
const char* MessageB();

// The code characters alone.
std::span<const std::uint8_t, kCodeLength> CodeA();
std::span<const std::uint8_t, kCodeLength> CodeB();

} // namespace accesscodes
