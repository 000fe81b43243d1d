#include "cli/Json.h"

#include <cstdio>

namespace {

void AppendEscape(std::string& out, unsigned unit)
{
    char buffer[8];
    std::snprintf(buffer, sizeof buffer, "\\u%04x", unit & 0xFFFFu);
    out += buffer;
}

} // namespace

std::string JsonQuote(std::wstring_view text)
{
    std::string out = "\"";
    for (wchar_t ch : text) {
        const auto code = static_cast<std::uint32_t>(ch);
        switch (code) {
        case '"': out += "\\\""; break;
        case '\\': out += "\\\\"; break;
        case '\n': out += "\\n"; break;
        case '\r': out += "\\r"; break;
        case '\t': out += "\\t"; break;
        default:
            if (code < 0x20 || (code >= 0x7F && code < 0x10000)) {
                AppendEscape(out, code);
            } else if (code >= 0x10000 && code <= 0x10FFFF) {
                const std::uint32_t v = code - 0x10000;
                AppendEscape(out, 0xD800 + (v >> 10));
                AppendEscape(out, 0xDC00 + (v & 0x3FF));
            } else if (code > 0x10FFFF) {
                AppendEscape(out, 0xFFFD);
            } else {
                out += static_cast<char>(code);
            }
        }
    }
    out += '"';
    return out;
}

void JsonObject::Key(std::string_view key)
{
    if (!m_members.empty())
        m_members += ',';
    std::wstring wide;
    for (char ch : key)
        wide += static_cast<wchar_t>(static_cast<unsigned char>(ch));
    m_members += JsonQuote(wide);
    m_members += ':';
}

JsonObject& JsonObject::Text(std::string_view key, std::string_view value)
{
    // Narrow values are the program's own ASCII words and numbers.
    std::wstring wide;
    for (char ch : value)
        wide += static_cast<wchar_t>(static_cast<unsigned char>(ch));
    return Text(key, std::wstring_view(wide));
}

JsonObject& JsonObject::Text(std::string_view key, std::wstring_view value)
{
    Key(key);
    m_members += JsonQuote(value);
    return *this;
}

JsonObject& JsonObject::Number(std::string_view key, std::int64_t value)
{
    Key(key);
    m_members += std::to_string(value);
    return *this;
}

JsonObject& JsonObject::Null(std::string_view key)
{
    Key(key);
    m_members += "null";
    return *this;
}

JsonObject& JsonObject::Object(std::string_view key, const JsonObject& value)
{
    Key(key);
    m_members += value.Str();
    return *this;
}

JsonObject& JsonObject::OptionalText(std::string_view key, const std::optional<std::wstring>& value)
{
    return value ? Text(key, std::wstring_view(*value)) : Null(key);
}
