#include "sim/server/Server.h"

#include <arpa/inet.h>
#include <netinet/tcp.h>
#include <sys/socket.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <exception>

#include "platform/core/StreamCalls.h"
#include "platform/core/System.h"
#include "platform/net/SnmpMessage.h"
#include "ports/Wire.h"
#include "sim/server/BootFrameSession.h"
#include "sim/server/LprSession.h"
#include "sim/server/RawImageSession.h"

namespace sim::server {
namespace {

using platform::SystemError;
using platform::UniqueFd;
namespace sys = platform::sys;

constexpr int kBacklog = 16;
// Connections served at once; more wait in the listen backlog. Also keeps a
// flood of connections from running the process out of descriptors, where a
// listener that cannot accept would wake the poll for ever.
constexpr std::size_t kMaxConnections = 256;
// A datagram is below 64 KiB.
constexpr std::size_t kDatagramBuffer = 64 * 1024;
// Nothing in the loop is timed; the poll only wakes for input.
constexpr std::chrono::milliseconds kPollWait{60 * 60 * 1000};

std::string Where(std::uint32_t address, std::uint16_t port, const char* protocol)
{
    return sys::FormatIpv4(address) + ":" + std::to_string(port) + "/" + protocol;
}

std::string Peer(const sockaddr_in& peer)
{
    return sys::FormatIpv4(peer.sin_addr.s_addr) + ":" + std::to_string(ntohs(peer.sin_port));
}

platform::Result<UniqueFd, std::string> OpenSocket(std::uint32_t address, std::uint16_t port, int type)
{
    const std::string where = Where(address, port, type == SOCK_STREAM ? "tcp" : "udp");
    auto fail = [&where](const SystemError& error) { return error.WithContext(where).Message(); };
    auto socket = sys::Socket(AF_INET, type);
    if (!socket)
        return fail(socket.Error());
    const int fd = socket->Get();
    if (type == SOCK_STREAM) {
        // A simulator restarted on the same address must not wait for the
        // old connections' TIME_WAIT.
        if (auto reuse = sys::SetSockOptInt(fd, SOL_SOCKET, SO_REUSEADDR, 1); !reuse)
            return fail(reuse.Error());
    }
    if (auto bound = sys::Bind(fd, sys::MakeSockAddr(address, port)); !bound)
        return fail(bound.Error());
    if (type == SOCK_STREAM) {
        if (auto listening = sys::Listen(fd, kBacklog); !listening)
            return fail(listening.Error());
    }
    if (auto nonBlocking = sys::SetNonBlocking(fd, true); !nonBlocking)
        return fail(nonBlocking.Error());
    return std::move(*socket);
}

const char* EndName(ConnectionEnd how)
{
    switch (how) {
    case ConnectionEnd::PeerClosed:
        return "peer";
    case ConnectionEnd::PeerReset:
        return "reset";
    case ConnectionEnd::ClosedBySimulator:
        return "simulator";
    case ConnectionEnd::SimulatorStopped:
        return "stopped";
    }
    return "unknown";
}

bool WouldBlock(const SystemError& error)
{
    return error.Code() == EAGAIN || error.Code() == EWOULDBLOCK || error.Code() == EINTR;
}

} // namespace

Server::Server(SimContext& context) : m_context(context), m_snmp(context), m_buffer(kDatagramBuffer) {}

Server::~Server() = default;

platform::Result<std::unique_ptr<Server>, std::string> Server::Open(SimContext& context)
{
    std::unique_ptr<Server> server(new Server(context));
    const SimOptions& options = context.options;
    const TransportFaults& faults = options.faults;

    std::vector<std::uint16_t> udpPorts;
    std::vector<std::uint16_t> tcpPorts;
    if (!faults.Refuses(platform::snmp::kAgentPort)) {
        auto udp = OpenSocket(options.address, platform::snmp::kAgentPort, SOCK_DGRAM);
        if (!udp)
            return udp.Error();
        server->m_udp = std::move(*udp);
        udpPorts.push_back(platform::snmp::kAgentPort);
    }
    for (std::uint16_t port : options.profile.TcpPorts()) {
        if (faults.Refuses(port))
            continue;
        auto listener = OpenSocket(options.address, port, SOCK_STREAM);
        if (!listener)
            return listener.Error();
        server->m_listeners.push_back({std::move(*listener), port});
        tcpPorts.push_back(port);
    }
    Recorder& recorder = context.recorder;
    recorder.Write(recorder.Line("listening")
                       .Add("address", sys::FormatIpv4(options.address))
                       .Add("portType", options.profile.name)
                       .Add("udp", udpPorts)
                       .Add("tcp", tcpPorts)
                       .Add("refused", faults.refusedPorts));
    return server;
}

platform::Result<void, std::string> Server::Run(int signalFd)
{
    std::vector<pollfd> fds;
    while (true) {
        // Sockets first, then connections; the order is how revents are read back.
        fds.clear();
        fds.push_back({signalFd, POLLIN, 0});
        fds.push_back({m_udp.IsValid() ? m_udp.Get() : -1, POLLIN, 0});
        const short accepting = m_connections.size() < kMaxConnections ? POLLIN : 0;
        for (const Listener& listener : m_listeners)
            fds.push_back({listener.fd.Get(), accepting, 0});
        const std::size_t connectionCount = m_connections.size();
        for (const auto& connection : m_connections) {
            short events = 0;
            if (connection->session->ReadLimit() > 0)
                events |= POLLIN;
            if (!connection->session->Output().empty())
                events |= POLLOUT;
            fds.push_back({connection->fd.Get(), events, 0});
        }

        auto ready = sys::Poll(fds, kPollWait);
        if (!ready) {
            if (ready.Error().Code() == EINTR)
                continue;
            return ready.Error().Message();
        }

        if (fds[0].revents & POLLIN) {
            auto signal = sys::ReadSignal(signalFd);
            if (!signal)
                return signal.Error().Message();
            if (*signal == SIGTERM || *signal == SIGINT) {
                Shutdown();
                Recorder& recorder = m_context.recorder;
                recorder.Write(recorder.Line("stopped").Add("signal", *signal == SIGTERM ? "SIGTERM" : "SIGINT"));
                return {};
            }
        }
        for (std::size_t i = 0; i < connectionCount; ++i) {
            const short revents = fds[2 + m_listeners.size() + i].revents;
            Connection& connection = *m_connections[i];
            if (revents == 0 && !connection.session->CloseRequested())
                continue;
            try {
                Serve(connection, revents);
            } catch (const std::exception& error) {
                // A fault of the simulator's own: record it, drop the
                // connection, keep serving the others.
                Recorder& recorder = m_context.recorder;
                recorder.Write(recorder.Line("error").Add("connection", connection.id).Add("what", error.what()));
                connection.ended = true;
            }
        }
        if (fds[1].revents & POLLIN)
            ServeDatagram();
        for (std::size_t i = 0; i < m_listeners.size(); ++i) {
            if (!(fds[2 + i].revents & POLLIN))
                continue;
            try {
                Accept(m_listeners[i]);
            } catch (const std::exception& error) {
                Recorder& recorder = m_context.recorder;
                recorder.Write(recorder.Line("error").Add("port", m_listeners[i].port).Add("what", error.what()));
            }
        }
        std::erase_if(m_connections, [](const auto& connection) { return connection->ended; });
        m_context.recorder.WriteCoreEvents(m_context.printer.Log());
    }
}

void Server::ServeDatagram()
{
    auto received = sys::RecvFrom(m_udp.Get(), m_buffer);
    if (!received)
        return; // EAGAIN, or an ICMP error of an earlier reply: nothing to answer
    Recorder& recorder = m_context.recorder;
    if (received->truncated) {
        recorder.Write(recorder.Line("snmp-malformed")
                           .Add("size", received->size)
                           .Add("error", "a datagram larger than the buffer"));
        return;
    }
    try {
        auto answer = m_snmp.Answer(std::span(m_buffer).first(received->size), received->from);
        if (!answer)
            return;
        if (auto sent = sys::SendTo(m_udp.Get(), *answer, received->from); !sent)
            recorder.Write(recorder.Line("error").Add("what", sent.Error().WithContext("snmp reply").Message()));
    } catch (const std::exception& error) {
        recorder.Write(recorder.Line("error").Add("what", error.what()));
    }
}

void Server::Accept(const Listener& listener)
{
    auto accepted = sys::Accept(listener.fd.Get());
    if (!accepted)
        return; // the peer went away before we took it, or EAGAIN
    const int fd = accepted->fd.Get();
    // Acknowledgements are single bytes that the peer waits for.
    (void)sys::SetSockOptInt(fd, IPPROTO_TCP, TCP_NODELAY, 1);
    if (auto nonBlocking = sys::SetNonBlocking(fd, true); !nonBlocking) {
        Recorder& recorder = m_context.recorder;
        recorder.Write(recorder.Line("error").Add("what", nonBlocking.Error().Message()));
        return;
    }

    auto connection = std::make_unique<Connection>();
    connection->fd = std::move(accepted->fd);
    connection->port = listener.port;
    connection->id = m_nextConnection++;
    Recorder& recorder = m_context.recorder;
    recorder.Write(recorder.Line("connect")
                       .Add("connection", connection->id)
                       .Add("port", listener.port)
                       .Add("peer", Peer(accepted->peer)));
    switch (listener.port) {
    case wire::kLprDefaultPort:
        connection->session = std::make_unique<LprSession>(m_context, connection->id);
        break;
    case wire::kImagePort:
        connection->session = std::make_unique<RawImageSession>(m_context, connection->id);
        break;
    default:
        connection->session = std::make_unique<BootFrameSession>(m_context, connection->id, listener.port);
        break;
    }
    // A session may want to close before reading anything (a byte fault at
    // 0); the poll would not wake for it.
    Serve(*connection, 0);
    m_connections.push_back(std::move(connection));
}

void Server::Serve(Connection& connection, short revents)
{
    Session& session = *connection.session;
    const std::size_t limit = std::min(session.ReadLimit(), m_buffer.size());
    if ((revents & (POLLIN | POLLHUP | POLLERR)) && limit > 0) {
        auto count = sys::Recv(connection.fd.Get(), std::span(m_buffer).first(limit));
        if (!count) {
            if (!WouldBlock(count.Error())) {
                Finish(connection, ConnectionEnd::PeerReset);
                return;
            }
        } else if (*count == 0) {
            Finish(connection, ConnectionEnd::PeerClosed);
            return;
        } else {
            connection.received += *count;
            session.Receive(std::span(m_buffer).first(*count));
        }
    } else if (revents & (POLLHUP | POLLERR)) {
        // Not reading (stalled), and the connection has failed under it.
        Finish(connection, ConnectionEnd::PeerReset);
        return;
    }
    if (!Flush(connection)) {
        Finish(connection, ConnectionEnd::PeerReset);
        return;
    }
    if (session.CloseRequested() && session.Output().empty())
        Finish(connection, ConnectionEnd::ClosedBySimulator);
}

bool Server::Flush(Connection& connection)
{
    std::vector<std::uint8_t>& output = connection.session->Output();
    while (!output.empty()) {
        auto sent = sys::Send(connection.fd.Get(), output);
        if (!sent)
            return WouldBlock(sent.Error());
        output.erase(output.begin(), output.begin() + static_cast<std::ptrdiff_t>(*sent));
    }
    return true;
}

void Server::Finish(Connection& connection, ConnectionEnd end)
{
    if (connection.ended)
        return;
    connection.ended = true;
    Recorder& recorder = m_context.recorder;
    recorder.Write(recorder.Line("close")
                       .Add("connection", connection.id)
                       .Add("port", connection.port)
                       .Add("by", EndName(end))
                       .Add("received", connection.received));
    connection.fd.Reset();
    connection.session->End(end);
}

void Server::Shutdown()
{
    for (auto& connection : m_connections)
        Finish(*connection, ConnectionEnd::SimulatorStopped);
    m_connections.clear();
    m_context.recorder.WriteCoreEvents(m_context.printer.Log());
}

} // namespace sim::server
