#include "ports/NetworkPort.h"

#include "platform/net/SnmpManager.h"
#include "platform/text/Text.h"

#include <array>
#include <chrono>

namespace {

constexpr const char* kCommunity = "public";
constexpr std::chrono::milliseconds kSnmpTimeout{200};
constexpr int kSnmpRetries = 0;

} // namespace

BOOL CNetworkPort::OpenConnection(std::optional<platform::TcpConnection>& socket, std::uint16_t port)
{
    socket.reset();
    auto connected = platform::TcpConnection::Connect(m_dwAddress, port);
    if (!connected)
        return 0;
    socket.emplace(std::move(*connected));
    return 1;
}

BOOL CNetworkPort::QueryStatusByOid(std::wstring_view oid, std::wstring& statusText)
{
    return Guarded([&]() -> BOOL {
        // The OID goes to the SNMP layer as narrow text of at most 63 bytes;
        // a longer one names no object we could ask for.
        std::array<char, 64> oidText{};
        if (!platform::WideToAnsi(oid, oidText))
            return 0;

        const platform::snmp::SnmpGetResult answer =
            platform::snmp::SnmpGet(m_dwAddress, kCommunity, oidText.data(), kSnmpTimeout, kSnmpRetries);
        // Only an OCTET STRING is the printer's status text. An error status
        // or a value of another type is an answer that says nothing about
        // the printer; reading it as text would make the driver judge a text
        // the printer never sent, or keep an earlier poll's text as current.
        if (answer.kind != platform::snmp::SnmpGetResult::Kind::OctetString)
            return 0;
        const auto* bytes = reinterpret_cast<const char*>(answer.octets.data());
        statusText = platform::AnsiToWide(std::string_view(bytes, answer.octets.size()));
        return 1;
    });
}
