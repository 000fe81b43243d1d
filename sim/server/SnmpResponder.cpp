#include "sim/server/SnmpResponder.h"

#include <arpa/inet.h>

#include <algorithm>
#include <string>
#include <vector>

#include "platform/core/System.h"
#include "platform/net/SnmpAgent.h"
#include "ports/Wire.h"

namespace sim::server {
namespace {

constexpr char kCommunity[] = "public";

std::string Peer(const sockaddr_in& from)
{
    return platform::sys::FormatIpv4(from.sin_addr.s_addr) + ":" + std::to_string(ntohs(from.sin_port));
}

bool IsStatusOid(const platform::snmp::Oid& oid)
{
    static const std::vector<platform::snmp::Oid> statusOids = [] {
        std::vector<platform::snmp::Oid> oids;
        for (std::string_view text : kStatusOids)
            oids.push_back(*platform::snmp::Oid::Parse(text));
        return oids;
    }();
    return std::find(statusOids.begin(), statusOids.end(), oid) != statusOids.end();
}

} // namespace

const std::string_view kStatusOids[2] = {wire::kLprStatusOid, wire::kVantaStatusOid};

SnmpResponder::SnmpResponder(SimContext& context) : m_context(context) {}

std::optional<platform::snmp::Bytes> SnmpResponder::Answer(std::span<const std::uint8_t> datagram,
                                                           const sockaddr_in& from)
{
    Recorder& recorder = m_context.recorder;
    auto request = platform::snmp::DecodeGetRequest(datagram);
    if (!request) {
        recorder.Write(recorder.Line("snmp-malformed")
                           .Add("peer", Peer(from))
                           .Add("size", datagram.size())
                           .Add("error", platform::snmp::Describe(request.Error())));
        return std::nullopt;
    }

    std::vector<std::string> oids;
    for (const platform::snmp::Oid& oid : request->oids)
        oids.push_back(oid.ToString());
    JsonObject line = recorder.Line("snmp-get");
    line.Add("peer", Peer(from))
        .Add("community", request->community)
        .Add("requestId", request->requestId)
        .Add("oids", oids);

    if (request->community != kCommunity) {
        recorder.Write(line.Add("answered", false).Add("reason", "unknown community"));
        return std::nullopt;
    }
    const bool asksStatus = std::any_of(request->oids.begin(), request->oids.end(), IsStatusOid);
    std::optional<std::string> reply;
    if (asksStatus) {
        reply = m_context.printer.QueryStatus();
        if (!reply) {
            recorder.Write(line.Add("answered", false).Add("reason", "the printer does not answer"));
            return std::nullopt;
        }
    }
    bool unknownObject = false;
    platform::snmp::Bytes response = platform::snmp::EncodeGetResponse(
        *request, [&](const platform::snmp::Oid& oid) -> std::optional<platform::snmp::Bytes> {
            if (!IsStatusOid(oid)) {
                unknownObject = true;
                return std::nullopt;
            }
            return platform::snmp::Bytes(reply->begin(), reply->end());
        });
    line.Add("answered", true).Add("reply", reply);
    if (unknownObject)
        line.Add("error", "noSuchName");
    recorder.Write(line);
    return response;
}

} // namespace sim::server
