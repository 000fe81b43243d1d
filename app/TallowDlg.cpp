// The main dialog's start-up, its port list and its two pages.

#include "app/TallowDlg.h"

#include <algorithm>
#include <exception>
#include <memory>
#include <new>
#include <optional>
#include <string>

#include "app/AboutDlg.h"
#include "app/DialogFont.h"
#include "app/DialogIds.h"
#include "app/ExitCode.h"
#include "app/ProgramPictures.h"
#include "devicelist/DeviceInfoLocator.h"
#include "devicelist/DeviceList.h"
#include "devicelist/Utf8TextFile.h"
#include "platform/resources/Resources.h"
#include "platform/text/Format.h"
#include "platform/ui/ComboBox.h"
#include "platform/ui/HandlerGuard.h"
#include "platform/ui/IPAddressCtrl.h"
#include "platform/ui/ImageResources.h"
#include "platform/ui/MessageBox.h"
#include "platform/ui/Static.h"
#include "ports/PortType.h"
#include "resources/ResourceIds.h"
#include "update/StatusReply.h"
#include "update/TargetModel.h"
#include "update/Updater.h"
#include "update/UpdaterSetup.h"

namespace {

// The version line: the printer's version, then the one this installer carries.
constexpr wchar_t kVersionLineFormat[] = L"From %s  To %s";
constexpr wchar_t kNoPrinterVersion[] = L"-.--";
constexpr wchar_t kAboutLineFormat[] = L"%s  Version %s";
// A registered device in the port list: nickname and model name. The
// trailing blank is part of the text.
constexpr wchar_t kDeviceEntryFormat[] = L"%s [ %s ] ";

std::wstring DeviceEntryText(const CPortInfo& info)
{
    if (info.m_strNickName.empty())
        return info.m_strModelName + L' ';
    return platform::Format(kDeviceEntryFormat, {info.m_strNickName, info.m_strModelName});
}

} // namespace

CTallowDlg::CTallowDlg() : CDialog(IDD_TALLOW_DIALOG), m_portFactory(CreatePortForInstall)
{
    m_hIcon = platform::ui::LoadIconResource(ids::IDR_MAINFRAME);
    MapCommand(BN_CLICKED, IDOK, &CTallowDlg::OnOkButton);
    MapCommand(CBN_SELCHANGE, IDC_PORT_COMBO, &CTallowDlg::OnPortSelChange);
    MapCommand(BN_CLICKED, IDC_BACK, &CTallowDlg::OnBack);
}

CTallowDlg::~CTallowDlg() = default;

