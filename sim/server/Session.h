#pragma once
// The protocol of one accepted TCP connection, without its socket. The
// server reads at most ReadLimit() bytes at a time, hands them to Receive,
// sends what the session queued and closes the connection when the session
// asks; End is called exactly once, however the connection ends.

#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

#include "sim/server/JsonObject.h"
#include "sim/server/SimContext.h"

namespace sim::server {

enum class ConnectionEnd {
    PeerClosed,        // the peer closed its side (end of stream)
    PeerReset,         // the connection failed: reset, or a send that could not be made
    ClosedBySimulator, // the session asked for it (a fault, or a refusal)
    SimulatorStopped,  // the simulator is shutting down
};

class Session {
public:
    static constexpr std::size_t kReadChunk = 64 * 1024;

    Session(SimContext& context, std::uint64_t connection) : m_context(context), m_connection(connection) {}
    virtual ~Session() = default;
    Session(const Session&) = delete;
    Session& operator=(const Session&) = delete;

    virtual void Receive(std::span<const std::uint8_t> bytes) = 0;
    virtual void End(ConnectionEnd how) = 0;
    // The most bytes the next Receive takes; 0 stops reading.
    virtual std::size_t ReadLimit() const { return kReadChunk; }

    // What is queued for sending; the server takes bytes from the front.
    std::vector<std::uint8_t>& Output() { return m_output; }
    bool CloseRequested() const { return m_closeRequested; }

protected:
    void Send(std::span<const std::uint8_t> bytes) { m_output.insert(m_output.end(), bytes.begin(), bytes.end()); }
    void RequestClose() { m_closeRequested = true; }
    // A record line of this connection.
    JsonObject Line(std::string_view event) const
    {
        JsonObject line = m_context.recorder.Line(event);
        line.Add("connection", m_connection);
        return line;
    }
    void Write(const JsonObject& line) { m_context.recorder.Write(line); }

    SimContext& m_context;
    const std::uint64_t m_connection;

private:
    std::vector<std::uint8_t> m_output;
    bool m_closeRequested = false;
};

} // namespace sim::server
