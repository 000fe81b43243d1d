#pragma once
// A plain TCP client for talking to printer-sim byte by byte: every wait has
// a deadline, so a simulator that does not answer fails the test instead of
// hanging it.

#include <netinet/in.h>
#include <sys/socket.h>

#include <chrono>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "platform/core/StreamCalls.h"
#include "platform/core/System.h"

namespace simtest {

using Bytes = std::vector<std::uint8_t>;

inline Bytes ToBytes(std::string_view text)
{
    return Bytes(text.begin(), text.end());
}

inline std::string HexOf(std::span<const std::uint8_t> bytes)
{
    static constexpr char kDigits[] = "0123456789abcdef";
    std::string text;
    for (std::uint8_t byte : bytes) {
        text += kDigits[byte >> 4];
        text += kDigits[byte & 0x0F];
    }
    return text;
}

class WireClient {
public:
    enum class SendResult { Sent, Failed, Blocked };

    // Connects (blocking); the error when the connection is refused.
    static platform::SystemResult<WireClient> Connect(std::uint32_t address, std::uint16_t port)
    {
        auto socket = platform::sys::Socket(AF_INET, SOCK_STREAM);
        if (!socket)
            return socket.Error();
        if (auto connected = platform::sys::Connect(socket->Get(), platform::sys::MakeSockAddr(address, port));
            !connected)
            return connected.Error();
        if (auto nonBlocking = platform::sys::SetNonBlocking(socket->Get(), true); !nonBlocking)
            return nonBlocking.Error();
        return WireClient(std::move(*socket));
    }

    // Hands every byte to the system. Blocked when the peer has taken
    // nothing for `within` (it stopped reading).
    SendResult Send(std::span<const std::uint8_t> bytes, std::chrono::milliseconds within = std::chrono::seconds(10))
    {
        std::size_t done = 0;
        while (done < bytes.size()) {
            auto sent = platform::sys::Send(m_fd.Get(), bytes.subspan(done));
            if (sent) {
                done += *sent;
                m_sent += *sent;
                continue;
            }
            if (sent.Error().Code() != EAGAIN)
                return SendResult::Failed;
            pollfd fd{m_fd.Get(), POLLOUT, 0};
            auto ready = platform::sys::Poll(std::span(&fd, 1), within);
            if (!ready || *ready == 0)
                return SendResult::Blocked;
        }
        return SendResult::Sent;
    }
    bool Send(std::string_view text) { return Send(ToBytes(text)) == SendResult::Sent; }

    // What arrives next, at most 64 bytes as the installer reads: empty when
    // the peer closed (or reset) the connection, nothing after `within`.
    std::optional<Bytes> Read(std::chrono::milliseconds within = std::chrono::seconds(5))
    {
        pollfd fd{m_fd.Get(), POLLIN, 0};
        auto ready = platform::sys::Poll(std::span(&fd, 1), within);
        if (!ready || *ready == 0)
            return std::nullopt;
        Bytes buffer(64);
        auto count = platform::sys::Recv(m_fd.Get(), buffer);
        buffer.resize(count ? *count : 0);
        return buffer;
    }

    // Bytes the system took so far.
    std::size_t Sent() const { return m_sent; }

    void Close() { m_fd.Reset(); }

private:
    explicit WireClient(platform::UniqueFd fd) : m_fd(std::move(fd)) {}

    platform::UniqueFd m_fd;
    std::size_t m_sent = 0;
};

} // namespace simtest
