#pragma once
// A push button (or a group box). A click sends BN_CLICKED with the
// button's id to its dialog.

#include "platform/ui/Wnd.h"

class CButton : public CWnd {
public:
    void SetWindowText(std::wstring_view text) override;
    std::wstring GetWindowText() const override;
};
