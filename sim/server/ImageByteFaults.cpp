#include "sim/server/ImageByteFaults.h"

#include <algorithm>
#include <cstdint>

namespace sim::server {

ImageByteFaults::ImageByteFaults(const TransportFaults& faults)
    : m_closeAfter(faults.closeAfterBytes), m_stallAfter(faults.stallAfterBytes)
{
}

std::uint64_t ImageByteFaults::Allowance() const
{
    std::uint64_t limit = UINT64_MAX;
    if (m_closeAfter)
        limit = std::min(limit, *m_closeAfter);
    if (m_stallAfter)
        limit = std::min(limit, *m_stallAfter);
    return limit == UINT64_MAX ? limit : limit - std::min(limit, m_taken);
}

ImageByteFaults::Due ImageByteFaults::DueNow() const
{
    if (m_closeAfter && m_taken >= *m_closeAfter)
        return Due::Close;
    if (m_stallAfter && m_taken >= *m_stallAfter)
        return Due::Stall;
    return Due::None;
}

} // namespace sim::server
