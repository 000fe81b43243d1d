#pragma once
// TCP 9100: the image as a plain stream, complete when the peer closes the
// connection. No header, length or acknowledgement: the printer hands what
// arrived to its core, which judges it. What the simulator itself cut short
// (a fault, the size limit) is dropped, as is a connection that brought no
// bytes at all.

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "sim/server/ImageByteFaults.h"
#include "sim/server/Session.h"

namespace sim::server {

class RawImageSession : public Session {
public:
    RawImageSession(SimContext& context, std::uint64_t connection);

    void Receive(std::span<const std::uint8_t> bytes) override;
    void End(ConnectionEnd how) override;
    std::size_t ReadLimit() const override;

private:
    void ApplyByteFault();

    std::vector<std::uint8_t> m_image;
    ImageByteFaults m_byteFaults;
    bool m_stopped = false; // closed or stalled by the simulator
    std::string m_stopReason;
};

} // namespace sim::server
