#include "sim/server/JsonObject.h"

namespace sim::server {

std::string JsonObject::Quote(std::string_view text)
{
    static constexpr char kDigits[] = "0123456789abcdef";
    std::string quoted = "\"";
    quoted.reserve(text.size() + 2);
    for (char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        switch (byte) {
        case '"':
            quoted += "\\\"";
            break;
        case '\\':
            quoted += "\\\\";
            break;
        case '\n':
            quoted += "\\n";
            break;
        case '\r':
            quoted += "\\r";
            break;
        case '\t':
            quoted += "\\t";
            break;
        default:
            if (byte >= 0x20 && byte < 0x7F) {
                quoted += c;
            } else {
                quoted += "\\u00";
                quoted += kDigits[byte >> 4];
                quoted += kDigits[byte & 0x0F];
            }
        }
    }
    quoted += '"';
    return quoted;
}

JsonObject& JsonObject::AddRaw(std::string_view key, std::string_view json)
{
    if (!m_members.empty())
        m_members += ',';
    m_members += Quote(key);
    m_members += ':';
    m_members += json;
    return *this;
}

JsonObject& JsonObject::Add(std::string_view key, std::string_view value)
{
    return AddRaw(key, Quote(value));
}

JsonObject& JsonObject::Add(std::string_view key, const std::optional<std::string>& value)
{
    return value ? Add(key, std::string_view(*value)) : AddRaw(key, "null");
}

JsonObject& JsonObject::Add(std::string_view key, bool value)
{
    return AddRaw(key, value ? "true" : "false");
}

JsonObject& JsonObject::Add(std::string_view key, std::span<const std::string> values)
{
    std::string array = "[";
    for (const std::string& value : values) {
        if (array.size() > 1)
            array += ',';
        array += Quote(value);
    }
    array += ']';
    return AddRaw(key, array);
}

JsonObject& JsonObject::Add(std::string_view key, std::span<const std::uint16_t> values)
{
    std::string array = "[";
    for (std::uint16_t value : values) {
        if (array.size() > 1)
            array += ',';
        array += std::to_string(value);
    }
    array += ']';
    return AddRaw(key, array);
}

} // namespace sim::server
