// tallowctl against printer-sim, both the real programs on the real clock:
// every network port type end to end, with the exit code, the installer's
// message, the JSON object and what the printer received.
//
// Each install waits the real 4 s pause and 5 s before its first poll, so the
// simulated printers finish at their first poll (--install-polls 0) and each
// case is a test of its own, which CTest runs in parallel.

#include <gtest/gtest.h>

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <functional>
#include <optional>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "image/PufImage.h"
#include "resources/ResourceIds.h"
#include "sim/core/Sha256.h"
#include "tests/net/ChildProcess.h"
#include "tests/support/LoopbackAddress.h"
#include "tests/support/MiniJson.h"

extern char** environ;

namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;
using testsupport::Json;
using Clock = std::chrono::steady_clock;

constexpr std::uint8_t kLane = 30;

// The programs are built into the folder of this test executable.
fs::path Program(const char* name)
{
    return fs::read_symlink("/proc/self/exe").parent_path() / name;
}

// The SHA-256 of the payload tallowctl sends: the build's own firmware
// resource, unscrambled as the installer does it.
std::string PayloadSha256()
{
    CPufImage image;
    if (!image.Load(ids::IDR_FIRMWARE, ids::RT_FIRMWARE))
        return "firmware resource not loaded";
    return sim::ToHex(sim::ComputeSha256({image.m_pData.get(), image.m_nSize}));
}

std::vector<Json> ReadRecord(const fs::path& path)
{
    std::vector<Json> events;
    std::istringstream lines(nettest::ReadFile(path));
    for (std::string line; std::getline(lines, line);) {
        std::optional<Json> event = testsupport::ParseJson(line);
        if (event) // a line still being written is read again next time
            events.push_back(*event);
    }
    return events;
}

std::vector<Json> EventsOf(const std::vector<Json>& record, const std::string& name)
{
    std::vector<Json> found;
    for (const Json& event : record) {
        if (event.At("event").String() == name)
            found.push_back(event);
    }
    return found;
}

// printer-sim on this process's own loopback address, ended with the test.
class PrinterSim {
public:
    PrinterSim(const fs::path& folder, const std::string& portType, const std::vector<std::string>& faults)
        : m_address(testsupport::LoopbackAddressText(kLane)), m_record(folder / "record.jsonl"),
          m_log(folder / "sim.log")
    {
        const fs::path ready = folder / "ready";
        std::vector<std::string> argv{Program("printer-sim").string(), "--address", m_address, "--port-type", portType,
                                      "--install-polls", "0", "--record", m_record.string(), "--ready-file",
                                      ready.string()};
        argv.insert(argv.end(), faults.begin(), faults.end());
        m_process.emplace(argv, std::vector<std::string>{}, m_log);
        const auto deadline = Clock::now() + 10s;
        while (!fs::exists(ready) && m_process->Running() && Clock::now() < deadline)
            std::this_thread::sleep_for(10ms);
        m_ready = fs::exists(ready);
    }

    bool Ready() const { return m_ready; }
    std::string Log() const { return nettest::ReadFile(m_log); }
    const std::string& Address() const { return m_address; }
    std::vector<Json> Record() const { return ReadRecord(m_record); }

    // Waits until the record holds an event that `matches`.
    bool WaitFor(const std::function<bool(const Json&)>& matches, std::chrono::milliseconds limit) const
    {
        const auto deadline = Clock::now() + limit;
        do {
            for (const Json& event : Record()) {
                if (matches(event))
                    return true;
            }
            std::this_thread::sleep_for(10ms);
        } while (Clock::now() < deadline);
        return false;
    }

private:
    std::string m_address;
    fs::path m_record;
    fs::path m_log;
    std::optional<nettest::ChildProcess> m_process;
    bool m_ready = false;
};

