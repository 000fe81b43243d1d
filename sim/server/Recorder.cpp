#include "sim/server/Recorder.h"

#include <cerrno>
#include <cstring>
#include <iostream>
#include <type_traits>
#include <variant>

#include "sim/core/Sha256.h"

namespace sim::server {
namespace {

std::string_view CompletionName(Completion completion)
{
    switch (completion) {
    case Completion::NewVersion:
        return "new-version";
    case Completion::NeverEnds:
        return "never-ends";
    case Completion::OldVersion:
        return "old-version";
    }
    return "unknown";
}

} // namespace

Recorder::Recorder() : m_start(std::chrono::steady_clock::now()) {}

platform::Result<Recorder, std::string> Recorder::Open(const std::filesystem::path& path)
{
    Recorder recorder;
    recorder.m_file = std::make_unique<std::ofstream>(path, std::ios::binary | std::ios::trunc);
    if (!*recorder.m_file)
        return "cannot write " + path.string() + ": " + std::strerror(errno);
    return recorder;
}

JsonObject Recorder::Line(std::string_view event) const
{
    using std::chrono::duration_cast, std::chrono::milliseconds;
    const auto elapsed = duration_cast<milliseconds>(std::chrono::steady_clock::now() - m_start);
    JsonObject line;
    line.Add("t", static_cast<long long>(elapsed.count())).Add("event", event);
    return line;
}

void Recorder::Write(const JsonObject& line)
{
    if (!m_file || m_failed)
        return;
    *m_file << line.Text() << '\n' << std::flush;
    if (!*m_file) {
        // A record that stops silently would make a test look for lines that
        // never come; say so once and carry on serving.
        m_failed = true;
        std::cerr << "printer-sim: the record cannot be written any more\n";
    }
}

void Recorder::WriteCoreEvents(const EventLog& log)
{
    const auto& events = log.All();
    for (; m_coreEventsWritten < events.size(); ++m_coreEventsWritten) {
        std::visit(
            [this](const auto& e) {
                using T = std::decay_t<decltype(e)>;
                if constexpr (std::is_same_v<T, StatusQueried>) {
                    Write(Line("status").Add("reply", e.reply).Add("installPoll", e.installPoll));
                } else if constexpr (std::is_same_v<T, ModeEntered>) {
                    Write(Line("entry")
                              .Add("kind", ToString(e.kind))
                              .Add("detail", e.detail)
                              .Add("accepted", e.accepted));
                } else if constexpr (std::is_same_v<T, ImageReceived>) {
                    Write(Line("image")
                              .Add("size", e.check.size)
                              .Add("sha256", ToHex(e.check.digest))
                              .Add("modelCode", e.check.modelCode)
                              .Add("version", e.check.version)
                              .Add("verdict", ToString(e.check.verdict)));
                } else {
                    Write(Line("install-end")
                              .Add("installPoll", e.installPoll)
                              .Add("completion", CompletionName(e.completion))
                              .Add("model", e.model)
                              .Add("version", e.version));
                }
            },
            events[m_coreEventsWritten]);
    }
}

} // namespace sim::server
