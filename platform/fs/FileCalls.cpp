#include "platform/fs/FileCalls.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <memory>

namespace platform::sys {

SystemResult<UniqueFd> Open(const std::string& path, int flags, mode_t mode)
{
    int fd = ::open(path.c_str(), flags | O_CLOEXEC, mode);
    if (fd < 0)
        return SystemError::FromErrno("open");
    return UniqueFd(fd);
}

SystemResult<std::size_t> Read(int fd, std::span<char> buffer)
{
    for (;;) {
        ssize_t count = ::read(fd, buffer.data(), buffer.size());
        if (count >= 0)
            return static_cast<std::size_t>(count);
        if (errno != EINTR)
            return SystemError::FromErrno("read");
    }
}

SystemResult<void> Flock(int fd, int operation)
{
    if (::flock(fd, operation) != 0)
        return SystemError::FromErrno("flock");
    return {};
}

SystemResult<struct stat> Fstat(int fd)
{
    struct stat info {};
    if (::fstat(fd, &info) != 0)
        return SystemError::FromErrno("fstat");
    return info;
}

SystemResult<struct stat> Stat(const std::string& path)
{
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0)
        return SystemError::FromErrno("stat");
    return info;
}

SystemResult<struct stat> Lstat(const std::string& path)
{
    struct stat info {};
    if (::lstat(path.c_str(), &info) != 0)
        return SystemError::FromErrno("lstat");
    return info;
}

SystemResult<void> Mkdir(const std::string& path, mode_t mode)
{
    if (::mkdir(path.c_str(), mode) != 0)
        return SystemError::FromErrno("mkdir");
    return {};
}

SystemResult<std::vector<std::string>> ListFolder(const std::string& path)
{
    std::unique_ptr<DIR, int (*)(DIR*)> folder(::opendir(path.c_str()), ::closedir);
    if (!folder)
        return SystemError::FromErrno("opendir");
    std::vector<std::string> names;
    for (;;) {
        // readdir reports an error only through errno, and leaves it alone
        // at the end of the folder.
        errno = 0;
        const dirent* entry = ::readdir(folder.get());
        if (!entry) {
            if (errno != 0)
                return SystemError::FromErrno("readdir");
            return names;
        }
        if (std::strcmp(entry->d_name, ".") == 0 || std::strcmp(entry->d_name, "..") == 0)
            continue;
        names.emplace_back(entry->d_name);
    }
}

} // namespace platform::sys
