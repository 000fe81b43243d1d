// Arbitrary bytes as what a peer sends to printer-sim's TCP ports (LPD in
// both of its modes, the boot frame, the raw image stream), cut into reads
// the way the server makes them, and as an SNMP datagram to its agent. The
// sessions must stay inside the bytes, take no more than they ask for, and
// answer LPR with nothing but one-byte acknowledgements 00 or 01.
//
// The first byte chooses the port and the faults; the second the size of
// the reads.
#include <netinet/in.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>

#include "sim/core/Printer.h"
#include "sim/server/BootFrameSession.h"
#include "sim/server/LprSession.h"
#include "sim/server/RawImageSession.h"
#include "sim/server/Recorder.h"
#include "sim/server/SnmpResponder.h"

using namespace sim::server;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < 2)
        return 0;
    const std::uint8_t choice = data[0];
    const std::size_t readSize = std::size_t{data[1]} + 1;
    const std::span<const std::uint8_t> bytes(data + 2, size - 2);

    SimOptions options;
    options.profile = *FindPortProfile((choice & 0x10) ? "Ethernet2" : "Ethernet1");
    if (choice & 0x20)
        options.faults.closeAfterBytes = 100;
    if (choice & 0x40)
        options.faults.stallAfterBytes = 50;
    if (choice & 0x80) {
        options.faults.lprNack.push_back({LprStep::Kind::Data, 2});
        options.faults.lprClose.push_back({LprStep::Kind::Subcommand, 3});
    }
    sim::Printer printer(options.printer);
    Recorder recorder;
    SimContext context{printer, recorder, options};

    std::unique_ptr<Session> session;
    switch (choice & 0x07) {
    case 0:
        session = std::make_unique<LprSession>(context, 1);
        break;
    case 1:
        // The printer waits for an image, so the job is one.
        printer.EnterUpdateMode(sim::EntryKind::BootFrame);
        session = std::make_unique<LprSession>(context, 1);
        break;
    case 2:
        session = std::make_unique<BootFrameSession>(context, 1, 9101);
        break;
    case 3:
        printer.EnterUpdateMode(sim::EntryKind::BootFrame);
        session = std::make_unique<RawImageSession>(context, 1);
        break;
    default: {
        SnmpResponder responder(context);
        (void)responder.Answer(bytes, sockaddr_in{});
        return 0;
    }
    }
    const bool lpr = (choice & 0x07) <= 1;

    std::size_t at = 0;
    while (at < bytes.size() && !session->CloseRequested()) {
        const std::size_t limit = session->ReadLimit();
        if (limit == 0)
            break;
        const std::size_t take = std::min({readSize, limit, bytes.size() - at});
        session->Receive(bytes.subspan(at, take));
        at += take;
        for (std::uint8_t answer : session->Output()) {
            if (lpr && answer != 0x00 && answer != 0x01)
                __builtin_trap();
        }
        session->Output().clear();
    }
    session->End(session->CloseRequested() ? ConnectionEnd::ClosedBySimulator : ConnectionEnd::PeerClosed);
    return 0;
}
