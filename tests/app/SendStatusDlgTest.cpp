// The send-status dialog as a real window on Qt's offscreen platform, on the
// manual clock: a driver holding a small real image and a scripted printer,
// timers that fire only when the test moves time, and boxes answered by the
// recorder.

#include <gtest/gtest.h>

#include <array>
#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <ostream>
#include <span>
#include <string>
#include <utility>
#include <vector>

#include "app/DialogFont.h"
#include "app/SendStatusDlg.h"
#include "app/templates/SendStatusTemplate.h"
#include "image/PufImage.h"
#include "platform/gfx/Icon.h"
#include "platform/gfx/PictureResources.h"
#include "platform/resources/Resources.h"
#include "platform/ui/Static.h"
#include "platform/ui/WaitCursor.h"
#include "platform/ui/testing/UiTestKit.h"
#include "resources/ResourceIds.h"
#include "tests/sim/TestImages.h"
#include "tests/support/ScriptedPort.h"

namespace {

using namespace std::chrono_literals;
using platform::Clock;
using platform::ui::MessageBoxRequest;
using platform::ui::MessageButtons;
using platform::ui::MessageIcon;
using platform::ui::test::Harness;
using testsupport::PortJournal;
using testsupport::ScriptedPort;
using Op = PortJournal::Op;

const wchar_t kTitle[] = L"Corvex Firmware Installer";
const wchar_t kSending[] = L"Sending firmware...";
const wchar_t kInstalling[] = L"Installing and checking firmware...\n"
                              L"Don't turn off main power switch until finishing installation.\n"
                              L"\n"
                              L"If not, Turn off main power switch and turn it on,\n"
                              L"then try installation again. ";
const wchar_t kInstallingIpl[] = L"Installing and checking firmware...\n"
                                 L"If the \"COMPLETED\" apperas on the Panel,\n"
                                 L"turn off sub main power switch and wait for a while.";

const wchar_t kOldVersion[] = L"MDL:KX-70;VER:1.10;MODE:NORMAL;";
const wchar_t kNewVersion[] = L"MDL:KX-70;VER:1.20;MODE:NORMAL;";
const wchar_t kOtherModel[] = L"MDL:QR-500;VER:1.20;MODE:NORMAL;";
const wchar_t kBootMode[] = L"MDL:KX-70;VER:1.20;MODE:IPL;";
const wchar_t kNoIdentity[] = L"MFG:Corvex;CLS:PRINTER;";

constexpr UINT kAbortKeys = MK_LBUTTON | MK_CONTROL | MK_SHIFT;
constexpr CPoint kInDialog{3, 3};

// The first tick comes 50 ms after the window opens and pauses 4000 ms
// before the image goes out; the first poll comes 20 ticks of 250 ms later.
constexpr Clock::Duration kSentAt = 50ms + 4000ms;
constexpr Clock::Duration kPollInterval = 5000ms;

// The process-wide counters are part of what the dialog does across
// instances; each test starts them as a fresh process has them.
struct Counters : CSendStatusDlg {
    static void Reset()
    {
        s_nIconFrame = 0;
        s_nTicks = 0;
    }
};

// Hands each call on to the scripted printer after telling the test about
// it, so a test can look at the window and the clock at that moment.
class WatchedPort final : public CPort {
public:
    WatchedPort(std::unique_ptr<ScriptedPort> inner, std::function<void(Op)> watch)
        : m_inner(std::move(inner)), m_watch(std::move(watch))
    {
    }

