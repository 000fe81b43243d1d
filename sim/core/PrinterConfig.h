#pragma once
// What the simulated printer is and how it misbehaves. A transport builds one
// of these (from its command line, a test, a port-type profile) and hands it
// to a Printer; nothing here knows how the printer is reached.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "sim/core/Sha256.h"

namespace sim {

// How the status code is written inside STATUS; which one a printer uses
// follows from the port type it is reached through.
enum class StatusFormat {
    Word,    // eight hexadecimal characters
    Records, // hexadecimal type-length-value records, the code in record type 1
};

// How the printer answers a status query while it installs an image. All
// three are answers the installer must keep waiting through.
enum class InstallReply {
    Silent,                 // no answer at all
    WithoutModelAndVersion, // an answer that lacks MDL and VER
    IplMode,                // MODE "IPL", still with the old version
};

// How an installation ends.
enum class Completion {
    NewVersion, // the image's version, in a mode other than "IPL": success
    NeverEnds,  // goes on answering as while installing
    OldVersion, // leaves the boot mode with the version it had (a failed flash)
};

// The ways into the firmware-receive mode; each transport checks its own
// bytes and reports the kind it recognised.
enum class EntryKind {
    AccessCodeSequence, // access-code message, "PIPE MONITOR", boot packet (LPR, USB)
    BootFrame,          // the 25-byte boot frame (TCP 9101 or 9500)
    ModeRequest,        // the controller library's mode request 1
};

struct Faults {
    // Answers no status query at all, before, during or after an update.
    bool silent = false;
    // Status code bit 31 clear and MODE not "IPL", so it is not ready to
    // receive firmware; it also refuses the update-mode entry.
    bool notReady = false;
    // Ignores every update-mode entry, so it never takes an image (a mode
    // request then never sees bit 31).
    bool refuseEntry = false;
    // Answers every status query with exactly this text: an empty text, one
    // without any ":", one cut short.
    std::optional<std::string> rawReply;
    // The MDL it reports once an installation has ended.
    std::optional<std::string> modelAfterInstall;
    Completion completion = Completion::NewVersion;
};

struct PrinterConfig {
    // MDL, VER and MODE as reported; nullopt leaves the key out of the reply.
    std::optional<std::string> model = "KX-70";
    std::optional<std::string> version = "1.10";
    std::optional<std::string> mode = "NORMAL";

    StatusFormat statusFormat = StatusFormat::Records;
    // Bit 31 set: ready to receive firmware.
    std::uint32_t statusCode = 0x80000000u;

    // The model code an image header must carry to be installed.
    int modelCode = 70168;
    // When set, an image is installed only when its bytes hash to this: the
    // check that the transport delivered the payload unchanged.
    std::optional<Sha256Digest> expectedImage;

    // Status queries answered as "installing" after an image was accepted;
    // the next one reports the result. Negative counts as 0.
    int installPolls = 3;
    InstallReply installReply = InstallReply::IplMode;

    // Items a real printer sends besides the four the installer reads; they
    // come first, in this order.
    std::vector<std::pair<std::string, std::string>> otherItems = {{"MFG", "Corvex"}, {"CLS", "PRINTER"}};

    Faults faults;
};

} // namespace sim
