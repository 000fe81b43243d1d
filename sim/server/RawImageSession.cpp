#include "sim/server/RawImageSession.h"

#include <algorithm>

namespace sim::server {

RawImageSession::RawImageSession(SimContext& context, std::uint64_t connection)
    : Session(context, connection), m_byteFaults(context.options.faults)
{
    // A limit of 0 bytes strikes before anything is read.
    ApplyByteFault();
}

std::size_t RawImageSession::ReadLimit() const
{
    if (m_stopped)
        return 0;
    // One byte past the limit tells an image that is too large.
    const std::uint64_t room = kMaxImageBytes + 1 - m_image.size();
    return static_cast<std::size_t>(std::min<std::uint64_t>({kReadChunk, m_byteFaults.Allowance(), room}));
}

void RawImageSession::Receive(std::span<const std::uint8_t> bytes)
{
    if (m_stopped)
        return;
    const auto taken = bytes.first(std::min<std::size_t>(bytes.size(), ReadLimit()));
    m_image.insert(m_image.end(), taken.begin(), taken.end());
    m_byteFaults.Count(taken.size());
    if (m_image.size() > kMaxImageBytes) {
        m_stopReason = "more than " + std::to_string(kMaxImageBytes) + " bytes";
        Write(Line("raw-error").Add("reason", "image of " + m_stopReason + " refused"));
        m_stopped = true;
        m_image = {};
        RequestClose();
        return;
    }
    ApplyByteFault();
}

void RawImageSession::ApplyByteFault()
{
    const ImageByteFaults::Due due = m_byteFaults.DueNow();
    if (due == ImageByteFaults::Due::None)
        return;
    const bool close = due == ImageByteFaults::Due::Close;
    Write(Line("fault")
              .Add("fault", close ? "close-after-bytes" : "stall-after-bytes")
              .Add("bytes", m_byteFaults.Taken()));
    m_stopReason = std::string(close ? "closed" : "stalled") + " by the simulator after " +
                   std::to_string(m_byteFaults.Taken()) + " bytes";
    m_stopped = true;
    if (close)
        RequestClose();
}

void RawImageSession::End(ConnectionEnd how)
{
    std::string incomplete = m_stopReason;
    if (incomplete.empty() && how == ConnectionEnd::PeerReset)
        incomplete = "the connection was reset";
    if (incomplete.empty() && how == ConnectionEnd::SimulatorStopped)
        incomplete = "the simulator stopped";

    JsonObject line = Line("raw-image");
    line.Add("size", m_image.size()).Add("complete", incomplete.empty());
    if (!incomplete.empty())
        line.Add("reason", incomplete);
    else if (m_image.empty())
        line.Add("reason", "no bytes: nothing to install");
    Write(line);
    if (incomplete.empty() && !m_image.empty())
        m_context.printer.ReceiveImage(m_image);
}

} // namespace sim::server
