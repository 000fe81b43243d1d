#pragma once
// The common base of the TCP/IP ports: the printer's IPv4 address, a TCP
// connection to it, and its status text by SNMP.

#include "platform/net/TcpConnection.h"
#include "ports/Port.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

class CNetworkPort : public CPort {
public:
    // The address in network byte order: the first octet in the
    // lowest-addressed byte, as the socket layer takes it.
    DWORD m_dwAddress;

protected:
    // The piece size of SendData when the caller passes 0.
    static constexpr DWORD kDefaultPieceSize = 102400;

    explicit CNetworkPort(DWORD address) : m_dwAddress(address) {}

    // Creates `socket` and connects it to m_dwAddress at TCP `port`. Nonzero
    // when connected; on failure `socket` stays empty. The caller's scope
    // owns the connection, so it is closed on every path out of the
    // operation that opened it.
    BOOL OpenConnection(std::optional<platform::TcpConnection>& socket, std::uint16_t port);

    // One SNMPv1 GET of `oid` from the printer's agent (UDP 161, community
    // "public", 200 ms, no retry). Nonzero, with `statusText` set to the
    // value's text, only when the agent answered with an OCTET STRING; any
    // other outcome leaves `statusText` untouched.
    BOOL QueryStatusByOid(std::wstring_view oid, std::wstring& statusText);

    // Runs one port operation so that it ends in its BOOL whatever happens:
    // a port operation reports failure as 0 and never throws (out of memory,
    // or a wait hook that gives up, included).
    template <typename Operation>
    static BOOL Guarded(Operation&& operation) noexcept
    {
        try {
            return operation();
        } catch (...) {
            return 0;
        }
    }
};
