#include "platform/net/SnmpManager.h"

#include <sys/socket.h>

#include <algorithm>
#include <cerrno>
#include <limits>
#include <random>

#include "platform/core/System.h"

namespace platform::snmp {
namespace {

// The largest UDP payload over IPv4; a buffer of this size never cuts an
// answer short.
constexpr std::size_t kMaxDatagram = 65507;

// Request ids differ between requests, so a late answer to an earlier one
// (of this process or another on the same port) is never taken for this
// one's. Positive, as agents that echo it through a signed 32-bit field
// expect.
std::int32_t FreshRequestId()
{
    thread_local std::mt19937 generator{std::random_device{}()};
    std::uniform_int_distribution<std::int32_t> ids(1, std::numeric_limits<std::int32_t>::max());
    return ids(generator);
}

SnmpGetResult Outcome(SnmpGetResult::Kind kind, std::string detail)
{
    SnmpGetResult result;
    result.kind = kind;
    result.detail = std::move(detail);
    return result;
}

SnmpGetResult LocalError(const SystemError& error)
{
    SnmpGetResult result;
    result.kind = SnmpGetResult::Kind::LocalError;
    result.error = error;
    return result;
}

bool SameEndpoint(const sockaddr_in& a, const sockaddr_in& b)
{
    return a.sin_addr.s_addr == b.sin_addr.s_addr && a.sin_port == b.sin_port;
}

// A transient condition of a non-blocking receive: wait on.
bool IsTransient(const SystemError& error)
{
    return error.Code() == EINTR || error.Code() == EAGAIN || error.Code() == EWOULDBLOCK;
}

} // namespace

std::string SnmpGetResult::Describe() const
{
    switch (kind) {
    case Kind::OctetString: return "OCTET STRING of " + std::to_string(octets.size()) + " bytes";
    case Kind::OtherAnswer: return "answered without the text: " + detail;
    case Kind::NoAnswer: return "no answer";
    case Kind::BadOid: return "bad object identifier: " + detail;
    case Kind::LocalError: return error ? error->Message() : "local error";
    }
    return "unknown result";
}

Bytes EncodeGetRequest(std::string_view community, std::int32_t requestId, const Oid& oid)
{
    Message message;
    message.version = kVersion1;
    message.community = std::string(community);
    message.pdu.type = Tag::GetRequest;
    message.pdu.requestId = requestId;
    message.pdu.varBinds.push_back({oid, Null{}});
    return EncodeMessage(message);
}

std::optional<SnmpGetResult> ReadGetResponse(std::span<const std::uint8_t> datagram,
                                             std::int32_t requestId, const Oid& oid)
{
    Result<Message, DecodeError> message = DecodeMessage(datagram);
    if (!message)
        return std::nullopt;
    const Pdu& pdu = message->pdu;
    if (message->version != kVersion1 || pdu.type != Tag::GetResponse || pdu.requestId != requestId)
        return std::nullopt;

    using Kind = SnmpGetResult::Kind;
    // An error status makes the bindings an echo of the request at best.
    if (pdu.errorStatus != 0) {
        return Outcome(Kind::OtherAnswer, "error status " + std::to_string(pdu.errorStatus) + " (" +
                                             std::string(ErrorStatusName(pdu.errorStatus)) + ") at index " +
                                             std::to_string(pdu.errorIndex));
    }
    if (pdu.varBinds.size() != 1)
        return Outcome(Kind::OtherAnswer, std::to_string(pdu.varBinds.size()) + " bindings for one object asked");
    const VarBind& varBind = pdu.varBinds.front();
    if (varBind.name != oid)
        return Outcome(Kind::OtherAnswer, "a binding for " + varBind.name.ToString());
    if (const auto* text = std::get_if<OctetString>(&varBind.value)) {
        SnmpGetResult result;
        result.kind = Kind::OctetString;
        result.octets = text->bytes;
        return result;
    }
    return Outcome(Kind::OtherAnswer, "a value of type " + TypeName(varBind.value));
}

SnmpGetResult SnmpGet(std::uint32_t address, std::string_view community, std::string_view oidText,
                      std::chrono::milliseconds timeout, int retries, std::uint16_t port)
{
    const std::optional<Oid> oid = Oid::Parse(oidText);
    if (!oid)
        return Outcome(SnmpGetResult::Kind::BadOid, std::string(oidText));

    const std::string where = "snmp " + sys::FormatIpv4(address) + ":" + std::to_string(port);
    const std::int32_t requestId = FreshRequestId();
    const Bytes request = EncodeGetRequest(community, requestId, *oid);
    const sockaddr_in agent = sys::MakeSockAddr(address, port);

    // Non-blocking: Linux may report a datagram readable and then drop it
    // for a bad checksum, and a blocking receive would then outwait the
    // time-out.
    SystemResult<UniqueFd> socket = sys::Socket(AF_INET, SOCK_DGRAM | SOCK_NONBLOCK);
    if (!socket)
        return LocalError(socket.Error().WithContext(where));
    const int fd = socket->Get();
    Bytes buffer(kMaxDatagram);

    for (int attempt = 0; attempt <= std::max(retries, 0); ++attempt) {
        if (SystemResult<std::size_t> sent = sys::SendTo(fd, request, agent); !sent)
            return LocalError(sent.Error().WithContext(where));

        // The wait is a real poll on a real socket, so it is measured on the
        // steady clock: the platform clock may be a test's manual clock,
        // which would never let a stream of stray datagrams run out of time.
        const auto deadline = std::chrono::steady_clock::now() + timeout;
        for (auto now = std::chrono::steady_clock::now(); now < deadline; now = std::chrono::steady_clock::now()) {
            pollfd readable{fd, POLLIN, 0};
            SystemResult<int> ready =
                sys::Poll({&readable, 1}, std::chrono::ceil<std::chrono::milliseconds>(deadline - now));
            if (!ready) {
                if (ready.Error().Code() == EINTR)
                    continue;
                return LocalError(ready.Error().WithContext(where));
            }
            if (*ready == 0)
                continue;
            SystemResult<sys::Received> received = sys::RecvFrom(fd, buffer);
            if (!received) {
                if (IsTransient(received.Error()))
                    continue;
                return LocalError(received.Error().WithContext(where));
            }
            if (received->truncated || !SameEndpoint(received->from, agent))
                continue;
            if (std::optional<SnmpGetResult> answer =
                    ReadGetResponse(std::span(buffer).first(received->size), requestId, *oid))
                return *answer;
        }
    }
    return Outcome(SnmpGetResult::Kind::NoAnswer, "");
}

} // namespace platform::snmp
