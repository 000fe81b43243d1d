#pragma once
// The byte layouts the installer puts on the printer's wires, each declared
// once with its sizes checked at compile time. The ports and the printer
// simulator both build and check their traffic from here.

#include <array>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <string_view>

namespace wire {

// --- update-mode entry (LPR and USB ports) -----------------------------------

// The second entry message, sent without a terminator.
inline constexpr std::string_view kPipeMonitor = "PIPE MONITOR";
static_assert(kPipeMonitor.size() == 12);

// The boot command of the third entry message.
inline constexpr std::string_view kBootText = "BOOT_UpdateMain 0\n";

// The boot packet: a big-endian length word, the boot command without a
// terminator, and a check byte of (sum of the bytes before it + 1) mod 256.
struct BootPacket {
    std::uint8_t length[2]; // kBootText.size(), big-endian
    char text[18];          // kBootText
    std::uint8_t check;
};
static_assert(sizeof(BootPacket) == 21);
static_assert(offsetof(BootPacket, text) == 2);
static_assert(offsetof(BootPacket, check) == 20);
static_assert(sizeof(BootPacket::text) == kBootText.size());

using BootPacketBytes = std::array<std::uint8_t, sizeof(BootPacket)>;

constexpr std::uint8_t BootPacketCheck(const std::uint8_t* bytes, std::size_t count)
{
    unsigned sum = 1;
    for (std::size_t i = 0; i < count; ++i)
        sum += bytes[i];
    return static_cast<std::uint8_t>(sum & 0xFFu);
}

constexpr BootPacketBytes MakeBootPacket()
{
    BootPacket packet{};
    packet.length[0] = static_cast<std::uint8_t>((kBootText.size() >> 8) & 0xFFu);
    packet.length[1] = static_cast<std::uint8_t>(kBootText.size() & 0xFFu);
    for (std::size_t i = 0; i < kBootText.size(); ++i)
        packet.text[i] = kBootText[i];
    auto bytes = std::bit_cast<BootPacketBytes>(packet);
    bytes[offsetof(BootPacket, check)] = BootPacketCheck(bytes.data(), offsetof(BootPacket, check));
    return bytes;
}

// The packet never changes, so neither does its check byte; a peer may
// compare the whole packet byte for byte.
static_assert(MakeBootPacket()[offsetof(BootPacket, check)] == 0xE8);

} // namespace wire
