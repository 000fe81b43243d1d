// Arbitrary bytes as an SNMP datagram, read by the manager (as a response)
// and by the agent (as a request), and as OID text. The decoders must stay
// inside the bytes; whatever decodes must encode and decode back to itself.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

#include "platform/net/Oid.h"
#include "platform/net/SnmpAgent.h"
#include "platform/net/SnmpManager.h"
#include "platform/net/SnmpMessage.h"

using namespace platform::snmp;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::span<const std::uint8_t> bytes(data, size);
    static const Oid asked = *Oid::Parse(".1.3.6.1.4.1.32473.2.2.2.1.24.1");

    if (auto message = DecodeMessage(bytes)) {
        auto again = DecodeMessage(EncodeMessage(*message));
        if (!again || !(*again == *message))
            __builtin_trap();
        (void)ReadGetResponse(bytes, message->pdu.requestId, asked);
    }

    if (auto request = DecodeGetRequest(bytes)) {
        const Bytes response = EncodeGetResponse(*request, [](const Oid& oid) -> std::optional<Bytes> {
            if (oid.Arcs().size() % 2)
                return std::nullopt;
            return Bytes{'o', 'k'};
        });
        if (!DecodeMessage(response))
            __builtin_trap();
    }

    const std::string_view text(reinterpret_cast<const char*>(data), size);
    if (auto oid = Oid::Parse(text)) {
        if (Oid::Parse(oid->ToString()) != oid)
            __builtin_trap();
    }
    return 0;
}
