#pragma once
// What every exchange of the simulator works with: the printer, the record,
// the options, and the counts that run across connections.

#include <cstdint>

#include "sim/core/Printer.h"
#include "sim/server/Recorder.h"
#include "sim/server/SimOptions.h"

namespace sim::server {

struct SimContext {
    Printer& printer;
    Recorder& recorder;
    const SimOptions& options;
    // LPR steps are counted over the run (see LprStep).
    std::uint64_t lprJobs = 0;
    std::uint64_t lprFiles = 0;
};

} // namespace sim::server
