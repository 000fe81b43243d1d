// printer-sim: plays a network printer for the installer's tests and demo.
// The command line and the record are described in docs/printer-sim.md.

#include <csignal>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <string_view>
#include <system_error>
#include <vector>

#include "platform/core/System.h"
#include "sim/core/Printer.h"
#include "sim/server/CommandLine.h"
#include "sim/server/Recorder.h"
#include "sim/server/Server.h"
#include "sim/server/SimContext.h"

namespace {

enum ExitCode {
    kExitStopped = 0,      // ended by SIGTERM or SIGINT: the normal end
    kExitFailed = 1,       // a port could not be opened, or serving failed: see standard error
    kExitBadArguments = 2, // the command line is wrong: see standard error and --help
};

int Fail(std::string_view message)
{
    std::cerr << "printer-sim: " << message << '\n';
    return kExitFailed;
}

// Written whole under another name and then renamed, so that a reader
// never sees a half-written file.
bool WriteReadyFile(const std::filesystem::path& path)
{
    std::filesystem::path temporary = path;
    temporary += ".tmp";
    {
        std::ofstream out(temporary, std::ios::trunc);
        out << "ready\n";
        if (!out.flush())
            return false;
    }
    std::error_code error;
    std::filesystem::rename(temporary, path, error);
    return !error;
}

} // namespace

int main(int argc, char** argv)
{
    const std::vector<std::string_view> args(argv + 1, argv + argc);
    auto line = sim::server::ParseCommandLine(args);
    if (!line) {
        std::cerr << "printer-sim: " << line.Error() << "\n(printer-sim --help lists the options)\n";
        return kExitBadArguments;
    }
    if (line->help) {
        std::cout << sim::server::Usage();
        return kExitStopped;
    }
    const sim::server::SimOptions& options = line->options;

    // Signals are taken by the poll loop; blocked before anything else runs.
    sigset_t stop;
    sigemptyset(&stop);
    sigaddset(&stop, SIGTERM);
    sigaddset(&stop, SIGINT);
    if (auto blocked = platform::sys::BlockSignals(stop); !blocked)
        return Fail(blocked.Error().Message());
    auto signals = platform::sys::SignalFd(stop);
    if (!signals)
        return Fail(signals.Error().Message());

    sim::server::Recorder recorder;
    if (options.recordFile) {
        auto opened = sim::server::Recorder::Open(*options.recordFile);
        if (!opened)
            return Fail("record: " + opened.Error());
        recorder = std::move(*opened);
    }
    sim::Printer printer(options.printer);
    sim::server::SimContext context{printer, recorder, options};

    auto server = sim::server::Server::Open(context);
    if (!server)
        return Fail(server.Error());
    if (options.readyFile && !WriteReadyFile(*options.readyFile))
        return Fail("cannot write the ready file " + options.readyFile->string());
    if (options.printReady)
        std::cout << "ready" << std::endl;

    if (auto served = (*server)->Run(signals->Get()); !served)
        return Fail(served.Error());
    return kExitStopped;
}
