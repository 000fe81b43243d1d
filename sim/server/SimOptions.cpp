#include "sim/server/SimOptions.h"

#include <algorithm>
#include <charconv>

namespace sim::server {

std::string LprStep::ToString() const
{
    const char* name = kind == Kind::Job ? "job" : kind == Kind::Subcommand ? "subcommand" : "data";
    return std::string(name) + ":" + std::to_string(number);
}

std::optional<LprStep> ParseLprStep(std::string_view text)
{
    const std::size_t colon = text.find(':');
    const std::string_view name = text.substr(0, colon);
    LprStep step;
    if (name == "job")
        step.kind = LprStep::Kind::Job;
    else if (name == "subcommand")
        step.kind = LprStep::Kind::Subcommand;
    else if (name == "data")
        step.kind = LprStep::Kind::Data;
    else
        return std::nullopt;
    if (colon == std::string_view::npos)
        return step;
    const std::string_view number = text.substr(colon + 1);
    const char* end = number.data() + number.size();
    auto [last, error] = std::from_chars(number.data(), end, step.number);
    if (number.empty() || error != std::errc() || last != end || step.number == 0)
        return std::nullopt;
    return step;
}

bool TransportFaults::Refuses(std::uint16_t port) const
{
    return std::find(refusedPorts.begin(), refusedPorts.end(), port) != refusedPorts.end();
}

} // namespace sim::server
