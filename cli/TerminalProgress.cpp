#include "cli/TerminalProgress.h"

#include <cstdio>
#include <ostream>

namespace {

std::string Elapsed(std::chrono::milliseconds elapsed)
{
    const long long seconds = elapsed.count() / 1000;
    char text[32];
    std::snprintf(text, sizeof text, "[%lld:%02lld]", seconds / 60, seconds % 60);
    return text;
}

std::string Bytes(const InstallProgress& progress)
{
    return std::to_string(progress.bytesSent) + " of " + std::to_string(progress.bytesTotal) + " bytes";
}

} // namespace

std::string DescribeProgress(const InstallProgress& progress)
{
    std::string line;
    switch (progress.phase) {
    case InstallPhase::EnteringUpdateMode:
        line = "entering update mode";
        break;
    case InstallPhase::Pausing:
        line = "waiting " + std::to_string(CInstallSession::kPauseBeforeSend.count() / 1000) +
               " s for the printer";
        break;
    case InstallPhase::Sending:
        line = "sending firmware: " + Bytes(progress);
        break;
    case InstallPhase::Installing:
        line = "installing: poll " + std::to_string(progress.poll) + " of " +
               std::to_string(CInstallSession::kMaxPolls) + ", " + Bytes(progress) + " sent";
        break;
    }
    return line + " " + Elapsed(progress.elapsed);
}

void CTerminalProgress::Show(const InstallProgress& progress)
{
    // Carriage return and erase-to-end-of-line: every terminal since the
    // VT100 understands both.
    m_terminal << "\r\x1b[K" << DescribeProgress(progress) << std::flush;
    m_lineOpen = true;
}

void CTerminalProgress::Finish()
{
    if (m_lineOpen)
        m_terminal << '\n' << std::flush;
    m_lineOpen = false;
}
