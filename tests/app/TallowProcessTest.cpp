// The real installer programs as whole processes: the command line that
// ends them before any window, and the single-instance rule across two
// copies. They run on Qt's offscreen platform with TALLOW_MESSAGEBOX_LOG set,
// so every message box is written to standard error and answered with OK;
// a process that opened its window instead would wait for a user, and the
// test would end it and fail.

#include <gtest/gtest.h>

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "tests/support/ScopedRuntimeDir.h"
#include "tests/support/ScratchFolder.h"

extern char** environ;

namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

constexpr auto kStartupLimit = 30s;

// The programs are built into the folder of this test executable.
fs::path Program(const std::string& name)
{
    return fs::read_symlink("/proc/self/exe").parent_path() / name;
}

std::string ReadFile(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// One run of a program: this process's environment with `overrides`
// ("NAME=value") put in place of the same names; standard error to a file.
class Process {
public:
    Process(const std::string& program, const std::vector<std::string>& args, std::vector<std::string> overrides,
            const fs::path& errorFile)
    {
        std::vector<std::string> env = std::move(overrides);
        for (char** entry = environ; *entry != nullptr; ++entry) {
            const std::string variable = *entry;
            const std::string name = variable.substr(0, variable.find('='));
            bool overridden = false;
            for (const std::string& given : env)
                overridden = overridden || given.compare(0, name.size() + 1, name + "=") == 0;
            if (!overridden)
                env.push_back(variable);
        }
        std::vector<std::string> argv{Program(program).string()};
        argv.insert(argv.end(), args.begin(), args.end());

        std::vector<char*> argp;
        for (std::string& arg : argv)
            argp.push_back(arg.data());
        argp.push_back(nullptr);
        std::vector<char*> envp;
        for (std::string& entry : env)
            envp.push_back(entry.data());
        envp.push_back(nullptr);

        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
        posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
        posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, errorFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                         0600);
        const int error = ::posix_spawn(&m_pid, argp[0], &actions, nullptr, argp.data(), envp.data());
        posix_spawn_file_actions_destroy(&actions);
        if (error != 0)
            m_pid = -1;
    }

    ~Process()
    {
        if (m_pid > 0) {
            ::kill(m_pid, SIGKILL);
            ::waitpid(m_pid, nullptr, 0);
        }
    }

    Process(const Process&) = delete;
    Process& operator=(const Process&) = delete;

    bool Started() const { return m_pid > 0; }

    // The exit code once the process has ended within `limit`; nullopt when
    // it is still running (or a signal ended it).
    std::optional<int> WaitFor(std::chrono::milliseconds limit)
    {
        const auto deadline = Clock::now() + limit;
        while (m_pid > 0) {
            int status = 0;
            const pid_t done = ::waitpid(m_pid, &status, WNOHANG);
            if (done == m_pid) {
                m_pid = -1;
                if (WIFEXITED(status))
                    return WEXITSTATUS(status);
                return std::nullopt;
            }
            if (Clock::now() >= deadline)
                return std::nullopt;
            std::this_thread::sleep_for(10ms);
        }
        return std::nullopt;
    }

private:
    pid_t m_pid = -1;
};

// What the message-box log line of a stop box with OK says.
std::string StopBox(const std::string& text)
{
    return "tallow: message box: icon=stop buttons=ok default=ok caption=\"Corvex Firmware Installer\" text=\"" + text +
           "\"\n";
}

class TallowProcessTest : public testing::Test {
protected:
    // A headless, logged run in a private runtime folder, in English unless
    // `overrides` say otherwise.
    std::vector<std::string> Environment(std::vector<std::string> overrides = {}) const
    {
        for (const char* fixed : {"QT_QPA_PLATFORM=offscreen", "TALLOW_MESSAGEBOX_LOG=1", "LANGUAGE=en", "LC_ALL=C.UTF-8",
                                  "TALLOW_HOST="}) {
            const std::string name = std::string(fixed).substr(0, std::string(fixed).find('=') + 1);
            bool given = false;
            for (const std::string& entry : overrides)
                given = given || entry.compare(0, name.size(), name) == 0;
            if (!given)
                overrides.emplace_back(fixed);
        }
        return overrides;
    }

    fs::path ErrorFile(const std::string& name) const { return m_scratch.Path() / (name + ".stderr"); }

    testsupport::ScopedRuntimeDir runtime;

private:
    testsupport::ScratchFolder m_scratch{"tallow-process"};
};

// ---------------------------------------------------------------------------
// The command line.

struct CommandLineCase {
    const char* name;
    const char* program;
    std::vector<std::string> args;
    std::vector<std::string> environment;
    int exitCode;
    std::string stderrText; // the whole of standard error
};

void PrintTo(const CommandLineCase& row, std::ostream* os)
{
    *os << row.name;
}

const std::string kIllegal = StopBox("Illegal command parameter.");

