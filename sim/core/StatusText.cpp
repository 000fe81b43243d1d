#include "sim/core/StatusText.h"

#include <cstdio>

namespace sim {
namespace {

constexpr std::uint32_t kCodeRecordType = 0x01;
constexpr std::uint32_t kCodeLength = 8;
// The record ahead of the code; its value means nothing to the installer.
constexpr std::uint32_t kPanelRecordType = 0x02;
constexpr char kPanelRecordValue[] = "0000";
static_assert(sizeof kPanelRecordValue - 1 == 4);

std::string Record(std::uint32_t type, std::string_view value)
{
    char head[5];
    std::snprintf(head, sizeof head, "%02X%02X", static_cast<unsigned>(type), static_cast<unsigned>(value.size()));
    return std::string(head) + std::string(value);
}

} // namespace

std::string FormatStatusCode(StatusFormat format, std::uint32_t code)
{
    char word[kCodeLength + 1];
    std::snprintf(word, sizeof word, "%08X", static_cast<unsigned>(code));
    if (format == StatusFormat::Word)
        return word;
    return Record(kPanelRecordType, kPanelRecordValue) + Record(kCodeRecordType, word);
}

std::string FormatVersion(int hundredths)
{
    char text[32];
    std::snprintf(text, sizeof text, "%d.%02d", hundredths / 100, hundredths % 100);
    return text;
}

StatusTextBuilder& StatusTextBuilder::Add(std::string_view key, const std::optional<std::string>& value)
{
    if (value) {
        m_text += key;
        m_text += ':';
        m_text += *value;
        m_text += ';';
    }
    return *this;
}

StatusTextBuilder& StatusTextBuilder::Add(const std::vector<std::pair<std::string, std::string>>& items)
{
    for (const auto& [key, value] : items)
        Add(key, value);
    return *this;
}

} // namespace sim
