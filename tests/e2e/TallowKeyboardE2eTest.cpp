// The real installer window driven from the keyboard, as a user would, on a
// virtual X server against printer-sim: Enter for Next, Enter for Install,
// Enter on the final message, once per network port type. Both programs run
// on the real clock (the 4 s pause, the 5 s until the first poll and, for
// Quill, the 21 s the boot frame's connection is held).
//
// Keys are typed through the X server's XTest extension. The test loads
// libX11 and libXtst at run time (they come with any X installation, their
// development headers need not), and is skipped when Xvfb or they are
// missing.

#include <gtest/gtest.h>

#include <dlfcn.h>
#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <functional>
#include <optional>
#include <ostream>
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
#include "tests/support/ScopedRuntimeDir.h"

extern char** environ;

namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;
using testsupport::Json;
using Clock = std::chrono::steady_clock;

// One row per network port type. Each runs in its own process (its own CTest
// entry) with its own Xvfb display and, so the rows run side by side, a lane
// of its own.
struct PortRow {
    const char* portType;
    const char* program;
    std::uint8_t lane;
    // How long the installer holds the update-mode entry's connection before
    // the image goes out; the install deadline grows by it.
    std::chrono::seconds entryHold;
};

const PortRow kRows[] = {
    {"Ethernet1", "tallow-ethernet1", 31, 0s},
    {"Ethernet2", "tallow-ethernet2", 32, 0s},
    {"Ethernet3", "tallow-ethernet3", 33, 0s},
    {"Ethernet4", "tallow-ethernet4", 34, 21s},
};

// Names the row in CTest's list instead of dumping its bytes.
void PrintTo(const PortRow& row, std::ostream* out)
{
    *out << row.portType;
}

fs::path Program(const char* name)
{
    return fs::read_symlink("/proc/self/exe").parent_path() / name;
}

std::string PayloadSha256()
{
    CPufImage image;
    if (!image.Load(ids::IDR_FIRMWARE, ids::RT_FIRMWARE))
        return "firmware resource not loaded";
    return sim::ToHex(sim::ComputeSha256({image.m_pData.get(), image.m_nSize}));
}

// A child process with the environment given whole, and its exit code.
class Child {
public:
    Child(std::vector<std::string> argv, std::vector<std::string> environment, const fs::path& output,
          int passFd = -1)
    {
        std::vector<char*> args;
        for (std::string& arg : argv)
            args.push_back(arg.data());
        args.push_back(nullptr);
        std::vector<char*> envp;
        for (std::string& entry : environment)
            envp.push_back(entry.data());
        envp.push_back(nullptr);
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
        posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, output.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        posix_spawn_file_actions_adddup2(&actions, STDOUT_FILENO, STDERR_FILENO);
        if (passFd >= 0)
            posix_spawn_file_actions_adddup2(&actions, passFd, 3);
        if (::posix_spawn(&m_pid, args[0], &actions, nullptr, args.data(), envp.data()) != 0)
            m_pid = -1;
        posix_spawn_file_actions_destroy(&actions);
    }

    ~Child()
    {
        if (m_pid > 0) {
            ::kill(m_pid, SIGTERM);
            ::waitpid(m_pid, nullptr, 0);
        }
    }

    Child(const Child&) = delete;
    Child& operator=(const Child&) = delete;

    bool Started() const { return m_pid > 0; }

    // The exit code once ended; nullopt while running (or ended by a signal).
    std::optional<int> Poll()
    {
        int status = 0;
        if (m_pid <= 0 || ::waitpid(m_pid, &status, WNOHANG) != m_pid)
            return m_exitCode;
        m_pid = -1;
        if (WIFEXITED(status))
            m_exitCode = WEXITSTATUS(status);
        return m_exitCode;
    }

private:
    pid_t m_pid = -1;
    std::optional<int> m_exitCode;
};

std::vector<std::string> InheritedEnvironment(const std::vector<std::string>& overrides)
{
    std::vector<std::string> env = overrides;
    for (char** entry = environ; *entry != nullptr; ++entry) {
        const std::string variable = *entry;
        const std::string name = variable.substr(0, variable.find('=') + 1);
        bool overridden = false;
        for (const std::string& given : overrides)
            overridden = overridden || given.compare(0, name.size(), name) == 0;
        if (!overridden)
            env.push_back(variable);
    }
    return env;
}

