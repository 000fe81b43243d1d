#include "update/InstallSession.h"

#include "image/PufImage.h"

CInstallSession::CInstallSession(CUpdater& updater, IInstallObserver& observer)
    : m_updater(updater), m_observer(observer), m_start(platform::CurrentClock().Now())
{
    if (m_updater.m_pImage)
        m_progress.bytesTotal = m_updater.m_pImage->m_nSize;
}

InstallOutcome CInstallSession::Run()
{
    if (std::optional<InstallOutcome> outcome = SendImage())
        return Finish(*outcome);
    for (;;) {
        // The first poll comes a whole interval after the send, as in the
        // send-status dialog: a printer that has just taken its image is busy.
        platform::CurrentClock().Sleep(kPollInterval);
        if (std::optional<InstallOutcome> outcome = Poll())
            return Finish(*outcome);
    }
}

std::optional<InstallOutcome> CInstallSession::SendImage()
{
    if (m_observer.CancelRequested())
        return InstallOutcome::Cancelled;
    Report(InstallPhase::EnteringUpdateMode);
    if (!m_updater.m_pTarget || !m_updater.m_pImage || !m_updater.m_pPort)
        return InstallOutcome::SendFailed;
    CPort& port = *m_updater.m_pPort;
    if (!port.EnterUpdateMode())
        return InstallOutcome::SendFailed;

    Report(InstallPhase::Pausing);
    platform::CurrentClock().Sleep(kPauseBeforeSend);
    // The last moment at which leaving costs nothing: the printer sits in
    // update mode without an image and returns to normal when switched off.
    if (m_observer.CancelRequested())
        return InstallOutcome::Cancelled;

    Report(InstallPhase::Sending);
    const CPufImage& image = *m_updater.m_pImage;
    if (!port.SendData(image.m_pData.get(), image.m_nSize, 0))
        return InstallOutcome::SendFailed;
    m_progress.bytesSent = image.m_nSize;
    Report(InstallPhase::Sending);
    return std::nullopt;
}

std::optional<InstallOutcome> CInstallSession::Poll()
{
    const CHECK_RESULT result = m_updater.CheckInstalled();
    ++m_progress.poll;
    m_progress.pollResult = result;
    Report(InstallPhase::Installing);
    switch (result) {
    case CHECK_OK:
        return InstallOutcome::Installed;
    case CHECK_UNREADABLE:
    case CHECK_NO_REPLY:
    case CHECK_VERSION:
    case CHECK_IPL_MODE:
        // A printer that is busy flashing may not answer, may answer from its
        // boot mode or without its identity: all of that is still waiting.
        if (m_progress.poll >= kMaxPolls)
            return InstallOutcome::TimedOut;
        return std::nullopt;
    default:
        return InstallOutcome::InstallFailed;
    }
}

void CInstallSession::Report(InstallPhase phase)
{
    m_progress.phase = phase;
    m_progress.elapsed = platform::CurrentClock().Now() - m_start;
    m_observer.OnProgress(m_progress);
}

InstallOutcome CInstallSession::Finish(InstallOutcome outcome)
{
    m_observer.OnFinished(outcome);
    return outcome;
}
