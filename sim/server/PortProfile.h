#pragma once
// What the port type the simulator plays decides: the STATUS format, how
// the printer is put into update mode and which TCP ports it serves.

#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

#include "sim/core/PrinterConfig.h"

namespace sim::server {

enum class AccessCode { A, B };

struct PortProfile {
    std::string_view name; // "Ethernet1"
    StatusFormat statusFormat = StatusFormat::Records;
    // LPR printers take the access-code sequence on 515; the others the boot
    // frame on `bootFramePort` and the image on 9100.
    bool lpr = false;
    AccessCode accessCode = AccessCode::A; // LPR only
    std::uint16_t bootFramePort = 0;       // Vanta 9101, Quill 9500; 0 for LPR

    // The TCP ports this printer serves, in the order they are opened.
    std::vector<std::uint16_t> TcpPorts() const;
};

// "Ethernet1" to "Ethernet4", in any mix of letter case; nothing for any
// other name (the simulator plays network printers only).
std::optional<PortProfile> FindPortProfile(std::string_view name);

std::string_view ToString(AccessCode code);

} // namespace sim::server
