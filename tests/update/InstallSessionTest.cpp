// The install sequence against a scripted printer on the manual clock: what
// it asks the port, how long it waits, and when it stops.

#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/time/Clock.h"
#include "tests/sim/TestImages.h"
#include "tests/support/ScriptedPort.h"
#include "update/InstallSession.h"
#include "update/Updater.h"

namespace {

using namespace std::chrono_literals;
using platform::Clock;
using testsupport::PortJournal;
using testsupport::ScriptedPort;
using Op = PortJournal::Op;

const wchar_t kOldVersion[] = L"MDL:KX-70;VER:1.10;MODE:NORMAL;";
const wchar_t kNewVersion[] = L"MDL:KX-70;VER:1.20;MODE:NORMAL;";
const wchar_t kOtherModel[] = L"MDL:QR-500;VER:1.20;MODE:NORMAL;";
const wchar_t kBootMode[] = L"MDL:KX-70;VER:1.10;MODE:IPL;";
const wchar_t kNoIdentity[] = L"MFG:Corvex;CLS:PRINTER;";

class RecordingObserver final : public IInstallObserver {
public:
    void OnProgress(const InstallProgress& progress) override { reports.push_back(progress); }
    void OnFinished(InstallOutcome outcome) override { finished.push_back(outcome); }
    bool CancelRequested() override
    {
        ++asked;
        return cancelFromAsk != 0 && asked >= cancelFromAsk;
    }

    std::vector<InstallProgress> reports;
    std::vector<InstallOutcome> finished;
    int asked = 0;
    int cancelFromAsk = 0; // 0: never cancel
};

// A driver with the 1.20 image that has accepted `port`.
class InstallSessionTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        auto target = std::make_unique<CTargetModel>(120, 70168, L"KX-70");
        auto image = simtest::MakePufImage(simtest::MakeRawImage("070168", "1.20", 5000));
        ASSERT_NE(image, nullptr);
        ASSERT_TRUE(updater.SetImage(target, image));
    }

    std::shared_ptr<const PortJournal> Accept(std::unique_ptr<ScriptedPort> port)
    {
        auto journal = port->Journal();
        updater.m_pPort = std::move(port);
        return journal;
    }

    std::vector<std::uint8_t> Payload() const
    {
        const CPufImage& image = *updater.m_pImage;
        return {image.m_pData.get(), image.m_pData.get() + image.m_nSize};
    }

    platform::ManualClock clock;
    platform::ScopedClock scopedClock{clock};
    CUpdater updater;
    RecordingObserver observer;
};

std::vector<Clock::Duration> Sleeps(int polls)
{
    std::vector<Clock::Duration> sleeps{4000ms};
    sleeps.insert(sleeps.end(), static_cast<std::size_t>(polls), 5000ms);
    return sleeps;
}

TEST_F(InstallSessionTest, EndsAsThePrinterAnswers)
{
    struct Row {
        const char* name;
        std::vector<std::optional<std::wstring>> replies; // to the polls, in order
        bool repeatLast;
        InstallOutcome outcome;
        int polls;
    };
    std::vector<std::optional<std::wstring>> lateSuccess(35, kOldVersion);
    lateSuccess.emplace_back(kNewVersion);
    const Row rows[] = {
        {"installed at the first poll", {kNewVersion}, false, InstallOutcome::Installed, 1},
        {"waits through silence, boot mode, no identity and the old version",
         {std::nullopt, kBootMode, kNoIdentity, L"", kOldVersion, kNewVersion},
         false,
         InstallOutcome::Installed,
         6},
        {"installed at the last allowed poll", lateSuccess, false, InstallOutcome::Installed, 36},
        {"times out after 36 polls", {kOldVersion}, true, InstallOutcome::TimedOut, 36},
        {"a silent printer times out too", {std::nullopt}, true, InstallOutcome::TimedOut, 36},
        {"another model ends at once", {kBootMode, kOtherModel}, true, InstallOutcome::InstallFailed, 2},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        auto port = std::make_unique<ScriptedPort>();
        for (const auto& reply : row.replies)
            reply ? port->Reply(*reply) : port->NoReply();
        if (row.repeatLast)
            port->RepeatLast();
        auto journal = Accept(std::move(port));
        platform::ManualClock rowClock;
        platform::ScopedClock scoped(rowClock);
        RecordingObserver watcher;

        CInstallSession session(updater, watcher);
        EXPECT_EQ(session.Run(), row.outcome);

        EXPECT_EQ(session.Polls(), row.polls);
        EXPECT_EQ(journal->Count(Op::QueryStatus), static_cast<std::size_t>(row.polls)) << "one query per poll";
        EXPECT_EQ(rowClock.Sleeps(), Sleeps(row.polls)) << "4000 ms before the send, 5000 ms before each poll";
        ASSERT_GE(journal->calls.size(), 2u);
        EXPECT_EQ(journal->calls[0].op, Op::EnterUpdateMode);
        EXPECT_EQ(journal->calls[1].op, Op::SendData);
        EXPECT_EQ(journal->calls[1].chunkSize, 0u) << "the port's own piece size";
        EXPECT_EQ(journal->SentBytes(), Payload()) << "the whole payload, once";
        EXPECT_EQ(session.BytesSent(), updater.m_pImage->m_nSize);
        EXPECT_EQ(watcher.finished, std::vector<InstallOutcome>{row.outcome});
    }
}

