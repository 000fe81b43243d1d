#include "sim/core/Printer.h"

#include <utility>

#include "sim/core/StatusText.h"

namespace sim {
namespace {

constexpr std::uint32_t kReadyBit = 0x80000000u;
constexpr char kIplMode[] = "IPL";
constexpr char kNormalMode[] = "NORMAL";

} // namespace

Printer::Printer(PrinterConfig config)
    : m_config(std::move(config)),
      m_identity{m_config.model, m_config.version, m_config.mode}
{
}

std::optional<std::string> Printer::QueryStatus()
{
    std::lock_guard lock(m_mutex);
    int poll = 0;
    if (m_phase == Phase::Installing) {
        poll = ++m_nInstallPolls;
        if (m_config.faults.completion != Completion::NeverEnds && poll > m_config.installPolls)
            EndInstallationLocked(poll);
    }
    std::optional<std::string> reply = ReplyLocked();
    m_log.Add(StatusQueried{reply, poll});
    return reply;
}

std::optional<std::string> Printer::PeekStatus() const
{
    std::lock_guard lock(m_mutex);
    return ReplyLocked();
}

std::uint32_t Printer::StatusCode() const
{
    std::lock_guard lock(m_mutex);
    return StatusCodeLocked();
}

bool Printer::EnterUpdateMode(EntryKind kind, std::string detail)
{
    std::lock_guard lock(m_mutex);
    bool accepted = !m_config.faults.notReady && !m_config.faults.refuseEntry && m_phase != Phase::Installing;
    if (accepted)
        m_phase = Phase::AwaitingImage;
    m_log.Add(ModeEntered{kind, std::move(detail), accepted});
    return accepted;
}

ImageVerdict Printer::ReceiveImage(std::span<const std::uint8_t> image)
{
    std::lock_guard lock(m_mutex);
    ImageCheck check = CheckImage(image, m_config.modelCode, m_config.expectedImage);
    if (m_phase != Phase::AwaitingImage) {
        // Outside update mode the bytes are not firmware to this printer,
        // whatever their header says; an installation under way goes on.
        check.verdict = ImageVerdict::NoEntry;
    } else if (check.verdict == ImageVerdict::Accepted) {
        m_phase = Phase::Installing;
        m_nInstallPolls = 0;
        m_nPendingVersion = check.version;
    } else {
        // One entry admits one image: a refused image ends update mode.
        m_phase = Phase::Idle;
    }
    m_log.Add(ImageReceived{check});
    return check.verdict;
}

Printer::Phase Printer::GetPhase() const
{
    std::lock_guard lock(m_mutex);
    return m_phase;
}

EventLog Printer::Log() const
{
    std::lock_guard lock(m_mutex);
    return m_log;
}

std::uint32_t Printer::StatusCodeLocked() const
{
    if (m_config.faults.notReady)
        return m_config.statusCode & ~kReadyBit;
    switch (m_phase) {
    case Phase::AwaitingImage:
        return m_config.statusCode | kReadyBit;
    case Phase::Installing:
        // Busy writing the image: not ready for another.
        return m_config.statusCode & ~kReadyBit;
    case Phase::Idle:
        break;
    }
    return m_config.statusCode;
}

std::optional<std::string> Printer::ReplyLocked() const
{
    const Faults& faults = m_config.faults;
    if (faults.silent)
        return std::nullopt;
    if (faults.rawReply)
        return faults.rawReply;

    StatusTextBuilder text;
    text.Add(m_config.otherItems);
    std::string status = FormatStatusCode(m_config.statusFormat, StatusCodeLocked());

    if (m_phase == Phase::Installing) {
        switch (m_config.installReply) {
        case InstallReply::Silent:
            return std::nullopt;
        case InstallReply::WithoutModelAndVersion:
            return text.Add("STATUS", status).Text();
        case InstallReply::IplMode:
            return text.Add("MDL", m_identity.model)
                .Add("VER", m_identity.version)
                .Add("MODE", kIplMode)
                .Add("STATUS", status)
                .Text();
        }
    }

    std::optional<std::string> mode = m_identity.mode;
    // A printer in its boot mode counts as ready whatever its status code,
    // so one that is not ready cannot be in it.
    if (faults.notReady && mode == kIplMode)
        mode = kNormalMode;
    return text.Add("MDL", m_identity.model)
        .Add("VER", m_identity.version)
        .Add("MODE", mode)
        .Add("STATUS", status)
        .Text();
}

void Printer::EndInstallationLocked(int poll)
{
    const Faults& faults = m_config.faults;
    if (faults.modelAfterInstall)
        m_identity.model = faults.modelAfterInstall;
    if (faults.completion == Completion::NewVersion)
        m_identity.version = FormatVersion(m_nPendingVersion);
    m_identity.mode = kNormalMode;
    m_phase = Phase::Idle;
    m_log.Add(InstallEnded{poll, faults.completion, m_identity.model, m_identity.version});
}

} // namespace sim
