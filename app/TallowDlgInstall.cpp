// The main dialog's buttons: Next on the first page, Install on the second,
// Back, and leaving.

#include "app/TallowDlg.h"

#include <optional>
#include <string>

#include "app/DialogIds.h"
#include "app/ExitCode.h"
#include "app/SendResult.h"
#include "app/SendStatusDlg.h"
#include "platform/resources/Resources.h"
#include "platform/text/Format.h"
#include "platform/ui/IPAddressCtrl.h"
#include "platform/ui/MessageBox.h"
#include "platform/ui/WaitCursor.h"
#include "ports/PortType.h"
#include "resources/ResourceIds.h"
#include "update/StatusReply.h"
#include "update/Updater.h"

namespace {

struct Message {
    std::wstring text;
    UINT icon = MB_ICONEXCLAMATION;
};

// What the user is told when Next does not find the printer acceptable;
// nullopt when there is nothing to say (or its text is missing).
std::optional<Message> RefusalMessage(CHECK_RESULT result, int portType, const CUpdater& updater)
{
    switch (result) {
    case CHECK_UNREADABLE:
    case CHECK_NO_REPLY: {
        const unsigned id = IsUsbFamily(portType) ? ids::IDS_NO_PRINTER_USB : ids::IDS_NO_PRINTER_NETWORK;
        if (std::optional<std::wstring> text = platform::LoadString(id))
            return Message{std::move(*text), MB_ICONEXCLAMATION};
        return std::nullopt;
    }
    case CHECK_WRONG_MODEL:
        if (std::optional<std::wstring> format = platform::LoadString(ids::IDS_WRONG_MODEL))
            return Message{platform::Format(*format, {updater.m_strPrinterModel}), MB_ICONEXCLAMATION};
        return std::nullopt;
    case CHECK_VERSION:
        if (std::optional<std::wstring> format = platform::LoadString(ids::IDS_UP_TO_DATE)) {
            const std::wstring version = FormatVersion(updater.m_nPrinterVersion);
            return Message{platform::Format(*format, {version}), MB_ICONINFORMATION};
        }
        return std::nullopt;
    default:
        return std::nullopt;
    }
}

int RunSendStatusDialog(BOOL bIplMode)
{
    CSendStatusDlg dialog(bIplMode);
    return dialog.DoModal();
}

} // namespace

void CTallowDlg::OnOkButton()
{
    if (CUpdater::GetInstance().m_pPort)
        OnInstall();
    else
        OnNext();
}

void CTallowDlg::OnNext()
{
    InstallPort install{nullptr, StatusFormatForPortType(m_nPortType)};
    if (IsUsbFamily(m_nPortType)) {
        install = m_portFactory(m_nPortType, 0);
    } else {
        DWORD hostAddress = 0;
        if (const CIPAddressCtrl* address = GetDlgItem<CIPAddressCtrl>(IDC_ADDRESS))
            address->GetAddress(hostAddress);
        // A blank field reads 0.0.0.0. Windows refuses to connect there, so
        // the printer is simply not found; Linux would deliver the query to
        // this machine instead. Build no port, and the driver answers as
        // for a printer that is not there.
        if (hostAddress != 0)
            install = m_portFactory(m_nPortType, hostAddress);
    }

    CWaitCursor wait;
    CUpdater& updater = CUpdater::GetInstance();
    // A reply without MDL leaves the driver's model name as it was; start
    // from none, so that message 163 never names the printer of an earlier
    // attempt.
    updater.m_strPrinterModel.clear();
    const CHECK_RESULT result = updater.CheckPrinter(install.port, install.statusFormat);
    if (result == CHECK_OK) {
        SetPage(PAGE_SECOND);
        return;
    }
    if (const std::optional<Message> message = RefusalMessage(result, m_nPortType, updater))
        AfxMessageBox(message->text, MB_OK | message->icon);
    // The refused port (still ours) is released when `install` goes.
}

void CTallowDlg::OnInstall()
{
    CWaitCursor wait;
    CUpdater& updater = CUpdater::GetInstance();
    const CHECK_RESULT readiness = updater.CheckReady();
    if (readiness == CHECK_NOT_READY) {
        // The user switches the printer over and presses Install again.
        AfxMessageBox(ids::IDS_NOT_READY, MB_OK | MB_ICONEXCLAMATION);
        return;
    }
    if (readiness != CHECK_OK && readiness != CHECK_IPL_MODE) {
        AfxMessageBox(ids::IDS_SEND_FAILED, MB_OK | MB_ICONHAND);
        EndDialog(TallowExitCode::INSTALL_FAILED);
        return;
    }

    const BOOL bIplMode = readiness == CHECK_IPL_MODE ? TRUE : FALSE;
    const int sent = m_runSendStatus ? m_runSendStatus(bIplMode) : RunSendStatusDialog(bIplMode);
    switch (sent) {
    case SEND_RESULT_INSTALLED:
        AfxMessageBox(ids::IDS_INSTALLED, MB_OK | MB_ICONINFORMATION);
        EndDialog(TallowExitCode::INSTALLED);
        return;
    case SEND_RESULT_SEND_FAILED:
        AfxMessageBox(ids::IDS_SEND_FAILED, MB_OK | MB_ICONHAND);
        EndDialog(TallowExitCode::INSTALL_FAILED);
        return;
    case SEND_RESULT_TIMED_OUT:
        // A Quill printer that finds a checksum error in the image stops
        // with SUM ERROR on its panel; its message says how to go on.
        AfxMessageBox(m_nPortType == PORT_TYPE_ETHERNET4 ? ids::IDS_INSTALL_FAILED_SUM : ids::IDS_INSTALL_FAILED,
                      MB_OK | MB_ICONHAND);
        EndDialog(TallowExitCode::INSTALL_FAILED);
        return;
    case SEND_RESULT_ABORTED:
        // The user has confirmed leaving in the send-status dialog already.
        EndDialog(TallowExitCode::CANCELLED);
        return;
    default:
        AfxMessageBox(ids::IDS_INSTALL_FAILED, MB_OK | MB_ICONHAND);
        EndDialog(TallowExitCode::INSTALL_FAILED);
        return;
    }
}

void CTallowDlg::OnBack()
{
    SetPage(PAGE_FIRST);
}

void CTallowDlg::OnCancel()
{
    if (!CUpdater::GetInstance().m_pPort) {
        EndDialog(TallowExitCode::CANCELLED);
        return;
    }
    if (AfxMessageBox(ids::IDS_CONFIRM_EXIT, MB_YESNO | MB_DEFBUTTON2) == IDYES)
        EndDialog(TallowExitCode::CANCELLED);
}
