#include "platform/fs/File.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <span>

#include "platform/fs/FileCalls.h"

namespace platform {

SystemResult<std::string> ReadWholeFile(const std::string& path, std::size_t maxBytes, FileSharing sharing)
{
    // The one-byte look-ahead below needs room above the limit.
    maxBytes = std::min<std::size_t>(maxBytes, SIZE_MAX - 1);
    if (path.find('\0') != std::string::npos)
        return SystemError("open", ENOENT);
    // O_NONBLOCK keeps a pipe from holding the open up; it has no effect on
    // a regular file's reads.
    auto fd = sys::Open(path, O_RDONLY | O_NONBLOCK | O_NOCTTY);
    if (!fd)
        return fd.Error();
    if (sharing == FileSharing::Exclusive) {
        if (auto locked = sys::Flock(fd->Get(), LOCK_EX | LOCK_NB); !locked)
            return locked.Error();
    }
    auto info = sys::Fstat(fd->Get());
    if (!info)
        return info.Error();
    if (S_ISDIR(info->st_mode))
        return SystemError("open", EISDIR);
    if (!S_ISREG(info->st_mode))
        return SystemError("open", EINVAL);
    if (static_cast<std::uintmax_t>(info->st_size) > maxBytes)
        return SystemError("fstat", EFBIG);

    // Read to the end rather than trusting the size: another writer may
    // change the file meanwhile. One byte beyond the limit tells a file that
    // grew past it from one that ends exactly there.
    std::string bytes;
    bytes.resize(std::min<std::size_t>(static_cast<std::size_t>(info->st_size), maxBytes) + 1);
    std::size_t used = 0;
    for (;;) {
        if (used == bytes.size()) {
            if (used > maxBytes)
                return SystemError("read", EFBIG);
            bytes.resize(std::min(maxBytes + 1, bytes.size() * 2));
        }
        auto count = sys::Read(fd->Get(), std::span<char>(bytes.data() + used, bytes.size() - used));
        if (!count)
            return count.Error();
        if (*count == 0)
            break;
        used += *count;
    }
    bytes.resize(used);
    return bytes;
}

} // namespace platform
