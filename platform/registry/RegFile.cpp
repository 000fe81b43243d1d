#include "platform/registry/RegFile.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <optional>
#include <utility>

#include "platform/text/Unicode.h"

namespace platform {
namespace {

constexpr std::string_view kHeader = "Windows Registry Editor Version 5.00";

struct RootName {
    std::wstring_view name;
    RegRoot root;
};
constexpr std::array kRoots = {
    RootName{L"HKEY_LOCAL_MACHINE", RegRoot::LocalMachine},
    RootName{L"HKEY_CURRENT_USER", RegRoot::CurrentUser},
    RootName{L"HKEY_USERS", RegRoot::Users},
};

// One entry that cannot be taken; thrown by the steps of one line and caught
// by the line loop, which reports it and goes on.
struct EntryError {
    int line;
    std::string message;
};

bool IsBlank(wchar_t c)
{
    return c == L' ' || c == L'\t';
}

std::string_view TrimBytes(std::string_view text)
{
    const auto first = text.find_first_not_of(" \t\r");
    if (first == std::string_view::npos)
        return {};
    const auto last = text.find_last_not_of(" \t\r");
    return text.substr(first, last - first + 1);
}

std::wstring_view Trim(std::wstring_view text)
{
    while (!text.empty() && IsBlank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && IsBlank(text.back()))
        text.remove_suffix(1);
    return text;
}

wchar_t AsciiUpper(wchar_t c)
{
    return (c >= L'a' && c <= L'z') ? static_cast<wchar_t>(c - L'a' + L'A') : c;
}

bool EqualsIgnoreAsciiCase(std::wstring_view a, std::wstring_view b)
{
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (AsciiUpper(a[i]) != AsciiUpper(b[i]))
            return false;
    }
    return true;
}

bool StartsWithIgnoreAsciiCase(std::wstring_view text, std::wstring_view prefix)
{
    return text.size() >= prefix.size() && EqualsIgnoreAsciiCase(text.substr(0, prefix.size()), prefix);
}

int HexDigit(wchar_t c)
{
    if (c >= L'0' && c <= L'9')
        return c - L'0';
    if (c >= L'a' && c <= L'f')
        return c - L'a' + 10;
    if (c >= L'A' && c <= L'F')
        return c - L'A' + 10;
    return -1;
}

// 1 to 8 hexadecimal digits and nothing else, as a 32-bit number.
std::optional<DWORD> ParseHex32(std::wstring_view digits)
{
    if (digits.empty() || digits.size() > 8)
        return std::nullopt;
    DWORD value = 0;
    for (wchar_t c : digits) {
        const int digit = HexDigit(c);
        if (digit < 0)
            return std::nullopt;
        value = (value << 4) | static_cast<DWORD>(digit);
    }
    return value;
}

// A piece of the input for a message: quoted, and cut short if long.
std::string Quote(std::wstring_view text)
{
    constexpr std::size_t kShown = 40;
    std::string quoted = "\"" + WideToUtf8(text.substr(0, kShown));
    quoted += text.size() > kShown ? "...\"" : "\"";
    return quoted;
}

class Parser {
public:
    Parser(std::string_view bytes, std::string_view fileName) : m_bytes(bytes), m_file(fileName) {}

    RegFileContents Run()
    {
        if (m_bytes.starts_with("\xFF\xFE") || m_bytes.starts_with("\xFE\xFF")) {
            Report(1, "UTF-16 text: the host registry reads .reg files saved as UTF-8");
            return std::move(m_contents);
        }
        if (m_bytes.starts_with("\xEF\xBB\xBF"))
            m_bytes.remove_prefix(3);
        SplitLines();

        std::size_t index = 0;
        while (index < m_lines.size() && TrimBytes(m_lines[index]).empty())
            ++index;
        if (index == m_lines.size() || TrimBytes(m_lines[index]) != kHeader) {
            Report(index == m_lines.size() ? 1 : LineNumber(index),
                   "expected the header \"" + std::string(kHeader) + "\"; file ignored");
            return std::move(m_contents);
        }

        for (++index; index < m_lines.size(); ++index) {
            const std::string_view raw = TrimBytes(m_lines[index]);
            if (raw.empty() || raw.front() == ';')
                continue;
            const bool keyLine = raw.front() == '[';
            try {
                if (keyLine)
                    ParseKeyLine(index);
                else
                    ParseValueLine(index);
            } catch (const EntryError& error) {
                // The values of a key that was refused go with it, unreported.
                if (keyLine || m_section != Section::Rejected)
                    Report(error.line, error.message);
            }
        }
        return std::move(m_contents);
    }

private:
    // Which key the value lines that follow belong to.
    enum class Section {
        None,     // before the first key line
        Key,      // m_key
        Rejected, // a key line that could not be taken
        Deleted,  // m_key is being deleted ([-key])
    };

