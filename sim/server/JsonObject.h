#pragma once
// One JSON object on one line, written member by member in call order.
//
// Texts are byte strings: what comes off the wire (a community, a status
// text) need not be UTF-8, and the record must stay valid JSON whatever
// arrives. Printable ASCII is written as it is; every other byte, and '"'
// and '\', is escaped, a byte b >= 0x80 as \u00bb. Each character of a
// decoded string therefore stands for one byte (U+0000 to U+00FF).

#include <concepts>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace sim::server {

class JsonObject {
public:
    JsonObject& Add(std::string_view key, std::string_view value);
    JsonObject& Add(std::string_view key, const char* value) { return Add(key, std::string_view(value)); }
    JsonObject& Add(std::string_view key, const std::string& value) { return Add(key, std::string_view(value)); }
    // null when there is no value.
    JsonObject& Add(std::string_view key, const std::optional<std::string>& value);
    JsonObject& Add(std::string_view key, bool value);
    template <std::integral T>
        requires(!std::same_as<T, bool>)
    JsonObject& Add(std::string_view key, T value)
    {
        return AddRaw(key, std::to_string(value));
    }
    JsonObject& Add(std::string_view key, std::span<const std::string> values);
    JsonObject& Add(std::string_view key, std::span<const std::uint16_t> values);

    // "{...}" without a line end.
    std::string Text() const { return "{" + m_members + "}"; }

    // `text` as a JSON string literal, quotes included.
    static std::string Quote(std::string_view text);

private:
    JsonObject& AddRaw(std::string_view key, std::string_view json);

    std::string m_members;
};

} // namespace sim::server
