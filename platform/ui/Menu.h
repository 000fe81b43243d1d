#pragma once
// The dialog's system menu.
//
// Linux window managers do not let a program add items to the window menu,
// so what the dialog appends here is offered in the dialog's context menu
// (right button or the Menu key over the dialog), and choosing an item calls
// the dialog's OnSysCommand with the item's id, as the window menu would.

#include <string>
#include <string_view>
#include <vector>

#include "platform/ui/WinUser.h"

class CMenu {
public:
    struct Item {
        UINT flags = MF_STRING;
        UINT_PTR id = 0;
        std::wstring text;
    };

    // MF_STRING with an id and text, or MF_SEPARATOR; MF_GRAYED disables.
    BOOL AppendMenu(UINT flags, UINT_PTR id = 0, std::wstring_view text = {});
    int GetMenuItemCount() const { return static_cast<int>(m_items.size()); }
    const std::vector<Item>& Items() const { return m_items; }

private:
    std::vector<Item> m_items;
};
