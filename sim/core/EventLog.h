#pragma once
// What happened to the printer, in order, so tests (and the simulator's own
// output) can tell what it was asked and what it received.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <variant>
#include <vector>

#include "sim/core/ImageCheck.h"
#include "sim/core/PrinterConfig.h"

namespace sim {

std::string_view ToString(EntryKind kind);

// One status query and the answer given; nullopt when the printer stayed
// silent.
struct StatusQueried {
    std::optional<std::string> reply;
    // 1 for the first query after an accepted image, 2 for the next, ...;
    // 0 outside an installation.
    int installPoll = 0;
};

struct ModeEntered {
    EntryKind kind = EntryKind::AccessCodeSequence;
    std::string detail; // what the transport adds, e.g. which access code or TCP port
    bool accepted = false;
};

struct ImageReceived {
    ImageCheck check;
};

// The poll at which an installation ended, and what the printer reports from
// then on.
struct InstallEnded {
    int installPoll = 0;
    Completion completion = Completion::NewVersion;
    std::optional<std::string> model;
    std::optional<std::string> version;
};

using Event = std::variant<StatusQueried, ModeEntered, ImageReceived, InstallEnded>;

class EventLog {
public:
    void Add(Event event) { m_events.push_back(std::move(event)); }

    const std::vector<Event>& All() const { return m_events; }

    // The events of one kind, in order.
    template <typename T>
    std::vector<T> OfType() const
    {
        std::vector<T> found;
        for (const Event& event : m_events) {
            if (const T* typed = std::get_if<T>(&event))
                found.push_back(*typed);
        }
        return found;
    }

    // One line per event.
    std::string Describe() const;

private:
    std::vector<Event> m_events;
};

std::string Describe(const Event& event);

} // namespace sim
