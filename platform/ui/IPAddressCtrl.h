#pragma once
// An IPv4 address control: four fields of 0 to 255, read and written as one
// DWORD in host byte order (the first field in the most significant byte).

#include "platform/ui/Wnd.h"

class CIPAddressCtrl : public CWnd {
public:
    // Blank fields read as 0. Returns how many fields are not blank (0 to 4).
    int GetAddress(DWORD& address) const;
    void SetAddress(DWORD address);
    void ClearAddress();
    BOOL IsBlank() const;
    // Puts the focus into field 0 to 3.
    void SetFieldFocus(int field);

    // The four fields as dotted text, blank fields empty ("10..0.1").
    std::wstring GetWindowText() const override;
    void SetWindowText(std::wstring_view) override {}
};
