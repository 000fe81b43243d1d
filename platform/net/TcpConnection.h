#pragma once
// A TCP connection whose calls block the way the installer's sockets do.
//
// Connect, send and receive wait as long as the system allows (no time-out
// of their own), but they wait in short poll slices and call the wait hook
// between slices, which the UI layer uses to repaint its windows; nothing
// else is handled meanwhile. A peer that has gone makes a send fail with
// EPIPE; it never raises SIGPIPE.

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <span>

#include "platform/core/SystemError.h"
#include "platform/core/UniqueFd.h"

namespace platform {

// Called between the wait slices of every blocking socket call made on the
// thread that installed it.
using SocketWaitHook = std::function<void()>;

// Installs a hook for the current scope on the current thread and restores
// the previous one.
class ScopedSocketWaitHook {
public:
    explicit ScopedSocketWaitHook(SocketWaitHook hook);
    ~ScopedSocketWaitHook();
    ScopedSocketWaitHook(const ScopedSocketWaitHook&) = delete;
    ScopedSocketWaitHook& operator=(const ScopedSocketWaitHook&) = delete;

private:
    SocketWaitHook m_previous;
};

class TcpConnection {
public:
    // How long one wait slice lasts before the hook runs.
    static constexpr std::chrono::milliseconds kWaitSlice{50};

    // Creates a stream socket and connects it from any local address and
    // free port to `address` (IPv4, network byte order) at `port`.
    static SystemResult<TcpConnection> Connect(std::uint32_t address, std::uint16_t port);

    TcpConnection(TcpConnection&&) noexcept = default;
    TcpConnection& operator=(TcpConnection&&) noexcept = default;

    // Hands every byte to the system, or fails.
    SystemResult<void> SendAll(std::span<const std::uint8_t> bytes);

    // One read of what has arrived, up to the buffer's size; 0 when the peer
    // closed the connection.
    SystemResult<std::size_t> Receive(std::span<std::uint8_t> buffer);

    // Turns Nagle's algorithm off: small writes go out at once.
    SystemResult<void> SetNoDelay();

    int Fd() const { return m_fd.Get(); }

private:
    explicit TcpConnection(UniqueFd fd) : m_fd(std::move(fd)) {}

    UniqueFd m_fd;
};

} // namespace platform
