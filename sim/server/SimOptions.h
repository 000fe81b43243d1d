#pragma once
// Everything the printer-sim command line sets: which printer it plays, where
// it listens, what it records, and how its transports misbehave. The faults
// that show in the printer's replies and decisions live in the core's
// `Faults` (inside `printer`); the ones on the wire are here.

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "ports/Wire.h"
#include "sim/core/PrinterConfig.h"
#include "sim/server/PortProfile.h"

namespace sim::server {

// The most image bytes one connection (9100) or one LPR job may carry; more
// is refused rather than held in memory. The installer's image is ~1.3 MB.
inline constexpr std::uint64_t kMaxImageBytes = 64ull * 1024 * 1024;

// A point of the LPR exchange where an acknowledgement is due, counted over
// the simulator's run from 1: the Nth receive-job command, the subcommand of
// the Nth data file, or the Nth data file's terminating zero byte. The first
// job of an update carries data files 1 to 3, the image job 4 onwards.
struct LprStep {
    enum class Kind { Job, Subcommand, Data };
    Kind kind = Kind::Job;
    std::uint64_t number = 1;

    bool operator==(const LprStep&) const = default;
    // "job:1", "subcommand:2", "data:4": what ParseLprStep reads.
    std::string ToString() const;
};

// "job", "subcommand" or "data", optionally ":N" (N >= 1, default 1).
std::optional<LprStep> ParseLprStep(std::string_view text);

struct TransportFaults {
    // Not listened on, so connections (or datagrams) are refused.
    std::vector<std::uint16_t> refusedPorts;
    // A nonzero acknowledgement (0x01) at these steps.
    std::vector<LprStep> lprNack;
    // The connection closed instead of acknowledging at these steps.
    std::vector<LprStep> lprClose;
    // What a positive acknowledgement consists of; the first byte is 0x00.
    std::vector<std::uint8_t> lprAck = {wire::kLprAcknowledge};
    // Every image connection (9100, or an LPR job that starts while the
    // printer waits for an image) is closed after this many image bytes...
    std::optional<std::uint64_t> closeAfterBytes;
    // ... or is no longer read from after this many.
    std::optional<std::uint64_t> stallAfterBytes;

    bool Refuses(std::uint16_t port) const;
};

struct SimOptions {
    std::uint32_t address = 0; // network byte order
    PortProfile profile;
    PrinterConfig printer;
    TransportFaults faults;
    std::optional<std::filesystem::path> recordFile;
    std::optional<std::filesystem::path> readyFile;
    bool printReady = false;
};

} // namespace sim::server
