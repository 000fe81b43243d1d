#include "app/AboutDlg.h"

#include "app/DialogFont.h"
#include "app/DialogIds.h"

CAboutDlg::CAboutDlg(const wchar_t* text) : CDialog(IDD_ABOUTBOX), m_strVersion(text != nullptr ? text : L"") {}

BOOL CAboutDlg::OnInitDialog()
{
    ApplyDialogFont(this, GetDialogFont());
    SetDlgItemText(IDC_ABOUT_VERSION, m_strVersion);
    return CDialog::OnInitDialog();
}
