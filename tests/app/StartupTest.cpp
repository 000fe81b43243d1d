#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>
#include <fstream>
#include <new>
#include <optional>
#include <string>
#include <vector>

#include "app/ExitCode.h"
#include "app/SocketStartup.h"
#include "app/Startup.h"
#include "tests/support/ScopedRuntimeDir.h"

namespace {

using ::testing::ElementsAre;

// Records what start-up asked of the window system; the dialog returns (or
// throws) what the test says.
struct FakeUi {
    std::vector<std::string> calls;
    std::optional<DialogHandOff> handOff;
    std::optional<int> failureCode; // of the mutex error shown with message 169
    BOOL bSockets = 1;
    int nDialogResult = TallowExitCode::INSTALLED;
    std::optional<TallowExitCode::EXITCODE> thrown;
    bool throwBadAlloc = false;

    StartupHooks Hooks()
    {
        StartupHooks hooks;
        hooks.showAlreadyRunning = [this](const platform::SystemError* failure) {
            calls.push_back("message 169");
            if (failure)
                failureCode = failure->Code();
        };
        hooks.prepareWindowing = [this] { calls.push_back("windowing"); };
        hooks.startSockets = [this] {
            calls.push_back("sockets");
            return bSockets;
        };
        hooks.runMainDialog = [this](const DialogHandOff& given) {
            calls.push_back("dialog");
            handOff = given;
            if (thrown)
                throw *thrown;
            if (throwBadAlloc)
                throw std::bad_alloc();
            return nDialogResult;
        };
        return hooks;
    }
};

std::vector<std::wstring> Arguments(std::vector<std::wstring> options)
{
    options.insert(options.begin(), L"tallow");
    return options;
}

class StartupTest : public ::testing::Test {
protected:
    testsupport::ScopedRuntimeDir m_runtime;
    FakeUi m_ui;
};

TEST_F(StartupTest, RunsTheStepsInOrderAndReturnsTheDialogResult)
{
    m_ui.nDialogResult = TallowExitCode::CANCELLED;
    StartupOutcome outcome = RunStartup(Arguments({}), m_ui.Hooks());

    EXPECT_EQ(outcome.nExitCode, TallowExitCode::CANCELLED);
    EXPECT_THAT(m_ui.calls, ElementsAre("windowing", "sockets", "dialog"));
    ASSERT_TRUE(m_ui.handOff);
    EXPECT_EQ(*m_ui.handOff, (DialogHandOff{1, 0, 0, L""}));
    ASSERT_TRUE(outcome.instanceMutex);
    EXPECT_TRUE(outcome.instanceMutex->Owns());
}

TEST_F(StartupTest, SecondCopyShowsMessage169AndDoesNothingElse)
{
    StartupOutcome first = RunStartup(Arguments({}), m_ui.Hooks());
    ASSERT_TRUE(first.instanceMutex);

    FakeUi second;
    StartupOutcome outcome = RunStartup(Arguments({L"-i", L"10.0.0.1"}), second.Hooks());
    EXPECT_EQ(outcome.nExitCode, TallowExitCode::ALREADY_RUNNING);
    EXPECT_THAT(second.calls, ElementsAre("message 169"));
    EXPECT_FALSE(second.failureCode);
    EXPECT_FALSE(outcome.instanceMutex);
    EXPECT_TRUE(first.instanceMutex->Owns());
}

TEST_F(StartupTest, MutexThatCannotBeCreatedCountsAsAlreadyRunning)
{
    std::ofstream(m_runtime.Path() / "tallow-objects") << "not a folder";
    StartupOutcome outcome = RunStartup(Arguments({}), m_ui.Hooks());

    EXPECT_EQ(outcome.nExitCode, TallowExitCode::ALREADY_RUNNING);
    EXPECT_THAT(m_ui.calls, ElementsAre("message 169"));
    EXPECT_EQ(m_ui.failureCode, ENOTDIR);
}

TEST_F(StartupTest, IllegalCommandLineEndsSilentlyWithoutWindow)
{
    StartupOutcome outcome = RunStartup(Arguments({L"-i"}), m_ui.Hooks());
    EXPECT_EQ(outcome.nExitCode, TallowExitCode::ILLEGAL_PARAMETER);
    EXPECT_THAT(m_ui.calls, ElementsAre("windowing", "sockets"));
}

TEST_F(StartupTest, HandsTheCommandLinesPortToTheDialog)
{
    struct Row {
        const char* what;
        std::vector<std::wstring> options;
        DialogHandOff expected;
    };
    const Row rows[] = {
        {"address", {L"/I192.168.0.20"}, {1, 1, 0xC0A80014, L""}},
        {"address that converts to 0", {L"-ip", L"10.0.0.1"}, {1, 1, 0, L""}},
        {"USB", {L"-u", L"USB001"}, {1, 1, 0, L"USB001"}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        FakeUi ui;
        StartupOutcome outcome = RunStartup(Arguments(row.options), ui.Hooks());
        EXPECT_EQ(outcome.nExitCode, TallowExitCode::INSTALLED);
        ASSERT_TRUE(ui.handOff);
        EXPECT_EQ(*ui.handOff, row.expected);
    }
}

TEST_F(StartupTest, SocketFailureIsOnlyRecorded)
{
    m_ui.bSockets = 0;
    StartupOutcome outcome = RunStartup(Arguments({}), m_ui.Hooks());
    EXPECT_EQ(outcome.nExitCode, TallowExitCode::INSTALLED);
    ASSERT_TRUE(m_ui.handOff);
    EXPECT_EQ(m_ui.handOff->bSocketsReady, 0);
}

TEST_F(StartupTest, DialogOutcomesBecomeTheExitCode)
{
    // An exit code thrown out of the dialog is caught like the command
    // line's; -1 (no window) passes through; memory running out is a
    // failed start, not a crash.
    m_ui.thrown = TallowExitCode::ILLEGAL_PARAMETER;
    EXPECT_EQ(RunStartup(Arguments({}), m_ui.Hooks()).nExitCode, TallowExitCode::ILLEGAL_PARAMETER);

    FakeUi noWindow;
    noWindow.nDialogResult = -1;
    EXPECT_EQ(RunStartup(Arguments({}), noWindow.Hooks()).nExitCode, -1);

    FakeUi outOfMemory;
    outOfMemory.throwBadAlloc = true;
    EXPECT_EQ(RunStartup(Arguments({}), outOfMemory.Hooks()).nExitCode, TallowExitCode::STARTUP_FAILED);
}

TEST(SocketStartup, AnIpv4StreamSocketCanBeCreatedHere)
{
    EXPECT_EQ(StartSocketLayer(), 1);
}

} // namespace
