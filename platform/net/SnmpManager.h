#pragma once
// The SNMPv1 manager: one GET of one object over UDP.
//
// The printer's status is a text it serves as an OCTET STRING. A response
// that carries anything else (an error status, an exception, a value of
// another type, another object) is an answer, but not the text: it comes
// back as OtherAnswer and its bytes are never read as the text.

#include <chrono>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "platform/core/SystemError.h"
#include "platform/net/Ber.h"
#include "platform/net/Oid.h"
#include "platform/net/SnmpMessage.h"

namespace platform::snmp {

struct SnmpGetResult {
    enum class Kind {
        OctetString, // the agent answered with the object's OCTET STRING: `octets`
        OtherAnswer, // the agent answered, but not with an OCTET STRING: `detail` says what came
        NoAnswer,    // nothing that answered this request arrived in time
        BadOid,      // the OID text does not parse; nothing was sent
        LocalError,  // a system call failed: `error`
    };

    Kind kind = Kind::NoAnswer;
    Bytes octets;
    std::string detail;
    std::optional<SystemError> error;

    bool Answered() const { return kind == Kind::OctetString || kind == Kind::OtherAnswer; }
    // One line for logs and test failures.
    std::string Describe() const;
};

// Sends one SNMPv1 GetRequest for `oid` (its value NULL) with a fresh
// request id to UDP `port` of `address` (IPv4, network byte order) and
// waits for the matching GetResponse: at most `timeout` per attempt, and
// `retries` more attempts after the first (each resends the same request).
// Datagrams that do not decode, answer another request, or come from
// another address or port are dropped and the wait goes on for the rest of
// the time.
SnmpGetResult SnmpGet(std::uint32_t address, std::string_view community, std::string_view oid,
                      std::chrono::milliseconds timeout, int retries, std::uint16_t port = kAgentPort);

// The datagram of such a request.
Bytes EncodeGetRequest(std::string_view community, std::int32_t requestId, const Oid& oid);

// What a received datagram says about the request `requestId` for `oid`:
// nothing when it is not an SNMPv1 GetResponse to that request (the
// manager drops it), else the answer it carries.
std::optional<SnmpGetResult> ReadGetResponse(std::span<const std::uint8_t> datagram,
                                             std::int32_t requestId, const Oid& oid);

} // namespace platform::snmp