    BOOL QueryStatus(std::wstring& statusText) override
    {
        m_watch(Op::QueryStatus);
        return m_inner->QueryStatus(statusText);
    }
    BOOL EnterUpdateMode() override
    {
        m_watch(Op::EnterUpdateMode);
        return m_inner->EnterUpdateMode();
    }
    BOOL SendData(const std::uint8_t* data, DWORD length, DWORD chunkSize) override
    {
        m_watch(Op::SendData);
        return m_inner->SendData(data, length, chunkSize);
    }
    const char* GetAccessCode() const override { return m_inner->GetAccessCode(); }

private:
    std::unique_ptr<ScriptedPort> m_inner;
    std::function<void(Op)> m_watch;
};

// A driver holding the 1.20 image for the KX-70; each test accepts its own
// printer.
class SendStatusDlgTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        RegisterSendStatusTemplate();
        Counters::Reset();
        auto target = std::make_unique<CTargetModel>(120, 70168, L"KX-70");
        auto image = simtest::MakePufImage(simtest::MakeRawImage("070168", "1.20", 3000));
        ASSERT_NE(image, nullptr);
        ASSERT_TRUE(updater.SetImage(target, image));
    }

    void TearDown() override { EXPECT_EQ(h.Problems(), std::vector<std::string>{}); }

    // Makes `port` the accepted printer; every call it gets is timed.
    void Accept(std::unique_ptr<ScriptedPort> port)
    {
        journal = port->Journal();
        updater.m_pPort = std::make_unique<WatchedPort>(std::move(port), [this](Op op) {
            if (op == Op::QueryStatus)
                queryTimes.push_back(Now());
            if (op == Op::SendData)
                sentAt = Now();
            if (onCall)
                onCall(op);
        });
    }

    // A printer that answers the polls with `replies`, then keeps giving
    // the last one.
    void AcceptPrinter(std::vector<std::wstring> replies)
    {
        auto port = std::make_unique<ScriptedPort>();
        for (std::wstring& reply : replies)
            port->Reply(std::move(reply));
        port->RepeatLast();
        Accept(std::move(port));
    }

    Clock::Duration Now() const { return h.clock.Now().time_since_epoch(); }
    std::vector<std::uint8_t> Payload() const
    {
        const CPufImage& image = *updater.m_pImage;
        return {image.m_pData.get(), image.m_pData.get() + image.m_nSize};
    }

    Harness h;
    CUpdater updater;
    std::shared_ptr<const PortJournal> journal;
    std::vector<Clock::Duration> queryTimes;
    std::optional<Clock::Duration> sentAt;
    std::function<void(Op)> onCall;
};

std::vector<Op> Ops(const PortJournal& journal)
{
    std::vector<Op> ops;
    for (const PortJournal::Call& call : journal.calls)
        ops.push_back(call.op);
    return ops;
}

// --- sending and the first poll ---------------------------------------------

class SendStatusSuccessTest : public SendStatusDlgTest, public ::testing::WithParamInterface<bool> {};

TEST_P(SendStatusSuccessTest, SendsTheWholeImageAfterThePauseAndEndsInstalledAtTheFirstPoll)
{
    const bool iplMode = GetParam();
    AcceptPrinter({kNewVersion});
    CSendStatusDlg dialog(iplMode ? TRUE : FALSE, updater);

    std::wstring textWhileSending;
    bool waitCursorWhileSending = false;
    onCall = [&](Op op) {
        if (op == Op::SendData) {
            textWhileSending = dialog.GetDlgItemText(IDC_SENDSTATUS_TEXT);
            waitCursorWhileSending = platform::ui::IsWaitCursorShown();
        }
    };

    const int result = h.RunModal(dialog, [&](CDialog& d) {
        EXPECT_EQ(d.GetWindowText(), kTitle);
        EXPECT_EQ(d.GetDlgItemText(IDC_SENDSTATUS_TEXT), L"") << "empty until the first tick";
        EXPECT_EQ(d.GetSystemMenu(FALSE), nullptr) << "no system menu, so no Close button";
        auto* icon = d.GetDlgItem<CStatic>(IDC_SENDSTATUS_ICON);
        ASSERT_NE(icon, nullptr);
        EXPECT_EQ(icon->GetIcon().GetSize(), (CSize{48, 48}));
        const FontDescription font = d.GetDlgItem(IDC_SENDSTATUS_TEXT)->GetFont().Describe();
        EXPECT_EQ(font.faceName, GetDialogFont().Describe().faceName) << "the desktop's font, not the template's";

        h.Advance(49ms);
        EXPECT_TRUE(journal->calls.empty());
        h.Advance(1ms);
        EXPECT_EQ(h.clock.Sleeps(), std::vector<Clock::Duration>{4000ms});
        EXPECT_EQ(sentAt, kSentAt);
        EXPECT_FALSE(platform::ui::IsWaitCursorShown());
        EXPECT_EQ(d.GetDlgItemText(IDC_SENDSTATUS_TEXT), iplMode ? kInstallingIpl : kInstalling);

        h.Advance(kPollInterval - 1ms);
        EXPECT_TRUE(queryTimes.empty());
        EXPECT_TRUE(d.IsWindowVisible());
        h.Advance(1ms);
    });

    EXPECT_EQ(result, SEND_RESULT_INSTALLED);
    EXPECT_EQ(textWhileSending, kSending);
    EXPECT_TRUE(waitCursorWhileSending);
    EXPECT_EQ(queryTimes, std::vector<Clock::Duration>{kSentAt + kPollInterval});
    EXPECT_EQ(Ops(*journal), (std::vector<Op>{Op::EnterUpdateMode, Op::SendData, Op::QueryStatus}));
    const PortJournal::Call& send = journal->calls[1];
    EXPECT_EQ(send.data, Payload());
    EXPECT_EQ(send.chunkSize, 0u);
}

