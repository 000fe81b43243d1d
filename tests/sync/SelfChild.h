#pragma once
// The running test executable started again as a child process that plays
// a part in the current test (another holder of a lock, a prober).
//
// The child runs the same test (--gtest_filter) with TALLOW_CHILD_ROLE set;
// the test's first line hands over to the role and never returns in the
// child. The parent talks to the child through two pipes: it reads the bytes
// the child reports on descriptor 201 (standard output carries GoogleTest's own
// lines and goes to /dev/null) and holds the child's standard input open; the
// child can wait for that input to close, so it never outlives a parent that
// dies.

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <cerrno>
#include <cstdlib>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

extern char** environ;

namespace synctest {

inline constexpr const char* kRoleVariable = "TALLOW_CHILD_ROLE";
// High, so that the dup2 onto it never closes a descriptor the child would
// otherwise have inherited (a test may be checking exactly that).
inline constexpr int kReportFd = 201;

// The role this process plays, or nothing in the parent.
inline std::optional<std::string> ChildRole()
{
    if (const char* role = std::getenv(kRoleVariable))
        return std::string(role);
    return std::nullopt;
}

// For the child: one byte to the parent.
inline void Report(char byte)
{
    (void)!::write(kReportFd, &byte, 1);
}

// For the child: waits until the parent closes our standard input (or dies).
inline void WaitForParent()
{
    char byte;
    while (::read(STDIN_FILENO, &byte, 1) > 0) {
    }
}

class SelfChild {
public:
    explicit SelfChild(const std::string& role)
    {
        const ::testing::TestInfo* test = ::testing::UnitTest::GetInstance()->current_test_info();
        const std::string filter = std::string("--gtest_filter=") + test->test_suite_name() + "." + test->name();
        const std::string roleEntry = std::string(kRoleVariable) + "=" + role;

        int toChild[2];
        int fromChild[2];
        if (::pipe2(toChild, O_CLOEXEC) != 0 || ::pipe2(fromChild, O_CLOEXEC) != 0)
            throw std::runtime_error("pipe2 failed");

        std::vector<char*> env;
        env.push_back(const_cast<char*>(roleEntry.c_str()));
        for (char** entry = environ; *entry; ++entry)
            env.push_back(*entry);
        env.push_back(nullptr);
        char exe[] = "/proc/self/exe";
        std::vector<char*> args = {exe, const_cast<char*>(filter.c_str()), nullptr};

        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, toChild[0], STDIN_FILENO);
        posix_spawn_file_actions_adddup2(&actions, fromChild[1], kReportFd);
        posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
        const int error = ::posix_spawn(&m_pid, exe, &actions, nullptr, args.data(), env.data());
        posix_spawn_file_actions_destroy(&actions);
        ::close(toChild[0]);
        ::close(fromChild[1]);
        m_toChild = toChild[1];
        m_fromChild = fromChild[0];
        if (error != 0) {
            m_pid = -1;
            throw std::runtime_error("posix_spawn failed");
        }
    }

    ~SelfChild()
    {
        ReleaseParentHold();
        if (m_fromChild >= 0)
            ::close(m_fromChild);
        if (m_pid > 0) {
            ::kill(m_pid, SIGKILL);
            ::waitpid(m_pid, nullptr, 0);
        }
    }

    SelfChild(const SelfChild&) = delete;
    SelfChild& operator=(const SelfChild&) = delete;

    // The next byte the child reports; nothing when it ended without one.
    std::optional<char> NextReport()
    {
        char byte;
        for (;;) {
            ssize_t count = ::read(m_fromChild, &byte, 1);
            if (count == 1)
                return byte;
            if (count == 0 || errno != EINTR)
                return std::nullopt;
        }
    }

    // Closes the child's standard input: a child in WaitForParent ends.
    void ReleaseParentHold()
    {
        if (m_toChild >= 0) {
            ::close(m_toChild);
            m_toChild = -1;
        }
    }

    // SIGKILL, and waits until the kernel has cleaned the child up.
    void Kill()
    {
        ::kill(m_pid, SIGKILL);
        ::waitpid(m_pid, nullptr, 0);
        m_pid = -1;
    }

    // Waits for the end: the exit code, or -1 when a signal ended it.
    int Wait()
    {
        int status = 0;
        if (m_pid <= 0 || ::waitpid(m_pid, &status, 0) != m_pid)
            return -1;
        m_pid = -1;
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }

private:
    pid_t m_pid = -1;
    int m_toChild = -1;
    int m_fromChild = -1;
};

} // namespace synctest
