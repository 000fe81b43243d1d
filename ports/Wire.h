#pragma once
// The byte layouts the installer puts on the printer's wires, each declared
// once with its sizes checked at compile time. The ports and the printer
// simulator both build and check their traffic from here.

#include <array>
#include <bit>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <string>
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

// --- LPR (RFC 1179 receive job, data files only) -----------------------------

// The printer's LPD: the services database's "printer"/"tcp", else 515.
inline constexpr const char* kLprServiceName = "printer";
inline constexpr const char* kLprServiceProtocol = "tcp";
inline constexpr std::uint16_t kLprDefaultPort = 515;

// Receive a job for queue "%lp1 x", sent exactly as it stands: the percent
// sign is part of the queue name, not a format.
inline constexpr std::array<std::uint8_t, 8> kLprReceiveJob{0x02, '%', 'l', 'p', '1', ' ', 'x', 0x0A};

// The receive-data-file subcommand: 0x03, the byte count in decimal, a
// space, the file name, a line feed.
inline constexpr std::uint8_t kLprDataFileCommand = 0x03;
inline constexpr char kLprDataFileName = 'x'; // every data file of every job
inline constexpr std::uint8_t kLprEndOfFile = 0x00; // follows each file's bytes
inline constexpr std::uint8_t kLprAcknowledge = 0x00; // first byte of a positive answer

// The installer reads each acknowledgement into a buffer of this size, in
// one read, and looks at its first byte only.
inline constexpr std::size_t kLprReplyBufferSize = 64;

// The subcommand for a data file of `count` bytes; unsigned decimal, so a
// count is never announced with a sign. The longest ("\x03" "4294967295 x\n")
// is 14 bytes.
inline std::string LprDataFileCommand(std::uint32_t count)
{
    std::string command(1, static_cast<char>(kLprDataFileCommand));
    command += std::to_string(count);
    command += ' ';
    command += kLprDataFileName;
    command += '\n';
    return command;
}
static_assert(1 + 10 + 3 <= kLprReplyBufferSize);

// --- the in-house TCP protocol (Vanta and Quill ports) -------------------------

inline constexpr std::uint16_t kImagePort = 9100;     // the image as a plain stream
inline constexpr std::uint16_t kVantaBootPort = 9101; // the boot frame, Vanta
inline constexpr std::uint16_t kQuillBootPort = 9500; // the boot frame, Quill
// How long Quill keeps the boot frame's connection open after the frame.
inline constexpr std::chrono::milliseconds kQuillBootHold{21000};

// The boot frame: a start byte, a big-endian length, a big-endian type
// word, the boot command without a terminator, and two check bytes. The
// length counts the bytes from the type word through check byte A.
struct BootFrame {
    std::uint8_t start;     // kBootFrameStart
    std::uint8_t length[2]; // kBootFrameLength, big-endian
    std::uint8_t type[2];   // kBootFrameType, big-endian
    char text[18];          // kBootText
    std::uint8_t checkA;    // (sum of the text bytes + 1) mod 256
    std::uint8_t checkB;    // makes all 25 bytes sum to 0xFF mod 256
};
static_assert(sizeof(BootFrame) == 25);
static_assert(offsetof(BootFrame, type) == 3);
static_assert(offsetof(BootFrame, text) == 5);
static_assert(offsetof(BootFrame, checkA) == 23);
static_assert(offsetof(BootFrame, checkB) == 24);
static_assert(sizeof(BootFrame::text) == kBootText.size());

inline constexpr std::uint8_t kBootFrameStart = 0x80;
inline constexpr std::uint16_t kBootFrameLength = offsetof(BootFrame, checkB) - offsetof(BootFrame, type);
inline constexpr std::uint16_t kBootFrameType = 6;
static_assert(kBootFrameLength == 21);

using BootFrameBytes = std::array<std::uint8_t, sizeof(BootFrame)>;

constexpr BootFrameBytes MakeBootFrame()
{
    BootFrame frame{};
    frame.start = kBootFrameStart;
    frame.length[0] = static_cast<std::uint8_t>(kBootFrameLength >> 8);
    frame.length[1] = static_cast<std::uint8_t>(kBootFrameLength & 0xFFu);
    frame.type[0] = static_cast<std::uint8_t>(kBootFrameType >> 8);
    frame.type[1] = static_cast<std::uint8_t>(kBootFrameType & 0xFFu);
    for (std::size_t i = 0; i < kBootText.size(); ++i)
        frame.text[i] = kBootText[i];
    auto bytes = std::bit_cast<BootFrameBytes>(frame);

    unsigned textSum = 1;
    for (std::size_t i = offsetof(BootFrame, text); i < offsetof(BootFrame, checkA); ++i)
        textSum += bytes[i];
    bytes[offsetof(BootFrame, checkA)] = static_cast<std::uint8_t>(textSum & 0xFFu);

    unsigned sum = 0;
    for (std::size_t i = 0; i < offsetof(BootFrame, checkB); ++i)
        sum += bytes[i];
    bytes[offsetof(BootFrame, checkB)] = static_cast<std::uint8_t>((0xFFu - sum) & 0xFFu);
    return bytes;
}

// Fixed content, fixed check bytes: a peer may compare the frame whole.
static_assert(MakeBootFrame()[offsetof(BootFrame, checkA)] == 0xD6);
static_assert(MakeBootFrame()[offsetof(BootFrame, checkB)] == 0xB9);

// --- status by SNMP (all network ports; community "public") -------------------

inline constexpr std::string_view kLprStatusOid = ".1.3.6.1.4.1.32473.2.2.2.1.24.1";
inline constexpr std::string_view kVantaStatusOid = ".1.3.6.1.4.1.39021.3.2.1.1"; // Quill too

} // namespace wire
