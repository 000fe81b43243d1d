// The main dialog's start-up: the checks that end it before it shows, the
// port list of each family, the logo, the font, the tooltip, the About box
// and the Japanese variant.

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "app/AlphaBitmap.h"
#include "app/DialogFont.h"
#include "app/ExitCode.h"
#include "platform/resources/Resources.h"
#include "platform/ui/DialogTemplate.h"
#include "platform/ui/ImageResources.h"
#include "tests/app/TallowDlgTestSupport.h"

namespace {

using namespace tallow_test;
using platform::ui::test::ChooseComboItem;
using platform::ui::test::ChooseSystemMenuItem;
using platform::ui::test::HoverToolTip;
using platform::ui::test::SystemMenuItems;
using platform::ui::test::TypeText;

constexpr wchar_t kUserInput[] = L"User Input (Fill in IP address below)";
constexpr wchar_t kAutomaticDetection[] = L"Automatic Detection";

// ---------------------------------------------------------------------------
// Start-up failures: one stop box, the dialog result, no window.

struct StartupFailure {
    const char* name;
    const wchar_t* portType;
    std::function<void(platform::ResourceOverlay&, CTallowDlg&)> arrange;
    std::wstring message;
    int result;
    bool withoutPortList = false;
};

void Nothing(platform::ResourceOverlay&, CTallowDlg&) {}

// The build's firmware resource with one payload byte changed: its 8-bit
// sum no longer holds.
std::vector<std::uint8_t> DamagedFirmware()
{
    const auto bytes = platform::FindResource(ids::RT_FIRMWARE, ids::IDR_FIRMWARE);
    std::vector<std::uint8_t> damaged(bytes->begin(), bytes->end());
    damaged[damaged.size() / 2] ^= 0x5A;
    return damaged;
}

const std::wstring kIllegal = L"Illegal command parameter.";
const std::wstring kSockets = L"Failed to initialize Windows socket.";
const std::wstring kFatal = L"Fatal error.";
const std::wstring kCorrupted = L"This installer is corrupted.\nDownload another installer.";

const StartupFailure kStartupFailures[] = {
    {"UsbBuildGivenAnAddress", L"USB",
     [](auto&, CTallowDlg& d) {
         d.m_bPortGiven = TRUE;
         d.m_dwGivenAddress = 0x0A000001;
     },
     kIllegal, TallowExitCode::ILLEGAL_PARAMETER},
    {"NetworkBuildGivenUsb", L"Ethernet1",
     [](auto&, CTallowDlg& d) {
         d.m_bPortGiven = TRUE;
         d.m_strGivenUsb = L"USB001";
     },
     kIllegal, TallowExitCode::ILLEGAL_PARAMETER},
    {"NetworkBuildGivenInvalidAddress", L"Ethernet2", [](auto&, CTallowDlg& d) { d.m_bPortGiven = TRUE; }, kIllegal,
     TallowExitCode::ILLEGAL_PARAMETER},
    {"NetworkBuildWithoutSockets", L"Ethernet3", [](auto&, CTallowDlg& d) { d.m_bSocketsReady = FALSE; }, kSockets,
     TallowExitCode::STARTUP_FAILED},
    {"SocketsCheckedBeforeTheCommandLine", L"Ethernet4",
     [](auto&, CTallowDlg& d) {
         d.m_bSocketsReady = FALSE;
         d.m_bPortGiven = TRUE;
     },
     kSockets, TallowExitCode::STARTUP_FAILED},
    {"SeriesNameMissing", L"USB", [](auto& r, auto&) { r.RemoveString(ids::IDS_SERIES_NAME); }, kFatal,
     TallowExitCode::STARTUP_FAILED},
    {"FirmwareVersionMissing", L"USB", [](auto& r, auto&) { r.RemoveString(ids::IDS_FIRMWARE_VERSION); }, kFatal,
     TallowExitCode::STARTUP_FAILED},
    {"ModelNamesMissing", L"Ethernet1", [](auto& r, auto&) { r.RemoveString(ids::IDS_MODEL_NAMES); }, kFatal,
     TallowExitCode::STARTUP_FAILED},
    {"AutomaticDetectionMissing", L"DLL_USB", [](auto& r, auto&) { r.RemoveString(ids::IDS_AUTOMATIC_DETECTION); },
     kFatal, TallowExitCode::STARTUP_FAILED},
    {"UserInputMissing", L"Ethernet1", [](auto& r, auto&) { r.RemoveString(ids::IDS_USER_INPUT); }, kFatal,
     TallowExitCode::STARTUP_FAILED},
    {"NoPortList", L"Ethernet1", Nothing, kFatal, TallowExitCode::STARTUP_FAILED, true},
    {"FirmwareMissing", L"USB", [](auto& r, auto&) { r.RemoveBinary(ids::RT_FIRMWARE, ids::IDR_FIRMWARE); },
     kCorrupted, TallowExitCode::STARTUP_FAILED},
    {"FirmwareDamaged", L"Ethernet1",
     [](auto& r, auto&) { r.SetBinary(ids::RT_FIRMWARE, ids::IDR_FIRMWARE, DamagedFirmware()); }, kCorrupted,
     TallowExitCode::STARTUP_FAILED},
    {"ImageForAnotherModelCode", L"Ethernet1", [](auto& r, auto&) { r.SetString(ids::IDS_MODEL_CODE, L"70169"); },
     kCorrupted, TallowExitCode::STARTUP_FAILED},
    {"ImageOfAnotherVersion", L"USB", [](auto& r, auto&) { r.SetString(ids::IDS_FIRMWARE_VERSION, L"1.21"); },
     kCorrupted, TallowExitCode::STARTUP_FAILED},
    {"ImageCheckedBeforeTheCommandLine", L"USB",
     [](auto& r, CTallowDlg& d) {
         r.RemoveBinary(ids::RT_FIRMWARE, ids::IDR_FIRMWARE);
         d.m_bPortGiven = TRUE;
     },
     kCorrupted, TallowExitCode::STARTUP_FAILED},
};

void PrintTo(const StartupFailure& row, std::ostream* os)
{
    *os << row.name;
}

class StartupFailureTest : public TallowDlgTest, public testing::WithParamInterface<StartupFailure> {};

TEST_P(StartupFailureTest, ShowsOneStopBoxAndEndsBeforeTheWindowShows)
{
    const StartupFailure& row = GetParam();
    SetPortType(row.portType);
    std::optional<platform::ui::ScopedDialogTemplate> withoutPortList;
    if (row.withoutPortList) {
        platform::ui::DialogTemplate changed = MainDialogTemplate(platform::Language::English);
        std::erase_if(changed.controls, [](const auto& control) { return control.id == IDC_PORT_COMBO; });
        withoutPortList.emplace(IDD_TALLOW_DIALOG, platform::Language::English, std::move(changed));
    }
    CTallowDlg dialog;
    Prepare(dialog);
    row.arrange(resources, dialog);

    bool shown = false;
    const int result = h.RunModal(dialog, [&](CDialog&) { shown = true; });

    EXPECT_EQ(result, row.result);
    EXPECT_FALSE(shown);
    ASSERT_EQ(Boxes().size(), 1u);
    EXPECT_EQ(Boxes()[0], Box(row.message, MessageIcon::Stop));
    EXPECT_TRUE(ports.calls.empty());
}

INSTANTIATE_TEST_SUITE_P(TallowError, StartupFailureTest, testing::ValuesIn(kStartupFailures),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(TallowDlgTest, RefusedImageAndModelAreNotKeptByTheDriver)
{
    SetPortType(L"USB");
    resources.SetString(ids::IDS_MODEL_CODE, L"70169");
    CTallowDlg dialog;
    Prepare(dialog);
    EXPECT_EQ(h.RunModal(dialog, [](CDialog&) {}), TallowExitCode::STARTUP_FAILED);
    EXPECT_EQ(CUpdater::GetInstance().m_pImage, nullptr);
    EXPECT_EQ(CUpdater::GetInstance().m_pTarget, nullptr);
}

// ---------------------------------------------------------------------------
// The port list of each family.

struct PortListCase {
    const char* name;
    const wchar_t* portType;
    std::function<void(CTallowDlg&)> arrange;
    std::optional<std::string> deviceList;
    std::vector<std::wstring> entries;
    bool comboEnabled;
    bool addressVisible;
    bool addressEnabled;
    DWORD addressShown;
    const wchar_t* family;
};

const std::string kOffice = DeviceList({
    DeviceRecord("Front office", "Corvex KX-70", 0, PackedIp(192, 168, 0, 10)),
    DeviceRecord("Scanner", "Corvex QR-500", 0, PackedIp(192, 168, 0, 40)),
    DeviceRecord("Desk", "Corvex KX-70", 1, 0, "USB001"),
    DeviceRecord("back office", "Corvex KX-70", 0, PackedIp(192, 168, 0, 20)),
    DeviceRecord("", "Corvex KX-70", 0, PackedIp(192, 168, 0, 30)),
});

const PortListCase kPortLists[] = {
    {"UsbFamilyEvenWithoutSockets", L"DLL_USB", [](CTallowDlg& d) { d.m_bSocketsReady = FALSE; }, kOffice,
     {kAutomaticDetection}, false, false, false, 0, L"USB"},
    {"UsbOptionLeavesTheListEmpty", L"USB",
     [](CTallowDlg& d) {
         d.m_bPortGiven = TRUE;
         d.m_strGivenUsb = L"USB001";
     },
     std::nullopt, {}, false, false, false, 0, L"USB"},
    {"NetworkWithoutDeviceList", L"Ethernet1", [](CTallowDlg&) {}, std::nullopt, {kUserInput}, false, true, true, 0,
     L"Ethernet"},
    // Only network entries whose model ends in KX-70, sorted without regard
    // to case, then "User Input"; the first is selected and fills the field.
    {"NetworkDevicesSortedThenUserInput", L"Ethernet3", [](CTallowDlg&) {}, kOffice,
     {L"back office [ Corvex KX-70 ] ", L"Corvex KX-70 ", L"Front office [ Corvex KX-70 ] ", kUserInput}, true, true,
     false, 0xC0A80014, L"Ethernet"},
    // The address option replaces the device list.
    {"NetworkCommandLineAddress", L"Ethernet2",
     [](CTallowDlg& d) {
         d.m_bPortGiven = TRUE;
         d.m_dwGivenAddress = 0x0A000001;
     },
     kOffice, {L" "}, false, true, false, 0x0A000001, L"Ethernet"},
};

void PrintTo(const PortListCase& row, std::ostream* os)
{
    *os << row.name;
}

class PortListTest : public TallowDlgTest, public testing::WithParamInterface<PortListCase> {};

TEST_P(PortListTest, OffersTheEntriesOfTheFamily)
{
    const PortListCase& row = GetParam();
    SetPortType(row.portType);
    std::optional<DeviceListHost> host;
    if (row.deviceList)
        host.emplace(*row.deviceList);
    CTallowDlg dialog;
    Prepare(dialog);
    row.arrange(dialog);

    h.RunModal(dialog, [&](CDialog& d) {
        EXPECT_EQ(ComboEntries(d), row.entries);
        const auto* combo = d.GetDlgItem<CComboBox>(IDC_PORT_COMBO);
        EXPECT_EQ(combo->GetCurSel(), row.entries.empty() ? CB_ERR : 0);
        EXPECT_EQ(Enabled(d, IDC_PORT_COMBO), row.comboEnabled);
        const CWnd* address = d.GetDlgItem(IDC_ADDRESS);
        const bool visible = address->IsWindowVisible() != FALSE;
        EXPECT_EQ(visible, row.addressVisible);
        EXPECT_EQ(visible && Enabled(d, IDC_ADDRESS), row.addressEnabled);
        EXPECT_EQ(AddressField(d), row.addressShown);
        // The field takes the focus when the user must type the address.
        EXPECT_EQ(CWnd::GetFocus(), row.addressEnabled ? address : d.GetDlgItem(IDOK));
        EXPECT_EQ(d.GetDlgItemText(IDC_PORT_FAMILY), row.family);
        if (!row.entries.empty() && row.entries.back() == kUserInput) {
            EXPECT_EQ(combo->GetItemData(combo->GetCount() - 1), 0u);
        }
        d.EndDialog(IDOK);
    });
    EXPECT_TRUE(Boxes().empty());
}

INSTANTIATE_TEST_SUITE_P(Families, PortListTest, testing::ValuesIn(kPortLists),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(TallowDlgTest, ChoosingADeviceShowsItsAddressAndUserInputLetsTheUserType)
{
    SetPortType(L"Ethernet1");
    DeviceListHost host(kOffice);
    CTallowDlg dialog;
    Prepare(dialog);
    h.RunModal(dialog, [&](CDialog& d) {
        ASSERT_TRUE(ChooseComboItem(d, IDC_PORT_COMBO, 2)); // Front office
        EXPECT_EQ(AddressField(d), 0xC0A8000Au);
        EXPECT_FALSE(Enabled(d, IDC_ADDRESS));

        ASSERT_TRUE(ChooseComboItem(d, IDC_PORT_COMBO, 3)); // User Input
        EXPECT_TRUE(Enabled(d, IDC_ADDRESS));
        EXPECT_EQ(CWnd::GetFocus(), d.GetDlgItem(IDC_ADDRESS));
        d.GetDlgItem<CIPAddressCtrl>(IDC_ADDRESS)->ClearAddress();
        TypeText(d, L"10.1.2.3");
        platform::ui::test::Click(d, IDOK); // no port queued: not found
        d.EndDialog(IDOK);
    });
    ASSERT_EQ(ports.calls.size(), 1u);
    EXPECT_EQ(ports.calls[0].hostAddress, 0x0A010203u);
    EXPECT_EQ(ports.calls[0].portType, PORT_TYPE_ETHERNET1);
}

TEST_F(TallowDlgTest, DropDownIsAsWideAsTheWidestEntry)
{
    SetPortType(L"Ethernet1");
    DeviceListHost host(DeviceList({
        DeviceRecord("A printer with a rather long nickname in the second-floor copy room", "Corvex KX-70", 0,
                     PackedIp(10, 0, 0, 1)),
        DeviceRecord("Short", "Corvex KX-70", 0, PackedIp(10, 0, 0, 2)),
    }));
    CTallowDlg dialog;
    Prepare(dialog);
    h.RunModal(dialog, [&](CDialog& d) {
        const auto* combo = d.GetDlgItem<CComboBox>(IDC_PORT_COMBO);
        int widest = combo->GetWindowRect().Width();
        for (const std::wstring& entry : ComboEntries(d))
            widest = std::max(widest, combo->GetTextExtent(entry).cx);
        EXPECT_GT(widest, combo->GetWindowRect().Width());
        EXPECT_EQ(combo->GetDroppedWidth(), widest);
        d.EndDialog(IDOK);
    });
}

// ---------------------------------------------------------------------------
// The port list's tooltip.

TEST_F(TallowDlgTest, ToolTipShowsTheSelectedEntryCutAfter76Characters)
{
    SetPortType(L"Ethernet1");
    // An entry is the nickname and 18 characters: " [ Corvex KX-70 ] ".
    struct Row {
        std::size_t length;
        std::wstring expected;
    };
    const auto entry = [](std::size_t length) {
        return std::wstring(length - 18, L'n') + L" [ Corvex KX-70 ] ";
    };
    const Row rows[] = {
        {20, entry(20)},
        {76, entry(76)},
        {77, entry(77).substr(0, 76) + L"..."},
        {80, entry(80).substr(0, 76) + L"..."},
        {120, entry(120).substr(0, 76) + L"..."},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.length);
        ResetUpdater();
        DeviceListHost host(DeviceList({DeviceRecord(std::string(row.length - 18, 'n'), "Corvex KX-70", 0,
                                                     PackedIp(10, 0, 0, 1))}));
        CTallowDlg dialog;
        Prepare(dialog);
        h.RunModal(dialog, [&](CDialog& d) {
            EXPECT_EQ(HoverToolTip(d, IDC_PORT_COMBO), row.expected);
            d.GetDlgItem<CComboBox>(IDC_PORT_COMBO)->SetCurSel(-1);
            EXPECT_EQ(HoverToolTip(d, IDC_PORT_COMBO), std::nullopt);
            d.EndDialog(IDOK);
        });
    }
}

// ---------------------------------------------------------------------------
// Logo, font, About box.

TEST_F(TallowDlgTest, LogoIsComposedOverTheDialogColourElseTheTemplateBitmapStays)
{
    SetPortType(L"USB");
    CAlphaBitmap expected;
    ASSERT_TRUE(expected.LoadImages());
    ASSERT_TRUE(expected.Compose(GetSysColor(COLOR_BTNFACE)));
    const CBitmap composed = BitmapFromDib(*expected.GetBitmap());
    const CBitmap templateLogo = platform::ui::LoadBitmapResource(ids::IDB_LOGO);

    const auto logoOf = [&](CTallowDlg& dialog) {
        CBitmap shown;
        h.RunModal(dialog, [&](CDialog& d) {
            shown = d.GetDlgItem<CStatic>(IDC_LOGO)->GetBitmap();
            d.EndDialog(IDOK);
        });
        return shown;
    };
    const auto samePixels = [](const CBitmap& a, const CBitmap& b) {
        if (a.GetSize() != b.GetSize())
            return false;
        for (int y = 0; y < a.GetSize().cy; ++y) {
            for (int x = 0; x < a.GetSize().cx; ++x) {
                if (a.GetPixel(x, y) != b.GetPixel(x, y))
                    return false;
            }
        }
        return true;
    };

    CTallowDlg withLogo;
    Prepare(withLogo);
    EXPECT_TRUE(samePixels(logoOf(withLogo), composed));

    ResetUpdater();
    resources.RemoveBinary(L"BITMAP", ids::IDB_LOGO_ALPHA);
    CTallowDlg withoutOpacity;
    Prepare(withoutOpacity);
    EXPECT_TRUE(samePixels(logoOf(withoutOpacity), templateLogo));
    EXPECT_TRUE(Boxes().empty());
}

TEST_F(TallowDlgTest, DialogAndItsControlsUseTheDesktopFont)
{
    SetPortType(L"Ethernet1");
    CTallowDlg dialog;
    Prepare(dialog);
    h.RunModal(dialog, [&](CDialog& d) {
        FontDescription desktop;
        ASSERT_TRUE(GetIconTitleFont(desktop));
        EXPECT_EQ(&GetDialogFont(), &GetDialogFont());
        EXPECT_EQ(GetDialogFont().Describe().faceName, desktop.faceName);
        EXPECT_EQ(d.GetFont().Describe().faceName, desktop.faceName);
        for (CWnd* child = d.GetWindow(GW_CHILD); child != nullptr; child = child->GetNextWindow())
            EXPECT_EQ(child->GetFont().Describe().faceName, desktop.faceName) << child->GetDlgCtrlID();
        d.EndDialog(IDOK);
    });
}

TEST_F(TallowDlgTest, ApplyDialogFontIgnoresAMissingDialogAndAnEmptyFont)
{
    SetPortType(L"USB");
    CTallowDlg dialog;
    Prepare(dialog);
    h.RunModal(dialog, [&](CDialog& d) {
        ApplyDialogFont(nullptr, GetDialogFont());
        CFont other;
        ASSERT_TRUE(other.CreatePointFont(140, L"DejaVu Serif"));
        ApplyDialogFont(&d, CFont{});
        EXPECT_EQ(d.GetDlgItem(IDOK)->GetFont().Describe().faceName, GetDialogFont().Describe().faceName);
        ApplyDialogFont(&d, other);
        EXPECT_EQ(d.GetDlgItem(IDOK)->GetFont().Describe().height, other.Describe().height);
        d.EndDialog(IDOK);
    });
}

TEST_F(TallowDlgTest, AboutItemInTheWindowMenuOpensTheAboutBox)
{
    SetPortType(L"Ethernet1");
    CTallowDlg dialog;
    Prepare(dialog);
    std::wstring versionLine;
    std::wstring caption;
    h.WhenDialogOpens([&](CDialog& about) {
        caption = about.GetWindowText();
        versionLine = about.GetDlgItemText(IDC_ABOUT_VERSION);
        EXPECT_EQ(about.GetFont().Describe().faceName, GetDialogFont().Describe().faceName);
        platform::ui::test::Click(about, IDOK);
    });
    const int result = h.RunModal(dialog, [&](CDialog& d) {
        const std::vector<CMenu::Item> items = SystemMenuItems(d);
        ASSERT_GE(items.size(), 2u);
        EXPECT_EQ(items[items.size() - 2].flags & MF_SEPARATOR, MF_SEPARATOR);
        EXPECT_EQ(items.back().id, IDM_ABOUTBOX);
        EXPECT_EQ(items.back().text, L"&About Firmware Installer...");
        EXPECT_TRUE(ChooseSystemMenuItem(d, IDM_ABOUTBOX));
        EXPECT_TRUE(d.IsWindowVisible());
        d.EndDialog(IDOK);
    });
    EXPECT_EQ(result, IDOK);
    EXPECT_EQ(caption, L"About Firmware Installer");
    EXPECT_EQ(versionLine, L"Lumetra Series  Version 1.20");
}

// ---------------------------------------------------------------------------
// Japanese.

std::vector<std::wstring> LabelTexts(const CDialog& dialog)
{
    std::vector<std::wstring> labels;
    for (CWnd* child = dialog.GetWindow(GW_CHILD); child != nullptr; child = child->GetNextWindow()) {
        if (child->GetDlgCtrlID() == IDC_STATIC)
            labels.push_back(child->GetWindowText());
    }
    return labels;
}

TEST_F(TallowDlgTest, JapaneseUserInterfaceHasJapaneseTextsAndEnglishLabels)
{
    ScopedEnv japanese("LANGUAGE", "ja_JP");
    SetPortType(L"Ethernet1");
    CTallowDlg dialog;
    Prepare(dialog);
    h.RunModal(dialog, [&](CDialog& d) {
        EXPECT_EQ(d.GetWindowText(), L"Corvex Firmware Installer");
        EXPECT_EQ(d.GetDlgItemText(IDOK), L"次へ(&N)");
        EXPECT_EQ(d.GetDlgItemText(IDCANCEL), L"キャンセル");
        EXPECT_EQ(d.GetDlgItemText(IDC_BACK), L"戻る(&B)");
        EXPECT_EQ(LabelTexts(d), (std::vector<std::wstring>{L"Model:", L"Version:", L"Port:"}));
        EXPECT_EQ(ComboEntries(d), std::vector<std::wstring>{L"ユーザー入力"});
        EXPECT_EQ(SystemMenuItems(d).back().text, L"バージョン情報(&A)...");
        // The Japanese template is taller.
        CRect japaneseSize{0, 0, 179, 141};
        d.MapDialogRect(japaneseSize);
        EXPECT_EQ(d.GetClientRect(), japaneseSize);

        platform::ui::test::Click(d, IDOK); // a blank address: not found
        d.EndDialog(IDOK);
    });
    ASSERT_EQ(Boxes().size(), 1u);
    EXPECT_EQ(Boxes()[0], Box(L"プリンタが見つかりません。\nIPアドレスが間違っているか、メイン電源スイッチがOFFになっています。",
                              MessageIcon::Exclamation));
}

TEST_F(TallowDlgTest, EnglishTemplateHasItsOwnSize)
{
    SetPortType(L"USB");
    CTallowDlg dialog;
    Prepare(dialog);
    h.RunModal(dialog, [&](CDialog& d) {
        CRect englishSize{0, 0, 179, 129};
        d.MapDialogRect(englishSize);
        EXPECT_EQ(d.GetClientRect(), englishSize);
        EXPECT_EQ(d.GetDlgItemText(IDCANCEL), L"Cancel");
        EXPECT_EQ(d.GetDlgItemText(IDC_BACK), L"&Back");
        d.EndDialog(IDOK);
    });
}

TEST_F(TallowDlgTest, JapaneseStartupErrorIsInJapanese)
{
    ScopedEnv japanese("LANGUAGE", "ja");
    SetPortType(L"USB");
    CTallowDlg dialog;
    Prepare(dialog);
    dialog.m_bPortGiven = TRUE;
    EXPECT_EQ(h.RunModal(dialog, [](CDialog&) {}), TallowExitCode::ILLEGAL_PARAMETER);
    ASSERT_EQ(Boxes().size(), 1u);
    EXPECT_EQ(Boxes()[0], Box(L"起動パラメータが不正です。", MessageIcon::Stop));
}

} // namespace