    void SplitLines()
    {
        std::size_t start = 0;
        while (start <= m_bytes.size()) {
            std::size_t end = m_bytes.find('\n', start);
            if (end == std::string_view::npos)
                end = m_bytes.size();
            m_lines.push_back(m_bytes.substr(start, end - start));
            start = end + 1;
        }
    }

    static int LineNumber(std::size_t index) { return static_cast<int>(index + 1); }

    void Report(int line, std::string message)
    {
        m_contents.diagnostics.push_back(RegDiagnostic{m_file, line, std::move(message)});
    }

    std::wstring DecodeLine(std::size_t index) const
    {
        const std::string_view raw = TrimBytes(m_lines[index]);
        if (raw.find('\0') != std::string_view::npos)
            throw EntryError{LineNumber(index), "zero byte in the line"};
        std::optional<std::wstring> text = Utf8ToWideStrict(raw);
        if (!text)
            throw EntryError{LineNumber(index), "not valid UTF-8"};
        return std::move(*text);
    }

    void ParseKeyLine(std::size_t index)
    {
        m_section = Section::Rejected;
        const int line = LineNumber(index);
        const std::wstring text = DecodeLine(index);
        if (text.size() < 2 || text.back() != L']')
            throw EntryError{line, "a key line must end with ']'"};
        std::wstring_view inner = std::wstring_view(text).substr(1, text.size() - 2);
        const bool deletion = !inner.empty() && inner.front() == L'-';
        if (deletion)
            inner.remove_prefix(1);
        RegKeyPath path = ParseKeyPath(inner, line);
        if (deletion && path.names.empty())
            throw EntryError{line, "a root key cannot be deleted"};

        RegOperation operation;
        operation.kind = deletion ? RegOperation::Kind::DeleteKey : RegOperation::Kind::CreateKey;
        operation.key = path;
        operation.line = line;
        m_contents.operations.push_back(std::move(operation));
        m_key = std::move(path);
        m_section = deletion ? Section::Deleted : Section::Key;
    }

    static RegKeyPath ParseKeyPath(std::wstring_view text, int line)
    {
        RegKeyPath path;
        std::size_t start = 0;
        bool first = true;
        for (;;) {
            const std::size_t end = std::min(text.find(L'\\', start), text.size());
            const std::wstring_view name = text.substr(start, end - start);
            if (first) {
                const auto root = std::find_if(kRoots.begin(), kRoots.end(),
                                               [&](const RootName& r) { return EqualsIgnoreAsciiCase(r.name, name); });
                if (root == kRoots.end())
                    throw EntryError{line, "unknown root key " + Quote(name) +
                                               " (HKEY_LOCAL_MACHINE, HKEY_CURRENT_USER or HKEY_USERS)"};
                path.root = root->root;
                first = false;
            } else {
                if (name.empty())
                    throw EntryError{line, "empty key name in the path"};
                if (name.size() > kRegMaxKeyNameLength)
                    throw EntryError{line, "key name longer than " + std::to_string(kRegMaxKeyNameLength) +
                                               " characters"};
                if (path.names.size() == kRegMaxKeyDepth)
                    throw EntryError{line, "key more than " + std::to_string(kRegMaxKeyDepth) + " levels deep"};
                path.names.emplace_back(name);
            }
            if (end == text.size())
                return path;
            start = end + 1;
        }
    }

    // A quoted string at text[pos] ('"'); on return pos is just past the
    // closing quote. Only \\ and \" are escapes, as regedit writes them; any
    // other backslash is refused rather than guessed at (a Windows path
    // pasted in with single backslashes is the usual cause).
    static std::wstring ParseQuoted(std::wstring_view text, std::size_t& pos, int line)
    {
        std::wstring value;
        for (++pos; pos < text.size(); ++pos) {
            const wchar_t c = text[pos];
            if (c == L'"') {
                ++pos;
                return value;
            }
            if (c == L'\\') {
                if (pos + 1 >= text.size() || (text[pos + 1] != L'\\' && text[pos + 1] != L'"'))
                    throw EntryError{line, "unknown escape in a quoted string"
                                           " (write \\\\ for a backslash, \\\" for a quote)"};
                ++pos;
            }
            value.push_back(text[pos]);
        }
        throw EntryError{line, "unterminated quoted string"};
    }

