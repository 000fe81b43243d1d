#pragma once
// Just enough JSON for tallowctl's one result object. Output is ASCII: text
// outside it is written as \u escapes, so the object is valid UTF-8 whatever
// the process locale, and printer-supplied text cannot break its syntax.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

class JsonObject {
public:
    JsonObject& Text(std::string_view key, std::string_view value);
    JsonObject& Text(std::string_view key, std::wstring_view value);
    JsonObject& Number(std::string_view key, std::int64_t value);
    JsonObject& Null(std::string_view key);
    JsonObject& Object(std::string_view key, const JsonObject& value);

    // Null when the value is absent.
    JsonObject& OptionalText(std::string_view key, const std::optional<std::wstring>& value);

    std::string Str() const { return "{" + m_members + "}"; }

private:
    void Key(std::string_view key);

    std::string m_members;
};

// `text` as a quoted JSON string.
std::string JsonQuote(std::wstring_view text);