const CommandLineCase kCommandLines[] = {
    // The grammar: exit 3 without a message.
    {"PlainWord", "tallow", {"install"}, {}, 3, ""},
    {"UnknownOption", "tallow", {"-x"}, {}, 3, ""},
    {"AddressOptionWithoutValue", "tallow-ethernet1", {"-i"}, {}, 3, ""},
    {"AddressTwice", "tallow-ethernet1", {"-i", "10.0.0.1", "-i", "10.0.0.2"}, {}, 3, ""},
    {"BothOptions", "tallow-ethernet1", {"-i", "10.0.0.1", "-u", "USB001"}, {}, 3, ""},
    {"EmptyUsbValue", "tallow-usb", {"-u", ""}, {}, 3, ""},
    // An option of the window system's toolkit is still an argument of ours.
    {"ToolkitOptionIsNoOption", "tallow", {"-reverse"}, {}, 3, ""},
    // The port the option names does not suit the build: message 171.
    {"UsbBuildGivenAnAddress", "tallow", {"-i", "10.0.0.1"}, {}, 3, kIllegal},
    {"NetworkBuildGivenUsb", "tallow-ethernet1", {"-u", "USB001"}, {}, 3, kIllegal},
    {"AddressValueIsTheLetterP", "tallow-ethernet2", {"-ip", "10.0.0.1"}, {}, 3, kIllegal},
    {"BroadcastAddress", "tallow-ethernet3", {"/I255.255.255.255"}, {}, 3, kIllegal},
    {"ZeroAddress", "tallow-ethernet4", {"-i", "0.0.0.0"}, {}, 3, kIllegal},
    {"JapaneseMessage", "tallow-dll_usb", {"-i10.0.0.1"}, {"LANGUAGE=ja"}, 3, StopBox("起動パラメータが不正です。")},
    // No window system at all: the dialog cannot be created.
    {"NoDisplay", "tallow", {}, {"QT_QPA_PLATFORM=", "DISPLAY=", "WAYLAND_DISPLAY="}, 255, ""},
};

class CommandLineTest : public TallowProcessTest, public testing::WithParamInterface<CommandLineCase> {};

TEST_P(CommandLineTest, EndsBeforeAnyWindowWithItsExitCode)
{
    const CommandLineCase& row = GetParam();
    const fs::path errors = ErrorFile(row.name);
    Process tallow(row.program, row.args, Environment(row.environment), errors);
    ASSERT_TRUE(tallow.Started());
    const std::optional<int> exitCode = tallow.WaitFor(kStartupLimit);
    ASSERT_TRUE(exitCode.has_value()) << "still running: its window opened";
    EXPECT_EQ(*exitCode, row.exitCode);
    EXPECT_EQ(ReadFile(errors), row.stderrText);
}

INSTANTIATE_TEST_SUITE_P(Table, CommandLineTest, testing::ValuesIn(kCommandLines),
                         [](const auto& info) { return std::string(info.param.name); });

// ---------------------------------------------------------------------------
// A second copy.

// Whether some process holds an flock on `path` (read from /proc/locks, so
// the test never takes the lock itself).
bool FlockHeld(const fs::path& path)
{
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0)
        return false;
    std::istringstream locks(ReadFile("/proc/locks"));
    const std::string inode = ":" + std::to_string(info.st_ino) + " ";
    for (std::string line; std::getline(locks, line);) {
        if (line.find("FLOCK") != std::string::npos && line.find(inode) != std::string::npos)
            return true;
    }
    return false;
}

TEST_F(TallowProcessTest, SecondCopyShowsMessage169AndEndsWithTwoWhileTheFirstRuns)
{
    const fs::path lockFile = runtime.Path() / "tallow-objects" / "Corvex%20Firmware%20Installer";
    Process first("tallow-ethernet1", {}, Environment(), ErrorFile("first"));
    ASSERT_TRUE(first.Started());
    const auto deadline = Clock::now() + kStartupLimit;
    while (!FlockHeld(lockFile) && Clock::now() < deadline)
        std::this_thread::sleep_for(20ms);
    ASSERT_TRUE(FlockHeld(lockFile)) << "the first copy never took the mutex";

    // Another build of the installer is excluded too.
    for (const char* program : {"tallow-ethernet1", "tallow-usb"}) {
        SCOPED_TRACE(program);
        const fs::path errors = ErrorFile(std::string("second-") + program);
        Process second(program, {}, Environment(), errors);
        const std::optional<int> exitCode = second.WaitFor(kStartupLimit);
        ASSERT_TRUE(exitCode.has_value());
        EXPECT_EQ(*exitCode, 2);
        EXPECT_EQ(ReadFile(errors), StopBox("Execution Error.\\nThe previous installer is still executing."));
    }

    // The first copy goes on with its window, as it was.
    EXPECT_FALSE(first.WaitFor(0ms).has_value());
    EXPECT_TRUE(FlockHeld(lockFile));
    EXPECT_EQ(ReadFile(ErrorFile("first")), "");
}

} // namespace
