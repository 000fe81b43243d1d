#include "ports/VantaNetworkPort.h"

#include "platform/text/Text.h"
#include "ports/Wire.h"

#include <algorithm>
#include <optional>
#include <span>

BOOL CVantaNetworkPort::QueryStatus(std::wstring& statusText)
{
    return Guarded([&] { return QueryStatusByOid(platform::AnsiToWide(wire::kVantaStatusOid), statusText); });
}

BOOL CVantaNetworkPort::SendBootFrame(platform::TcpConnection& socket)
{
    const wire::BootFrameBytes frame = wire::MakeBootFrame();
    return socket.SendAll(frame) ? 1 : 0;
}

BOOL CVantaNetworkPort::EnterUpdateMode()
{
    return Guarded([&]() -> BOOL {
        std::optional<platform::TcpConnection> socket;
        if (!OpenConnection(socket, wire::kVantaBootPort))
            return 0;
        return SendBootFrame(*socket);
    });
}

BOOL CVantaNetworkPort::SendData(const std::uint8_t* data, DWORD length, DWORD chunkSize)
{
    return Guarded([&]() -> BOOL {
        std::optional<platform::TcpConnection> socket;
        if (!OpenConnection(socket, wire::kImagePort))
            return 0;
        const DWORD pieceSize = chunkSize == 0 ? kDefaultPieceSize : chunkSize;
        for (DWORD offset = 0; offset < length;) {
            const DWORD piece = std::min(length - offset, pieceSize);
            if (!socket->SendAll(std::span(data + offset, piece)))
                return 0;
            offset += piece;
        }
        return 1;
    });
}
