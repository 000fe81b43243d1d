#include "platform/core/System.h"

#include <arpa/inet.h>
#include <pthread.h>
#include <sys/signalfd.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>

namespace platform::sys {

SystemResult<void> Close(int fd)
{
    if (::close(fd) != 0)
        return SystemError::FromErrno("close");
    return {};
}

SystemResult<int> Poll(std::span<pollfd> fds, std::chrono::milliseconds timeout)
{
    // poll takes an int of milliseconds; a negative time-out would wait
    // for ever, which no caller of ours means.
    const auto ms = std::clamp<std::chrono::milliseconds::rep>(timeout.count(), 0, INT_MAX);
    int ready = ::poll(fds.data(), static_cast<nfds_t>(fds.size()), static_cast<int>(ms));
    if (ready < 0)
        return SystemError::FromErrno("poll");
    return ready;
}

SystemResult<UniqueFd> Socket(int domain, int type, int protocol)
{
    int fd = ::socket(domain, type | SOCK_CLOEXEC, protocol);
    if (fd < 0)
        return SystemError::FromErrno("socket");
    return UniqueFd(fd);
}

SystemResult<void> Bind(int fd, const sockaddr_in& address)
{
    if (::bind(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0)
        return SystemError::FromErrno("bind");
    return {};
}

SystemResult<sockaddr_in> GetSockName(int fd)
{
    sockaddr_in address{};
    socklen_t size = sizeof address;
    if (::getsockname(fd, reinterpret_cast<sockaddr*>(&address), &size) != 0)
        return SystemError::FromErrno("getsockname");
    if (size != sizeof address || address.sin_family != AF_INET)
        return SystemError("getsockname", EAFNOSUPPORT);
    return address;
}

SystemResult<std::size_t> SendTo(int fd, std::span<const std::uint8_t> bytes, const sockaddr_in& to)
{
    ssize_t sent = ::sendto(fd, bytes.data(), bytes.size(), MSG_NOSIGNAL,
                            reinterpret_cast<const sockaddr*>(&to), sizeof to);
    if (sent < 0)
        return SystemError::FromErrno("sendto");
    return static_cast<std::size_t>(sent);
}

SystemResult<Received> RecvFrom(int fd, std::span<std::uint8_t> buffer)
{
    Received received{};
    socklen_t size = sizeof received.from;
    // MSG_TRUNC makes the call return the datagram's full length.
    ssize_t count = ::recvfrom(fd, buffer.data(), buffer.size(), MSG_TRUNC,
                               reinterpret_cast<sockaddr*>(&received.from), &size);
    if (count < 0)
        return SystemError::FromErrno("recvfrom");
    // A datagram from another address family (not possible on an AF_INET
    // socket) would leave `from` unusable; say so rather than guess.
    if (size != sizeof received.from || received.from.sin_family != AF_INET)
        return SystemError("recvfrom", EAFNOSUPPORT);
    received.size = std::min(static_cast<std::size_t>(count), buffer.size());
    received.truncated = static_cast<std::size_t>(count) > buffer.size();
    return received;
}

sockaddr_in MakeSockAddr(std::uint32_t address, std::uint16_t port)
{
    sockaddr_in result{};
    result.sin_family = AF_INET;
    result.sin_addr.s_addr = address;
    result.sin_port = htons(port);
    return result;
}

std::string FormatIpv4(std::uint32_t address)
{
    in_addr in{};
    in.s_addr = address;
    char text[INET_ADDRSTRLEN] = {};
    // Cannot fail: the family is AF_INET and the buffer holds any address.
    ::inet_ntop(AF_INET, &in, text, sizeof text);
    return text;
}

std::optional<std::uint32_t> ParseIpv4(std::string_view text)
{
    // inet_pton wants a terminated string; anything longer than the
    // longest dotted quad is not one.
    char buffer[INET_ADDRSTRLEN] = {};
    if (text.size() >= sizeof buffer)
        return std::nullopt;
    std::copy(text.begin(), text.end(), buffer);
    in_addr in{};
    if (::inet_pton(AF_INET, buffer, &in) != 1)
        return std::nullopt;
    return in.s_addr;
}

SystemResult<void> BlockSignals(const sigset_t& signals)
{
    // pthread_sigmask returns the error instead of setting errno.
    if (int error = ::pthread_sigmask(SIG_BLOCK, &signals, nullptr); error != 0)
        return SystemError("pthread_sigmask", error);
    return {};
}

SystemResult<UniqueFd> SignalFd(const sigset_t& signals)
{
    int fd = ::signalfd(-1, &signals, SFD_NONBLOCK | SFD_CLOEXEC);
    if (fd < 0)
        return SystemError::FromErrno("signalfd");
    return UniqueFd(fd);
}

SystemResult<std::optional<int>> ReadSignal(int fd)
{
    signalfd_siginfo info{};
    ssize_t count = ::read(fd, &info, sizeof info);
    if (count < 0) {
        if (errno == EAGAIN)
            return std::optional<int>();
        return SystemError::FromErrno("read(signalfd)");
    }
    // The kernel hands out whole records only.
    if (static_cast<std::size_t>(count) != sizeof info)
        return SystemError("read(signalfd)", EIO);
    return std::optional<int>(static_cast<int>(info.ssi_signo));
}

} // namespace platform::sys
