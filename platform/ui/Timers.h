#pragma once
// Where window timers come from.
//
// A dialog's SetTimer asks the timer source in force. The program uses Qt's
// timers on the real clock. In-process tests install a ClockTimerSource: its
// timers run on the platform clock (a ManualClock in tests) and fire only
// when the test moves time, so a 180-second installation takes no time and
// every tick comes in a known order.

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <vector>

#include "platform/time/Clock.h"
#include "platform/ui/WinUser.h"

namespace platform::ui {

class TimerSource {
public:
    using Callback = std::function<void()>;

    virtual ~TimerSource() = default;
    // Starts the periodic timer `id` of `owner`, replacing a running one of
    // the same owner and id. False when no timer can be created.
    virtual bool Start(const void* owner, UINT_PTR id, std::chrono::milliseconds interval, Callback callback) = 0;
    virtual void Stop(const void* owner, UINT_PTR id) = 0;
};

// Qt's timers unless another source is installed.
TimerSource& CurrentTimerSource();

class ScopedTimerSource {
public:
    explicit ScopedTimerSource(TimerSource& source);
    ~ScopedTimerSource();
    ScopedTimerSource(const ScopedTimerSource&) = delete;
    ScopedTimerSource& operator=(const ScopedTimerSource&) = delete;

private:
    TimerSource* m_previous;
};

// Timers on CurrentClock() that fire only from FireDue and RunFor. Timers
// due at the same moment fire in the order they were started. A tick missed
// because a callback took the clock past it (a sleep inside a handler) is
// delivered once, not once per missed period, as window timers are.
class ClockTimerSource final : public TimerSource {
public:
    bool Start(const void* owner, UINT_PTR id, std::chrono::milliseconds interval, Callback callback) override;
    void Stop(const void* owner, UINT_PTR id) override;

    // Fires every timer that is due now, each once.
    void FireDue();
    // Moves `clock` forward by `duration`, stopping at each moment a timer
    // falls due to fire it.
    void RunFor(ManualClock& clock, std::chrono::milliseconds duration);

    // While set, Start fails, as when the system has no timers left.
    void RefuseNewTimers(bool refuse) { m_refuse = refuse; }
    std::size_t ActiveCount() const { return m_entries.size(); }

private:
    struct Entry {
        const void* owner;
        UINT_PTR id;
        Clock::Duration interval;
        Clock::TimePoint due;
        std::uint64_t sequence;
        Callback callback;
    };

    // The timer due first by `limit` (ties: the one started first).
    Entry* Earliest(Clock::TimePoint limit);
    void Fire(Entry& entry);

    std::vector<Entry> m_entries;
    std::uint64_t m_nextSequence = 0;
    bool m_refuse = false;
};

} // namespace platform::ui
