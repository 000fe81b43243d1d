// The main dialog's buttons: the two pages and who owns the printer's port,
// every outcome of Next and Install with its message, leaving on either
// page, and the whole install through the real send-status dialog.

#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "app/ExitCode.h"
#include "app/SendResult.h"
#include "image/PufImage.h"
#include "platform/ui/WaitCursor.h"
#include "tests/app/TallowDlgTestSupport.h"

namespace {

using namespace tallow_test;
using namespace std::chrono_literals;
using platform::ui::test::Click;
using platform::ui::test::CloseWindow;
using platform::ui::test::PressKey;
using platform::ui::test::RightDoubleClick;
using testsupport::ScriptedPort;

constexpr int kStillOpen = 99;

void ExpectFirstPage(const CDialog& d)
{
    EXPECT_EQ(d.GetDlgItemText(IDOK), L"&Next");
    EXPECT_FALSE(Enabled(d, IDC_BACK));
    EXPECT_EQ(d.GetDlgItemText(IDC_MODEL_LINE), L"Lumetra Series");
    EXPECT_EQ(d.GetDlgItemText(IDC_VERSION_LINE), L"From -.--  To 1.20");
    EXPECT_EQ(CUpdater::GetInstance().m_pPort, nullptr);
}

void ExpectSecondPage(const CDialog& d, const std::wstring& model, const std::wstring& versionLine)
{
    EXPECT_EQ(d.GetDlgItemText(IDOK), L"Install");
    EXPECT_TRUE(Enabled(d, IDC_BACK));
    EXPECT_FALSE(Enabled(d, IDC_PORT_COMBO));
    EXPECT_FALSE(Enabled(d, IDC_ADDRESS));
    EXPECT_EQ(d.GetDlgItemText(IDC_MODEL_LINE), model);
    EXPECT_EQ(d.GetDlgItemText(IDC_VERSION_LINE), versionLine);
    EXPECT_NE(CUpdater::GetInstance().m_pPort, nullptr);
}

// A network build given the printer's address on the command line, so that
// Next reaches it without typing.
void GiveAddress(CTallowDlg& dialog)
{
    dialog.m_bPortGiven = TRUE;
    dialog.m_dwGivenAddress = kPrinterAddress;
}

// ---------------------------------------------------------------------------
// Pages.

TEST_F(TallowDlgTest, NextBackNextMovesBetweenPagesAndHandsThePortOver)
{
    SetPortType(L"Ethernet1");
    DeviceListHost host(DeviceList({
        DeviceRecord("Front office", "Corvex KX-70", 0, PackedIp(192, 168, 0, 10)),
        DeviceRecord("Lab", "Corvex KX-70", 0, PackedIp(192, 168, 0, 99)),
    }));
    ports.Add().Reply(kOlderReady);
    ports.Add().Reply(L"MDL:KX-70;VER:1.05;");
    CTallowDlg dialog;
    Prepare(dialog);

    h.RunModal(dialog, [&](CDialog& d) {
        ExpectFirstPage(d);
        EXPECT_TRUE(PressKey(d, VK_RETURN)); // Enter is Next
        ExpectSecondPage(d, L"KX-70", L"From 1.10  To 1.20");
        EXPECT_EQ(CWnd::GetFocus(), d.GetDlgItem(IDOK));
        EXPECT_FALSE(ports.journals[0]->destroyed);

        EXPECT_TRUE(Click(d, IDC_BACK));
        ExpectFirstPage(d);
        EXPECT_TRUE(ports.journals[0]->destroyed); // the driver let go of it
        EXPECT_TRUE(Enabled(d, IDC_PORT_COMBO));
        EXPECT_EQ(CUpdater::GetInstance().m_strPrinterModel, L"");
        EXPECT_EQ(CUpdater::GetInstance().m_nPrinterVersion, 0);

        EXPECT_TRUE(Click(d, IDOK));
        ExpectSecondPage(d, L"KX-70", L"From 1.05  To 1.20");
        d.EndDialog(kStillOpen);
    });

    // Each Next built its own port for the selected device and asked it once.
    ASSERT_EQ(ports.calls.size(), 2u);
    for (const PortQueue::Call& call : ports.calls) {
        EXPECT_EQ(call.portType, PORT_TYPE_ETHERNET1);
        EXPECT_EQ(call.hostAddress, 0xC0A8000Au);
    }
    EXPECT_EQ(ports.journals[1]->Count(testsupport::PortJournal::Op::QueryStatus), 1u);
    EXPECT_TRUE(Boxes().empty());
}

// ---------------------------------------------------------------------------
// Next.

struct NextCase {
    const char* name;
    const wchar_t* portType;
    std::function<void(PortQueue&)> printer; // queues the port Next gets, if any
    std::optional<MessageBoxRequest> box;    // nullopt: accepted, second page
    const wchar_t* versionLine = L"";
};

void Replying(PortQueue& ports, const wchar_t* reply)
{
    ports.Add().Reply(reply);
}

const NextCase kNextCases[] = {
    {"NetworkNoReply", L"Ethernet1", [](PortQueue& p) { p.Add().NoReply(); },
     Box(L"Cannot find a printer.\nFill in IP address again or turn on main power switch.", MessageIcon::Exclamation)},
    {"NetworkEmptyReply", L"Ethernet2", [](PortQueue& p) { Replying(p, L""); },
     Box(L"Cannot find a printer.\nFill in IP address again or turn on main power switch.", MessageIcon::Exclamation)},
    {"NetworkNoPortBuilt", L"Ethernet3", [](PortQueue&) {},
     Box(L"Cannot find a printer.\nFill in IP address again or turn on main power switch.", MessageIcon::Exclamation)},
    {"UsbNoReply", L"USB", [](PortQueue& p) { p.Add().NoReply(); },
     Box(L"Cannot find a printer.\nConnect USB cable with PC and printer or turn on main power switch.",
         MessageIcon::Exclamation)},
    {"ControllerLibraryNoPortBuilt", L"DLL_USB", [](PortQueue&) {},
     Box(L"Cannot find a printer.\nConnect USB cable with PC and printer or turn on main power switch.",
         MessageIcon::Exclamation)},
    {"AnotherModel", L"Ethernet4", [](PortQueue& p) { Replying(p, L"MDL:KX-99;VER:1.10;"); },
     Box(L"This installer doesn't support KX-99.\nDownload a proper installer for your printer.",
         MessageIcon::Exclamation)},
    {"ModelInOtherCase", L"USB", [](PortQueue& p) { Replying(p, L"MDL:kx-70;VER:1.10;"); },
     Box(L"This installer doesn't support kx-70.\nDownload a proper installer for your printer.",
         MessageIcon::Exclamation)},
    {"NoModel", L"Ethernet1", [](PortQueue& p) { Replying(p, L"VER:1.10;"); },
     Box(L"This installer doesn't support .\nDownload a proper installer for your printer.", MessageIcon::Exclamation)},
    {"SameVersion", L"Ethernet1", [](PortQueue& p) { Replying(p, L"MDL:KX-70;VER:1.20;"); },
     Box(L"Current version is 1.20. \nInstallation is not necessary.", MessageIcon::Information)},
    {"NewerVersionEvenInIplMode", L"USB", [](PortQueue& p) { Replying(p, L"MDL:KX-70;VER:1.30;MODE:IPL;"); },
     Box(L"Current version is 1.30. \nInstallation is not necessary.", MessageIcon::Information)},
    {"NoVersion", L"Ethernet2", [](PortQueue& p) { Replying(p, L"MDL:KX-70;"); },
     Box(L"Current version is ---. \nInstallation is not necessary.", MessageIcon::Information)},
    {"OlderVersion", L"Ethernet1", [](PortQueue& p) { Replying(p, kOlderReady); }, std::nullopt,
     L"From 1.10  To 1.20"},
    {"SameVersionInIplMode", L"DLL_USB", [](PortQueue& p) { Replying(p, L"MDL:KX-70;VER:1.20;MODE:IPL;"); },
     std::nullopt, L"From 1.20  To 1.20"},
};

void PrintTo(const NextCase& row, std::ostream* os)
{
    *os << row.name;
}

class NextTest : public TallowDlgTest, public testing::WithParamInterface<NextCase> {};

TEST_P(NextTest, RefusesWithItsMessageOrTurnsToTheSecondPage)
{
    const NextCase& row = GetParam();
    SetPortType(row.portType);
    row.printer(ports);
    CTallowDlg dialog;
    Prepare(dialog);
    if (!IsUsbFamily(GetProductPortType()))
        GiveAddress(dialog);

    const int result = h.RunModal(dialog, [&](CDialog& d) {
        EXPECT_TRUE(Click(d, IDOK));
        if (row.box)
            ExpectFirstPage(d);
        else
            ExpectSecondPage(d, L"KX-70", row.versionLine);
        d.EndDialog(kStillOpen);
    });

    EXPECT_EQ(result, kStillOpen);
    ASSERT_EQ(ports.calls.size(), 1u);
    EXPECT_EQ(ports.calls[0].hostAddress, IsUsbFamily(GetProductPortType()) ? 0u : kPrinterAddress);
    if (row.box) {
        ASSERT_EQ(Boxes().size(), 1u);
        EXPECT_EQ(Boxes()[0], *row.box);
    } else {
        EXPECT_TRUE(Boxes().empty());
    }
    // A refused port is released at once; an accepted one stays with the driver.
    if (!ports.journals.empty()) {
        EXPECT_EQ(ports.journals[0]->destroyed, row.box.has_value());
    }
}

INSTANTIATE_TEST_SUITE_P(Outcomes, NextTest, testing::ValuesIn(kNextCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(TallowDlgTest, BlankAddressIsNoPrinterAndNothingIsContacted)
{
    SetPortType(L"Ethernet1");
    CTallowDlg dialog;
    Prepare(dialog);
    h.RunModal(dialog, [&](CDialog& d) {
        EXPECT_EQ(AddressField(d), 0u);
        EXPECT_TRUE(Click(d, IDOK));
        ExpectFirstPage(d);
        d.EndDialog(kStillOpen);
    });
    EXPECT_TRUE(ports.calls.empty());
    ASSERT_EQ(Boxes().size(), 1u);
    EXPECT_EQ(Boxes()[0].text, L"Cannot find a printer.\nFill in IP address again or turn on main power switch.");
}

TEST_F(TallowDlgTest, ModelMessageNeverNamesThePrinterOfAnEarlierAttempt)
{
    SetPortType(L"Ethernet1");
    ports.Add().Reply(L"MDL:KX-99;VER:1.10;");
    ports.Add().Reply(L"VER:1.10;");
    CTallowDlg dialog;
    Prepare(dialog);
    GiveAddress(dialog);
    h.RunModal(dialog, [&](CDialog& d) {
        Click(d, IDOK);
        Click(d, IDOK);
        d.EndDialog(kStillOpen);
    });
    ASSERT_EQ(Boxes().size(), 2u);
    EXPECT_EQ(Boxes()[0].text, L"This installer doesn't support KX-99.\nDownload a proper installer for your printer.");
    EXPECT_EQ(Boxes()[1].text, L"This installer doesn't support .\nDownload a proper installer for your printer.");
}

TEST_F(TallowDlgTest, WaitCursorShowsWhileThePrinterIsAsked)
{
    SetPortType(L"USB");
    std::vector<bool> waiting;
    ports.Add().Respond([&](const testsupport::PortJournal&) -> std::optional<std::wstring> {
        waiting.push_back(platform::ui::IsWaitCursorShown());
        return kOlderNotReady;
    });
    CTallowDlg dialog;
    Prepare(dialog);
    h.RunModal(dialog, [&](CDialog& d) {
        Click(d, IDOK); // Next: CheckPrinter
        Click(d, IDOK); // Install: CheckReady, not ready
        EXPECT_FALSE(platform::ui::IsWaitCursorShown());
        d.EndDialog(kStillOpen);
    });
    EXPECT_EQ(waiting, (std::vector<bool>{true, true}));
}

// ---------------------------------------------------------------------------
// Install.

struct InstallCase {
    const char* name;
    const wchar_t* portType;
    int sendResult;
    std::optional<MessageBoxRequest> box;
    int result;
};

const MessageBoxRequest kSendFailedBox = Box(
    L"Failed to send firmware.\nTurn off main power switch and turn it on,\nthen try installation again.",
    MessageIcon::Stop);
const MessageBoxRequest kInstallFailedBox = Box(
    L"Failed to install firmware.\nTurn off main power switch and turn it on,\nthen try installation again.",
    MessageIcon::Stop);

const InstallCase kInstallCases[] = {
    {"Installed", L"Ethernet1", SEND_RESULT_INSTALLED,
     Box(L"The installation of firmware was successful.", MessageIcon::Information), TallowExitCode::INSTALLED},
    {"NoTimer", L"USB", SEND_RESULT_NO_TIMER, kInstallFailedBox, TallowExitCode::INSTALL_FAILED},
    {"SendFailed", L"Ethernet2", SEND_RESULT_SEND_FAILED, kSendFailedBox, TallowExitCode::INSTALL_FAILED},
    {"AnotherModelAfterInstall", L"Ethernet3", SEND_RESULT_INSTALL_FAILED, kInstallFailedBox,
     TallowExitCode::INSTALL_FAILED},
    {"TimedOut", L"Ethernet3", SEND_RESULT_TIMED_OUT, kInstallFailedBox, TallowExitCode::INSTALL_FAILED},
    {"TimedOutOnQuill", L"Ethernet4", SEND_RESULT_TIMED_OUT,
     Box(L"Failed to install firmware.\n\nIf the \"SUM ERROR\" appears on the LCD,  push \"ENTER\" button on the "
         L"panel and then try installation again.",
         MessageIcon::Stop),
     TallowExitCode::INSTALL_FAILED},
    {"Aborted", L"USB", SEND_RESULT_ABORTED, std::nullopt, TallowExitCode::CANCELLED},
    {"UnknownResult", L"Ethernet1", 42, kInstallFailedBox, TallowExitCode::INSTALL_FAILED},
    {"SendStatusWindowNotCreated", L"Ethernet1", -1, kInstallFailedBox, TallowExitCode::INSTALL_FAILED},
};

void PrintTo(const InstallCase& row, std::ostream* os)
{
    *os << row.name;
}

class InstallTest : public TallowDlgTest, public testing::WithParamInterface<InstallCase> {};

TEST_P(InstallTest, EndsWithTheMessageAndExitCodeOfTheSendResult)
{
    const InstallCase& row = GetParam();
    SetPortType(row.portType);
    // The records format of the other port types reads no word code; a
    // printer in IPL mode is ready whatever its STATUS says.
    const bool wordFormat = StatusFormatForPortType(GetProductPortType()) == STATUS_FORMAT_WORD;
    ports.Add().Reply(wordFormat ? kOlderReady : L"MDL:KX-70;VER:1.10;MODE:IPL;").RepeatLast();
    CTallowDlg dialog;
    Prepare(dialog);
    if (!IsUsbFamily(GetProductPortType()))
        GiveAddress(dialog);
    std::vector<BOOL> runs;
    dialog.SetSendStatusRunner([&](BOOL bIplMode) {
        runs.push_back(bIplMode);
        EXPECT_TRUE(platform::ui::IsWaitCursorShown());
        return row.sendResult;
    });

    const int result = h.RunModal(dialog, [&](CDialog& d) {
        Click(d, IDOK);
        Click(d, IDOK);
    });

    EXPECT_EQ(result, row.result);
    EXPECT_EQ(runs, std::vector<BOOL>{wordFormat ? FALSE : TRUE});
    if (row.box) {
        ASSERT_EQ(Boxes().size(), 1u);
        EXPECT_EQ(Boxes()[0], *row.box);
    } else {
        EXPECT_TRUE(Boxes().empty());
    }
}

INSTANTIATE_TEST_SUITE_P(SendResults, InstallTest, testing::ValuesIn(kInstallCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(TallowDlgTest, InstallOnANotReadyPrinterAsksToSwitchAndChecksAgain)
{
    SetPortType(L"Ethernet1");
    ScriptedPort& printer = ports.Add();
    printer.Reply(kOlderReady).Reply(kOlderNotReady).Reply(kOlderReady);
    const auto journal = ports.journals[0];
    CTallowDlg dialog;
    Prepare(dialog);
    GiveAddress(dialog);
    int sends = 0;
    dialog.SetSendStatusRunner([&](BOOL) { return ++sends, SEND_RESULT_INSTALLED; });

    const int result = h.RunModal(dialog, [&](CDialog& d) {
        Click(d, IDOK);
        Click(d, IDOK);
        ExpectSecondPage(d, L"KX-70", L"From 1.10  To 1.20");
        EXPECT_EQ(sends, 0);
        Click(d, IDOK);
    });

    EXPECT_EQ(result, TallowExitCode::INSTALLED);
    EXPECT_EQ(journal->Count(testsupport::PortJournal::Op::QueryStatus), 3u);
    ASSERT_EQ(Boxes().size(), 2u);
    EXPECT_EQ(Boxes()[0], Box(L"Turn off SUB power switch.", MessageIcon::Exclamation));
    EXPECT_EQ(Boxes()[1].text, L"The installation of firmware was successful.");
}

TEST_F(TallowDlgTest, InstallOnAPrinterThatDoesNotAnswerFailsWithoutSending)
{
    for (const wchar_t* readiness : {static_cast<const wchar_t*>(nullptr), L"MDL:KX-70;VER:1.10;STATUS:8000;"}) {
        SCOPED_TRACE(readiness ? "short STATUS" : "no reply");
        ResetUpdater();
        const std::size_t before = Boxes().size();
        SetPortType(L"USB");
        ScriptedPort& printer = ports.Add();
        printer.Reply(kOlderReady);
        if (readiness)
            printer.Reply(readiness);
        CTallowDlg dialog;
        Prepare(dialog);
        bool sent = false;
        dialog.SetSendStatusRunner([&](BOOL) { return sent = true, SEND_RESULT_INSTALLED; });
        const int result = h.RunModal(dialog, [&](CDialog& d) {
            Click(d, IDOK);
            Click(d, IDOK);
        });
        EXPECT_EQ(result, TallowExitCode::INSTALL_FAILED);
        EXPECT_FALSE(sent);
        ASSERT_EQ(Boxes().size(), before + 1);
        EXPECT_EQ(Boxes().back(), kSendFailedBox);
    }
}

// ---------------------------------------------------------------------------
// Leaving.

struct LeaveWay {
    const char* name;
    std::function<void(CDialog&)> act;
};

const LeaveWay kLeaveWays[] = {
    {"CancelButton", [](CDialog& d) { Click(d, IDCANCEL); }},
    {"Escape", [](CDialog& d) { PressKey(d, VK_ESCAPE); }},
    {"CloseButton", [](CDialog& d) { CloseWindow(d); }},
};

void PrintTo(const LeaveWay& row, std::ostream* os)
{
    *os << row.name;
}

class LeaveTest : public TallowDlgTest, public testing::WithParamInterface<LeaveWay> {};

TEST_P(LeaveTest, FirstPageEndsAtOnce)
{
    SetPortType(L"USB");
    CTallowDlg dialog;
    Prepare(dialog);
    EXPECT_EQ(h.RunModal(dialog, GetParam().act), TallowExitCode::CANCELLED);
    EXPECT_TRUE(Boxes().empty());
}

TEST_P(LeaveTest, SecondPageAsksAndNoKeepsEverything)
{
    SetPortType(L"USB");
    ports.Add().Reply(kOlderReady);
    CTallowDlg dialog;
    Prepare(dialog);
    h.boxes.Answer(IDNO);
    h.boxes.Answer(IDYES);
    const int result = h.RunModal(dialog, [&](CDialog& d) {
        Click(d, IDOK);
        GetParam().act(d); // No
        EXPECT_TRUE(d.IsWindowVisible());
        ExpectSecondPage(d, L"KX-70", L"From 1.10  To 1.20");
        GetParam().act(d); // Yes
    });
    EXPECT_EQ(result, TallowExitCode::CANCELLED);
    const MessageBoxRequest question{L"Are you sure to exit without installation?", L"Corvex Firmware Installer",
                                     MessageIcon::Question, MessageButtons::YesNo, IDNO};
    EXPECT_EQ(Boxes(), (std::vector<MessageBoxRequest>{question, question}));
}

INSTANTIATE_TEST_SUITE_P(Ways, LeaveTest, testing::ValuesIn(kLeaveWays),
                         [](const auto& info) { return std::string(info.param.name); });

// ---------------------------------------------------------------------------
// Through the real send-status dialog, on the manual clock.

class WholeInstallTest : public TallowDlgTest {
protected:
    // The printer takes the image, then reports `afterInstall` to every poll.
    ScriptedPort& Printer(const wchar_t* ready, const wchar_t* afterInstall)
    {
        ScriptedPort& printer = ports.Add();
        printer.Reply(ready).Reply(ready).Reply(afterInstall).RepeatLast();
        return printer;
    }

    std::vector<std::uint8_t> Payload() const
    {
        const CPufImage& image = *CUpdater::GetInstance().m_pImage;
        return {image.m_pData.get(), image.m_pData.get() + image.m_nSize};
    }
};

TEST_F(WholeInstallTest, PrinterReportingTheNewVersionAtTheFirstPollEndsWithZero)
{
    SetPortType(L"Ethernet1");
    Printer(kOlderReady, kInstalledReply);
    const auto journal = ports.journals[0];
    CTallowDlg dialog;
    Prepare(dialog);
    GiveAddress(dialog);
    std::vector<std::uint8_t> payload;
    h.WhenDialogOpens([&](CDialog&) {
        payload = Payload();
        h.Advance(50ms); // the send
        h.Advance(10s);  // the first poll comes 5 s after it
    });

    const int result = h.RunModal(dialog, [&](CDialog& d) {
        PressKey(d, VK_RETURN);
        PressKey(d, VK_RETURN);
    });

    EXPECT_EQ(result, TallowExitCode::INSTALLED);
    EXPECT_EQ(journal->Count(testsupport::PortJournal::Op::EnterUpdateMode), 1u);
    EXPECT_EQ(journal->SentBytes(), payload);
    EXPECT_FALSE(payload.empty());
    ASSERT_EQ(Boxes().size(), 1u);
    EXPECT_EQ(Boxes()[0], Box(L"The installation of firmware was successful.", MessageIcon::Information));
}

TEST_F(WholeInstallTest, QuillPrinterThatNeverReportsTheNewVersionEndsWithTheSumErrorHint)
{
    SetPortType(L"Ethernet4");
    constexpr wchar_t kIpl[] = L"MDL:KX-70;VER:1.10;MODE:IPL;";
    Printer(kIpl, L"MDL:KX-70;VER:1.10;");
    CTallowDlg dialog;
    Prepare(dialog);
    GiveAddress(dialog);
    h.WhenDialogOpens([&](CDialog&) {
        h.Advance(50ms);
        h.Advance(200s); // 36 polls, 5 s apart
    });

    const int result = h.RunModal(dialog, [&](CDialog& d) {
        Click(d, IDOK);
        Click(d, IDOK);
    });

    EXPECT_EQ(result, TallowExitCode::INSTALL_FAILED);
    ASSERT_EQ(Boxes().size(), 1u);
    EXPECT_EQ(Boxes()[0].text, L"Failed to install firmware.\n\nIf the \"SUM ERROR\" appears on the LCD,  push "
                               L"\"ENTER\" button on the panel and then try installation again.");
}

TEST_F(WholeInstallTest, SendAbortedByTheUserEndsWithOneAndNoFurtherMessage)
{
    SetPortType(L"USB");
    Printer(kOlderReady, kOlderReady);
    CTallowDlg dialog;
    Prepare(dialog);
    h.boxes.Answer(IDYES);
    h.WhenDialogOpens([&](CDialog& status) {
        h.Advance(50ms);
        RightDoubleClick(status, MK_LBUTTON | MK_CONTROL | MK_SHIFT, {10, 10});
    });

    const int result = h.RunModal(dialog, [&](CDialog& d) {
        Click(d, IDOK);
        Click(d, IDOK);
    });

    EXPECT_EQ(result, TallowExitCode::CANCELLED);
    ASSERT_EQ(Boxes().size(), 1u); // the send-status dialog's question only
    EXPECT_EQ(Boxes()[0].text, L"Are you sure to exit without installation?");
}

} // namespace
