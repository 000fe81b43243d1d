#pragma once
// The file-system calls of the platform layer, wrapped once (descriptors and
// sockets are in platform/core/System.h). Each returns the call's result or a
// SystemError naming the call and its errno; descriptors come back owned and
// close-on-exec.

#include <sys/stat.h>
#include <sys/types.h>

#include <cstddef>
#include <span>
#include <string>
#include <vector>

#include "platform/core/SystemError.h"
#include "platform/core/UniqueFd.h"

namespace platform::sys {

// open(2); O_CLOEXEC is added here.
SystemResult<UniqueFd> Open(const std::string& path, int flags, mode_t mode = 0);

// read(2): the number of bytes stored, 0 at the end of the file. EINTR is
// retried here: a file read has no wait that a caller could want to cut.
SystemResult<std::size_t> Read(int fd, std::span<char> buffer);

// flock(2). With LOCK_NB, a lock held elsewhere is EWOULDBLOCK.
SystemResult<void> Flock(int fd, int operation);

SystemResult<struct stat> Fstat(int fd);
// stat(2) follows symbolic links; lstat(2) describes the link itself.
SystemResult<struct stat> Stat(const std::string& path);
SystemResult<struct stat> Lstat(const std::string& path);

// mkdir(2). EEXIST comes back as an error like any other.
SystemResult<void> Mkdir(const std::string& path, mode_t mode);

// The names in a folder (opendir(3)/readdir(3)), without "." and "..", in
// the order the file system gives them.
SystemResult<std::vector<std::string>> ListFolder(const std::string& path);

} // namespace platform::sys
