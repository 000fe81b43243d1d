#pragma once
// The simulator's sockets and its one poll loop: the SNMP agent's datagram
// socket, the listening TCP sockets of the port type, and every accepted
// connection, non-blocking, so that no peer can hold up another. Each
// connection's protocol is a Session; this class only moves bytes.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/core/Result.h"
#include "platform/core/UniqueFd.h"
#include "sim/server/Session.h"
#include "sim/server/SimContext.h"
#include "sim/server/SnmpResponder.h"

namespace sim::server {

class Server {
public:
    // Opens every socket the port type serves on the address, except the
    // refused ones. The error names the socket and the call that failed.
    static platform::Result<std::unique_ptr<Server>, std::string> Open(SimContext& context);

    ~Server();
    Server(const Server&) = delete;
    Server& operator=(const Server&) = delete;

    // Serves until SIGTERM or SIGINT can be read from `signalFd`; the error
    // tells why the loop could not go on.
    platform::Result<void, std::string> Run(int signalFd);

private:
    struct Listener {
        platform::UniqueFd fd;
        std::uint16_t port;
    };
    struct Connection {
        platform::UniqueFd fd;
        std::uint16_t port;
        std::uint64_t id;
        std::unique_ptr<Session> session;
        std::uint64_t received = 0;
        bool ended = false;
    };

    explicit Server(SimContext& context);

    void ServeDatagram();
    void Accept(const Listener& listener);
    void Serve(Connection& connection, short revents);
    // Sends what the session queued; false when the connection failed.
    bool Flush(Connection& connection);
    void Finish(Connection& connection, ConnectionEnd how);
    void Shutdown();

    SimContext& m_context;
    SnmpResponder m_snmp;
    platform::UniqueFd m_udp;
    std::vector<Listener> m_listeners;
    std::vector<std::unique_ptr<Connection>> m_connections;
    std::uint64_t m_nextConnection = 1;
    std::vector<std::uint8_t> m_buffer;
};

} // namespace sim::server