INSTANTIATE_TEST_SUITE_P(PrinterMode, SendStatusSuccessTest, ::testing::Bool(),
                         [](const ::testing::TestParamInfo<bool>& info) { return info.param ? "Ipl" : "Normal"; });

// --- what the polls decide ----------------------------------------------------

struct PollCase {
    const char* name;
    std::vector<std::optional<std::wstring>> replies; // nullopt: no answer
    bool repeatLast;                                  // else silent afterwards
    int result;
    int polls; // the poll that ends the dialog
};

std::vector<std::optional<std::wstring>> OldVersionThen(int polls, const wchar_t* last)
{
    std::vector<std::optional<std::wstring>> replies(static_cast<std::size_t>(polls), kOldVersion);
    replies.emplace_back(last);
    return replies;
}

void PrintTo(const PollCase& row, std::ostream* os)
{
    *os << row.name;
}

class SendStatusPollTest : public SendStatusDlgTest, public ::testing::WithParamInterface<PollCase> {};

TEST_P(SendStatusPollTest, EndsAtTheDecidingPollEveryFiveSecondsAfterSending)
{
    const PollCase& row = GetParam();
    auto port = std::make_unique<ScriptedPort>();
    for (const std::optional<std::wstring>& reply : row.replies)
        reply ? port->Reply(*reply) : port->NoReply();
    if (row.repeatLast)
        port->RepeatLast();
    Accept(std::move(port));
    CSendStatusDlg dialog(FALSE, updater);

    const int result = h.RunModal(dialog, [&](CDialog&) {
        h.Advance(50ms);
        // Well past the time-out: nothing is asked once the dialog has ended.
        h.Advance(kPollInterval * 40);
    });

    EXPECT_EQ(result, row.result);
    std::vector<Clock::Duration> expected;
    for (int poll = 1; poll <= row.polls; ++poll)
        expected.push_back(kSentAt + kPollInterval * poll);
    EXPECT_EQ(queryTimes, expected);
}

INSTANTIATE_TEST_SUITE_P(
    Replies, SendStatusPollTest,
    ::testing::Values(
        PollCase{"NewVersionAtFirstPoll", {kNewVersion}, true, SEND_RESULT_INSTALLED, 1},
        PollCase{"OldVersionTimesOutAtPoll36", {kOldVersion}, true, SEND_RESULT_TIMED_OUT, 36},
        PollCase{"SilenceTimesOutAtPoll36", {}, false, SEND_RESULT_TIMED_OUT, 36},
        PollCase{"OtherModelFailsAtFirstPoll", {kOtherModel}, true, SEND_RESULT_INSTALL_FAILED, 1},
        PollCase{"WaitsThroughSilenceBootModeAndNoIdentity",
                 {std::nullopt, kBootMode, kNoIdentity, kOldVersion, kNewVersion},
                 true,
                 SEND_RESULT_INSTALLED,
                 5},
        PollCase{"OtherModelAfterWaiting", {kOldVersion, kBootMode, kOtherModel}, true, SEND_RESULT_INSTALL_FAILED, 3},
        PollCase{"InstalledAtTheLastPoll", OldVersionThen(35, kNewVersion), false, SEND_RESULT_INSTALLED, 36}),
    [](const ::testing::TestParamInfo<PollCase>& info) { return info.param.name; });

// --- when the image does not go out ---------------------------------------------

struct SendFailureCase {
    const char* name;
    bool printerAccepted;
    BOOL enterResult;
    BOOL sendResult;
    std::vector<Op> ops;
    std::vector<Clock::Duration> sleeps;
};

void PrintTo(const SendFailureCase& row, std::ostream* os)
{
    *os << row.name;
}

class SendStatusSendFailureTest : public SendStatusDlgTest, public ::testing::WithParamInterface<SendFailureCase> {};

