#pragma once
// The installer's main window: one modal dialog with two pages.
//
// On the first page the user names the printer (a registered device or a
// typed address for the network family; nothing for the USB family) and
// presses Next, which asks the printer for its status through the update
// driver. On the second page Install checks that the printer is ready and
// runs the send-status dialog. The dialog's result is the process exit code
// (TallowExitCode::EXITCODE).
//
// The pages live in the update driver: the dialog is on its second page
// exactly when CUpdater::GetInstance() holds an accepted port.
//
// Files: TallowDlg.cpp (start-up, port list, pages, About item),
// TallowDlgInstall.cpp (the buttons), TallowDlgToolTip.cpp (the port list's
// tooltip).

#include <functional>
#include <string>

#include "app/AlphaBitmap.h"
#include "platform/ui/Dialog.h"
#include "ports/PortFactory.h"
#include "ports/PortInfo.h"

class CComboBox;
class CTargetModel;

class CTallowDlg : public CDialog {
public:
    enum PAGE : int {
        PAGE_FIRST = 0,  // choose the printer; OK is Next
        PAGE_SECOND = 1, // the accepted printer; OK is Install
    };

    // Builds the port for one Next: CreatePortForInstall in the program.
    using PortFactory = std::function<InstallPort(int portType, DWORD hostAddress)>;
    // Runs the send-status dialog and returns its SEND_RESULT.
    using SendStatusRunner = std::function<int(BOOL bIplMode)>;

    CTallowDlg();
    ~CTallowDlg() override;

    // Seams for in-process tests; the program keeps the defaults.
    void SetPortFactory(PortFactory factory) { m_portFactory = std::move(factory); }
    void SetSendStatusRunner(SendStatusRunner runner) { m_runSendStatus = std::move(runner); }

    // The hand-off from start-up, set between construction and DoModal.
    BOOL m_bSocketsReady = FALSE;
    BOOL m_bPortGiven = FALSE;  // the command line named the printer
    DWORD m_dwGivenAddress = 0; // -i, host byte order; 0 when none or invalid
    std::wstring m_strGivenUsb; // -u

protected:
    BOOL OnInitDialog() override;
    void OnCancel() override;
    void OnSysCommand(UINT id, LPARAM param) override;
    BOOL OnToolTipNeedText(TOOLTIPTEXT& info) override;

    void SetPage(PAGE page);
    void OnPortSelChange();

    void OnOkButton();
    void OnNext();
    void OnInstall();
    void OnBack();

private:
    // Start-up steps after the update driver is set up; each failure throws.
    void FillPortList(CComboBox& combo, const CTargetModel& target);
    void ShowLogo();

    CIcon m_hIcon;
    CAlphaBitmap m_bmpLogo;
    int m_nPortType = 0;
    // The devices the port list may show; the list's item data point into
    // it, so it lives as long as the dialog.
    CPortInfoList m_portInfoList;

    PortFactory m_portFactory;
    SendStatusRunner m_runSendStatus;
};