// tallowctl as a child whose id the test knows, to send it Ctrl-C.
class Tallowctl {
public:
    Tallowctl(const fs::path& folder, const std::vector<std::string>& args)
        : m_out(folder / "tallowctl.out"), m_err(folder / "tallowctl.err")
    {
        std::vector<std::string> argv{Program("tallowctl").string()};
        argv.insert(argv.end(), args.begin(), args.end());
        std::vector<char*> pointers;
        for (std::string& arg : argv)
            pointers.push_back(arg.data());
        pointers.push_back(nullptr);
        // English messages, whatever the machine's language.
        std::vector<std::string> environment{"LANGUAGE=en"};
        for (char** entry = environ; *entry; ++entry)
            environment.emplace_back(*entry);
        std::vector<char*> envp;
        for (std::string& entry : environment)
            envp.push_back(entry.data());
        envp.push_back(nullptr);

        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
        posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, m_out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, m_err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        m_start = Clock::now();
        if (::posix_spawn(&m_pid, pointers[0], &actions, nullptr, pointers.data(), envp.data()) != 0)
            m_pid = -1;
        posix_spawn_file_actions_destroy(&actions);
    }

    ~Tallowctl()
    {
        if (m_pid > 0) {
            ::kill(m_pid, SIGKILL);
            ::waitpid(m_pid, nullptr, 0);
        }
    }

    Tallowctl(const Tallowctl&) = delete;
    Tallowctl& operator=(const Tallowctl&) = delete;

    void Interrupt() const { ::kill(m_pid, SIGINT); }

    bool Running()
    {
        if (m_pid <= 0)
            return false;
        int status = 0;
        if (::waitpid(m_pid, &status, WNOHANG) != m_pid)
            return true;
        Ended(status);
        return false;
    }

    // The exit code; -SIGNAL when a signal ended it.
    int Wait()
    {
        int status = 0;
        if (m_pid > 0 && ::waitpid(m_pid, &status, 0) == m_pid)
            Ended(status);
        return m_result;
    }

    std::string Out() const { return nettest::ReadFile(m_out); }
    std::string Err() const { return nettest::ReadFile(m_err); }
    Clock::duration Took() const { return m_took; }

private:
    void Ended(int status)
    {
        m_pid = -1;
        m_took = Clock::now() - m_start;
        m_result = WIFEXITED(status) ? WEXITSTATUS(status) : -WTERMSIG(status);
    }

    fs::path m_out;
    fs::path m_err;
    pid_t m_pid = -1;
    int m_result = -1000; // not started, or not ended yet
    Clock::time_point m_start;
    Clock::duration m_took{};
};

std::vector<std::string> InstallArgs(const std::string& portType, const std::string& address)
{
    return {"--port-type", portType, "--address", address, "--json", "install"};
}

const char kSendFailed[] =
    "Failed to send firmware.\nTurn off main power switch and turn it on,\nthen try installation again.\n";

struct Case {
    const char* name;
    const char* portType;
    std::vector<std::string> faults;
    int exitCode;
    const char* outcome;
    std::string message;
    bool imageSent;
};

void PrintTo(const Case& row, std::ostream* out)
{
    *out << row.name;
}

class TallowctlAgainstSim : public ::testing::TestWithParam<Case> {};

TEST_P(TallowctlAgainstSim, EndsWithItsExitCodeMessageAndImage)
{
    const Case& row = GetParam();
    nettest::TempFolder folder;
    PrinterSim sim(folder.Path(), row.portType, row.faults);
    ASSERT_TRUE(sim.Ready()) << sim.Log();

    Tallowctl tool(folder.Path(), InstallArgs(row.portType, sim.Address()));
    const int exitCode = tool.Wait();

    EXPECT_EQ(exitCode, row.exitCode) << tool.Err();
    EXPECT_EQ(tool.Err(), row.message);
    const std::optional<Json> json = testsupport::ParseJson(tool.Out());
    ASSERT_TRUE(json) << "standard output is not exactly one JSON object: " << tool.Out();
    EXPECT_EQ(json->At("outcome").String(), row.outcome);
    EXPECT_EQ(json->At("exit_code").Number(), row.exitCode);
    EXPECT_EQ(json->At("port_type").String(), row.portType);
    EXPECT_EQ(json->At("address").String(), sim.Address());

    const std::vector<Json> record = sim.Record();
    const std::vector<Json> images = EventsOf(record, "image");
    if (row.imageSent) {
        ASSERT_EQ(images.size(), 1u);
        EXPECT_EQ(images[0].At("sha256").String(), PayloadSha256()) << "the printer got the payload unchanged";
        EXPECT_EQ(images[0].At("verdict").String(), "accepted");
        EXPECT_EQ(json->At("bytes_sent").Number(), images[0].At("size").Number());
    } else {
        EXPECT_TRUE(images.empty());
        EXPECT_EQ(json->At("bytes_sent").Number(), 0);
    }
}

