#include "platform/ui/Menu.h"

BOOL CMenu::AppendMenu(UINT flags, UINT_PTR id, std::wstring_view text)
{
    if ((flags & MF_SEPARATOR) != 0)
        m_items.push_back({MF_SEPARATOR, 0, {}});
    else
        m_items.push_back({flags, id, std::wstring(text)});
    return TRUE;
}