BOOL CTallowDlg::OnInitDialog()
{
    // Raised by the start-up checks below and turned into the message and
    // the dialog result by the handler at the end.
    enum TallowError {
        BAD_COMMAND_PORT = 0,
        SOCKETS_FAILED = 1,
        FATAL_ERROR = 2,
        IMAGE_NOT_LOADED = 3,
        IMAGE_MISMATCH = 4,
    };

    CDialog::OnInitDialog();

    if (CMenu* systemMenu = GetSystemMenu(FALSE)) {
        const std::optional<std::wstring> about = platform::LoadString(ids::IDS_ABOUTBOX);
        if (about && !about->empty()) {
            systemMenu->AppendMenu(MF_SEPARATOR);
            systemMenu->AppendMenu(MF_STRING, IDM_ABOUTBOX, *about);
        }
    }
    SetIcon(m_hIcon, TRUE);
    EnableToolTips(TRUE);
    ApplyDialogFont(this, GetDialogFont());

    int result = TallowExitCode::STARTUP_FAILED;
    try {
        ShowLogo();

        CUpdater& updater = CUpdater::GetInstance();
        switch (SetUpUpdater(updater)) {
        case UpdaterSetup::Ready:
            break;
        case UpdaterSetup::ConfigurationMissing:
            throw FATAL_ERROR;
        case UpdaterSetup::ImageNotLoaded:
            throw IMAGE_NOT_LOADED;
        case UpdaterSetup::ImageMismatch:
            throw IMAGE_MISMATCH;
        }
        m_nPortType = GetProductPortType();
        SetDlgItemText(IDC_PORT_FAMILY, IsUsbFamily(m_nPortType) ? L"USB" : L"Ethernet");

        CComboBox* combo = GetDlgItem<CComboBox>(IDC_PORT_COMBO);
        if (combo == nullptr)
            throw FATAL_ERROR;

        if (IsUsbFamily(m_nPortType)) {
            // The USB option names no particular printer; an address
            // option is for the other family.
            if (m_bPortGiven && m_strGivenUsb.empty())
                throw BAD_COMMAND_PORT;
            if (CWnd* address = GetDlgItem(IDC_ADDRESS))
                address->ShowWindow(SW_HIDE);
        } else {
            if (!m_bSocketsReady)
                throw SOCKETS_FAILED;
            if (m_bPortGiven && m_dwGivenAddress == 0)
                throw BAD_COMMAND_PORT;
            FillPortList(*combo, *updater.m_pTarget);
        }

        if (!m_bPortGiven) {
            const unsigned lastEntry = IsUsbFamily(m_nPortType) ? ids::IDS_AUTOMATIC_DETECTION : ids::IDS_USER_INPUT;
            const std::optional<std::wstring> text = platform::LoadString(lastEntry);
            if (!text)
                throw FATAL_ERROR;
            // Inserted, not added: it stays last whatever the sorting.
            const int index = combo->InsertString(combo->GetCount(), *text);
            combo->SetItemData(index, 0);
        }

        // The drop-down list as wide as its widest entry (never narrower
        // than it was).
        int width = combo->GetDroppedWidth();
        for (int i = 0; i < combo->GetCount(); ++i) {
            std::wstring text;
            combo->GetLBText(i, text);
            width = std::max(width, combo->GetTextExtent(text).cx);
        }
        combo->SetDroppedWidth(static_cast<UINT>(std::max(width, 0)));

        combo->SetCurSel(0);
        SetPage(PAGE_FIRST);
        return FALSE;
    } catch (const std::bad_alloc&) {
        platform::ui::ReportException(std::current_exception());
    } catch (TallowError error) {
        unsigned message = ids::IDS_FATAL_ERROR;
        switch (error) {
        case BAD_COMMAND_PORT:
            message = ids::IDS_ILLEGAL_PARAMETER;
            result = TallowExitCode::ILLEGAL_PARAMETER;
            break;
        case SOCKETS_FAILED:
            message = ids::IDS_SOCKETS_INIT_FAILED;
            break;
        case IMAGE_NOT_LOADED:
        case IMAGE_MISMATCH:
            message = ids::IDS_CORRUPTED;
            break;
        case FATAL_ERROR:
            break;
        }
        AfxMessageBox(message, MB_OK | MB_ICONHAND);
    }
    EndDialog(result);
    return FALSE;
}

void CTallowDlg::ShowLogo()
{
    CStatic* logo = GetDlgItem<CStatic>(IDC_LOGO);
    if (logo == nullptr)
        return;
    const COLORREF face = GetSysColor(COLOR_BTNFACE);
    if (!m_bmpLogo.LoadImages() || !m_bmpLogo.Compose(face))
        return; // the template's bitmap stays
    const CBitmap composed = BitmapFromDib(*m_bmpLogo.GetBitmap());
    if (!composed.IsNull())
        logo->SetBitmap(composed);
}

