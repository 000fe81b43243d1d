#pragma once
// The printer's SNMPv1 agent without its socket: a datagram in, the answer
// (or none) out. It answers GETs of the two status objects with the
// printer's status text as an OCTET STRING, to the community "public" only;
// a request of another community gets no answer, as real agents do. Each
// GET that asks for a status object is one status query of the printer, and
// when the printer stays silent so does the agent.

#include <netinet/in.h>

#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

#include "platform/net/Ber.h"
#include "sim/server/SimContext.h"

namespace sim::server {

// ".1.3.6.1.4.1.32473.2.2.2.1.24.1" (LPR ports) and ".1.3.6.1.4.1.39021.3.2.1.1"
// (Vanta and Quill ports); the printer answers both whatever its port type.
extern const std::string_view kStatusOids[2];

class SnmpResponder {
public:
    explicit SnmpResponder(SimContext& context);

    std::optional<platform::snmp::Bytes> Answer(std::span<const std::uint8_t> datagram, const sockaddr_in& from);

private:
    SimContext& m_context;
};

} // namespace sim::server
