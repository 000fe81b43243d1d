#include "platform/time/Clock.h"

#include <thread>

namespace platform {
namespace {

Clock* g_installed = nullptr;

} // namespace

Clock::TimePoint SystemClock::Now() const
{
    return std::chrono::time_point_cast<Duration>(std::chrono::steady_clock::now());
}

void SystemClock::Sleep(Duration duration)
{
    if (duration > Duration::zero())
        std::this_thread::sleep_for(duration);
}

Clock& CurrentClock()
{
    static SystemClock system;
    return g_installed ? *g_installed : system;
}

ScopedClock::ScopedClock(Clock& clock) : m_previous(g_installed)
{
    g_installed = &clock;
}

ScopedClock::~ScopedClock()
{
    g_installed = m_previous;
}

} // namespace platform
