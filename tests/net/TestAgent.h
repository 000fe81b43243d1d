#pragma once
// A tiny SNMP agent on a loopback address, served from a thread with the
// agent codec; the replies to each request come from the test.
//
//   TestAgent agent(Loopback(61), [](const GetRequest& request) {
//       return Replies{{EncodeGetResponse(request, lookup)}};
//   });
//   SnmpGet(agent.Address(), "public", oid, 200ms, 0, agent.Port());
//
// It binds port 0 unless given a port, so tests never collide on a fixed
// port; tests of code that always asks port 161 give it 161 on a loopback
// address of their own.

#include <arpa/inet.h>
#include <sys/eventfd.h>
#include <unistd.h>

#include <atomic>
#include <cstdint>
#include <functional>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "platform/core/System.h"
#include "platform/net/SnmpAgent.h"

namespace nettest {

using platform::snmp::Bytes;
using platform::snmp::GetRequest;

// 127.0.0.n in network byte order.
inline std::uint32_t Loopback(std::uint8_t n)
{
    return htonl(0x7F000000u | n);
}

struct Reply {
    Bytes datagram;
    // Sent from a second socket of the agent: same address, another port.
    bool fromOtherPort = false;
};
using Replies = std::vector<Reply>;
using Handler = std::function<Replies(const GetRequest&)>;

class TestAgent {
public:
    TestAgent(std::uint32_t address, Handler handler, std::uint16_t port = 0)
        : m_address(address), m_handler(std::move(handler)), m_socket(Bound(address, port)),
          m_otherSocket(Bound(address, 0)), m_stop(::eventfd(0, EFD_CLOEXEC))
    {
        if (!m_stop.IsValid())
            throw std::runtime_error("eventfd failed");
        auto name = platform::sys::GetSockName(m_socket.Get());
        if (!name)
            throw std::runtime_error(name.Error().Message());
        m_port = ntohs(name->sin_port);
        m_thread = std::thread([this] { Serve(); });
    }

    ~TestAgent()
    {
        const std::uint64_t one = 1;
        (void)!::write(m_stop.Get(), &one, sizeof one);
        m_thread.join();
    }

    TestAgent(const TestAgent&) = delete;
    TestAgent& operator=(const TestAgent&) = delete;

    std::uint32_t Address() const { return m_address; }
    std::uint16_t Port() const { return m_port; }
    // Datagrams received, decodable or not.
    int Received() const { return m_received.load(); }

private:
    static platform::UniqueFd Bound(std::uint32_t address, std::uint16_t port)
    {
        auto socket = platform::sys::Socket(AF_INET, SOCK_DGRAM);
        if (!socket)
            throw std::runtime_error(socket.Error().Message());
        if (auto bound = platform::sys::Bind(socket->Get(), platform::sys::MakeSockAddr(address, port)); !bound)
            throw std::runtime_error(bound.Error().Message());
        return std::move(*socket);
    }

    void Serve()
    {
        Bytes buffer(65536);
        while (true) {
            pollfd fds[2] = {{m_socket.Get(), POLLIN, 0}, {m_stop.Get(), POLLIN, 0}};
            auto ready = platform::sys::Poll(fds, std::chrono::milliseconds{10000});
            if (!ready || fds[1].revents)
                return;
            if (!(fds[0].revents & POLLIN))
                continue;
            auto received = platform::sys::RecvFrom(m_socket.Get(), buffer);
            if (!received)
                continue;
            ++m_received;
            auto request = platform::snmp::DecodeGetRequest(std::span(buffer).first(received->size));
            if (!request)
                continue;
            for (const Reply& reply : m_handler(*request)) {
                const int fd = reply.fromOtherPort ? m_otherSocket.Get() : m_socket.Get();
                (void)platform::sys::SendTo(fd, reply.datagram, received->from);
            }
        }
    }

    std::uint32_t m_address;
    Handler m_handler;
    platform::UniqueFd m_socket;
    platform::UniqueFd m_otherSocket;
    platform::UniqueFd m_stop;
    std::uint16_t m_port = 0;
    std::atomic<int> m_received{0};
    std::thread m_thread;
};

} // namespace nettest
