#include "sim/server/LprSession.h"

#include <algorithm>
#include <charconv>
#include <string_view>

#include "ports/Wire.h"
#include "sim/server/EntryChecks.h"
#include "sim/server/Hex.h"

namespace sim::server {
namespace {

// What the printer answers to what it refuses; any nonzero first byte is a refusal.
constexpr std::uint8_t kNack[] = {0x01};
// Subcommands of a receive-job command that the installer never sends.
constexpr std::uint8_t kAbortJobSubcommand = 0x01;
constexpr std::uint8_t kControlFileSubcommand = 0x02;
constexpr std::uint8_t kLineFeed = 0x0A;
// The installer builds every command line in its 64-byte reply buffer.
constexpr std::size_t kMaxCommandLine = wire::kLprReplyBufferSize;
// The first bytes of a data file shown in the record.
constexpr std::size_t kHeadBytes = 16;

bool Contains(const std::vector<LprStep>& steps, const LprStep& step)
{
    return std::find(steps.begin(), steps.end(), step) != steps.end();
}

// The count of a data-file subcommand line (0x03, count, " x", line feed);
// the error says what is wrong with it.
platform::Result<std::uint64_t, std::string> ParseDataFileSubcommand(std::span<const std::uint8_t> line)
{
    const std::string_view text(reinterpret_cast<const char*>(line.data()), line.size());
    switch (line.front()) {
    case wire::kLprDataFileCommand:
        break;
    case kControlFileSubcommand:
        return std::string("a control-file subcommand; this printer takes data files only");
    case kAbortJobSubcommand:
        return std::string("an abort-job subcommand; this printer does not abort jobs");
    default:
        return "unknown subcommand " + HexByte(line.front());
    }
    // The line ends in its line feed; between the code and it: count, space, name.
    const std::string_view operands = text.substr(1, text.size() - 2);
    const std::size_t space = operands.find(' ');
    if (space == std::string_view::npos)
        return std::string("a data-file subcommand without a file name");
    const std::string_view digits = operands.substr(0, space);
    const std::string_view name = operands.substr(space + 1);
    if (digits.empty() ||
        !std::all_of(digits.begin(), digits.end(), [](char c) { return c >= '0' && c <= '9'; }))
        return "data-file count '" + std::string(digits) + "' is not a decimal number";
    if (digits.size() > 1 && digits.front() == '0')
        return "data-file count '" + std::string(digits) + "' has a leading zero";
    std::uint64_t count = 0;
    const auto [last, error] = std::from_chars(digits.data(), digits.data() + digits.size(), count);
    if (error != std::errc() || last != digits.data() + digits.size())
        return "data-file count '" + std::string(digits) + "' is too large";
    if (name != std::string_view(&wire::kLprDataFileName, 1))
        return "data-file name '" + std::string(name) + "', the installer names every file x";
    return count;
}

} // namespace

LprSession::LprSession(SimContext& context, std::uint64_t connection)
    : Session(context, connection), m_byteFaults(context.options.faults)
{
}

std::size_t LprSession::ReadLimit() const
{
    switch (m_state) {
    case State::Stalled:
    case State::Closed:
        return 0;
    case State::Data:
        if (m_imageJob)
            return static_cast<std::size_t>(std::min<std::uint64_t>(kReadChunk, m_byteFaults.Allowance()));
        return kReadChunk;
    default:
        return kReadChunk;
    }
}

void LprSession::Receive(std::span<const std::uint8_t> bytes)
{
    std::size_t pos = 0;
    while (pos < bytes.size()) {
        switch (m_state) {
        case State::Command:
        case State::Subcommand:
            m_line.push_back(bytes[pos++]);
            if (m_line.back() == kLineFeed) {
                if (m_state == State::Command)
                    OnCommandLine();
                else
                    OnSubcommandLine();
                m_line.clear();
            } else if (m_line.size() >= kMaxCommandLine) {
                Reject("a command line of " + std::to_string(m_line.size()) + " bytes without a line feed");
            }
            break;
        case State::Data: {
            std::uint64_t take = std::min<std::uint64_t>(m_fileRemaining, bytes.size() - pos);
            if (m_imageJob)
                take = std::min(take, m_byteFaults.Allowance());
            const auto piece = bytes.subspan(pos, static_cast<std::size_t>(take));
            m_file.insert(m_file.end(), piece.begin(), piece.end());
            pos += piece.size();
            m_fileRemaining -= piece.size();
            if (m_imageJob) {
                m_byteFaults.Count(piece.size());
                if (ByteFaultStruck())
                    return;
            }
            if (m_fileRemaining == 0)
                m_state = State::Terminator;
            break;
        }
        case State::Terminator:
            OnFileEnd(bytes[pos++]);
            break;
        case State::Rejected:
        case State::Closed:
        case State::Stalled:
            return;
        }
    }
}

void LprSession::OnCommandLine()
{
    const bool valid = std::ranges::equal(m_line, wire::kLprReceiveJob);
    if (!valid) {
        Write(Line("lpr-command").Add("bytes", Hex(m_line)).Add("valid", false));
        Reject("not the receive-job command 02 '%lp1 x' 0a");
        return;
    }
    m_jobOpen = true;
    m_job = ++m_context.lprJobs;
    m_imageJob = m_context.printer.GetPhase() == Printer::Phase::AwaitingImage;
    Write(Line("lpr-command").Add("bytes", Hex(m_line)).Add("valid", true).Add("job", m_job));
    const LprStep step{LprStep::Kind::Job, m_job};
    switch (Acknowledge(step)) {
    case Ack::Sent:
        m_state = State::Subcommand;
        break;
    case Ack::Refused:
        m_stopReason = "refused at " + step.ToString();
        m_state = State::Rejected;
        break;
    case Ack::Closed:
        m_stopReason = "closed by the simulator at " + step.ToString();
        m_state = State::Closed;
        break;
    }
}

void LprSession::OnSubcommandLine()
{
    auto count = ParseDataFileSubcommand(m_line);
    if (!count) {
        Reject(count.Error());
        return;
    }
    if (*count > kMaxImageBytes - m_jobBytes) {
        Reject("a data file of " + std::to_string(*count) + " bytes takes the job past the limit of " +
               std::to_string(kMaxImageBytes) + " bytes");
        return;
    }
    m_fileNumber = ++m_context.lprFiles;
    Write(Line("lpr-subcommand")
              .Add("job", m_job)
              .Add("file", m_fileNumber)
              .Add("count", *count)
              .Add("bytes", Hex(m_line)));
    const LprStep step{LprStep::Kind::Subcommand, m_fileNumber};
    switch (Acknowledge(step)) {
    case Ack::Sent:
        m_file.clear();
        m_fileSize = *count;
        m_fileRemaining = *count;
        m_state = *count > 0 ? State::Data : State::Terminator;
        if (m_state == State::Data && m_imageJob)
            ByteFaultStruck();
        break;
    case Ack::Refused:
        m_stopReason = "refused at " + step.ToString();
        m_state = State::Rejected;
        break;
    case Ack::Closed:
        m_stopReason = "closed by the simulator at " + step.ToString();
        m_state = State::Closed;
        break;
    }
}

void LprSession::OnFileEnd(std::uint8_t terminator)
{
    if (terminator != wire::kLprEndOfFile) {
        Reject("data file " + std::to_string(m_fileNumber) + " ends in " + HexByte(terminator) + ", not 0x00");
        return;
    }
    Write(Line("lpr-data")
              .Add("job", m_job)
              .Add("file", m_fileNumber)
              .Add("size", m_file.size())
              .Add("head", Hex(m_file, kHeadBytes)));
    const LprStep step{LprStep::Kind::Data, m_fileNumber};
    switch (Acknowledge(step)) {
    case Ack::Sent:
        m_jobBytes += m_file.size();
        m_files.push_back(std::move(m_file));
        m_file.clear();
        m_state = State::Subcommand;
        break;
    case Ack::Refused:
        // A refused file is not part of the job, and the job goes no further.
        m_stopReason = "refused at " + step.ToString();
        m_state = State::Rejected;
        break;
    case Ack::Closed:
        // The file arrived whole before the simulator closed.
        m_jobBytes += m_file.size();
        m_files.push_back(std::move(m_file));
        m_file.clear();
        m_stopReason = "closed by the simulator at " + step.ToString();
        m_closedAfterFile = true;
        m_state = State::Closed;
        break;
    }
}

LprSession::Ack LprSession::Acknowledge(const LprStep& step)
{
    const TransportFaults& faults = m_context.options.faults;
    if (Contains(faults.lprClose, step)) {
        Write(Line("fault").Add("fault", "lpr-close").Add("step", step.ToString()));
        RequestClose();
        return Ack::Closed;
    }
    const bool refuse = Contains(faults.lprNack, step);
    const std::span<const std::uint8_t> ack = refuse ? std::span<const std::uint8_t>(kNack) : faults.lprAck;
    if (refuse)
        Write(Line("fault").Add("fault", "lpr-nack").Add("step", step.ToString()));
    Write(Line("lpr-ack").Add("step", step.ToString()).Add("bytes", Hex(ack)));
    Send(ack);
    return refuse ? Ack::Refused : Ack::Sent;
}

void LprSession::Reject(const std::string& reason)
{
    JsonObject line = Line("lpr-error");
    if (m_jobOpen)
        line.Add("job", m_job);
    Write(line.Add("bytes", Hex(m_line)).Add("reason", reason).Add("ack", Hex(kNack)));
    Send(kNack);
    m_stopReason = "refused: " + reason;
    m_state = State::Rejected;
    m_line.clear();
}

bool LprSession::ByteFaultStruck()
{
    const ImageByteFaults::Due due = m_byteFaults.DueNow();
    if (due == ImageByteFaults::Due::None)
        return false;
    const bool close = due == ImageByteFaults::Due::Close;
    Write(Line("fault")
              .Add("fault", close ? "close-after-bytes" : "stall-after-bytes")
              .Add("job", m_job)
              .Add("bytes", m_byteFaults.Taken()));
    m_stopReason = std::string(close ? "closed" : "stalled") + " by the simulator after " +
                   std::to_string(m_byteFaults.Taken()) + " image bytes";
    if (close) {
        RequestClose();
        m_state = State::Closed;
    } else {
        m_state = State::Stalled;
    }
    return true;
}

std::string LprSession::Incomplete(ConnectionEnd how) const
{
    switch (m_state) {
    case State::Rejected:
    case State::Stalled:
        return m_stopReason;
    case State::Closed:
        // An entry is complete with its last file; an image the simulator
        // cut off is not, wherever it cut.
        return m_closedAfterFile && !m_imageJob ? std::string() : m_stopReason;
    case State::Data:
        return "the connection ended after " + std::to_string(m_fileSize - m_fileRemaining) + " of " +
               std::to_string(m_fileSize) + " bytes of data file " + std::to_string(m_fileNumber);
    case State::Terminator:
        return "the connection ended before the zero byte of data file " + std::to_string(m_fileNumber);
    case State::Subcommand:
        if (!m_line.empty())
            return "the connection ended inside a subcommand";
        break;
    case State::Command:
        break;
    }
    if (how == ConnectionEnd::PeerReset)
        return "the connection was reset";
    if (how == ConnectionEnd::SimulatorStopped)
        return "the simulator stopped";
    return {};
}

void LprSession::End(ConnectionEnd how)
{
    if (!m_jobOpen) {
        if (!m_line.empty())
            Write(Line("lpr-error").Add("bytes", Hex(m_line)).Add("reason", "the connection ended inside the command"));
        return;
    }
    const std::string incomplete = Incomplete(how);
    if (!incomplete.empty()) {
        Write(Line("lpr-job")
                  .Add("job", m_job)
                  .Add("files", m_files.size())
                  .Add("bytes", m_jobBytes)
                  .Add("complete", false)
                  .Add("reason", incomplete));
        return;
    }
    Process();
}

void LprSession::Process()
{
    const AccessCode code = m_context.options.profile.accessCode;
    const EntryCheck entry = CheckAccessCodeSequence(m_files, code);
    // Three files that form an entry are one whatever the printer's state:
    // an installer may enter update mode again.
    const bool isEntry = entry || !m_imageJob;
    Write(Line("lpr-job")
              .Add("job", m_job)
              .Add("files", m_files.size())
              .Add("bytes", m_jobBytes)
              .Add("complete", true)
              .Add("as", isEntry ? "entry" : "image"));
    if (isEntry) {
        JsonObject line = Line("lpr-entry");
        line.Add("job", m_job).Add("valid", static_cast<bool>(entry));
        if (!entry)
            line.Add("reason", entry.Error());
        Write(line);
        if (entry)
            m_context.printer.EnterUpdateMode(EntryKind::AccessCodeSequence,
                                              "LPR, access code " + std::string(ToString(code)));
        return;
    }
    // A job without data files carries no image; the printer goes on waiting.
    if (m_files.empty())
        return;
    std::vector<std::uint8_t> image;
    image.reserve(static_cast<std::size_t>(m_jobBytes));
    for (const auto& file : m_files)
        image.insert(image.end(), file.begin(), file.end());
    m_context.printer.ReceiveImage(image);
}

} // namespace sim::server
