// The system-call wrappers: failures name the call and errno; descriptors
// are closed exactly once.

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/socket.h>

#include <cerrno>

#include "platform/core/System.h"
#include "platform/core/SystemError.h"
#include "platform/core/UniqueFd.h"

namespace {

using namespace platform;

bool IsOpen(int fd)
{
    return ::fcntl(fd, F_GETFD) != -1;
}

TEST(SystemError, NamesCallErrnoAndContext)
{
    SystemResult<void> closed = sys::Close(-1);
    ASSERT_FALSE(closed);
    EXPECT_EQ(closed.Error().Call(), "close");
    EXPECT_EQ(closed.Error().Code(), EBADF);
    EXPECT_EQ(closed.Error().Message(), "close: EBADF (Bad file descriptor)");
    EXPECT_EQ(closed.Error().WithContext("socket").WithContext("query").Message(),
              "query: socket: close: EBADF (Bad file descriptor)");
    EXPECT_EQ(SystemError("poll", 9999).Message(), "poll: errno 9999 (unknown error)");
}

TEST(UniqueFd, ClosesOnceWhereverOwnershipEnds)
{
    SystemResult<UniqueFd> socket = sys::Socket(AF_INET, SOCK_DGRAM);
    ASSERT_TRUE(socket) << socket.Error().Message();
    const int fd = socket->Get();
    EXPECT_TRUE(::fcntl(fd, F_GETFD) & FD_CLOEXEC);
    {
        UniqueFd owner = std::move(*socket);
        EXPECT_FALSE(socket->IsValid());
        UniqueFd next;
        next = std::move(owner);
        EXPECT_TRUE(IsOpen(fd));
    }
    EXPECT_FALSE(IsOpen(fd));
}

TEST(Ipv4Text, ConvertsNetworkOrderAddresses)
{
    EXPECT_EQ(sys::FormatIpv4(*sys::ParseIpv4("192.0.2.7")), "192.0.2.7");
    EXPECT_EQ(sys::ParseIpv4("127.0.0.1"), htonl(0x7F000001u));
    for (const char* bad : {"", "192.0.2", "192.0.2.256", "192.0.2.7 ", "192.0.2.7.1", "255.255.255.255.255.255"})
        EXPECT_FALSE(sys::ParseIpv4(bad)) << '"' << bad << '"';
}

} // namespace
