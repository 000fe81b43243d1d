#pragma once
// The install sequence that follows a passed readiness check: put the
// accepted printer into its update mode, pause, send the whole image, then
// ask every few seconds whether the printer reports the image's version.
//
// It knows no window and no terminal. Whoever shows the progress (the
// command-line tool, later the send-status dialog) watches it through an
// observer, and every wait goes through the platform clock, so tests run the
// pauses in no time and a caller with a timer of its own can drive the two
// steps (SendImage, Poll) itself instead of calling Run.

#include "platform/core/WinTypes.h"
#include "platform/time/Clock.h"
#include "update/Updater.h"

#include <chrono>
#include <optional>

enum class InstallPhase {
    EnteringUpdateMode,
    Pausing,    // the printer needs time between entering update mode and the image
    Sending,    // reported before SendData (0 bytes sent) and after it (all of them)
    Installing, // reported after each poll
};

enum class InstallOutcome {
    Installed,     // the printer reports the target model at the image's version
    SendFailed,    // no update mode, no driver set up, or the image did not go out
    InstallFailed, // the printer reports another model after taking the image
    TimedOut,      // the poll limit passed without a final answer
    Cancelled,     // the observer asked to stop before any of the image went out
};

struct InstallProgress {
    InstallPhase phase = InstallPhase::EnteringUpdateMode;
    // SendData is a single call, so the count only jumps from 0 to the total.
    DWORD bytesSent = 0;
    DWORD bytesTotal = 0;
    int poll = 0; // the poll just made, 1 to kMaxPolls; 0 before the first
    std::optional<CHECK_RESULT> pollResult;
    std::chrono::milliseconds elapsed{0}; // since the session began
};

class IInstallObserver {
public:
    virtual ~IInstallObserver() = default;

    virtual void OnProgress(const InstallProgress& progress) = 0;

    // Run has its outcome; nothing more will be reported.
    virtual void OnFinished(InstallOutcome /*outcome*/) {}

    // Asked only while none of the image has gone out: before the update-mode
    // entry and after the pause. Once sending has begun a request is not
    // honoured, because leaving then would abandon a printer in the middle of
    // taking its firmware while it keeps installing anyway.
    virtual bool CancelRequested() { return false; }
};

class CInstallSession {
public:
    static constexpr std::chrono::milliseconds kPauseBeforeSend{4000};
    static constexpr std::chrono::milliseconds kPollInterval{5000};
    static constexpr int kMaxPolls = 36;

    // The driver must stay alive for the session's life; it is expected to
    // hold an accepted port, and a driver without one ends in SendFailed.
    CInstallSession(CUpdater& updater, IInstallObserver& observer);

    // The whole sequence on the clock in force: SendImage, then a poll every
    // kPollInterval until the outcome is known, which is also given to the
    // observer's OnFinished.
    InstallOutcome Run();

    // Update-mode entry, the pause and the send. nullopt when the image is
    // out and polling may begin; otherwise the outcome.
    std::optional<InstallOutcome> SendImage();

    // One CheckInstalled. nullopt while the printer has no final answer and
    // the limit has not been reached.
    std::optional<InstallOutcome> Poll();

    DWORD BytesSent() const { return m_progress.bytesSent; }
    DWORD BytesTotal() const { return m_progress.bytesTotal; }
    int Polls() const { return m_progress.poll; }
    std::optional<CHECK_RESULT> LastPollResult() const { return m_progress.pollResult; }

private:
    void Report(InstallPhase phase);
    InstallOutcome Finish(InstallOutcome outcome);

    CUpdater& m_updater;
    IInstallObserver& m_observer;
    platform::Clock::TimePoint m_start;
    InstallProgress m_progress;
};
