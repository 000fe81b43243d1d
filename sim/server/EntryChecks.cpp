#include "sim/server/EntryChecks.h"

#include <algorithm>
#include <cstddef>
#include <string_view>

#include "ports/AccessCodes.h"
#include "ports/Wire.h"
#include "sim/server/Hex.h"

namespace sim::server {
namespace {

constexpr std::size_t kEntryFiles = 3;
constexpr std::string_view kAccessCodePrefix = "OPEN CODE=";
// Check byte B makes all bytes of a boot frame sum to this, modulo 256.
constexpr std::uint8_t kBootFrameSum = 0xFF;

std::span<const std::uint8_t> AsBytes(std::string_view text)
{
    return {reinterpret_cast<const std::uint8_t*>(text.data()), text.size()};
}

bool Equal(std::span<const std::uint8_t> bytes, std::string_view text)
{
    return std::ranges::equal(bytes, AsBytes(text));
}

std::string_view MessageOf(AccessCode code)
{
    return {code == AccessCode::A ? accesscodes::MessageA() : accesscodes::MessageB(), accesscodes::kMessageLength};
}

unsigned BigEndian16(std::span<const std::uint8_t> bytes, std::size_t offset)
{
    return (unsigned{bytes[offset]} << 8) | bytes[offset + 1];
}

// The text of a message as it may appear in a reason: printable, cut short.
std::string Shown(std::span<const std::uint8_t> bytes)
{
    constexpr std::size_t kShown = 24;
    std::string text;
    for (std::size_t i = 0; i < std::min(bytes.size(), kShown); ++i)
        text += (bytes[i] >= 0x20 && bytes[i] < 0x7F) ? static_cast<char>(bytes[i]) : '.';
    if (bytes.size() > kShown)
        text += "...";
    return text;
}

EntryCheck CheckAccessCode(std::span<const std::uint8_t> file, AccessCode expected)
{
    const AccessCode other = expected == AccessCode::A ? AccessCode::B : AccessCode::A;
    if (Equal(file, MessageOf(expected)))
        return {};
    if (Equal(file, MessageOf(other)))
        return "data file 1 is access code " + std::string(ToString(other)) + ", this printer takes access code " +
               std::string(ToString(expected));
    if (file.size() >= kAccessCodePrefix.size() && Equal(file.first(kAccessCodePrefix.size()), kAccessCodePrefix))
        return "data file 1 is an unknown access code (" + std::to_string(file.size()) + " bytes)";
    return "data file 1 is not an access-code message: \"" + Shown(file) + "\"";
}

EntryCheck CheckBootPacket(std::span<const std::uint8_t> file)
{
    constexpr std::size_t kSize = sizeof(wire::BootPacket);
    if (file.size() != kSize)
        return "data file 3 has " + std::to_string(file.size()) + " bytes, a boot packet " + std::to_string(kSize);
    const unsigned length = BigEndian16(file, offsetof(wire::BootPacket, length));
    if (length != wire::kBootText.size())
        return "boot packet length word " + std::to_string(length) + ", expected " +
               std::to_string(wire::kBootText.size());
    const auto text = file.subspan(offsetof(wire::BootPacket, text), sizeof(wire::BootPacket::text));
    if (!Equal(text, wire::kBootText))
        return "boot packet text \"" + Shown(text) + "\" is not the boot command";
    const std::uint8_t expected = wire::BootPacketCheck(file.data(), offsetof(wire::BootPacket, check));
    const std::uint8_t check = file[offsetof(wire::BootPacket, check)];
    if (check != expected)
        return "boot packet check byte " + HexByte(check) + ", expected " + HexByte(expected);
    return {};
}

} // namespace

EntryCheck CheckAccessCodeSequence(const std::vector<std::vector<std::uint8_t>>& files, AccessCode expected)
{
    if (files.size() != kEntryFiles)
        return "the job has " + std::to_string(files.size()) + " data files, an update-mode entry 3";
    if (EntryCheck code = CheckAccessCode(files[0], expected); !code)
        return code;
    if (!Equal(files[1], wire::kPipeMonitor))
        return "data file 2 is \"" + Shown(files[1]) + "\", not \"PIPE MONITOR\"";
    return CheckBootPacket(files[2]);
}

EntryCheck CheckBootFrame(std::span<const std::uint8_t> frame)
{
    using wire::BootFrame;
    if (frame.size() != sizeof(BootFrame))
        return "boot frame of " + std::to_string(frame.size()) + " bytes, expected " +
               std::to_string(sizeof(BootFrame));
    if (frame[offsetof(BootFrame, start)] != wire::kBootFrameStart)
        return "boot frame starts with " + HexByte(frame[0]) + ", expected " + HexByte(wire::kBootFrameStart);
    if (unsigned length = BigEndian16(frame, offsetof(BootFrame, length)); length != wire::kBootFrameLength)
        return "boot frame length " + std::to_string(length) + ", expected " +
               std::to_string(wire::kBootFrameLength);
    if (unsigned length = BigEndian16(frame, offsetof(BootFrame, type));
        length != wire::kBootFrameType)
        return "boot frame type word " + std::to_string(length) + ", expected " +
               std::to_string(wire::kBootFrameType);
    const auto text = frame.subspan(offsetof(BootFrame, text), sizeof(BootFrame::text));
    if (!Equal(text, wire::kBootText))
        return "boot frame text \"" + Shown(text) + "\" is not the boot command";

    unsigned textSum = 1;
    for (std::uint8_t byte : text)
        textSum += byte;
    const auto checkA = static_cast<std::uint8_t>(textSum & 0xFFu);
    if (frame[offsetof(BootFrame, checkA)] != checkA)
        return "boot frame check byte A " + HexByte(frame[offsetof(BootFrame, checkA)]) + ", expected " +
               HexByte(checkA);

    unsigned sum = 0;
    for (std::size_t i = 0; i < offsetof(BootFrame, checkB); ++i)
        sum += frame[i];
    const auto checkB = static_cast<std::uint8_t>((kBootFrameSum - sum) & 0xFFu);
    if (frame[offsetof(BootFrame, checkB)] != checkB)
        return "boot frame check byte B " + HexByte(frame[offsetof(BootFrame, checkB)]) + ", expected " +
               HexByte(checkB);
    return {};
}

} // namespace sim::server