TEST_P(SendStatusSendFailureTest, EndsSendFailedAtOnceWithoutPolling)
{
    const SendFailureCase& row = GetParam();
    auto port = std::make_unique<ScriptedPort>();
    port->EnterUpdateModeResult(row.enterResult).SendDataResult(row.sendResult).Reply(kNewVersion).RepeatLast();
    if (row.printerAccepted) {
        Accept(std::move(port));
    } else {
        journal = port->Journal();
    }
    CSendStatusDlg dialog(FALSE, updater);

    const int result = h.RunModal(dialog, [&](CDialog& d) {
        h.Advance(50ms);
        EXPECT_FALSE(d.IsWindowVisible());
        EXPECT_EQ(d.GetDlgItemText(IDC_SENDSTATUS_TEXT), kSending);
        h.Advance(kPollInterval * 2);
    });

    EXPECT_EQ(result, SEND_RESULT_SEND_FAILED);
    EXPECT_EQ(Ops(*journal), row.ops);
    EXPECT_EQ(h.clock.Sleeps(), row.sleeps);
    EXPECT_FALSE(platform::ui::IsWaitCursorShown());
}

INSTANTIATE_TEST_SUITE_P(
    Failures, SendStatusSendFailureTest,
    ::testing::Values(SendFailureCase{"NoPrinterAccepted", false, TRUE, TRUE, {}, {}},
                      SendFailureCase{"UpdateModeRefused", true, FALSE, TRUE, {Op::EnterUpdateMode}, {}},
                      SendFailureCase{"ImageNotTaken", true, TRUE, FALSE, {Op::EnterUpdateMode, Op::SendData}, {4000ms}}),
    [](const ::testing::TestParamInfo<SendFailureCase>& info) { return info.param.name; });

TEST_F(SendStatusDlgTest, WithoutTheWatchTimerAfterSendingEndsNoTimer)
{
    AcceptPrinter({kNewVersion});
    onCall = [&](Op op) {
        if (op == Op::SendData)
            h.timers.RefuseNewTimers(true);
    };
    CSendStatusDlg dialog(FALSE, updater);

    const int result = h.RunModal(dialog, [&](CDialog&) { h.Advance(50ms); });
    h.timers.RefuseNewTimers(false);

    EXPECT_EQ(result, SEND_RESULT_NO_TIMER);
    EXPECT_EQ(journal->SentBytes(), Payload());
    EXPECT_EQ(journal->Count(Op::QueryStatus), 0u);
}

TEST_F(SendStatusDlgTest, WithoutItsFirstTimerEndsSendFailedBeforeOpeningAndSendsNothing)
{
    AcceptPrinter({kNewVersion});
    h.timers.RefuseNewTimers(true);
    CSendStatusDlg dialog(FALSE, updater);

    bool opened = false;
    const int result = h.RunModal(dialog, [&](CDialog&) { opened = true; });
    h.timers.RefuseNewTimers(false);

    EXPECT_EQ(result, SEND_RESULT_SEND_FAILED);
    EXPECT_FALSE(opened);
    EXPECT_TRUE(journal->calls.empty());
}

// --- the keyboard and the hidden abort --------------------------------------------

TEST_F(SendStatusDlgTest, EnterEscapeAndCloseDoNothingBeforeOrAfterSending)
{
    AcceptPrinter({kNewVersion});
    CSendStatusDlg dialog(FALSE, updater);

    const int result = h.RunModal(dialog, [&](CDialog& d) {
        const auto tryToLeave = [&] {
            EXPECT_TRUE(platform::ui::test::PressKey(d, VK_RETURN));
            EXPECT_TRUE(platform::ui::test::PressKey(d, VK_ESCAPE));
            platform::ui::test::CloseWindow(d);
            EXPECT_TRUE(d.IsWindowVisible());
        };
        tryToLeave();
        h.Advance(50ms);
        tryToLeave();
        h.Advance(kPollInterval);
    });

    EXPECT_EQ(result, SEND_RESULT_INSTALLED);
    EXPECT_EQ(h.boxes.Boxes().size(), 0u);
}

class SendStatusPartialKeysTest : public SendStatusDlgTest, public ::testing::WithParamInterface<UINT> {};

