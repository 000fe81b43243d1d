#pragma once
// The SNMPv1 message (RFC 1157): version, community and one PDU with its
// variable bindings; encoded and decoded whole.
//
//   Message    ::= SEQUENCE { version INTEGER, community OCTET STRING, pdu }
//   pdu        ::= [A0..A3] { request-id INTEGER, error-status INTEGER,
//                             error-index INTEGER, SEQUENCE OF VarBind }
//   VarBind    ::= SEQUENCE { name OBJECT IDENTIFIER, value }

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "platform/core/Result.h"
#include "platform/net/Ber.h"
#include "platform/net/Oid.h"

namespace platform::snmp {

inline constexpr std::uint16_t kAgentPort = 161;
// The version field of an SNMPv1 message.
inline constexpr std::int32_t kVersion1 = 0;
// A decoded message holds at most this many bindings; a datagram that
// claims more is refused before any of them is kept.
inline constexpr std::size_t kMaxVarBinds = 128;

enum class ErrorStatus : std::int32_t {
    NoError = 0,
    TooBig = 1,
    NoSuchName = 2,
    BadValue = 3,
    ReadOnly = 4,
    GenErr = 5,
};

// "noSuchName"; "unknown" for a value RFC 1157 does not name.
std::string_view ErrorStatusName(std::int32_t status);

// --- values --------------------------------------------------------------------

struct Null {
    bool operator==(const Null&) const = default;
};
struct Integer {
    std::int32_t value;
    bool operator==(const Integer&) const = default;
};
struct OctetString {
    Bytes bytes;
    bool operator==(const OctetString&) const = default;
};
struct ObjectIdValue {
    Oid oid;
    bool operator==(const ObjectIdValue&) const = default;
};
struct IpAddress {
    std::array<std::uint8_t, 4> octets;
    bool operator==(const IpAddress&) const = default;
};
struct Counter32 {
    std::uint32_t value;
    bool operator==(const Counter32&) const = default;
};
struct Gauge32 {
    std::uint32_t value;
    bool operator==(const Gauge32&) const = default;
};
struct TimeTicks {
    std::uint32_t value;
    bool operator==(const TimeTicks&) const = default;
};
struct Opaque {
    Bytes bytes;
    bool operator==(const Opaque&) const = default;
};
struct Counter64 {
    std::uint64_t value;
    bool operator==(const Counter64&) const = default;
};
// The SNMPv2 exceptions an agent may put in place of a value.
struct NoSuchObject {
    bool operator==(const NoSuchObject&) const = default;
};
struct NoSuchInstance {
    bool operator==(const NoSuchInstance&) const = default;
};
struct EndOfMibView {
    bool operator==(const EndOfMibView&) const = default;
};
// A value of a type this codec does not know, kept as it came.
struct OtherValue {
    std::uint8_t tag;
    Bytes content;
    bool operator==(const OtherValue&) const = default;
};

using Value = std::variant<Null, Integer, OctetString, ObjectIdValue, IpAddress, Counter32, Gauge32,
                           TimeTicks, Opaque, Counter64, NoSuchObject, NoSuchInstance, EndOfMibView,
                           OtherValue>;

// "OCTET STRING", "INTEGER", "noSuchObject", "type 0x47", ...
std::string TypeName(const Value& value);

// --- message -------------------------------------------------------------------

struct VarBind {
    Oid name;
    Value value;
    bool operator==(const VarBind&) const = default;
};

struct Pdu {
    Tag type = Tag::GetRequest; // GetRequest, GetNextRequest, GetResponse or SetRequest
    std::int32_t requestId = 0;
    std::int32_t errorStatus = 0;
    std::int32_t errorIndex = 0;
    std::vector<VarBind> varBinds;
    bool operator==(const Pdu&) const = default;
};

struct Message {
    std::int32_t version = kVersion1;
    std::string community;
    Pdu pdu;
    bool operator==(const Message&) const = default;
};

Bytes EncodeMessage(const Message& message);

// The one message the bytes hold, with nothing after it; any version (the
// caller decides what it answers). Refuses more than kMaxVarBinds bindings.
Result<Message, DecodeError> DecodeMessage(std::span<const std::uint8_t> bytes);

} // namespace platform::snmp
