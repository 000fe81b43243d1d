#include "update/StatusReply.h"

#include "platform/text/Crt.h"
#include "platform/text/Format.h"
#include "platform/text/Text.h"

#include <cstdint>
#include <cstring>

namespace {

// The substring rule the grammar is written in: a start below 0 counts as 0,
// a negative count as 0, and a range past the end stops at the end. Positions
// are 64-bit so that sums of positions and lengths cannot overflow.
std::wstring Mid(std::wstring_view text, std::int64_t start, std::int64_t count)
{
    const auto length = static_cast<std::int64_t>(text.size());
    if (start < 0)
        start = 0;
    if (count < 0 || start >= length)
        return {};
    if (count > length - start)
        count = length - start;
    return std::wstring(text.substr(static_cast<std::size_t>(start), static_cast<std::size_t>(count)));
}

// Index of the first `c` at or after `from`, or `notFound`.
std::int64_t Find(std::wstring_view text, wchar_t c, std::int64_t from, std::int64_t notFound)
{
    std::size_t at = text.find(c, static_cast<std::size_t>(from));
    return at == std::wstring_view::npos ? notFound : static_cast<std::int64_t>(at);
}

// One two-character hexadecimal field of a status record, read as wcstol
// reads it: leading blanks and a sign are taken, and no digits read as 0.
std::int32_t HexField(std::wstring_view value, std::int64_t pos)
{
    return platform::Wcstol(Mid(value, pos, 2).c_str(), 16);
}

// The value of record type 1 in a run of "TTLL<value>" records; nullopt when
// there is none.
std::optional<std::wstring> FindRecordCode(std::wstring_view value)
{
    constexpr std::int64_t kHeaderLength = 4;
    const auto length = static_cast<std::int64_t>(value.size());
    std::int64_t pos = 0;
    do {
        const std::int32_t type = HexField(value, pos);
        const std::int32_t recordLength = HexField(value, pos + 2);
        if (type == 1)
            return Mid(value, pos + kHeaderLength, recordLength);
        // A length that reads negative ("-4", "-F") would move the scan
        // backwards, or not at all, for ever: the records are malformed and
        // yield no code.
        if (recordLength < 0)
            return std::nullopt;
        pos += recordLength + kHeaderLength;
    } while (pos < length);
    return std::nullopt;
}

} // namespace

bool CStatusReply::Parse(std::wstring_view text)
{
    m_mapValues.clear();
    const auto length = static_cast<std::int64_t>(text.size());
    std::int64_t pos = 0;
    while (pos < length) {
        // Both separators are searched from the item's start. An item
        // without ":" therefore takes its key up to a later item's ":" (or,
        // with none after it, files the text from the reply's start to the
        // item's end under the empty key). Well-formed items are unaffected,
        // and the checks read only the keys that well-formed items carry.
        const std::int64_t colon = Find(text, L':', pos, -1);
        const std::int64_t semicolon = Find(text, L';', pos, length);
        std::wstring key = Mid(text, pos, colon - pos);
        m_mapValues.insert_or_assign(std::move(key), Mid(text, colon + 1, semicolon - colon - 1));
        pos = semicolon + 1;
    }
    return !m_mapValues.empty();
}

bool CStatusReply::GetStatusCode(int format)
{
    if (format == STATUS_FORMAT_NONE || IsIplMode())
        return true;
    auto status = m_mapValues.find(L"STATUS");
    if (status == m_mapValues.end())
        return false;

    m_strStatusCode.clear();
    const std::wstring& value = status->second;
    constexpr std::size_t kWordLength = 8;
    if (format == STATUS_FORMAT_WORD) {
        if (value.size() >= kWordLength)
            m_strStatusCode = value.substr(0, kWordLength);
    } else if (format == STATUS_FORMAT_RECORDS) {
        if (!value.empty())
            m_strStatusCode = FindRecordCode(value).value_or(std::wstring());
    }
    return !m_strStatusCode.empty();
}

int CStatusReply::GetVersion() const
{
    auto version = m_mapValues.find(L"VER");
    if (version == m_mapValues.end())
        return -1;
    return VersionToHundredths(version->second);
}

bool CStatusReply::IsIplMode() const
{
    auto mode = m_mapValues.find(L"MODE");
    return mode != m_mapValues.end() && mode->second == L"IPL";
}

std::optional<std::wstring> CStatusReply::Lookup(const std::wstring& key) const
{
    auto found = m_mapValues.find(key);
    if (found == m_mapValues.end())
        return std::nullopt;
    return found->second;
}

int VersionToHundredths(std::wstring_view text)
{
    constexpr std::size_t kMaxVersionLength = 10;
    char buffer[16];
    // A text that does not even fit the buffer is longer than any version.
    if (!platform::WideToAnsi(text, buffer) || std::strlen(buffer) > kMaxVersionLength)
        return -1;
    const double hundredths = platform::Atof(buffer) * 100.0;
    // The 0.005 absorbs the representation error of texts like 1.15 and
    // 2.01 (whose product lands just below the whole number); it does not
    // round, so 1.206 is still 120.
    const double adjusted = hundredths >= 0.0 ? hundredths + 0.005 : hundredths - 0.005;
    return platform::TruncateToInt32(adjusted).value_or(-1);
}

std::wstring FormatVersion(int hundredths)
{
    if (hundredths < 0)
        return L"---";
    return platform::Format(L"%d.%02d", {hundredths / 100, hundredths % 100});
}
