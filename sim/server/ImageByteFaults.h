#pragma once
// --close-after-bytes and --stall-after-bytes on one image connection: counts
// the image bytes taken and says when a fault strikes.

#include <cstdint>
#include <optional>

#include "sim/server/SimOptions.h"

namespace sim::server {

class ImageByteFaults {
public:
    enum class Due { None, Close, Stall };

    explicit ImageByteFaults(const TransportFaults& faults);

    // How many more image bytes may be taken before a fault strikes
    // (UINT64_MAX when none is set).
    std::uint64_t Allowance() const;
    void Count(std::uint64_t bytes) { m_taken += bytes; }
    std::uint64_t Taken() const { return m_taken; }
    // The fault that strikes now that Allowance() is 0; closing wins when
    // both are set to the same count.
    Due DueNow() const;

private:
    std::optional<std::uint64_t> m_closeAfter;
    std::optional<std::uint64_t> m_stallAfter;
    std::uint64_t m_taken = 0;
};

} // namespace sim::server
