#pragma once
// The printer's line printer daemon, one connection: the receive-job command
// exactly as the installer sends it, data-file subcommands, the data and the
// zero byte that ends each file, each answered with a one-byte
// acknowledgement (or what a fault asks for).
//
// A job is judged when its connection ends. Three data files that form the
// access-code sequence are an update-mode entry; a job that started while the
// printer waited for an image is the image (its data files in order). A job
// cut short (the peer left inside a file, a refusal, a fault that closed or
// stalled it) is dropped: the printer never sees part of an image. Anything
// malformed is answered with 0x01 and recorded; the rest of the connection is
// then read and ignored until the peer closes it.

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "sim/server/ImageByteFaults.h"
#include "sim/server/Session.h"

namespace sim::server {

class LprSession : public Session {
public:
    LprSession(SimContext& context, std::uint64_t connection);

    void Receive(std::span<const std::uint8_t> bytes) override;
    void End(ConnectionEnd how) override;
    std::size_t ReadLimit() const override;

private:
    enum class State {
        Command,    // before the receive-job command
        Subcommand, // between data files
        Data,       // inside a data file
        Terminator, // the zero byte after a data file is due
        Rejected,   // refused: the rest is ignored
        Closed,     // closed by a fault
        Stalled,    // not read any more (--stall-after-bytes)
    };
    enum class Ack { Sent, Refused, Closed };

    void OnCommandLine();
    void OnSubcommandLine();
    void OnFileEnd(std::uint8_t terminator);
    // The acknowledgement at `step`: positive, or what a fault asks for.
    Ack Acknowledge(const LprStep& step);
    // Answers 0x01 and ignores the rest of the connection.
    void Reject(const std::string& reason);
    // Applies --close-after-bytes / --stall-after-bytes once the job's image
    // bytes reach them; true when one struck.
    bool ByteFaultStruck();
    // Why the job cannot be handed on; empty when it is complete.
    std::string Incomplete(ConnectionEnd how) const;
    void Process();

    State m_state = State::Command;
    std::vector<std::uint8_t> m_line;

    bool m_jobOpen = false;
    std::uint64_t m_job = 0;
    bool m_imageJob = false; // started while the printer waited for an image
    std::vector<std::vector<std::uint8_t>> m_files;
    std::uint64_t m_jobBytes = 0;

    std::vector<std::uint8_t> m_file;
    std::uint64_t m_fileNumber = 0; // over the run
    std::uint64_t m_fileSize = 0;
    std::uint64_t m_fileRemaining = 0;

    ImageByteFaults m_byteFaults;
    std::string m_stopReason; // why the job stopped early, when it did
    bool m_closedAfterFile = false;
};

} // namespace sim::server
