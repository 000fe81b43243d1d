#pragma once
// Writing the printer's status text: items "KEY:VALUE;" and the status code
// in either of its two formats.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "sim/core/PrinterConfig.h"

namespace sim {

// The status code as the STATUS value: "%08X" for the word format; for the
// records format a record of type 2 (four characters) and then the record of
// type 1 with the code, so a reader must skip records by their length to
// find it.
std::string FormatStatusCode(StatusFormat format, std::uint32_t code);

// 120 as "1.20", 5 as "0.05"; only for versions >= 0.
std::string FormatVersion(int hundredths);

// Builds "KEY:VALUE;" item by item; a nullopt value leaves its item out.
class StatusTextBuilder {
public:
    StatusTextBuilder& Add(std::string_view key, const std::optional<std::string>& value);
    StatusTextBuilder& Add(const std::vector<std::pair<std::string, std::string>>& items);
    const std::string& Text() const { return m_text; }

private:
    std::string m_text;
};

} // namespace sim
