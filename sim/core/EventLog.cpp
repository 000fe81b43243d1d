#include "sim/core/EventLog.h"

#include <type_traits>

namespace sim {
namespace {

std::string_view ToString(Completion completion)
{
    switch (completion) {
    case Completion::NewVersion:
        return "new version";
    case Completion::NeverEnds:
        return "never ends";
    case Completion::OldVersion:
        return "old version kept";
    }
    return "unknown";
}

std::string OrMissing(const std::optional<std::string>& value)
{
    return value ? *value : std::string("(none)");
}

} // namespace

std::string_view ToString(EntryKind kind)
{
    switch (kind) {
    case EntryKind::AccessCodeSequence:
        return "access-code sequence";
    case EntryKind::BootFrame:
        return "boot frame";
    case EntryKind::ModeRequest:
        return "mode request";
    }
    return "unknown";
}

std::string Describe(const Event& event)
{
    return std::visit(
        [](const auto& e) -> std::string {
            using T = std::decay_t<decltype(e)>;
            if constexpr (std::is_same_v<T, StatusQueried>) {
                std::string line = "status query";
                if (e.installPoll > 0)
                    line += " (install poll " + std::to_string(e.installPoll) + ")";
                return line + ": " + (e.reply ? "\"" + *e.reply + "\"" : std::string("no reply"));
            } else if constexpr (std::is_same_v<T, ModeEntered>) {
                std::string line = "update-mode entry by " + std::string(ToString(e.kind));
                if (!e.detail.empty())
                    line += " (" + e.detail + ")";
                return line + (e.accepted ? ": accepted" : ": refused");
            } else if constexpr (std::is_same_v<T, ImageReceived>) {
                return "image of " + std::to_string(e.check.size) + " bytes, sha256 " + ToHex(e.check.digest) +
                       ", header model " + std::to_string(e.check.modelCode) + " version " +
                       std::to_string(e.check.version) + ": " + std::string(ToString(e.check.verdict));
            } else {
                return "installation ended at poll " + std::to_string(e.installPoll) + " (" +
                       std::string(ToString(e.completion)) + "): MDL " + OrMissing(e.model) + ", VER " +
                       OrMissing(e.version);
            }
        },
        event);
}

std::string EventLog::Describe() const
{
    std::string text;
    for (const Event& event : m_events) {
        text += sim::Describe(event);
        text += '\n';
    }
    return text;
}

} // namespace sim
