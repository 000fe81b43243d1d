#include "platform/core/StreamCalls.h"

#include <fcntl.h>
#include <netdb.h>
#include <netinet/in.h>
#include <sys/socket.h>

#include <cerrno>

namespace platform::sys {

SystemResult<void> SetNonBlocking(int fd, bool on)
{
    int flags = ::fcntl(fd, F_GETFL);
    if (flags < 0)
        return SystemError::FromErrno("fcntl(F_GETFL)");
    flags = on ? (flags | O_NONBLOCK) : (flags & ~O_NONBLOCK);
    if (::fcntl(fd, F_SETFL, flags) != 0)
        return SystemError::FromErrno("fcntl(F_SETFL)");
    return {};
}

SystemResult<void> SetSockOptInt(int fd, int level, int name, int value)
{
    if (::setsockopt(fd, level, name, &value, sizeof value) != 0)
        return SystemError::FromErrno("setsockopt");
    return {};
}

SystemResult<int> GetSocketError(int fd)
{
    int error = 0;
    socklen_t size = sizeof error;
    if (::getsockopt(fd, SOL_SOCKET, SO_ERROR, &error, &size) != 0)
        return SystemError::FromErrno("getsockopt(SO_ERROR)");
    return error;
}

SystemResult<void> Connect(int fd, const sockaddr_in& to)
{
    if (::connect(fd, reinterpret_cast<const sockaddr*>(&to), sizeof to) != 0)
        return SystemError::FromErrno("connect");
    return {};
}

SystemResult<void> Listen(int fd, int backlog)
{
    if (::listen(fd, backlog) != 0)
        return SystemError::FromErrno("listen");
    return {};
}

SystemResult<Accepted> Accept(int fd)
{
    sockaddr_in peer{};
    socklen_t size = sizeof peer;
    int connection = ::accept4(fd, reinterpret_cast<sockaddr*>(&peer), &size, SOCK_CLOEXEC);
    if (connection < 0)
        return SystemError::FromErrno("accept4");
    return Accepted{UniqueFd(connection), peer};
}

SystemResult<std::size_t> Send(int fd, std::span<const std::uint8_t> bytes)
{
    ssize_t sent = ::send(fd, bytes.data(), bytes.size(), MSG_NOSIGNAL);
    if (sent < 0)
        return SystemError::FromErrno("send");
    return static_cast<std::size_t>(sent);
}

SystemResult<std::size_t> Recv(int fd, std::span<std::uint8_t> buffer)
{
    ssize_t count = ::recv(fd, buffer.data(), buffer.size(), 0);
    if (count < 0)
        return SystemError::FromErrno("recv");
    return static_cast<std::size_t>(count);
}

SystemResult<void> ShutdownWrite(int fd)
{
    if (::shutdown(fd, SHUT_WR) != 0)
        return SystemError::FromErrno("shutdown");
    return {};
}

std::optional<std::uint16_t> ServicePort(const std::string& name, const std::string& protocol)
{
    const servent* entry = ::getservbyname(name.c_str(), protocol.c_str());
    if (entry == nullptr)
        return std::nullopt;
    return ntohs(static_cast<std::uint16_t>(entry->s_port));
}

} // namespace platform::sys
