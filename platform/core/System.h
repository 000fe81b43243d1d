#pragma once
// Each system call the platform layer makes, wrapped once.
//
// A wrapper returns the call's result or a SystemError naming the call and
// its errno, so no caller reads errno itself. Descriptors come back owned
// (UniqueFd) and close-on-exec, so none leaks into a program the process
// starts. IPv4 only: the program addresses printers by IPv4 address.

#include <netinet/in.h>
#include <poll.h>
#include <signal.h>

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "platform/core/SystemError.h"
#include "platform/core/UniqueFd.h"

namespace platform::sys {

// --- descriptors ---------------------------------------------------------------

SystemResult<void> Close(int fd);

// poll(2). The number of descriptors with events, 0 when the time-out
// passed. EINTR comes back as an error: the caller knows how much of its
// wait remains.
SystemResult<int> Poll(std::span<pollfd> fds, std::chrono::milliseconds timeout);

// --- sockets -------------------------------------------------------------------

// socket(2); `type` without flags (SOCK_DGRAM, SOCK_STREAM): SOCK_CLOEXEC is
// added here.
SystemResult<UniqueFd> Socket(int domain, int type, int protocol = 0);

SystemResult<void> Bind(int fd, const sockaddr_in& address);
SystemResult<sockaddr_in> GetSockName(int fd);

// sendto(2) of one datagram; the number of bytes the system took.
SystemResult<std::size_t> SendTo(int fd, std::span<const std::uint8_t> bytes, const sockaddr_in& to);

// recvfrom(2) of one datagram into `buffer`: the number of bytes stored and
// where it came from. A datagram longer than the buffer is cut to it, and
// `truncated` says so (the rest is lost, as UDP does).
struct Received {
    std::size_t size;
    bool truncated;
    sockaddr_in from;
};
SystemResult<Received> RecvFrom(int fd, std::span<std::uint8_t> buffer);

// --- IPv4 addresses ------------------------------------------------------------

// An IPv4 socket address; `address` in network byte order, `port` in host
// byte order.
sockaddr_in MakeSockAddr(std::uint32_t address, std::uint16_t port);

// inet_ntop(3): "192.0.2.7" for an address in network byte order.
std::string FormatIpv4(std::uint32_t address);

// inet_pton(3): the address in network byte order, or nothing for text that
// is not four dotted decimal numbers.
std::optional<std::uint32_t> ParseIpv4(std::string_view text);

// --- signals -------------------------------------------------------------------

// pthread_sigmask(SIG_BLOCK): `signals` stay pending for this thread until a
// signalfd reads them. Block them before any other thread starts.
SystemResult<void> BlockSignals(const sigset_t& signals);

// signalfd(2), non-blocking and close-on-exec: a descriptor that becomes
// readable when one of the (blocked) `signals` is pending, so a poll loop
// handles signals like any other input.
SystemResult<UniqueFd> SignalFd(const sigset_t& signals);

// read(2) of one signalfd_siginfo: the number of the signal taken, or
// nothing when none is pending.
SystemResult<std::optional<int>> ReadSignal(int fd);

} // namespace platform::sys