// The few Xlib and XTest calls the test needs, resolved from the system's
// libraries. Their types are the X11 protocol's: XIDs and atoms are
// unsigned long, Bool is int.
class XKeyboard {
public:
    explicit XKeyboard(const std::string& display)
    {
        m_x11 = ::dlopen("libX11.so.6", RTLD_NOW);
        m_xtst = ::dlopen("libXtst.so.6", RTLD_NOW);
        if (m_x11 == nullptr || m_xtst == nullptr)
            return;
        Resolve(m_x11, "XOpenDisplay", m_open);
        Resolve(m_x11, "XCloseDisplay", m_close);
        Resolve(m_x11, "XKeysymToKeycode", m_keycode);
        Resolve(m_x11, "XFlush", m_flush);
        Resolve(m_x11, "XDefaultRootWindow", m_root);
        Resolve(m_x11, "XQueryTree", m_queryTree);
        Resolve(m_x11, "XInternAtom", m_internAtom);
        Resolve(m_x11, "XGetWindowProperty", m_getProperty);
        Resolve(m_x11, "XFree", m_free);
        Resolve(m_xtst, "XTestFakeKeyEvent", m_fakeKey);
        if (m_open && m_close && m_keycode && m_flush && m_root && m_queryTree && m_internAtom && m_getProperty &&
            m_free && m_fakeKey)
            m_display = m_open(display.c_str());
    }

    ~XKeyboard()
    {
        if (m_display != nullptr)
            m_close(m_display);
        if (m_xtst != nullptr)
            ::dlclose(m_xtst);
        if (m_x11 != nullptr)
            ::dlclose(m_x11);
    }

    XKeyboard(const XKeyboard&) = delete;
    XKeyboard& operator=(const XKeyboard&) = delete;

    bool Ready() const { return m_display != nullptr; }

    // Presses and releases Return.
    void PressReturn()
    {
        constexpr unsigned long kReturnKeysym = 0xFF0D;
        const unsigned int code = m_keycode(m_display, kReturnKeysym);
        m_fakeKey(m_display, code, 1, 0);
        m_fakeKey(m_display, code, 0, 0);
        m_flush(m_display);
    }

    // Whether a top-level window of this title (_NET_WM_NAME) exists.
    bool HasWindow(const std::string& title)
    {
        const unsigned long netWmName = m_internAtom(m_display, "_NET_WM_NAME", 0);
        unsigned long root = 0;
        unsigned long parent = 0;
        unsigned long* children = nullptr;
        unsigned int count = 0;
        if (m_queryTree(m_display, m_root(m_display), &root, &parent, &children, &count) == 0)
            return false;
        bool found = false;
        for (unsigned int i = 0; i < count && !found; ++i) {
            unsigned long type = 0;
            int format = 0;
            unsigned long items = 0;
            unsigned long after = 0;
            unsigned char* data = nullptr;
            if (m_getProperty(m_display, children[i], netWmName, 0, 256, 0, 0, &type, &format, &items, &after, &data) ==
                    0 &&
                data != nullptr) {
                found = std::string(reinterpret_cast<const char*>(data), items) == title;
                m_free(data);
            }
        }
        if (children != nullptr)
            m_free(children);
        return found;
    }

private:
    template <typename F>
    static void Resolve(void* library, const char* name, F& function)
    {
        function = reinterpret_cast<F>(::dlsym(library, name));
    }

    void* m_x11 = nullptr;
    void* m_xtst = nullptr;
    void* m_display = nullptr;
    void* (*m_open)(const char*) = nullptr;
    int (*m_close)(void*) = nullptr;
    unsigned char (*m_keycode)(void*, unsigned long) = nullptr;
    int (*m_flush)(void*) = nullptr;
    unsigned long (*m_root)(void*) = nullptr;
    int (*m_queryTree)(void*, unsigned long, unsigned long*, unsigned long*, unsigned long**, unsigned int*) = nullptr;
    unsigned long (*m_internAtom)(void*, const char*, int) = nullptr;
    int (*m_getProperty)(void*, unsigned long, unsigned long, long, long, int, unsigned long, unsigned long*, int*,
                         unsigned long*, unsigned long*, unsigned char**) = nullptr;
    int (*m_free)(void*) = nullptr;
    int (*m_fakeKey)(void*, unsigned int, int, unsigned long) = nullptr;
};

std::vector<Json> ReadRecord(const fs::path& path)
{
    std::vector<Json> events;
    std::istringstream lines(nettest::ReadFile(path));
    for (std::string line; std::getline(lines, line);) {
        if (std::optional<Json> event = testsupport::ParseJson(line))
            events.push_back(*event);
    }
    return events;
}

bool WaitUntil(const std::function<bool()>& done, std::chrono::milliseconds limit)
{
    const auto deadline = Clock::now() + limit;
    while (!done()) {
        if (Clock::now() >= deadline)
            return false;
        std::this_thread::sleep_for(20ms);
    }
    return true;
}

