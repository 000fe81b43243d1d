#include "platform/process/Interrupt.h"

#include <signal.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cassert>
#include <cerrno>

namespace platform {
namespace {

enum State : int {
    kOff,       // no InterruptRequests alive
    kArmed,     // waiting for a Ctrl-C
    kRequested, // Ctrl-C pressed; the program is on its way out
    kCommitted, // past the point of no return; the next Ctrl-C gets the note
    kNoted,     // the note was written; Ctrl-C has its default effect again
};

std::atomic<int> g_state{kOff};
static_assert(std::atomic<int>::is_always_lock_free, "the state is shared with a signal handler");

// Written before the state turns kCommitted and only read by the handler
// after that, so the handler never sees it change.
std::string g_note;

struct sigaction g_previous;

// Lets the next Ctrl-C take its default effect. Only async-signal-safe calls.
void RestoreDefault()
{
    struct sigaction action {};
    action.sa_handler = SIG_DFL;
    sigemptyset(&action.sa_mask);
    sigaction(SIGINT, &action, nullptr);
}

void WriteNote()
{
    const char* text = g_note.data();
    std::size_t left = g_note.size();
    while (left > 0) {
        const ssize_t written = ::write(STDERR_FILENO, text, left);
        if (written <= 0)
            break;
        text += written;
        left -= static_cast<std::size_t>(written);
    }
}

void OnInterrupt(int)
{
    const int savedErrno = errno;
    int state = kArmed;
    if (g_state.compare_exchange_strong(state, kRequested)) {
        errno = savedErrno;
        return;
    }
    if (state == kRequested) {
        // Pressed again while the program has not stopped yet: it is stuck
        // in a blocking call, so let Ctrl-C do what it always does.
        RestoreDefault();
        ::raise(SIGINT);
    } else if (state == kCommitted && g_state.compare_exchange_strong(state, kNoted)) {
        WriteNote();
        RestoreDefault();
    }
    errno = savedErrno;
}

} // namespace

InterruptRequests::InterruptRequests()
{
    [[maybe_unused]] const int previous = g_state.exchange(kArmed);
    assert(previous == kOff && "one InterruptRequests at a time");
    struct sigaction action {};
    action.sa_handler = OnInterrupt;
    sigemptyset(&action.sa_mask);
    // Blocking calls return EINTR and look again at what they wait for;
    // none of them needs SA_RESTART to be correct.
    action.sa_flags = 0;
    sigaction(SIGINT, &action, &g_previous);
}

InterruptRequests::~InterruptRequests()
{
    sigaction(SIGINT, &g_previous, nullptr);
    g_state.store(kOff);
}

bool InterruptRequests::Requested() const
{
    return g_state.load() == kRequested;
}

void InterruptRequests::Commit(std::string note)
{
    if (note.empty() || note.back() != '\n')
        note += '\n';
    const int state = g_state.load();
    if (state != kArmed && state != kRequested)
        return;
    // The handler reads the note only in kCommitted, which is not reached yet.
    g_note = std::move(note);
    int expected = kArmed;
    if (g_state.compare_exchange_strong(expected, kCommitted))
        return;
    if (expected == kRequested) {
        // A Ctrl-C came after the caller's last look: it can no longer be
        // honoured, so answer it as a later one would be answered.
        g_state.store(kNoted);
        WriteNote();
        RestoreDefault();
    }
}

Clock::TimePoint InterruptibleClock::Now() const
{
    return m_system.Now();
}

void InterruptibleClock::Sleep(Duration duration)
{
    // Short slices: a signal handler can do no more than set a flag, and
    // the slice bounds how long a stop waits for the sleep to notice it.
    constexpr Duration kSlice{50};
    const TimePoint end = Now() + duration;
    while (!m_requests.Requested()) {
        const TimePoint now = Now();
        if (now >= end)
            return;
        m_system.Sleep(std::min(kSlice, std::chrono::duration_cast<Duration>(end - now)));
    }
}

} // namespace platform
