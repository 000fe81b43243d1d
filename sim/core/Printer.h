#pragma once
// The simulated printer: its state and its replies, without any transport.
//
// A transport (SNMP agent, LPR or raw TCP server, USB endpoint, spooler
// port) turns what arrives on its wire into calls of this class and puts
// what it returns back on the wire:
//
//   - a status query       -> QueryStatus(); nullopt means: send no answer
//   - the update-mode entry -> EnterUpdateMode(kind), once the transport has
//                             checked the entry's bytes
//   - the image            -> ReceiveImage(bytes), the whole payload at once
//
// The installation advances by status queries, not by time: after an
// accepted image, `installPolls` queries are answered as "installing" and
// the next one reports the result. Tests therefore run without waiting, and
// a transport must pass every query on, including those it does not answer.
//
// All operations lock, so transports may call from several threads.

#include <cstdint>
#include <mutex>
#include <optional>
#include <span>
#include <string>

#include "sim/core/EventLog.h"
#include "sim/core/ImageCheck.h"
#include "sim/core/PrinterConfig.h"

namespace sim {

class Printer {
public:
    enum class Phase {
        Idle,          // answering as configured (or as installed by an earlier update)
        AwaitingImage, // update mode entered, the next image decides
        Installing,    // an image was accepted, counting polls
    };

    explicit Printer(PrinterConfig config);
    Printer(const Printer&) = delete;
    Printer& operator=(const Printer&) = delete;

    // One status query: counts a poll during an installation, then gives the
    // reply, or nullopt when the printer does not answer.
    std::optional<std::string> QueryStatus();

    // The reply QueryStatus would give now, without counting a poll or
    // logging: for transports that read the status in several exchanges.
    std::optional<std::string> PeekStatus() const;

    // The status code that STATUS carries now. Bit 31 (ready to receive
    // firmware) is set from an accepted entry until the image arrives and
    // clear while installing. A peer that reads a separate status word (the
    // controller library's) gets it from its transport, which can derive it
    // from this and GetPhase().
    std::uint32_t StatusCode() const;

    // The transport recognised an update-mode entry. True when the printer
    // takes it and waits for an image; false when it refuses (not ready,
    // refusing entries, or busy installing).
    bool EnterUpdateMode(EntryKind kind, std::string detail = {});

    // The whole image as received. Accepted starts the installation; any
    // other verdict leaves the printer as it was, out of update mode.
    ImageVerdict ReceiveImage(std::span<const std::uint8_t> image);

    Phase GetPhase() const;
    EventLog Log() const;
    const PrinterConfig& Config() const { return m_config; }

private:
    // What the printer reports outside an installation.
    struct Identity {
        std::optional<std::string> model;
        std::optional<std::string> version;
        std::optional<std::string> mode;
    };

    std::optional<std::string> ReplyLocked() const;
    std::uint32_t StatusCodeLocked() const;
    void EndInstallationLocked(int poll);

    const PrinterConfig m_config;
    mutable std::mutex m_mutex;
    Identity m_identity;
    Phase m_phase = Phase::Idle;
    int m_nInstallPolls = 0;
    int m_nPendingVersion = -1; // hundredths, from the accepted image's header
    EventLog m_log;
};

} // namespace sim