void CTallowDlg::FillPortList(CComboBox& combo, const CTargetModel& target)
{
    const int first = m_portInfoList.GetSize();
    int count = 0;
    if (m_bPortGiven) {
        count = m_portInfoList.Add(std::make_unique<CPortInfo>(std::wstring{}, m_dwGivenAddress)) >= 0 ? 1 : 0;
    } else {
        CDeviceInfoLocator locator;
        const std::wstring path = locator.GetDeviceInfoPath();
        count = ParseDeviceList(ReadUtf8TextFile(path), m_portInfoList);
    }

    for (int i = first; i < first + count; ++i) {
        const CPortInfo* info = m_portInfoList.GetAt(i);
        if (info == nullptr || info->m_nPortKind != PORT_KIND_NETWORK)
            continue;
        if (!m_bPortGiven && !target.MatchesModel(info->m_strModelName, true))
            continue;
        const int index = combo.AddString(DeviceEntryText(*info));
        if (index >= 0)
            combo.SetItemData(index, reinterpret_cast<DWORD_PTR>(info));
    }
}

void CTallowDlg::SetPage(PAGE page)
{
    const bool first = page == PAGE_FIRST;
    GotoDlgCtrl(GetDlgItem(IDOK));
    if (CWnd* combo = GetDlgItem(IDC_PORT_COMBO))
        combo->EnableWindow(first);
    if (CWnd* address = GetDlgItem(IDC_ADDRESS))
        address->EnableWindow(first);
    if (CWnd* back = GetDlgItem(IDC_BACK))
        back->EnableWindow(!first);

    const std::optional<std::wstring> version = platform::LoadString(ids::IDS_FIRMWARE_VERSION);
    const std::optional<std::wstring> buttonText = platform::LoadString(first ? ids::IDS_NEXT : ids::IDS_INSTALL);
    if (!version || !buttonText)
        return;

    CUpdater& updater = CUpdater::GetInstance();
    std::wstring modelText;
    std::wstring currentVersion;
    if (first) {
        updater.ReleasePrinter();
        const std::optional<std::wstring> series = platform::LoadString(ids::IDS_SERIES_NAME);
        if (!series)
            return;
        modelText = *series;
        currentVersion = kNoPrinterVersion;
    } else {
        modelText = updater.m_strPrinterModel;
        currentVersion = FormatVersion(updater.m_nPrinterVersion);
    }

    SetDlgItemText(IDC_MODEL_LINE, modelText);
    SetDlgItemText(IDC_VERSION_LINE, platform::Format(kVersionLineFormat, {currentVersion, *version}));
    SetDlgItemText(IDOK, *buttonText);

    if (first)
        OnPortSelChange();
}

void CTallowDlg::OnPortSelChange()
{
    CComboBox* combo = GetDlgItem<CComboBox>(IDC_PORT_COMBO);
    CIPAddressCtrl* address = GetDlgItem<CIPAddressCtrl>(IDC_ADDRESS);
    if (combo == nullptr || address == nullptr)
        return;
    if (combo->GetCount() <= 1)
        combo->EnableWindow(FALSE);
    if (IsUsbFamily(m_nPortType))
        return;

    const int selection = combo->GetCurSel();
    if (selection >= 0 && selection < m_portInfoList.GetSize()) {
        if (const auto* info = reinterpret_cast<const CPortInfo*>(combo->GetItemData(selection))) {
            address->SetAddress(info->m_dwAddress);
            address->EnableWindow(FALSE);
            return;
        }
    }
    // "User Input", or nothing selected: the user types the address.
    address->EnableWindow(TRUE);
    GotoDlgCtrl(address);
}

void CTallowDlg::OnSysCommand(UINT id, LPARAM param)
{
    if ((id & 0xFFF0) != IDM_ABOUTBOX) {
        CDialog::OnSysCommand(id, param);
        return;
    }
    std::wstring line;
    const std::optional<std::wstring> series = platform::LoadString(ids::IDS_SERIES_NAME);
    const std::optional<std::wstring> version = platform::LoadString(ids::IDS_FIRMWARE_VERSION);
    if (series && version)
        line = platform::Format(kAboutLineFormat, {*series, *version});
    CAboutDlg about(line.c_str());
    about.DoModal();
}
