#pragma once
// A fresh private runtime folder for one test: XDG_RUNTIME_DIR points at a
// new mode-0700 folder for the scope, so per-user files (lock files, the
// temporary folder's contents) never meet another test's or a real
// session's. Programs the test starts inherit it through the environment.

#include <stdlib.h>
#include <sys/stat.h>

#include <filesystem>
#include <optional>
#include <stdexcept>
#include <string>

namespace testsupport {

class ScopedRuntimeDir {
public:
    ScopedRuntimeDir()
    {
        std::string pattern = (std::filesystem::temp_directory_path() / "tallow-run-XXXXXX").string();
        if (!::mkdtemp(pattern.data()))
            throw std::runtime_error("mkdtemp failed");
        m_path = pattern;
        ::chmod(m_path.c_str(), 0700);
        if (const char* previous = ::getenv("XDG_RUNTIME_DIR"))
            m_previous = previous;
        ::setenv("XDG_RUNTIME_DIR", m_path.c_str(), 1);
    }
    ~ScopedRuntimeDir()
    {
        if (m_previous)
            ::setenv("XDG_RUNTIME_DIR", m_previous->c_str(), 1);
        else
            ::unsetenv("XDG_RUNTIME_DIR");
        std::error_code ignored;
        std::filesystem::remove_all(m_path, ignored);
    }
    ScopedRuntimeDir(const ScopedRuntimeDir&) = delete;
    ScopedRuntimeDir& operator=(const ScopedRuntimeDir&) = delete;

    const std::filesystem::path& Path() const { return m_path; }

private:
    std::filesystem::path m_path;
    std::optional<std::string> m_previous;
};

} // namespace testsupport
