#pragma once
// Ctrl-C as a request that a long operation answers at a safe point.
//
// While nothing irreversible has happened, Ctrl-C should stop the program
// cleanly, with its own outcome and exit code, rather than kill it in the
// middle of a socket exchange. Once the operation passes its point of no
// return (the firmware is on its way to the printer), a request could not be
// honoured any more: the first Ctrl-C then only says so, and a second one
// ends the process the way Ctrl-C ends any program.

#include <chrono>
#include <string>

#include "platform/time/Clock.h"

namespace platform {

// Installs the SIGINT handler for its lifetime and restores the previous
// disposition afterwards. At most one exists at a time.
class InterruptRequests {
public:
    InterruptRequests();
    ~InterruptRequests();
    InterruptRequests(const InterruptRequests&) = delete;
    InterruptRequests& operator=(const InterruptRequests&) = delete;

    // Ctrl-C was pressed before Commit. A second Ctrl-C before Commit ends
    // the process at once, for when the program is stuck in a blocking call.
    bool Requested() const;

    // From now on Ctrl-C is no longer a request: the first one writes `note`
    // (a line) to standard error and the next ends the process. A request
    // that arrived just before is answered the same way at once.
    void Commit(std::string note);
};

// The system clock, except that a sleep ends early once Ctrl-C has been
// requested (and not committed), so a pause does not hold up a stop.
class InterruptibleClock final : public Clock {
public:
    explicit InterruptibleClock(const InterruptRequests& requests) : m_requests(requests) {}

    TimePoint Now() const override;
    void Sleep(Duration duration) override;

private:
    const InterruptRequests& m_requests;
    SystemClock m_system;
};

} // namespace platform
