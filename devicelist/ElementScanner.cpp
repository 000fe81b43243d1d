#include "devicelist/ElementScanner.h"

#include <optional>

#include "platform/text/Crt.h"

namespace {

// Walks the elements of one name, one content at a time.
class ElementScan {
public:
    ElementScan(std::wstring_view text, std::wstring_view name)
        : m_text(text)
        , m_startPattern(L"<" + std::wstring(name))
        , m_endPattern(L"</" + std::wstring(name) + L">")
    {
    }

    std::optional<std::wstring_view> Next()
    {
        constexpr auto npos = std::wstring_view::npos;
        while (!m_done) {
            if (m_pos > m_text.size())
                break;
            const std::size_t found = m_text.find(m_startPattern, m_pos);
            if (found == npos)
                break;
            m_pos = found + m_startPattern.size();
            const wchar_t next = m_pos < m_text.size() ? m_text[m_pos] : L'\0';
            if (next == L' ') {
                const std::size_t close = m_text.find(L'>', m_pos);
                if (close == npos)
                    break;
                m_pos = close;
            } else if (next != L'>') {
                continue; // a longer name, "/>", or other white space
            }
            const std::size_t start = m_pos + 1;
            const std::size_t end = FindEndTag(start);
            m_pos = start;
            if (end != npos)
                return m_text.substr(start, end - start);
        }
        m_done = true;
        return std::nullopt;
    }

private:
    // The first end tag at or after `from`. Start positions only grow, and
    // the first end tag after one position is also the first after any later
    // position up to it, so one search serves every start tag before it:
    // nested and unclosed elements cost no rescan of the text.
    std::size_t FindEndTag(std::size_t from)
    {
        if (!m_endKnown || from < m_endFrom || (m_end != std::wstring_view::npos && m_end < from)) {
            m_end = m_text.find(m_endPattern, from);
            m_endFrom = from;
            m_endKnown = true;
        }
        return m_end;
    }

    std::wstring_view m_text;
    std::wstring m_startPattern;
    std::wstring m_endPattern;
    std::size_t m_pos = 0;
    bool m_done = false;
    bool m_endKnown = false;
    std::size_t m_endFrom = 0;
    std::size_t m_end = 0;
};

} // namespace

int FindElements(std::wstring_view text, std::wstring_view name, std::vector<std::wstring>& list)
{
    ElementScan scan(text, name);
    int appended = 0;
    std::size_t collected = 0;
    while (std::optional<std::wstring_view> content = scan.Next()) {
        collected += content->size();
        if (collected > kMaxElementContentChars)
            break;
        list.emplace_back(*content);
        ++appended;
    }
    return appended;
}

std::wstring GetElementText(std::wstring_view text, std::wstring_view name)
{
    ElementScan scan(text, name);
    std::optional<std::wstring_view> content = scan.Next();
    return content ? std::wstring(*content) : std::wstring();
}

int GetElementNumber(std::wstring_view name, std::wstring_view text)
{
    const std::wstring content = GetElementText(text, name);
    return platform::Wcstol(content.c_str(), 10);
}