    void ParseValueLine(std::size_t& index)
    {
        const int line = LineNumber(index);
        const std::wstring text = DecodeLine(index);
        std::size_t pos = 0;
        std::wstring name;
        if (text.front() == L'@')
            pos = 1;
        else if (text.front() == L'"')
            name = ParseQuoted(text, pos, line);
        else
            throw EntryError{line, "expected a key in [brackets], a value name in quotes, or @ for the default value"};
        if (name.size() > kRegMaxValueNameLength)
            throw EntryError{line, "value name longer than " + std::to_string(kRegMaxValueNameLength) + " characters"};
        while (pos < text.size() && IsBlank(text[pos]))
            ++pos;
        if (pos >= text.size() || text[pos] != L'=')
            throw EntryError{line, "expected '=' after the value name"};
        ++pos;
        const std::wstring_view data = Trim(std::wstring_view(text).substr(pos));

        RegOperation operation;
        operation.kind = RegOperation::Kind::SetValue;
        operation.valueName = std::move(name);
        operation.line = line;
        if (!data.empty() && data.front() == L'"') {
            std::size_t end = 0;
            const std::wstring value = ParseQuoted(data, end, line);
            if (end != data.size())
                throw EntryError{line, "unexpected text after the value"};
            if ((Utf16Length(value) + 1) * 2 > kRegMaxValueBytes)
                throw EntryError{line, "value longer than " + std::to_string(kRegMaxValueBytes) + " bytes"};
            operation.value.type = REG_SZ;
            operation.value.data = WideToUtf16Le(value);
            operation.value.data.append(2, '\0');
        } else if (data == L"-") {
            operation.kind = RegOperation::Kind::DeleteValue;
        } else if (StartsWithIgnoreAsciiCase(data, L"dword:")) {
            const std::optional<DWORD> number = ParseHex32(data.substr(6));
            if (!number)
                throw EntryError{line, "a dword value takes 1 to 8 hexadecimal digits"};
            operation.value.type = REG_DWORD;
            for (int shift = 0; shift < 32; shift += 8)
                operation.value.data.push_back(static_cast<char>((*number >> shift) & 0xFF));
        } else if (StartsWithIgnoreAsciiCase(data, L"hex")) {
            operation.value = ParseHexValue(data, index, line);
        } else if (data.empty()) {
            throw EntryError{line, "no value after '='"};
        } else {
            throw EntryError{line, "unknown value " + Quote(data) + " (a quoted string, dword:, hex:, hex(N): or -)"};
        }

        switch (m_section) {
        case Section::None:
            throw EntryError{line, "value before the first key"};
        case Section::Rejected:
            return;
        case Section::Deleted:
            throw EntryError{line, "value under a key that this file deletes"};
        case Section::Key:
            break;
        }
        operation.key = m_key;
        m_contents.operations.push_back(std::move(operation));
    }

    // hex:bb,bb,... or hex(N):bb,... where a line ending in a backslash goes
    // on in the next line (regedit wraps long values so). `index` moves past
    // the lines taken.
    RegValue ParseHexValue(std::wstring_view data, std::size_t& index, int line) const
    {
        RegValue value;
        value.type = REG_BINARY;
        std::size_t pos = 3;
        if (pos < data.size() && data[pos] == L'(') {
            const std::size_t close = data.find(L')', pos);
            const std::optional<DWORD> type =
                close == std::wstring_view::npos ? std::nullopt : ParseHex32(data.substr(pos + 1, close - pos - 1));
            if (!type)
                throw EntryError{line, "hex(N) takes a type of 1 to 8 hexadecimal digits"};
            value.type = *type;
            pos = close + 1;
        }
        if (pos >= data.size() || data[pos] != L':')
            throw EntryError{line, "expected ':' after hex or hex(N)"};

        std::wstring list(data.substr(pos + 1));
        while (!list.empty() && list.back() == L'\\') {
            list.pop_back();
            if (index + 1 >= m_lines.size())
                throw EntryError{line, "value continued past the end of the file"};
            ++index;
            list += Trim(DecodeLine(index));
        }

        const std::wstring_view bytes = Trim(list);
        if (bytes.empty())
            return value;
        std::size_t start = 0;
        for (;;) {
            const std::size_t end = std::min(bytes.find(L',', start), bytes.size());
            const std::wstring_view item = Trim(bytes.substr(start, end - start));
            if (item.size() != 2 || HexDigit(item[0]) < 0 || HexDigit(item[1]) < 0)
                throw EntryError{line, "expected two hexadecimal digits per byte, separated by commas; found " +
                                           Quote(item)};
            if (value.data.size() == kRegMaxValueBytes)
                throw EntryError{line, "value longer than " + std::to_string(kRegMaxValueBytes) + " bytes"};
            value.data.push_back(static_cast<char>(HexDigit(item[0]) * 16 + HexDigit(item[1])));
            if (end == bytes.size())
                return value;
            start = end + 1;
        }
    }

    std::string_view m_bytes;
    std::string m_file;
    std::vector<std::string_view> m_lines;
    Section m_section = Section::None;
    RegKeyPath m_key;
    RegFileContents m_contents;
};

} // namespace

std::string RegDiagnostic::Text() const
{
    if (line <= 0)
        return file + ": " + message;
    return file + ":" + std::to_string(line) + ": " + message;
}

RegFileContents ParseRegFile(std::string_view bytes, std::string_view fileName)
{
    return Parser(bytes, fileName).Run();
}

} // namespace platform
