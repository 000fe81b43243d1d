#include "sim/server/PortProfile.h"

#include <array>

#include "ports/Wire.h"

namespace sim::server {
namespace {

const std::array<PortProfile, 4> kProfiles = {{
    {"Ethernet1", StatusFormat::Word, true, AccessCode::A, 0},
    {"Ethernet2", StatusFormat::Records, true, AccessCode::B, 0},
    {"Ethernet3", StatusFormat::Records, false, AccessCode::A, wire::kVantaBootPort},
    {"Ethernet4", StatusFormat::Records, false, AccessCode::A, wire::kQuillBootPort},
}};

bool EqualIgnoringCase(std::string_view a, std::string_view b)
{
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        auto lower = [](char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; };
        if (lower(a[i]) != lower(b[i]))
            return false;
    }
    return true;
}

} // namespace

std::vector<std::uint16_t> PortProfile::TcpPorts() const
{
    if (lpr)
        return {wire::kLprDefaultPort};
    return {bootFramePort, wire::kImagePort};
}

std::optional<PortProfile> FindPortProfile(std::string_view name)
{
    for (const PortProfile& profile : kProfiles) {
        if (EqualIgnoringCase(profile.name, name))
            return profile;
    }
    return std::nullopt;
}

std::string_view ToString(AccessCode code)
{
    return code == AccessCode::A ? "A" : "B";
}

} // namespace sim::server
