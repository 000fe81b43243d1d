#pragma once
// SNMP object identifiers and their dotted text.

#include <compare>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace platform::snmp {

// A valid object identifier: 2 to 128 arcs, each within 32 bits, the first
// two as X.690 allows them to share the first sub-identifier (first arc 0,
// 1 or 2; second at most 39 under 0 and 1; 40 * first + second within
// 32 bits). Only valid ones exist, so every Oid encodes.
class Oid {
public:
    static constexpr std::size_t kMinArcs = 2;
    static constexpr std::size_t kMaxArcs = 128;

    // 0.0, the null identifier.
    Oid() : m_arcs{0, 0} {}

    static std::optional<Oid> FromArcs(std::span<const std::uint32_t> arcs);

    // ".1.3.6.1.4.1.32473.2.2.2.1.24.1" or the same without the leading dot.
    // Nothing for any other text: empty arcs, signs, blanks, an arc beyond
    // 32 bits, too few or too many arcs, or first arcs X.690 does not allow.
    static std::optional<Oid> Parse(std::string_view text);

    // Dotted decimal with a leading dot, as Parse reads it back.
    std::string ToString() const;

    const std::vector<std::uint32_t>& Arcs() const { return m_arcs; }

    bool operator==(const Oid&) const = default;
    auto operator<=>(const Oid&) const = default;

private:
    explicit Oid(std::vector<std::uint32_t> arcs) : m_arcs(std::move(arcs)) {}

    std::vector<std::uint32_t> m_arcs;
};

} // namespace platform::snmp
