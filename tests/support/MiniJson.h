#pragma once
// A strict little JSON reader for tests: enough to parse what a program
// printed and ask it for fields, and to fail on anything that is not exactly
// one well-formed JSON value (trailing text included).
//
//   std::optional<testsupport::Json> json = testsupport::ParseJson(text);
//   json->At("checks").At("printer").String()

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace testsupport {

class Json {
public:
    using Object = std::map<std::string, Json>;
    using Array = std::vector<Json>;
    using Value = std::variant<std::nullptr_t, bool, double, std::string, Array, Object>;

    Json() = default;
    explicit Json(Value value) : m_value(std::make_shared<Value>(std::move(value))) {}

    bool IsNull() const { return std::holds_alternative<std::nullptr_t>(*m_value); }
    bool Has(const std::string& key) const
    {
        const Object* object = std::get_if<Object>(m_value.get());
        return object && object->count(key) != 0;
    }
    // Throws when the value is of another kind or the key is missing, so a
    // test fails with a message instead of reading garbage.
    const Json& At(const std::string& key) const
    {
        const Object& object = std::get<Object>(*m_value);
        auto found = object.find(key);
        if (found == object.end())
            throw std::out_of_range("no key " + key);
        return found->second;
    }
    const std::string& String() const { return std::get<std::string>(*m_value); }
    double Number() const { return std::get<double>(*m_value); }
    const Object& Members() const { return std::get<Object>(*m_value); }

private:
    std::shared_ptr<Value> m_value = std::make_shared<Value>(nullptr);
};

namespace detail {

class JsonReader {
public:
    explicit JsonReader(std::string_view text) : m_text(text) {}

    std::optional<Json> Document()
    {
        std::optional<Json> value = ReadValue();
        SkipSpace();
        if (!value || m_pos != m_text.size())
            return std::nullopt;
        return value;
    }

private:
    void SkipSpace()
    {
        while (m_pos < m_text.size() && (m_text[m_pos] == ' ' || m_text[m_pos] == '\t' || m_text[m_pos] == '\n' ||
                                         m_text[m_pos] == '\r'))
            ++m_pos;
    }

    bool Take(char c)
    {
        SkipSpace();
        if (m_pos < m_text.size() && m_text[m_pos] == c) {
            ++m_pos;
            return true;
        }
        return false;
    }

    bool TakeWord(std::string_view word)
    {
        if (m_text.substr(m_pos, word.size()) != word)
            return false;
        m_pos += word.size();
        return true;
    }

    std::optional<Json> ReadValue()
    {
        if (++m_depth > 64)
            return std::nullopt;
        std::optional<Json> value = ReadValueBody();
        --m_depth;
        return value;
    }

    std::optional<Json> ReadValueBody()
    {
        SkipSpace();
        if (m_pos >= m_text.size())
            return std::nullopt;
        const char c = m_text[m_pos];
        if (c == '{')
            return ReadObject();
        if (c == '[')
            return ReadArray();
        if (c == '"') {
            std::optional<std::string> text = ReadString();
            return text ? std::optional<Json>(Json(*text)) : std::nullopt;
        }
        if (TakeWord("null"))
            return Json(nullptr);
        if (TakeWord("true"))
            return Json(true);
        if (TakeWord("false"))
            return Json(false);
        return ReadNumber();
    }

    std::optional<Json> ReadObject()
    {
        ++m_pos;
        Json::Object object;
        if (Take('}'))
            return Json(std::move(object));
        do {
            SkipSpace();
            std::optional<std::string> key = ReadString();
            if (!key || !Take(':'))
                return std::nullopt;
            std::optional<Json> value = ReadValue();
            if (!value || !object.emplace(*key, *value).second)
                return std::nullopt; // a repeated key is a fault of the writer
        } while (Take(','));
        if (!Take('}'))
            return std::nullopt;
        return Json(std::move(object));
    }

    std::optional<Json> ReadArray()
    {
        ++m_pos;
        Json::Array array;
        if (Take(']'))
            return Json(std::move(array));
        do {
            std::optional<Json> value = ReadValue();
            if (!value)
                return std::nullopt;
            array.push_back(*value);
        } while (Take(','));
        if (!Take(']'))
            return std::nullopt;
        return Json(std::move(array));
    }

    std::optional<std::string> ReadString()
    {
        if (m_pos >= m_text.size() || m_text[m_pos] != '"')
            return std::nullopt;
        ++m_pos;
        std::string out;
        while (m_pos < m_text.size()) {
            const char c = m_text[m_pos++];
            if (c == '"')
                return out;
            if (static_cast<unsigned char>(c) < 0x20)
                return std::nullopt;
            if (c != '\\') {
                out += c;
                continue;
            }
            if (m_pos >= m_text.size())
                return std::nullopt;
            const char escape = m_text[m_pos++];
            switch (escape) {
            case '"': out += '"'; break;
            case '\\': out += '\\'; break;
            case '/': out += '/'; break;
            case 'b': out += '\b'; break;
            case 'f': out += '\f'; break;
            case 'n': out += '\n'; break;
            case 'r': out += '\r'; break;
            case 't': out += '\t'; break;
            case 'u': {
                std::optional<std::uint32_t> unit = ReadHex4();
                if (!unit)
                    return std::nullopt;
                std::uint32_t code = *unit;
                if (code >= 0xD800 && code < 0xDC00) {
                    if (!TakeWord("\\u"))
                        return std::nullopt;
                    std::optional<std::uint32_t> low = ReadHex4();
                    if (!low || *low < 0xDC00 || *low >= 0xE000)
                        return std::nullopt;
                    code = 0x10000 + ((code - 0xD800) << 10) + (*low - 0xDC00);
                }
                AppendUtf8(out, code);
                break;
            }
            default:
                return std::nullopt;
            }
        }
        return std::nullopt;
    }

    std::optional<std::uint32_t> ReadHex4()
    {
        if (m_pos + 4 > m_text.size())
            return std::nullopt;
        std::uint32_t value = 0;
        for (int i = 0; i < 4; ++i) {
            const char c = m_text[m_pos++];
            value <<= 4;
            if (c >= '0' && c <= '9')
                value |= static_cast<std::uint32_t>(c - '0');
            else if (c >= 'a' && c <= 'f')
                value |= static_cast<std::uint32_t>(c - 'a' + 10);
            else if (c >= 'A' && c <= 'F')
                value |= static_cast<std::uint32_t>(c - 'A' + 10);
            else
                return std::nullopt;
        }
        return value;
    }

    static void AppendUtf8(std::string& out, std::uint32_t code)
    {
        if (code < 0x80) {
            out += static_cast<char>(code);
        } else if (code < 0x800) {
            out += static_cast<char>(0xC0 | (code >> 6));
            out += static_cast<char>(0x80 | (code & 0x3F));
        } else if (code < 0x10000) {
            out += static_cast<char>(0xE0 | (code >> 12));
            out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (code & 0x3F));
        } else {
            out += static_cast<char>(0xF0 | (code >> 18));
            out += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
            out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (code & 0x3F));
        }
    }

    std::optional<Json> ReadNumber()
    {
        const std::size_t start = m_pos;
        if (m_pos < m_text.size() && m_text[m_pos] == '-')
            ++m_pos;
        const std::size_t digits = m_pos;
        while (m_pos < m_text.size() && m_text[m_pos] >= '0' && m_text[m_pos] <= '9')
            ++m_pos;
        if (m_pos == digits || (m_text[digits] == '0' && m_pos - digits > 1))
            return std::nullopt;
        if (m_pos < m_text.size() && m_text[m_pos] == '.') {
            const std::size_t fraction = ++m_pos;
            while (m_pos < m_text.size() && m_text[m_pos] >= '0' && m_text[m_pos] <= '9')
                ++m_pos;
            if (m_pos == fraction)
                return std::nullopt;
        }
        if (m_pos < m_text.size() && (m_text[m_pos] == 'e' || m_text[m_pos] == 'E')) {
            ++m_pos;
            if (m_pos < m_text.size() && (m_text[m_pos] == '+' || m_text[m_pos] == '-'))
                ++m_pos;
            const std::size_t exponent = m_pos;
            while (m_pos < m_text.size() && m_text[m_pos] >= '0' && m_text[m_pos] <= '9')
                ++m_pos;
            if (m_pos == exponent)
                return std::nullopt;
        }
        return Json(std::stod(std::string(m_text.substr(start, m_pos - start))));
    }

    std::string_view m_text;
    std::size_t m_pos = 0;
    int m_depth = 0;
};

} // namespace detail

// Exactly one JSON value, surrounded by nothing but white space.
inline std::optional<Json> ParseJson(std::string_view text)
{
    return detail::JsonReader(text).Document();
}

} // namespace testsupport
