#pragma once
// Checks of the update-mode entries as they arrive: the LPR access-code
// sequence (three data files) and the boot frame. The printer core is told
// of an entry only when its bytes pass; the reason for a refusal goes to the
// record.

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "platform/core/Result.h"
#include "sim/server/PortProfile.h"

namespace sim::server {

using EntryCheck = platform::Result<void, std::string>;

// The data files of one LPR job: the access-code message of `expected`
// (510 bytes, no terminator), "PIPE MONITOR" and the 21-byte boot packet
// (length word 18, the boot text, the check byte).
EntryCheck CheckAccessCodeSequence(const std::vector<std::vector<std::uint8_t>>& files, AccessCode expected);

// The 25 bytes of a boot frame, field by field: 0x80, length 21, text
// type word 6, the boot text, check byte A over the text, check byte B that
// makes all bytes sum to 0xFF.
EntryCheck CheckBootFrame(std::span<const std::uint8_t> frame);

} // namespace sim::server
