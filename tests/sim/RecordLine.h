#pragma once
// One line of printer-sim's record, read strictly: a flat JSON object whose
// values are strings, numbers, true, false, null or arrays of those. A line
// that is anything else does not parse, so the tests also check that the
// simulator writes valid JSON.

#include <cstdint>
#include <map>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace simtest {

class RecordLine {
public:
    static std::optional<RecordLine> Parse(std::string_view text)
    {
        RecordLine line;
        line.m_text = text;
        Reader reader{text};
        if (!reader.Object(line.m_values) || !reader.AtEnd())
            return std::nullopt;
        return line;
    }

    const std::string& Text() const { return m_text; }
    bool Has(const std::string& key) const { return m_values.count(key) != 0; }

    // A string's decoded text, or the literal as written (12, true, null).
    // Throws for a missing key, so a test fails with the line in its message.
    const std::string& Get(const std::string& key) const
    {
        auto found = m_values.find(key);
        if (found == m_values.end() || found->second.size() != 1)
            throw std::out_of_range("no value \"" + key + "\" in " + m_text);
        return found->second.front();
    }
    // An array's elements.
    const std::vector<std::string>& List(const std::string& key) const
    {
        auto found = m_values.find(key);
        if (found == m_values.end())
            throw std::out_of_range("no array \"" + key + "\" in " + m_text);
        return found->second;
    }
    std::int64_t Int(const std::string& key) const { return std::stoll(Get(key)); }
    bool True(const std::string& key) const { return Get(key) == "true"; }
    const std::string& Event() const { return Get("event"); }

private:
    // A scalar is kept as a list of one, an array as its elements.
    using Values = std::map<std::string, std::vector<std::string>>;

    struct Reader {
        std::string_view text;
        std::size_t pos = 0;

        bool AtEnd() const { return pos == text.size(); }
        bool Take(char c)
        {
            if (pos < text.size() && text[pos] == c) {
                ++pos;
                return true;
            }
            return false;
        }
        bool Object(Values& values)
        {
            if (!Take('{'))
                return false;
            if (Take('}'))
                return true;
            do {
                std::string key;
                if (!String(key) || !Take(':') || values.count(key))
                    return false;
                std::vector<std::string>& value = values[key];
                if (Take('[')) {
                    if (Take(']'))
                        continue;
                    do {
                        value.emplace_back();
                        if (!Scalar(value.back()))
                            return false;
                    } while (Take(','));
                    if (!Take(']'))
                        return false;
                } else {
                    value.emplace_back();
                    if (!Scalar(value.back()))
                        return false;
                }
            } while (Take(','));
            return Take('}');
        }
        bool Scalar(std::string& out)
        {
            if (pos < text.size() && text[pos] == '"')
                return String(out);
            for (std::string_view literal : {"true", "false", "null"}) {
                if (text.substr(pos, literal.size()) == literal) {
                    out = literal;
                    pos += literal.size();
                    return true;
                }
            }
            const std::size_t start = pos;
            Take('-');
            while (pos < text.size() && text[pos] >= '0' && text[pos] <= '9')
                ++pos;
            out = text.substr(start, pos - start);
            return !out.empty() && out != "-";
        }
        bool String(std::string& out)
        {
            if (!Take('"'))
                return false;
            while (pos < text.size()) {
                const char c = text[pos++];
                if (c == '"')
                    return true;
                if (static_cast<unsigned char>(c) < 0x20)
                    return false;
                if (c != '\\') {
                    out += c;
                    continue;
                }
                if (pos >= text.size())
                    return false;
                switch (text[pos++]) {
                case '"': out += '"'; break;
                case '\\': out += '\\'; break;
                case '/': out += '/'; break;
                case 'n': out += '\n'; break;
                case 'r': out += '\r'; break;
                case 't': out += '\t'; break;
                case 'u': {
                    if (pos + 4 > text.size())
                        return false;
                    const unsigned code = std::stoul(std::string(text.substr(pos, 4)), nullptr, 16);
                    pos += 4;
                    // The record writes one byte per character.
                    if (code > 0xFF)
                        return false;
                    out += static_cast<char>(code);
                    break;
                }
                default:
                    return false;
                }
            }
            return false;
        }
    };

    std::string m_text;
    Values m_values;
};

} // namespace simtest
