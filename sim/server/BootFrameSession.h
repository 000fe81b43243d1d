#pragma once
// TCP 9101 (Vanta) and 9500 (Quill): the 25-byte boot frame. It is judged as
// soon as its 25th byte arrives; the installer keeps the Quill connection
// open for a while afterwards, and the record's close line shows for how long.

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "sim/server/Session.h"

namespace sim::server {

class BootFrameSession : public Session {
public:
    BootFrameSession(SimContext& context, std::uint64_t connection, std::uint16_t port);

    void Receive(std::span<const std::uint8_t> bytes) override;
    void End(ConnectionEnd how) override;

private:
    const std::uint16_t m_port;
    std::vector<std::uint8_t> m_frame;
    bool m_judged = false;
    std::uint64_t m_extraBytes = 0; // after the frame
};

} // namespace sim::server
