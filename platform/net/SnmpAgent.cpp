#include "platform/net/SnmpAgent.h"

#include "platform/net/SnmpMessage.h"

namespace platform::snmp {

Result<GetRequest, DecodeError> DecodeGetRequest(std::span<const std::uint8_t> datagram)
{
    Result<Message, DecodeError> message = DecodeMessage(datagram);
    if (!message)
        return message.Error();
    if (message->version != kVersion1)
        return DecodeError::WrongVersion;
    if (message->pdu.type != Tag::GetRequest)
        return DecodeError::UnexpectedTag;

    GetRequest request;
    request.community = std::move(message->community);
    request.requestId = message->pdu.requestId;
    for (VarBind& varBind : message->pdu.varBinds)
        request.oids.push_back(std::move(varBind.name));
    return request;
}

Bytes EncodeGetResponse(const GetRequest& request, const OctetStringLookup& lookup)
{
    Message response;
    response.version = kVersion1;
    response.community = request.community;
    response.pdu.type = Tag::GetResponse;
    response.pdu.requestId = request.requestId;

    for (std::size_t i = 0; i < request.oids.size(); ++i) {
        std::optional<Bytes> value = lookup(request.oids[i]);
        if (!value) {
            response.pdu.errorStatus = static_cast<std::int32_t>(ErrorStatus::NoSuchName);
            response.pdu.errorIndex = static_cast<std::int32_t>(i + 1);
            response.pdu.varBinds.clear();
            for (const Oid& oid : request.oids)
                response.pdu.varBinds.push_back({oid, Null{}});
            break;
        }
        response.pdu.varBinds.push_back({request.oids[i], OctetString{std::move(*value)}});
    }
    return EncodeMessage(response);
}

} // namespace platform::snmp
