#include "update/TargetModel.h"

#include <cwctype>

namespace {

bool IsSpace(wchar_t c)
{
    return std::iswspace(static_cast<std::wint_t>(c)) != 0;
}

std::wstring_view Trim(std::wstring_view text)
{
    while (!text.empty() && IsSpace(text.back()))
        text.remove_suffix(1);
    while (!text.empty() && IsSpace(text.front()))
        text.remove_prefix(1);
    return text;
}

} // namespace

CTargetModel::CTargetModel(int version, int modelCode, std::wstring_view names)
    : m_nVersion(version)
    , m_nModelCode(modelCode)
{
    std::size_t pos = 0;
    while (pos < names.size()) {
        std::size_t comma = names.find(L',', pos);
        if (comma == std::wstring_view::npos)
            comma = names.size();
        m_listNames.emplace_back(Trim(names.substr(pos, comma - pos)));
        pos = comma + 1;
    }
}

bool CTargetModel::MatchesModel(std::wstring_view name, bool suffix) const
{
    for (const std::wstring& entry : m_listNames) {
        if (!suffix) {
            if (name == entry)
                return true;
            continue;
        }
        // Only the first occurrence counts: the entry must end the name there.
        const std::size_t at = name.find(entry);
        if (at != std::wstring_view::npos && at + entry.size() == name.size())
            return true;
    }
    return false;
}
