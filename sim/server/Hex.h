#pragma once
// Bytes as lower-case hexadecimal, for the record.

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

namespace sim::server {

// "02256c70"; at most `limit` bytes of `bytes`.
std::string Hex(std::span<const std::uint8_t> bytes, std::size_t limit = SIZE_MAX);

// "0x0a", for a byte named in a message.
std::string HexByte(std::uint8_t byte);

} // namespace sim::server
