// TCP connections against a live peer on loopback: how each failure is
// reported, that a vanished peer never ends the process, and that waits
// let the wait hook run.

#include <gtest/gtest.h>

#include <signal.h>
#include <sys/socket.h>

#include <array>
#include <cstdint>
#include <optional>
#include <thread>
#include <vector>

#include "platform/core/StreamCalls.h"
#include "platform/core/System.h"
#include "platform/net/TcpConnection.h"
#include "tests/net/TestAgent.h"

namespace {

using namespace platform;

const std::uint32_t kHost = nettest::Loopback(1);

// A socket bound to a free port of kHost; listening when asked to.
struct LocalPeer {
    UniqueFd socket;
    std::uint16_t port = 0;

    explicit LocalPeer(bool listening)
    {
        auto created = sys::Socket(AF_INET, SOCK_STREAM);
        if (!created)
            throw std::runtime_error(created.Error().Message());
        socket = std::move(*created);
        if (auto bound = sys::Bind(socket.Get(), sys::MakeSockAddr(kHost, 0)); !bound)
            throw std::runtime_error(bound.Error().Message());
        if (listening) {
            if (auto listened = sys::Listen(socket.Get(), 4); !listened)
                throw std::runtime_error(listened.Error().Message());
        }
        auto name = sys::GetSockName(socket.Get());
        if (!name)
            throw std::runtime_error(name.Error().Message());
        port = ntohs(name->sin_port);
    }

    UniqueFd Accept() const
    {
        auto accepted = sys::Accept(socket.Get());
        if (!accepted)
            throw std::runtime_error(accepted.Error().Message());
        return std::move(accepted->fd);
    }
};

// A connected pair: the connection under test and the peer's end of it.
struct Connected {
    LocalPeer listener{true};
    std::optional<TcpConnection> connection;
    UniqueFd peer;

    Connected()
    {
        auto connected = TcpConnection::Connect(kHost, listener.port);
        if (!connected)
            throw std::runtime_error(connected.Error().Message());
        connection.emplace(std::move(*connected));
        peer = listener.Accept();
    }
};

TEST(TcpConnection, RefusedConnectionNamesConnectAndErrno)
{
    // A bound port that does not listen answers a connection with a reset.
    LocalPeer closedPort(false);
    auto connected = TcpConnection::Connect(kHost, closedPort.port);
    ASSERT_FALSE(connected);
    EXPECT_EQ(connected.Error().Call(), "connect");
    EXPECT_EQ(connected.Error().Name(), "ECONNREFUSED");
    EXPECT_EQ(connected.Error().Message().rfind("connect: ECONNREFUSED", 0), 0u) << connected.Error().Message();
}

TEST(TcpConnection, SendToAClosedPeerFailsWithoutSigpipe)
{
    // With SIGPIPE at its default action a single unguarded send would end
    // this process here.
    struct sigaction previous{};
    struct sigaction fatal{};
    fatal.sa_handler = SIG_DFL;
    ASSERT_EQ(::sigaction(SIGPIPE, &fatal, &previous), 0);

    Connected pair;
    pair.peer.Reset();
    const std::vector<std::uint8_t> block(64 * 1024, 0x5A);
    std::optional<SystemError> failure;
    // The first sends may still be taken before the peer's reset arrives.
    for (int attempt = 0; attempt < 64 && !failure; ++attempt) {
        if (auto sent = pair.connection->SendAll(block); !sent)
            failure = sent.Error();
    }
    ::sigaction(SIGPIPE, &previous, nullptr);

    ASSERT_TRUE(failure.has_value());
    EXPECT_EQ(failure->Call(), "send");
    EXPECT_TRUE(failure->Name() == "EPIPE" || failure->Name() == "ECONNRESET") << failure->Message();
}

TEST(TcpConnection, ReceiveReadsWhatArrivedAndZeroAtClose)
{
    Connected pair;
    const std::array<std::uint8_t, 3> hello{0x00, 0x01, 0x02};
    ASSERT_TRUE(sys::Send(pair.peer.Get(), hello));
    ASSERT_TRUE(sys::ShutdownWrite(pair.peer.Get()));

    std::array<std::uint8_t, 64> buffer{};
    auto first = pair.connection->Receive(buffer);
    ASSERT_TRUE(first) << first.Error().Message();
    ASSERT_EQ(*first, hello.size());
    EXPECT_EQ(buffer[2], 0x02);

    auto atClose = pair.connection->Receive(buffer);
    ASSERT_TRUE(atClose) << atClose.Error().Message();
    EXPECT_EQ(*atClose, 0u);
}

TEST(TcpConnection, WaitHookRunsWhileReceiveWaitsOnThisThreadOnly)
{
    Connected pair;
    // The peer answers only from inside the hook, so the receive returns
    // only if the hook ran while it waited.
    int calls = 0;
    const int peer = pair.peer.Get();
    ScopedSocketWaitHook hook([&calls, peer] {
        if (++calls == 1) {
            const std::uint8_t answer = 0x00;
            (void)sys::Send(peer, {&answer, 1});
        }
    });

    // A wait on another thread belongs to that thread's windows, not ours.
    Connected other;
    std::thread elsewhere([&other] {
        std::array<std::uint8_t, 1> byte{};
        (void)other.connection->Receive(byte);
    });

    std::array<std::uint8_t, 64> buffer{0xFF};
    auto received = pair.connection->Receive(buffer);
    const int callsBeforeOther = calls;

    // Give the other thread's receive a few slices to call a hook it should
    // not see, then end it. A bound for a check that nothing happens, not a
    // timing assertion: a slow machine can only make the check weaker.
    std::this_thread::sleep_for(3 * TcpConnection::kWaitSlice);
    other.peer.Reset();
    elsewhere.join();

    ASSERT_TRUE(received) << received.Error().Message();
    EXPECT_EQ(*received, 1u);
    EXPECT_EQ(buffer[0], 0x00);
    EXPECT_GE(callsBeforeOther, 1);
    EXPECT_EQ(calls, callsBeforeOther);
}

} // namespace