TEST_P(SendStatusPartialKeysTest, RightDoubleClickWithoutAllThreeKeysAsksNothing)
{
    AcceptPrinter({kNewVersion});
    CSendStatusDlg dialog(FALSE, updater);

    const int result = h.RunModal(dialog, [&](CDialog& d) {
        h.Advance(50ms);
        platform::ui::test::RightDoubleClick(d, GetParam(), kInDialog);
        EXPECT_TRUE(d.IsWindowVisible());
        h.Advance(kPollInterval);
    });

    EXPECT_EQ(result, SEND_RESULT_INSTALLED);
    EXPECT_EQ(h.boxes.Boxes().size(), 0u);
}

INSTANTIATE_TEST_SUITE_P(Keys, SendStatusPartialKeysTest,
                         ::testing::Values(0u, MK_LBUTTON, MK_CONTROL | MK_SHIFT, MK_LBUTTON | MK_CONTROL,
                                           MK_LBUTTON | MK_SHIFT));

// Yes ends the dialog, whether the image has gone out or not.
TEST_F(SendStatusDlgTest, HiddenAbortAnsweredYesEndsAbortedBeforeAndAfterSending)
{
    const MessageBoxRequest question{L"Are you sure to exit without installation?", kTitle, MessageIcon::Question,
                                     MessageButtons::YesNo, IDNO};
    struct Row {
        const char* name;
        Clock::Duration before; // time the dialog runs before the click
        std::vector<Op> ops;
    };
    const Row rows[] = {
        {"before the first tick", 10ms, {}},
        {"while installing", 50ms + 3000ms, {Op::EnterUpdateMode, Op::SendData}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        AcceptPrinter({kOldVersion});
        CSendStatusDlg dialog(FALSE, updater);
        h.boxes.Answer(IDYES);
        const std::size_t boxesBefore = h.boxes.Boxes().size();
        const int result = h.RunModal(dialog, [&](CDialog& d) {
            h.Advance(row.before);
            platform::ui::test::RightDoubleClick(d, kAbortKeys, kInDialog);
            h.Advance(kPollInterval * 2);
        });

        EXPECT_EQ(result, SEND_RESULT_ABORTED);
        EXPECT_EQ(Ops(*journal), row.ops);
        ASSERT_EQ(h.boxes.Boxes().size(), boxesBefore + 1);
        EXPECT_EQ(h.boxes.Boxes().back(), question);
    }
}

// The question's default is No; the timer keeps running while it is open,
// and after No the dialog carries on to its own outcome.
TEST_F(SendStatusDlgTest, HiddenAbortAnsweredNoLeavesThePollsRunning)
{
    AcceptPrinter({kOldVersion, kNewVersion});
    CSendStatusDlg dialog(FALSE, updater);
    std::size_t pollsWhileAsking = 0;
    h.boxes.onPresent = [&](const MessageBoxRequest&) {
        h.Advance(kPollInterval);
        pollsWhileAsking = queryTimes.size();
    };

    const int result = h.RunModal(dialog, [&](CDialog& d) {
        h.Advance(50ms);
        platform::ui::test::RightDoubleClick(d, kAbortKeys, kInDialog);
        EXPECT_TRUE(d.IsWindowVisible());
        h.Advance(kPollInterval);
    });

    ASSERT_EQ(h.boxes.Boxes().size(), 1u);
    EXPECT_EQ(h.boxes.Boxes()[0].defaultButton, IDNO);
    EXPECT_EQ(pollsWhileAsking, 1u);
    EXPECT_EQ(result, SEND_RESULT_INSTALLED);
    EXPECT_EQ(queryTimes, (std::vector<Clock::Duration>{kSentAt + kPollInterval, kSentAt + kPollInterval * 2}));
}

// A poll may settle the installation while the question is still open; the
// Yes that follows must not report a finished installation as cancelled.
TEST_F(SendStatusDlgTest, YesAfterAPollHasEndedTheDialogKeepsThePollsOutcome)
{
    AcceptPrinter({kNewVersion});
    CSendStatusDlg dialog(FALSE, updater);
    h.boxes.onPresent = [&](const MessageBoxRequest&) { h.Advance(kPollInterval); };
    h.boxes.Answer(IDYES);

    const int result = h.RunModal(dialog, [&](CDialog& d) {
        h.Advance(50ms);
        platform::ui::test::RightDoubleClick(d, kAbortKeys, kInDialog);
    });

    EXPECT_EQ(result, SEND_RESULT_INSTALLED);
    EXPECT_EQ(queryTimes.size(), 1u);
}

// --- the animation ------------------------------------------------------------

// Icons 140-143 replaced by solid squares of one colour each, so the frame
// on screen can be told by one pixel.
class ColouredFrames {
public:
    static constexpr std::array<COLORREF, 4> kColours{RGB(255, 0, 0), RGB(0, 160, 0), RGB(0, 0, 255), RGB(255, 200, 0)};

    ColouredFrames()
    {
        for (std::size_t k = 0; k < kColours.size(); ++k) {
            const COLORREF c = kColours[k];
            const std::uint32_t argb = 0xFF000000u | (GetRValue(c) << 16) | (GetGValue(c) << 8) | GetBValue(c);
            const platform::gfx::IconImage image{48, 48, std::vector<std::uint32_t>(48 * 48, argb)};
            m_overlay.SetBinary(platform::gfx::kIconResourceType, ids::IDI_BUSY_FIRST + static_cast<unsigned>(k),
                                platform::gfx::EncodeIcon(std::span(&image, 1)));
        }
        m_scope.emplace(m_overlay);
    }

    // The frame the icon control shows, or -1.
    static int Shown(const CDialog& dialog)
    {
        const CWnd* icon = dialog.GetDlgItem(IDC_SENDSTATUS_ICON);
        if (icon == nullptr)
            return -1;
        const COLORREF pixel = platform::ui::test::PixelAt(*icon, {24, 24});
        for (std::size_t k = 0; k < kColours.size(); ++k) {
            if (kColours[k] == pixel)
                return static_cast<int>(k);
        }
        return -1;
    }

private:
    platform::ResourceOverlay m_overlay{platform::ExecutableResources()};
    std::optional<platform::ScopedResources> m_scope;
};

TEST_F(SendStatusDlgTest, TheAnimationTurnsOneFramePerTickOnceTheImageIsOut)
{
    ColouredFrames frames;
    AcceptPrinter({kOldVersion});
    CSendStatusDlg dialog(FALSE, updater);
    h.boxes.Answer(IDYES);

    const int result = h.RunModal(dialog, [&](CDialog& d) {
        EXPECT_EQ(ColouredFrames::Shown(d), 0);
        h.Advance(50ms);
        EXPECT_EQ(ColouredFrames::Shown(d), 0) << "the send step turns nothing";
        std::vector<int> shown;
        for (int tick = 0; tick < 9; ++tick) {
            h.Advance(250ms);
            shown.push_back(ColouredFrames::Shown(d));
        }
        EXPECT_EQ(shown, (std::vector<int>{1, 2, 3, 0, 1, 2, 3, 0, 1}));
        platform::ui::test::RightDoubleClick(d, kAbortKeys, kInDialog);
    });
    EXPECT_EQ(result, SEND_RESULT_ABORTED);
}

// The frame and the tick count belong to the process: a second dialog turns
// on from where the first stopped, and its first poll comes when the ticks
// the first one counted and its own make 20.
TEST_F(SendStatusDlgTest, ASecondDialogContinuesTheFrameAndTheTickCount)
{
    ColouredFrames frames;
    AcceptPrinter({kOldVersion});
    CSendStatusDlg first(FALSE, updater);
    h.boxes.Answer(IDYES);
    int lastShown = -1;
    ASSERT_EQ(h.RunModal(first,
                         [&](CDialog& d) {
                             h.Advance(50ms);
                             h.Advance(6 * 250ms);
                             lastShown = ColouredFrames::Shown(d);
                             platform::ui::test::RightDoubleClick(d, kAbortKeys, kInDialog);
                         }),
              SEND_RESULT_ABORTED);
    ASSERT_EQ(lastShown, 2);
    ASSERT_TRUE(queryTimes.empty());

    AcceptPrinter({kNewVersion});
    CSendStatusDlg second(FALSE, updater);
    const int result = h.RunModal(second, [&](CDialog& d) {
        EXPECT_EQ(ColouredFrames::Shown(d), 3);
        h.Advance(50ms);
        h.Advance(14 * 250ms - 1ms);
        EXPECT_TRUE(queryTimes.empty());
        h.Advance(1ms);
    });

    EXPECT_EQ(result, SEND_RESULT_INSTALLED);
    ASSERT_TRUE(sentAt.has_value());
    EXPECT_EQ(queryTimes, std::vector<Clock::Duration>{*sentAt + 14 * 250ms});
}

} // namespace
