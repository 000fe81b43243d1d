#pragma once
// The system calls of TCP streams, wrapped once (the datagram and descriptor
// calls are in System.h). Each returns the call's result or a SystemError
// naming the call and its errno.

#include <netinet/in.h>

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>

#include "platform/core/SystemError.h"
#include "platform/core/UniqueFd.h"

namespace platform::sys {

// fcntl(2) O_NONBLOCK on or off.
SystemResult<void> SetNonBlocking(int fd, bool on);

// setsockopt(2) of an int option.
SystemResult<void> SetSockOptInt(int fd, int level, int name, int value);

// getsockopt(SO_ERROR): the pending error of a socket, 0 for none.
SystemResult<int> GetSocketError(int fd);

// connect(2). On a non-blocking socket EINPROGRESS comes back as an error
// like any other; the caller waits for the socket to become writable.
SystemResult<void> Connect(int fd, const sockaddr_in& to);

SystemResult<void> Listen(int fd, int backlog);

// accept4(2) with SOCK_CLOEXEC: the new connection and its peer.
struct Accepted {
    UniqueFd fd;
    sockaddr_in peer;
};
SystemResult<Accepted> Accept(int fd);

// send(2) with MSG_NOSIGNAL: a peer that has gone is EPIPE, never SIGPIPE.
// The number of bytes the system took, which may be fewer than offered.
SystemResult<std::size_t> Send(int fd, std::span<const std::uint8_t> bytes);

// recv(2): the number of bytes stored; 0 when the peer closed.
SystemResult<std::size_t> Recv(int fd, std::span<std::uint8_t> buffer);

// shutdown(2) of the sending side.
SystemResult<void> ShutdownWrite(int fd);

// getservbyname(3): the port of a service in host byte order, nothing when
// the services database has no entry.
std::optional<std::uint16_t> ServicePort(const std::string& name, const std::string& protocol);

} // namespace platform::sys
