#include "app/DialogFont.h"

#include "platform/ui/Wnd.h"

namespace {

CFont CreateDialogFont()
{
    CFont font;
    FontDescription description;
    if (GetIconTitleFont(description))
        font.CreateFontIndirect(description);
    return font;
}

} // namespace

CFont& GetDialogFont()
{
    // A creation that throws leaves the static uninitialised, so the next
    // call tries again.
    static CFont font = CreateDialogFont();
    return font;
}

void ApplyDialogFont(CWnd* dialog, const CFont& font)
{
    if (dialog == nullptr || font.IsNull())
        return;
    dialog->SetFont(font, TRUE);
    for (CWnd* child = dialog->GetWindow(GW_CHILD); child != nullptr; child = child->GetNextWindow())
        child->SetFont(font, TRUE);
}
