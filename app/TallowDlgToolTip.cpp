// The port list's tooltip: the selected entry's text, which may be wider
// than the closed box shows.

#include "app/TallowDlg.h"

#include <algorithm>
#include <cwchar>
#include <iterator>
#include <string>

#include "app/DialogIds.h"
#include "platform/ui/ComboBox.h"

namespace {

// The tip shows at most this many characters of the entry, then "...".
constexpr std::size_t kToolTipCut = 76;
constexpr wchar_t kEllipsis[] = L"...";
static_assert(kToolTipCut + std::size(kEllipsis) <= std::size(TOOLTIPTEXT{}.szText));

} // namespace

BOOL CTallowDlg::OnToolTipNeedText(TOOLTIPTEXT& info)
{
    if ((info.uFlags & TTF_IDISHWND) == 0)
        return FALSE;
    const CComboBox* combo = GetDlgItem<CComboBox>(IDC_PORT_COMBO);
    if (combo == nullptr || info.pTool != combo)
        return FALSE;
    const int selection = combo->GetCurSel();
    if (selection < 0)
        return FALSE;

    std::wstring text;
    combo->GetLBText(selection, text);
    // lstrcpyn with a count of 79: at most 78 characters and the terminator.
    constexpr std::size_t kCount = std::size(TOOLTIPTEXT{}.szText) - 1;
    const std::size_t copied = std::min(text.size(), kCount - 1);
    text.copy(info.szText, copied);
    info.szText[copied] = L'\0';
    if (text.size() > kToolTipCut)
        std::wcscpy(info.szText + kToolTipCut, kEllipsis);
    return TRUE;
}