const std::string kInstalled = "The installation of firmware was successful.\n";

INSTANTIATE_TEST_SUITE_P(
    EveryPortType, TallowctlAgainstSim,
    ::testing::Values(
        Case{"Ethernet1_Installs", "Ethernet1", {}, 0, "installed", kInstalled, true},
        Case{"Ethernet2_Installs", "Ethernet2", {}, 0, "installed", kInstalled, true},
        Case{"Ethernet3_Installs", "Ethernet3", {}, 0, "installed", kInstalled, true},
        Case{"Ethernet2_WrongModel", "Ethernet2", {"--model", "QR-500"}, 4, "wrong_model",
             "This installer doesn't support QR-500.\nDownload a proper installer for your printer.\n", false},
        Case{"Ethernet3_OtherModelAfterInstalling", "Ethernet3", {"--model-after-install", "QR-500"}, 4,
             "install_failed",
             "Failed to install firmware.\nTurn off main power switch and turn it on,\nthen try installation "
             "again.\n",
             true},
        Case{"Ethernet1_NotReady", "Ethernet1", {"--not-ready"}, 4, "not_ready", "Turn off SUB power switch.\n",
             false},
        Case{"Ethernet4_NotReady", "Ethernet4", {"--not-ready"}, 4, "not_ready", "Turn off SUB power switch.\n",
             false},
        Case{"Ethernet2_UpToDate", "Ethernet2", {"--version", "1.20"}, 6, "up_to_date",
             "Current version is 1.20. \nInstallation is not necessary.\n", false},
        Case{"Ethernet1_LprRefused", "Ethernet1", {"--refuse-port", "515"}, 4, "send_failed", kSendFailed, false},
        Case{"Ethernet2_LprRefused", "Ethernet2", {"--refuse-port", "515"}, 4, "send_failed", kSendFailed, false},
        Case{"Ethernet3_BootPortRefused", "Ethernet3", {"--refuse-port", "9101"}, 4, "send_failed", kSendFailed,
             false},
        Case{"Ethernet4_BootPortRefused", "Ethernet4", {"--refuse-port", "9500"}, 4, "send_failed", kSendFailed,
             false},
        Case{"Ethernet3_Silent", "Ethernet3", {"--silent"}, 4, "printer_not_found",
             "Cannot find a printer.\nFill in IP address again or turn on main power switch.\n", false}),
    [](const ::testing::TestParamInfo<Case>& info) { return std::string(info.param.name); });

// Quill's printer needs its boot-frame connection held open 21 s before it
// takes an image; measured on the printer's side from its own record.
TEST(TallowctlQuill, InstallsAfterHoldingTheBootFrameConnection21Seconds)
{
    nettest::TempFolder folder;
    PrinterSim sim(folder.Path(), "Ethernet4", {});
    ASSERT_TRUE(sim.Ready()) << sim.Log();

    Tallowctl tool(folder.Path(), InstallArgs("Ethernet4", sim.Address()));
    ASSERT_EQ(tool.Wait(), 0) << tool.Err();
    EXPECT_EQ(tool.Err(), kInstalled);
    const std::optional<Json> json = testsupport::ParseJson(tool.Out());
    ASSERT_TRUE(json) << tool.Out();
    EXPECT_EQ(json->At("outcome").String(), "installed");
    EXPECT_EQ(json->At("after").At("version").String(), "1.20");

    const std::vector<Json> record = sim.Record();
    const std::vector<Json> frames = EventsOf(record, "boot-frame");
    const std::vector<Json> images = EventsOf(record, "image");
    ASSERT_EQ(frames.size(), 1u);
    ASSERT_EQ(images.size(), 1u);
    EXPECT_EQ(images[0].At("sha256").String(), PayloadSha256());
    double closed = -1;
    for (const Json& event : EventsOf(record, "close")) {
        if (event.At("port").Number() == 9500)
            closed = event.At("t").Number();
    }
    const double frameAt = frames[0].At("t").Number();
    EXPECT_GE(closed - frameAt, 21000) << "the boot-frame connection is held open 21 s";
    EXPECT_GE(images[0].At("t").Number() - frameAt, 21000 + 4000) << "then the 4 s pause, then the image";
}

