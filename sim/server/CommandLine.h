#pragma once
// The printer-sim command line. Its options are relied on by other
// programs' tests: extend it, do not change what an option means.

#include <span>
#include <string>
#include <string_view>

#include "platform/core/Result.h"
#include "sim/server/SimOptions.h"

namespace sim::server {

struct CommandLine {
    bool help = false; // --help: print Usage() and stop
    SimOptions options;
};

// `args` without the program name. The error is one line that names the
// option at fault.
platform::Result<CommandLine, std::string> ParseCommandLine(std::span<const std::string_view> args);

// The --help text: every option and every fault.
std::string Usage();

} // namespace sim::server
