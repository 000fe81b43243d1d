#pragma once
// The one clock behind every sleep, tick count and UI timer.
//
// The program waits in several places (the 4 s pause before sending, 5 s
// between polls, a 21 s hold, 200 ms SNMP waits). In-process tests install a
// ManualClock so those waits cost nothing and happen in a known order;
// full-process runs use the real clock.

#include <chrono>
#include <cstdint>
#include <vector>

namespace platform {

class Clock {
public:
    using Duration = std::chrono::milliseconds;
    using TimePoint = std::chrono::time_point<std::chrono::steady_clock, Duration>;

    virtual ~Clock() = default;
    virtual TimePoint Now() const = 0;
    virtual void Sleep(Duration duration) = 0;

    // Milliseconds since an arbitrary start, wrapping as GetTickCount does.
    std::uint32_t TickCount() const
    {
        return static_cast<std::uint32_t>(Now().time_since_epoch().count());
    }
};

class SystemClock final : public Clock {
public:
    TimePoint Now() const override;
    void Sleep(Duration duration) override;
};

// Time moves only when told to, or when someone sleeps; every sleep is
// recorded so tests can assert on the pauses a flow takes.
class ManualClock final : public Clock {
public:
    TimePoint Now() const override { return m_now; }
    void Sleep(Duration duration) override
    {
        m_sleeps.push_back(duration);
        m_now += duration;
    }
    void Advance(Duration duration) { m_now += duration; }
    const std::vector<Duration>& Sleeps() const { return m_sleeps; }

private:
    TimePoint m_now{};
    std::vector<Duration> m_sleeps;
};

// The clock in force: the system clock unless one has been installed.
Clock& CurrentClock();

// Installs a clock for the current scope (tests); restores the previous one.
class ScopedClock {
public:
    explicit ScopedClock(Clock& clock);
    ~ScopedClock();
    ScopedClock(const ScopedClock&) = delete;
    ScopedClock& operator=(const ScopedClock&) = delete;

private:
    Clock* m_previous;
};

} // namespace platform
