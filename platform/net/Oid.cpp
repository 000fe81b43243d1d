#include "platform/net/Oid.h"

#include <charconv>
#include <limits>

namespace platform::snmp {

std::optional<Oid> Oid::FromArcs(std::span<const std::uint32_t> arcs)
{
    if (arcs.size() < kMinArcs || arcs.size() > kMaxArcs)
        return std::nullopt;
    // The first two arcs travel as one sub-identifier, 40 * first + second;
    // under 0 and 1 the second must stay below 40 to be told apart.
    const std::uint32_t first = arcs[0];
    const std::uint32_t second = arcs[1];
    if (first > 2)
        return std::nullopt;
    if (first < 2 && second > 39)
        return std::nullopt;
    if (first == 2 && second > std::numeric_limits<std::uint32_t>::max() - 80)
        return std::nullopt;
    return Oid(std::vector<std::uint32_t>(arcs.begin(), arcs.end()));
}

std::optional<Oid> Oid::Parse(std::string_view text)
{
    if (text.starts_with('.'))
        text.remove_prefix(1);
    std::vector<std::uint32_t> arcs;
    while (true) {
        // Count the arcs as they come so a long text costs no more than
        // the cap allows.
        if (arcs.size() == kMaxArcs)
            return std::nullopt;
        std::size_t end = text.find('.');
        std::string_view digits = text.substr(0, end);
        if (digits.empty())
            return std::nullopt;
        std::uint32_t arc = 0;
        // from_chars takes no sign, blank or prefix; it must use every
        // character and stay within 32 bits.
        auto [next, error] = std::from_chars(digits.data(), digits.data() + digits.size(), arc);
        if (error != std::errc{} || next != digits.data() + digits.size())
            return std::nullopt;
        arcs.push_back(arc);
        if (end == std::string_view::npos)
            break;
        text.remove_prefix(end + 1);
    }
    return FromArcs(arcs);
}

std::string Oid::ToString() const
{
    std::string text;
    for (std::uint32_t arc : m_arcs) {
        text += '.';
        text += std::to_string(arc);
    }
    return text;
}

} // namespace platform::snmp