TEST_F(InstallSessionTest, SendFailsWithoutPollingWhenThePrinterDoesNotTakeTheImage)
{
    struct Row {
        const char* name;
        BOOL entry;
        BOOL send;
        std::vector<Op> calls;
        std::vector<Clock::Duration> sleeps;
    };
    const Row rows[] = {
        {"update mode refused", 0, 1, {Op::EnterUpdateMode}, {}},
        {"sending failed", 1, 0, {Op::EnterUpdateMode, Op::SendData}, {4000ms}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        platform::ManualClock rowClock;
        platform::ScopedClock scoped(rowClock);
        auto port = std::make_unique<ScriptedPort>();
        port->Reply(kNewVersion).RepeatLast().EnterUpdateModeResult(row.entry).SendDataResult(row.send);
        auto journal = Accept(std::move(port));

        CInstallSession session(updater, observer);
        EXPECT_EQ(session.Run(), InstallOutcome::SendFailed);

        std::vector<Op> calls;
        for (const PortJournal::Call& call : journal->calls)
            calls.push_back(call.op);
        EXPECT_EQ(calls, row.calls);
        EXPECT_EQ(session.BytesSent(), 0u) << "a failed send reports nothing sent";
        EXPECT_EQ(session.Polls(), 0);
        EXPECT_EQ(rowClock.Sleeps(), row.sleeps);
    }
}

TEST_F(InstallSessionTest, DriverWithoutAnAcceptedPrinterFailsToSend)
{
    CInstallSession session(updater, observer);
    EXPECT_EQ(session.Run(), InstallOutcome::SendFailed);
    EXPECT_TRUE(clock.Sleeps().empty());
}

TEST_F(InstallSessionTest, CancelsOnlyWhileNothingHasBeenSent)
{
    struct Row {
        const char* name;
        int cancelFromAsk;
        InstallOutcome outcome;
        std::size_t entries;
        std::vector<Clock::Duration> sleeps;
    };
    const Row rows[] = {
        {"before the update-mode entry", 1, InstallOutcome::Cancelled, 0, {}},
        {"during the pause", 2, InstallOutcome::Cancelled, 1, {4000ms}},
        // Asked only twice: a request once sending has begun is not honoured.
        {"after sending began", 3, InstallOutcome::Installed, 1, {4000ms, 5000ms}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        platform::ManualClock rowClock;
        platform::ScopedClock scoped(rowClock);
        auto port = std::make_unique<ScriptedPort>();
        port->Reply(kNewVersion);
        auto journal = Accept(std::move(port));
        RecordingObserver watcher;
        watcher.cancelFromAsk = row.cancelFromAsk;

        CInstallSession session(updater, watcher);
        EXPECT_EQ(session.Run(), row.outcome);

        EXPECT_EQ(journal->Count(Op::EnterUpdateMode), row.entries);
        EXPECT_EQ(journal->Count(Op::SendData), row.outcome == InstallOutcome::Cancelled ? 0u : 1u);
        EXPECT_EQ(rowClock.Sleeps(), row.sleeps);
        EXPECT_EQ(watcher.asked, std::min(row.cancelFromAsk, 2));
    }
}

TEST_F(InstallSessionTest, ReportsPhaseBytesPollsAndElapsedTime)
{
    auto port = std::make_unique<ScriptedPort>();
    port->NoReply().Reply(kNewVersion);
    Accept(std::move(port));

    CInstallSession session(updater, observer);
    ASSERT_EQ(session.Run(), InstallOutcome::Installed);

    const DWORD total = updater.m_pImage->m_nSize;
    struct Expected {
        InstallPhase phase;
        DWORD sent;
        int poll;
        std::optional<CHECK_RESULT> result;
        Clock::Duration elapsed;
    };
    const Expected expected[] = {
        {InstallPhase::EnteringUpdateMode, 0, 0, std::nullopt, 0ms},
        {InstallPhase::Pausing, 0, 0, std::nullopt, 0ms},
        {InstallPhase::Sending, 0, 0, std::nullopt, 4000ms},
        {InstallPhase::Sending, total, 0, std::nullopt, 4000ms},
        {InstallPhase::Installing, total, 1, CHECK_NO_REPLY, 9000ms},
        {InstallPhase::Installing, total, 2, CHECK_OK, 14000ms},
    };
    ASSERT_EQ(observer.reports.size(), std::size(expected));
    for (std::size_t i = 0; i < std::size(expected); ++i) {
        SCOPED_TRACE(i);
        const InstallProgress& report = observer.reports[i];
        EXPECT_EQ(report.phase, expected[i].phase);
        EXPECT_EQ(report.bytesSent, expected[i].sent);
        EXPECT_EQ(report.bytesTotal, total);
        EXPECT_EQ(report.poll, expected[i].poll);
        EXPECT_EQ(report.pollResult, expected[i].result);
        EXPECT_EQ(report.elapsed, expected[i].elapsed);
    }
}

} // namespace
