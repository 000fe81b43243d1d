#include "platform/ui/IPAddressCtrl.h"

#include "platform/ui/IpAddressEdit.h"
#include "platform/ui/QtText.h"
#include "platform/ui/WndAccess.h"

using platform::ui::IpAddressEdit;
using platform::ui::WndAccess;

namespace {

IpAddressEdit* Edit(const CWnd& wnd)
{
    return static_cast<IpAddressEdit*>(WndAccess::Widget(wnd));
}

} // namespace

int CIPAddressCtrl::GetAddress(DWORD& address) const
{
    const IpAddressEdit* edit = Edit(*this);
    if (!edit) {
        address = 0;
        return 0;
    }
    return edit->Address(address);
}

void CIPAddressCtrl::SetAddress(DWORD address)
{
    if (IpAddressEdit* edit = Edit(*this))
        edit->SetAddress(address);
}

void CIPAddressCtrl::ClearAddress()
{
    if (IpAddressEdit* edit = Edit(*this))
        edit->Clear();
}

BOOL CIPAddressCtrl::IsBlank() const
{
    const IpAddressEdit* edit = Edit(*this);
    return !edit || edit->IsBlank() ? TRUE : FALSE;
}

void CIPAddressCtrl::SetFieldFocus(int field)
{
    if (IpAddressEdit* edit = Edit(*this))
        edit->FocusField(field);
}

std::wstring CIPAddressCtrl::GetWindowText() const
{
    const IpAddressEdit* edit = Edit(*this);
    return edit ? platform::ui::ToWide(edit->DottedText()) : std::wstring{};
}
