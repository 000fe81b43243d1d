#pragma once
// The About box (template 100), opened from the main dialog's window menu.

#include <string>

#include "platform/ui/Dialog.h"

class CAboutDlg : public CDialog {
public:
    // `text`: the series-and-version line ("Lumetra Series  Version 1.20").
    explicit CAboutDlg(const wchar_t* text);

protected:
    BOOL OnInitDialog() override;

private:
    std::wstring m_strVersion;
};
