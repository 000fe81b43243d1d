#pragma once
// The simulator's record: one JSON object per line for every exchange, so a
// test can assert on the bytes on the wire while the simulator still runs.
// Every line carries "t" (milliseconds since the simulator started) and
// "event"; each line is flushed as it is written. docs/printer-sim.md lists
// the events.

#include <chrono>
#include <cstddef>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <string_view>

#include "platform/core/Result.h"
#include "sim/core/EventLog.h"
#include "sim/server/JsonObject.h"

namespace sim::server {

class Recorder {
public:
    // Records nothing.
    Recorder();

    // Creates (or empties) `path`; the error says why it cannot.
    static platform::Result<Recorder, std::string> Open(const std::filesystem::path& path);

    // A line of `event`, stamped with the time; the caller adds its fields
    // and hands it to Write.
    JsonObject Line(std::string_view event) const;
    void Write(const JsonObject& line);

    // The printer core's events that have not been written yet, in order.
    // Called after every exchange that may have reached the core.
    void WriteCoreEvents(const EventLog& log);

private:
    std::unique_ptr<std::ofstream> m_file;
    std::chrono::steady_clock::time_point m_start;
    std::size_t m_coreEventsWritten = 0;
    bool m_failed = false;
};

} // namespace sim::server