class TallowKeyboardE2e : public testing::TestWithParam<PortRow> {};

TEST_P(TallowKeyboardE2e, InstalledWithEnterEnterEnter)
{
    const PortRow& row = GetParam();
    const std::optional<fs::path> xvfb = nettest::FindProgram("Xvfb");
    if (!xvfb)
        GTEST_SKIP() << "Xvfb is not installed";
    testsupport::ScopedRuntimeDir runtime;
    nettest::TempFolder folder;

    // The X server picks a free display itself and writes its number to fd 3.
    int displayPipe[2];
    ASSERT_EQ(::pipe(displayPipe), 0);
    Child server({xvfb->string(), "-displayfd", "3", "-screen", "0", "1024x768x24", "-nolisten", "tcp"},
                 InheritedEnvironment({}), folder.Path() / "xvfb.log", displayPipe[1]);
    ::close(displayPipe[1]);
    ASSERT_TRUE(server.Started());
    std::string number;
    char ch = 0;
    while (::read(displayPipe[0], &ch, 1) == 1 && ch != '\n')
        number += ch;
    ::close(displayPipe[0]);
    ASSERT_FALSE(number.empty()) << nettest::ReadFile(folder.Path() / "xvfb.log");
    const std::string display = ":" + number;

    XKeyboard keyboard(display);
    if (!keyboard.Ready())
        GTEST_SKIP() << "libX11 or libXtst cannot be loaded";

    const std::string address = testsupport::LoopbackAddressText(row.lane);
    const fs::path record = folder.Path() / "record.jsonl";
    const fs::path ready = folder.Path() / "ready";
    Child sim({Program("printer-sim").string(), "--address", address, "--port-type", row.portType, "--install-polls",
               "0", "--record", record.string(), "--ready-file", ready.string()},
              InheritedEnvironment({}), folder.Path() / "sim.log");
    ASSERT_TRUE(WaitUntil([&] { return fs::exists(ready); }, 10s)) << nettest::ReadFile(folder.Path() / "sim.log");

    const auto events = [&](const std::string& name) {
        std::vector<Json> found;
        for (const Json& event : ReadRecord(record)) {
            if (event.At("event").String() == name)
                found.push_back(event);
        }
        return found;
    };

    Child tallow({Program(row.program).string(), "-i", address},
                 InheritedEnvironment({"DISPLAY=" + display, "QT_QPA_PLATFORM=xcb", "WAYLAND_DISPLAY=",
                                       "TALLOW_MESSAGEBOX_LOG=", "TALLOW_HOST=", "LANGUAGE=en"}),
                 folder.Path() / "tallow.log");
    ASSERT_TRUE(tallow.Started());
    const fs::path tallowLog = folder.Path() / "tallow.log";

    ASSERT_TRUE(WaitUntil([&] { return keyboard.HasWindow("Corvex Firmware Installer"); }, 30s))
        << nettest::ReadFile(tallowLog);
    // The window asks for the focus once it is mapped.
    std::this_thread::sleep_for(500ms);

    keyboard.PressReturn(); // Next: the first status query
    ASSERT_TRUE(WaitUntil([&] { return !events("snmp-get").empty(); }, 30s)) << nettest::ReadFile(tallowLog);
    keyboard.PressReturn(); // Install
    ASSERT_TRUE(WaitUntil([&] { return !events("install-end").empty(); }, 60s + row.entryHold))
        << nettest::ReadFile(tallowLog);

    // Enter on the final message; until it shows, the send-status window
    // takes Enter and ignores it.
    const bool ended = WaitUntil(
        [&] {
            if (tallow.Poll())
                return true;
            keyboard.PressReturn();
            std::this_thread::sleep_for(300ms);
            return tallow.Poll().has_value();
        },
        30s);
    ASSERT_TRUE(ended) << nettest::ReadFile(tallowLog);
    EXPECT_EQ(tallow.Poll(), 0) << nettest::ReadFile(tallowLog);

    const std::vector<Json> images = events("image");
    ASSERT_EQ(images.size(), 1u);
    EXPECT_EQ(images[0].At("sha256").String(), PayloadSha256());
    EXPECT_EQ(images[0].At("verdict").String(), "accepted");
    const std::vector<Json> ends = events("install-end");
    ASSERT_EQ(ends.size(), 1u);
    EXPECT_EQ(ends[0].At("completion").String(), "new-version");
    EXPECT_EQ(ends[0].At("version").String(), "1.20");
}

INSTANTIATE_TEST_SUITE_P(NetworkPortTypes, TallowKeyboardE2e, testing::ValuesIn(kRows),
                         [](const testing::TestParamInfo<PortRow>& info) { return std::string(info.param.portType); });

} // namespace
