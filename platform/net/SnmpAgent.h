#pragma once
// The agent's side of an SNMPv1 GET, without a transport: a request's bytes
// in, the response's bytes out. The printer simulator owns the socket.

#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "platform/core/Result.h"
#include "platform/net/Ber.h"
#include "platform/net/Oid.h"

namespace platform::snmp {

struct GetRequest {
    std::string community;
    std::int32_t requestId = 0;
    std::vector<Oid> oids; // at most kMaxVarBinds
};

// An SNMPv1 GetRequest. Anything else (another version, another PDU) is an
// error: an SNMPv1 agent drops it without an answer. The values in the
// request are not looked at.
Result<GetRequest, DecodeError> DecodeGetRequest(std::span<const std::uint8_t> datagram);

// The object's value, or nothing for an object the agent does not have.
using OctetStringLookup = std::function<std::optional<Bytes>(const Oid&)>;

// The GetResponse to `request`: every asked object with its OCTET STRING
// value; or, when one is unknown, error-status noSuchName with error-index
// the position (from 1) of the first unknown object and the request's
// bindings echoed with NULL values, as SNMPv1 answers.
Bytes EncodeGetResponse(const GetRequest& request, const OctetStringLookup& lookup);

} // namespace platform::snmp
