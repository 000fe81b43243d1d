#pragma once
// Reading a whole file into memory.

#include <cstddef>
#include <string>

#include "platform/core/SystemError.h"

namespace platform {

enum class FileSharing {
    // Others may have the file open meanwhile.
    Shared,
    // Windows' "no sharing": the read holds an exclusive flock(2) on the
    // file, and fails at once with EWOULDBLOCK, as Windows fails with a
    // sharing violation, when another holder has a lock on it. Only
    // programs that lock are kept out: Linux has no mandatory sharing modes.
    Exclusive,
};

// The bytes of the regular file at `path`. A file of more than `maxBytes`
// is refused (EFBIG) rather than read: the callers' files are small, and a
// huge or endless one (a device, a pipe) must not exhaust memory. Anything
// but a regular file is refused too (EISDIR for a folder, EINVAL for the
// rest); opening never blocks on a pipe. Errors name the failing call.
SystemResult<std::string> ReadWholeFile(const std::string& path, std::size_t maxBytes,
                                        FileSharing sharing = FileSharing::Shared);

} // namespace platform
