#include "ports/LprNetworkPort.h"

#include "platform/core/StreamCalls.h"
#include "platform/text/Text.h"
#include "ports/AccessCodes.h"
#include "ports/UpdateModeEntry.h"
#include "ports/Wire.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <span>
#include <string>

namespace {

using ReplyBuffer = std::array<std::uint8_t, wire::kLprReplyBufferSize>;

// One read of the printer's answer into `buffer`, of which only the first
// byte counts. A read of 0 bytes (the printer closed the connection) leaves
// the buffer as it was, so what the buffer held before decides: after a
// subcommand that is 0x03 (a failure), after a data file's terminating
// zero byte it is that 0x00, and a printer that closes right after a data
// file has taken it.
bool ReadAcknowledgement(platform::TcpConnection& socket, ReplyBuffer& buffer)
{
    auto received = socket.Receive(buffer);
    return received && buffer[0] == wire::kLprAcknowledge;
}

std::uint16_t LprPort()
{
    return platform::sys::ServicePort(wire::kLprServiceName, wire::kLprServiceProtocol)
        .value_or(wire::kLprDefaultPort);
}

} // namespace

BOOL CLprNetworkPort::QueryStatus(std::wstring& statusText)
{
    return Guarded([&] { return QueryStatusByOid(platform::AnsiToWide(wire::kLprStatusOid), statusText); });
}

const char* CLprNetworkPort::GetAccessCode() const
{
    return m_nCodeIndex == 0 ? accesscodes::MessageA() : accesscodes::MessageB();
}

BOOL CLprNetworkPort::OpenLprJob(std::optional<platform::TcpConnection>& socket)
{
    if (!OpenConnection(socket, LprPort()))
        return 0;
    // Each data file goes as two writes (its bytes, then the terminating
    // zero byte) before the printer answers; with Nagle's algorithm the zero
    // byte waits for the printer's delayed ACK of the bytes (13 files on
    // loopback: 70 to 90 ms instead of 1 to 3 ms). The bytes on the wire are
    // the same either way, so a failure here costs speed only and does not
    // end the job.
    (void)socket->SetNoDelay();

    ReplyBuffer buffer{};
    std::copy(wire::kLprReceiveJob.begin(), wire::kLprReceiveJob.end(), buffer.begin());
    if (!socket->SendAll(std::span(buffer).first(wire::kLprReceiveJob.size())))
        return 0;
    return ReadAcknowledgement(*socket, buffer);
}

BOOL CLprNetworkPort::SendLprDataFile(platform::TcpConnection& socket, DWORD count, const std::uint8_t* bytes)
{
    ReplyBuffer buffer{};
    const std::string command = wire::LprDataFileCommand(count);
    std::memcpy(buffer.data(), command.data(), command.size());
    if (!socket.SendAll(std::span(buffer).first(command.size())))
        return 0;
    if (!ReadAcknowledgement(socket, buffer))
        return 0;

    if (!socket.SendAll(std::span(bytes, count)))
        return 0;

    buffer[0] = wire::kLprEndOfFile;
    if (!socket.SendAll(std::span(buffer).first(1)))
        return 0;
    return ReadAcknowledgement(socket, buffer);
}

BOOL CLprNetworkPort::EnterUpdateMode()
{
    return Guarded([&]() -> BOOL {
        std::optional<platform::TcpConnection> socket;
        if (!OpenLprJob(socket))
            return 0;
        // No control file: the printer takes the data files alone.
        return SendUpdateModeEntry(GetAccessCode(), [&](std::span<const std::uint8_t> message) {
            return SendLprDataFile(*socket, static_cast<DWORD>(message.size()), message.data());
        });
    });
}

BOOL CLprNetworkPort::SendData(const std::uint8_t* data, DWORD length, DWORD chunkSize)
{
    return Guarded([&]() -> BOOL {
        std::optional<platform::TcpConnection> socket;
        if (!OpenLprJob(socket))
            return 0;
        const DWORD pieceSize = chunkSize == 0 ? kDefaultPieceSize : chunkSize;
        for (DWORD offset = 0; offset < length;) {
            const DWORD piece = std::min(length - offset, pieceSize);
            if (!SendLprDataFile(*socket, piece, data + offset))
                return 0;
            offset += piece;
        }
        return 1;
    });
}
