#pragma once
// The real printer-sim as a child of the test, on a loopback address of the
// test's own lane, with its record and ready file in a private folder. The
// constructor returns once every port listens; the child is killed with the
// object if the test did not stop it.

#include <linux/limits.h>
#include <signal.h>
#include <unistd.h>

#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <optional>
#include <sstream>
#include <stdexcept>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "platform/core/System.h"
#include "tests/net/ChildProcess.h"
#include "tests/sim/RecordLine.h"
#include "tests/support/LoopbackAddress.h"

namespace simtest {

using namespace std::chrono_literals;

// TALLOW_PRINTER_SIM as CTest sets it; else the program beside the test
// executable (the build puts every program in one folder).
inline std::filesystem::path PrinterSimProgram()
{
    if (const char* path = std::getenv("TALLOW_PRINTER_SIM"))
        return path;
    return std::filesystem::read_symlink("/proc/self/exe").parent_path() / "printer-sim";
}

class PrinterSimProcess {
public:
    // Waiting for readiness and for record lines polls at this pace, up to
    // a deadline; nothing in the tests sleeps for a fixed time.
    static constexpr auto kPollPace = 2ms;

    PrinterSimProcess(std::uint8_t lane, const std::vector<std::string>& options)
        : m_addressText(testsupport::LoopbackAddressText(lane)), m_address(testsupport::LoopbackAddress(lane))
    {
        std::vector<std::string> argv = {PrinterSimProgram().string(), "--address", m_addressText, "--record",
                                         RecordPath().string(), "--ready-file", ReadyPath().string()};
        argv.insert(argv.end(), options.begin(), options.end());
        m_child.emplace(argv, std::vector<std::string>{}, m_folder.Path() / "out", m_folder.Path() / "err");
        const auto deadline = std::chrono::steady_clock::now() + 10s;
        while (!std::filesystem::exists(ReadyPath())) {
            if (!m_child->Running() || std::chrono::steady_clock::now() > deadline)
                throw std::runtime_error("printer-sim did not get ready: " + Errors());
            std::this_thread::sleep_for(kPollPace);
        }
    }

    std::uint32_t Address() const { return m_address; }
    const std::string& AddressText() const { return m_addressText; }

    // The record's complete lines so far; a line that is not a record line
    // throws.
    std::vector<RecordLine> Record() const
    {
        std::vector<RecordLine> lines;
        std::istringstream text(nettest::ReadFile(RecordPath()));
        for (std::string line; std::getline(text, line);) {
            if (text.eof())
                break; // not ended by its line feed yet
            std::optional<RecordLine> parsed = RecordLine::Parse(line);
            if (!parsed)
                throw std::runtime_error("not a record line: " + line);
            lines.push_back(*parsed);
        }
        return lines;
    }

    std::vector<RecordLine> Events(std::string_view event) const
    {
        std::vector<RecordLine> lines;
        for (RecordLine& line : Record()) {
            if (line.Event() == event)
                lines.push_back(std::move(line));
        }
        return lines;
    }

    // The first line of `event` that `match` accepts, once the simulator
    // has written it; nothing after `within`.
    std::optional<RecordLine> WaitFor(std::string_view event,
                                      const std::function<bool(const RecordLine&)>& match = {},
                                      std::chrono::milliseconds within = 5s) const
    {
        const auto deadline = std::chrono::steady_clock::now() + within;
        while (true) {
            for (const RecordLine& line : Events(event)) {
                if (!match || match(line))
                    return line;
            }
            if (std::chrono::steady_clock::now() > deadline)
                return std::nullopt;
            std::this_thread::sleep_for(kPollPace);
        }
    }

    // SIGTERM, then the exit code.
    int Stop()
    {
        m_child->Signal(SIGTERM);
        return m_child->Wait();
    }

    std::string Output() const { return nettest::ReadFile(m_folder.Path() / "out"); }
    std::string Errors() const { return nettest::ReadFile(m_folder.Path() / "err"); }
    std::string RecordText() const { return nettest::ReadFile(RecordPath()); }

private:
    std::filesystem::path RecordPath() const { return m_folder.Path() / "record.jsonl"; }
    std::filesystem::path ReadyPath() const { return m_folder.Path() / "ready"; }

    nettest::TempFolder m_folder;
    std::string m_addressText;
    std::uint32_t m_address;
    std::optional<nettest::ChildProcess> m_child;
};

} // namespace simtest
