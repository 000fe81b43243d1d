#pragma once
// The Basic Encoding Rules (X.690) as SNMPv1 uses them: single-byte tags,
// definite lengths, and the few primitive types of the protocol.
//
// Reading goes only through BerReader, which checks every length against the
// bytes that enclose it; a datagram is hostile input. Writing goes through
// BerWriter into a buffer whose exact size the caller has computed first
// with the *Size functions, so an encoder never grows, guesses or
// overruns.

#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

#include "platform/net/Oid.h"

namespace platform::snmp {

using Bytes = std::vector<std::uint8_t>;

// The tags of the SNMPv1 wire format (RFC 1157, RFC 1155; the exceptions and
// Counter64 of SNMPv2 that agents may send as well).
enum class Tag : std::uint8_t {
    Integer = 0x02,
    OctetString = 0x04,
    Null = 0x05,
    ObjectIdentifier = 0x06,
    Sequence = 0x30,
    // application types
    IpAddress = 0x40,
    Counter32 = 0x41,
    Gauge32 = 0x42,
    TimeTicks = 0x43,
    Opaque = 0x44,
    Counter64 = 0x46,
    // exceptions in place of a value (SNMPv2 agents)
    NoSuchObject = 0x80,
    NoSuchInstance = 0x81,
    EndOfMibView = 0x82,
    // PDUs
    GetRequest = 0xA0,
    GetNextRequest = 0xA1,
    GetResponse = 0xA2,
    SetRequest = 0xA3,
};

// High-tag-number form: the low five bits all set. Not used by SNMP.
inline constexpr std::uint8_t kHighTagNumber = 0x1F;
// Long-form lengths of up to this many octets; a datagram is below 64 KiB.
inline constexpr std::size_t kMaxLengthOctets = 4;
inline constexpr std::uint8_t kLongLengthFlag = 0x80;
inline constexpr std::uint8_t kIndefiniteLength = 0x80;

// Why bytes did not decode. Thrown by value inside the decoders and
// returned by their public entry points.
enum class DecodeError {
    Truncated,          // a tag, length or content runs past its enclosing bytes
    IndefiniteLength,   // length octet 0x80: not allowed in SNMP
    LengthTooLong,      // more length octets than kMaxLengthOctets
    HighTagNumber,      // a multi-byte tag
    UnexpectedTag,      // another type where the format wants this one
    TrailingBytes,      // bytes after the last element of a structure
    BadInteger,         // no content octets
    IntegerTooLong,     // more octets than the type holds
    IntegerOutOfRange,  // negative where the type is unsigned
    BadObjectId,        // empty, a padded sub-identifier, or one cut off
    ObjectIdOverflow,   // a sub-identifier beyond 32 bits
    ObjectIdTooLong,    // more than Oid::kMaxArcs arcs
    BadNull,            // NULL or an exception with content
    BadIpAddress,       // not four octets
    TooManyVarBinds,    // more than the message format allows
    WrongVersion,       // not SNMPv1
};

std::string_view Describe(DecodeError error);

struct Tlv {
    Tag tag;
    std::span<const std::uint8_t> content;
};

// Reads consecutive TLVs from one span; throws DecodeError.
class BerReader {
public:
    explicit BerReader(std::span<const std::uint8_t> bytes) : m_bytes(bytes) {}

    bool AtEnd() const { return m_pos == m_bytes.size(); }

    Tlv Read();
    // Throws UnexpectedTag for a TLV of any other tag.
    Tlv Read(Tag expected);
    // Throws TrailingBytes unless every byte was read.
    void ExpectEnd() const;

private:
    std::uint8_t Byte();
    std::size_t Length();

    std::span<const std::uint8_t> m_bytes;
    std::size_t m_pos = 0;
};

// Content decoders; each throws DecodeError.
std::int32_t DecodeInteger32(std::span<const std::uint8_t> content);
// Counter32, Gauge32, TimeTicks: up to four value octets after one 0x00
// that keeps the sign bit clear.
std::uint32_t DecodeUnsigned32(std::span<const std::uint8_t> content);
std::uint64_t DecodeUnsigned64(std::span<const std::uint8_t> content);
Oid DecodeObjectId(std::span<const std::uint8_t> content);

// Sizes, for encoders that compute before they write.
std::size_t LengthSize(std::size_t contentSize);
std::size_t TlvSize(std::size_t contentSize);
std::size_t SignedContentSize(std::int64_t value);
std::size_t UnsignedContentSize(std::uint64_t value);
std::size_t ObjectIdContentSize(const Oid& oid);

// Writes TLVs into a buffer of a size fixed in advance. Writing past it, or
// finishing short of it, is a fault of the encoder's size computation and
// throws std::logic_error rather than sending a wrong datagram.
class BerWriter {
public:
    explicit BerWriter(std::size_t size) : m_bytes(size) {}

    void Header(Tag tag, std::size_t contentSize);
    void Signed(Tag tag, std::int64_t value);
    void Unsigned(Tag tag, std::uint64_t value);
    void Octets(Tag tag, std::span<const std::uint8_t> bytes);
    void Empty(Tag tag);
    void ObjectId(Tag tag, const Oid& oid);

    Bytes Finish() &&;

private:
    void Put(std::uint8_t byte);

    Bytes m_bytes;
    std::size_t m_pos = 0;
};

} // namespace platform::snmp
