#include "sim/server/BootFrameSession.h"

#include <algorithm>
#include <string>

#include "ports/Wire.h"
#include "sim/server/EntryChecks.h"
#include "sim/server/Hex.h"

namespace sim::server {

BootFrameSession::BootFrameSession(SimContext& context, std::uint64_t connection, std::uint16_t port)
    : Session(context, connection), m_port(port)
{
}

void BootFrameSession::Receive(std::span<const std::uint8_t> bytes)
{
    const std::size_t wanted = sizeof(wire::BootFrame) - m_frame.size();
    const auto part = bytes.first(std::min(wanted, bytes.size()));
    m_frame.insert(m_frame.end(), part.begin(), part.end());
    m_extraBytes += bytes.size() - part.size();
    if (m_judged || m_frame.size() < sizeof(wire::BootFrame))
        return;

    m_judged = true;
    const EntryCheck check = CheckBootFrame(m_frame);
    JsonObject line = Line("boot-frame");
    line.Add("port", m_port).Add("bytes", Hex(m_frame)).Add("valid", static_cast<bool>(check));
    if (!check)
        line.Add("reason", check.Error());
    Write(line);
    if (check)
        m_context.printer.EnterUpdateMode(EntryKind::BootFrame, "TCP " + std::to_string(m_port));
}

void BootFrameSession::End(ConnectionEnd)
{
    if (!m_judged) {
        Write(Line("boot-frame")
                  .Add("port", m_port)
                  .Add("bytes", Hex(m_frame))
                  .Add("valid", false)
                  .Add("reason", "the connection ended after " + std::to_string(m_frame.size()) + " of " +
                                     std::to_string(sizeof(wire::BootFrame)) + " bytes"));
    }
    if (m_extraBytes > 0)
        Write(Line("boot-frame-extra").Add("port", m_port).Add("size", m_extraBytes));
}

} // namespace sim::server