// Ctrl-C before any of the image went out: exit 1 and the printer gets none.
TEST(TallowctlCtrlC, DuringThePauseCancelsWithNothingSent)
{
    nettest::TempFolder folder;
    PrinterSim sim(folder.Path(), "Ethernet3", {});
    ASSERT_TRUE(sim.Ready()) << sim.Log();

    Tallowctl tool(folder.Path(), InstallArgs("Ethernet3", sim.Address()));
    ASSERT_TRUE(sim.WaitFor([](const Json& e) { return e.At("event").String() == "entry"; }, 10s));
    tool.Interrupt();

    EXPECT_EQ(tool.Wait(), 1) << tool.Err();
    EXPECT_LT(tool.Took(), 4s) << "the pause ends at Ctrl-C";
    const std::optional<Json> json = testsupport::ParseJson(tool.Out());
    ASSERT_TRUE(json) << tool.Out();
    EXPECT_EQ(json->At("outcome").String(), "cancelled");
    EXPECT_EQ(json->At("bytes_sent").Number(), 0);
    EXPECT_TRUE(EventsOf(sim.Record(), "raw-image").empty());
    EXPECT_TRUE(EventsOf(sim.Record(), "image").empty());
}

// Once the image is out, the first Ctrl-C only says that the printer is
// installing; the second ends tallowctl as Ctrl-C ends any program.
TEST(TallowctlCtrlC, AfterSendingOnlyStopsWatchingWhenPressedTwice)
{
    nettest::TempFolder folder;
    PrinterSim sim(folder.Path(), "Ethernet3", {});
    ASSERT_TRUE(sim.Ready()) << sim.Log();

    Tallowctl tool(folder.Path(), InstallArgs("Ethernet3", sim.Address()));
    ASSERT_TRUE(sim.WaitFor([](const Json& e) { return e.At("event").String() == "image"; }, 15s));
    tool.Interrupt();
    const auto deadline = Clock::now() + 2s;
    while (tool.Err().find("Ctrl-C again") == std::string::npos && Clock::now() < deadline)
        std::this_thread::sleep_for(10ms);
    EXPECT_NE(tool.Err().find("waiting for it to be installed"), std::string::npos) << tool.Err();
    EXPECT_TRUE(tool.Running()) << "the first Ctrl-C does not stop the watch";

    tool.Interrupt();
    EXPECT_EQ(tool.Wait(), -SIGINT);
    EXPECT_EQ(tool.Out(), "") << "a killed run prints no result";
}

TEST(TallowctlArguments, RefusedWithExitCode3BeforeAnyPrinterIsAsked)
{
    struct Row {
        std::vector<std::string> args;
        bool json;
    };
    const Row rows[] = {
        {{"--port-type", "Ethernet2", "install"}, false},
        {{"--port-type", "Ethernet2", "--address", "10.0.0", "--json", "install"}, true},
        {{"--port-type", "USB", "--address", "10.0.0.1", "status"}, false},
        {{"upgrade"}, false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.args.back());
        nettest::TempFolder folder;
        Tallowctl tool(folder.Path(), row.args);
        EXPECT_EQ(tool.Wait(), 3);
        EXPECT_NE(tool.Err().find("Usage: tallowctl"), std::string::npos);
        if (row.json) {
            const std::optional<Json> json = testsupport::ParseJson(tool.Out());
            ASSERT_TRUE(json) << tool.Out();
            EXPECT_EQ(json->At("outcome").String(), "bad_arguments");
        } else {
            EXPECT_EQ(tool.Out(), "");
        }
    }
}

} // namespace
