#pragma once
// Programs a test starts: found on PATH or in the system folders, run with
// their output in a file, and always ended with the test (RAII).

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

extern char** environ;

namespace nettest {

// snmpd lives in /usr/sbin, which is often not on a user's PATH.
inline std::optional<std::filesystem::path> FindProgram(std::string_view name)
{
    std::string folders = std::getenv("PATH") ? std::getenv("PATH") : "";
    folders += ":/usr/local/sbin:/usr/sbin:/sbin";
    std::istringstream list(folders);
    for (std::string folder; std::getline(list, folder, ':');) {
        if (folder.empty())
            continue;
        std::filesystem::path candidate = std::filesystem::path(folder) / name;
        if (::access(candidate.c_str(), X_OK) == 0)
            return candidate;
    }
    return std::nullopt;
}

// A fresh private folder under the system's temporary folder, removed with
// everything in it at the end of the scope.
class TempFolder {
public:
    TempFolder()
    {
        std::string pattern = (std::filesystem::temp_directory_path() / "tallow-net-XXXXXX").string();
        if (!::mkdtemp(pattern.data()))
            throw std::runtime_error("mkdtemp failed");
        m_path = pattern;
    }
    ~TempFolder()
    {
        std::error_code ignored;
        std::filesystem::remove_all(m_path, ignored);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::filesystem::path& Path() const { return m_path; }

private:
    std::filesystem::path m_path;
};

inline std::string ReadFile(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

class ChildProcess {
public:
    // Starts `argv` with `environment` ("NAME=value") added to this
    // process's; standard output goes to `out`, standard error to `err`
    // (the same file when not given).
    ChildProcess(const std::vector<std::string>& argv, const std::vector<std::string>& environment,
                 const std::filesystem::path& out, const std::filesystem::path& err = {})
    {
        std::vector<std::string> env(environment);
        for (char** entry = environ; *entry; ++entry)
            env.emplace_back(*entry); // the first of a name wins in getenv
        std::vector<char*> args;
        for (const std::string& arg : argv)
            args.push_back(const_cast<char*>(arg.c_str()));
        args.push_back(nullptr);
        std::vector<char*> envp;
        for (const std::string& entry : env)
            envp.push_back(const_cast<char*>(entry.c_str()));
        envp.push_back(nullptr);

        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
        posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        if (err.empty() || err == out)
            posix_spawn_file_actions_adddup2(&actions, STDOUT_FILENO, STDERR_FILENO);
        else
            posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        const int error = ::posix_spawn(&m_pid, args[0], &actions, nullptr, args.data(), envp.data());
        posix_spawn_file_actions_destroy(&actions);
        if (error != 0)
            throw std::runtime_error("posix_spawn " + argv[0] + " failed");
    }

    ~ChildProcess()
    {
        if (m_pid > 0) {
            ::kill(m_pid, SIGKILL);
            ::waitpid(m_pid, nullptr, 0);
        }
    }

    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    bool Running()
    {
        if (m_pid <= 0)
            return false;
        int status = 0;
        if (::waitpid(m_pid, &status, WNOHANG) == 0)
            return true;
        m_pid = -1;
        return false;
    }

    // Sends `signal` to the running child; false when it has ended.
    bool Signal(int signal) { return m_pid > 0 && ::kill(m_pid, signal) == 0; }

    // Waits for the end; the exit code, or -1 when a signal ended it.
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
};

} // namespace nettest
