#include <algorithm>
#include <utility>

#include "platform/ui/Timers.h"

namespace platform::ui {
namespace {

TimerSource* g_installed = nullptr;

} // namespace

TimerSource& QtTimers(); // QtTimerSource.cpp

TimerSource& CurrentTimerSource()
{
    return g_installed ? *g_installed : QtTimers();
}

ScopedTimerSource::ScopedTimerSource(TimerSource& source) : m_previous(g_installed)
{
    g_installed = &source;
}

ScopedTimerSource::~ScopedTimerSource()
{
    g_installed = m_previous;
}

bool ClockTimerSource::Start(const void* owner, UINT_PTR id, std::chrono::milliseconds interval, Callback callback)
{
    if (m_refuse)
        return false;
    Stop(owner, id);
    const auto period = std::max(interval, Clock::Duration{1});
    m_entries.push_back({owner, id, period, CurrentClock().Now() + period, m_nextSequence++, std::move(callback)});
    return true;
}

void ClockTimerSource::Stop(const void* owner, UINT_PTR id)
{
    std::erase_if(m_entries, [&](const Entry& entry) { return entry.owner == owner && entry.id == id; });
}

ClockTimerSource::Entry* ClockTimerSource::Earliest(Clock::TimePoint limit)
{
    Entry* next = nullptr;
    for (Entry& entry : m_entries) {
        if (entry.due > limit)
            continue;
        if (!next || entry.due < next->due || (entry.due == next->due && entry.sequence < next->sequence))
            next = &entry;
    }
    return next;
}

void ClockTimerSource::Fire(Entry& entry)
{
    // The next tick is the first period boundary after now, set before the
    // callback so that the callback may kill or restart its own timer. A
    // callback that takes the clock past further ticks (a sleep) leaves its
    // next tick overdue: it fires once, at once, and the rest are lost.
    const Clock::TimePoint now = CurrentClock().Now();
    entry.due += entry.interval * ((now - entry.due) / entry.interval + 1);
    Callback callback = entry.callback; // the entry may go away meanwhile
    callback();
}

void ClockTimerSource::FireDue()
{
    // Each firing moves the timer's next tick past `now`: each fires once.
    const Clock::TimePoint now = CurrentClock().Now();
    while (Entry* next = Earliest(now))
        Fire(*next);
}

void ClockTimerSource::RunFor(ManualClock& clock, std::chrono::milliseconds duration)
{
    const Clock::TimePoint end = clock.Now() + duration;
    while (Entry* next = Earliest(end)) {
        if (next->due > clock.Now())
            clock.Advance(next->due - clock.Now());
        Fire(*next);
    }
    if (clock.Now() < end)
        clock.Advance(end - clock.Now());
}

} // namespace platform::ui
