#include "platform/net/TcpConnection.h"

#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>

#include <cerrno>
#include <utility>

#include "platform/core/StreamCalls.h"
#include "platform/core/System.h"

namespace platform {
namespace {

// One hook per thread: it repaints the windows of the thread that waits.
// A thread that serves a peer in the same process (a test, the simulator)
// must neither run the UI thread's hook nor race with its installation.
SocketWaitHook& CurrentHook()
{
    thread_local SocketWaitHook hook;
    return hook;
}

// Waits until the socket is ready for `events` (or has failed or hung up),
// running the hook between slices.
SystemResult<void> WaitFor(int fd, short events)
{
    for (;;) {
        pollfd entry{fd, events, 0};
        auto ready = sys::Poll(std::span<pollfd>(&entry, 1), TcpConnection::kWaitSlice);
        if (!ready && ready.Error().Code() != EINTR)
            return ready.Error();
        if (ready && *ready > 0)
            return {};
        if (const SocketWaitHook& hook = CurrentHook())
            hook();
    }
}

bool WouldBlock(const SystemError& error)
{
    return error.Code() == EAGAIN || error.Code() == EWOULDBLOCK;
}

} // namespace

ScopedSocketWaitHook::ScopedSocketWaitHook(SocketWaitHook hook) : m_previous(std::move(CurrentHook()))
{
    CurrentHook() = std::move(hook);
}

ScopedSocketWaitHook::~ScopedSocketWaitHook()
{
    CurrentHook() = std::move(m_previous);
}

SystemResult<TcpConnection> TcpConnection::Connect(std::uint32_t address, std::uint16_t port)
{
    auto socket = sys::Socket(AF_INET, SOCK_STREAM);
    if (!socket)
        return socket.Error();
    const int fd = socket->Get();
    // No bind of our own: connect binds any local address and a free port
    // itself, and may reuse a port whose earlier connection (to another
    // peer, or in TIME_WAIT) differs in the peer's address or port. A bind
    // to port 0 would hold the port against every peer and run out of ports
    // at a few hundred connections a second.
    if (auto nonBlocking = sys::SetNonBlocking(fd, true); !nonBlocking)
        return nonBlocking.Error();

    auto connected = sys::Connect(fd, sys::MakeSockAddr(address, port));
    if (!connected) {
        if (connected.Error().Code() != EINPROGRESS)
            return connected.Error();
        if (auto waited = WaitFor(fd, POLLOUT); !waited)
            return waited.Error().WithContext("connect");
        auto pending = sys::GetSocketError(fd);
        if (!pending)
            return pending.Error();
        if (*pending != 0)
            return SystemError("connect", *pending);
    }
    return TcpConnection(std::move(*socket));
}

SystemResult<void> TcpConnection::SendAll(std::span<const std::uint8_t> bytes)
{
    while (!bytes.empty()) {
        auto sent = sys::Send(m_fd.Get(), bytes);
        if (sent) {
            bytes = bytes.subspan(*sent);
            continue;
        }
        if (sent.Error().Code() == EINTR)
            continue;
        if (!WouldBlock(sent.Error()))
            return sent.Error();
        if (auto waited = WaitFor(m_fd.Get(), POLLOUT); !waited)
            return waited.Error().WithContext("send");
    }
    return {};
}

SystemResult<std::size_t> TcpConnection::Receive(std::span<std::uint8_t> buffer)
{
    for (;;) {
        auto received = sys::Recv(m_fd.Get(), buffer);
        if (received)
            return *received;
        if (received.Error().Code() == EINTR)
            continue;
        if (!WouldBlock(received.Error()))
            return received.Error();
        if (auto waited = WaitFor(m_fd.Get(), POLLIN); !waited)
            return waited.Error().WithContext("recv");
    }
}

SystemResult<void> TcpConnection::SetNoDelay()
{
    return sys::SetSockOptInt(m_fd.Get(), IPPROTO_TCP, TCP_NODELAY, 1);
}

} // namespace platform
