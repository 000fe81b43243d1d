#pragma once
// The per-user temporary folder.
//
// Windows gives each user a temporary folder of their own. The program
// writes a library there and then loads it, so a folder that another local
// user can write into would let them plant code for it: a shared /tmp will
// not do. The folder is $XDG_RUNTIME_DIR when that is set and private,
// otherwise /tmp/tallow-<uid>, created with mode 0700.

#include <string>
#include <string_view>

#include "platform/core/SystemError.h"

namespace platform {

// Checks that `path` is a private folder of the effective user: a directory
// (not a symbolic link to one), owned by the user, and writable by nobody
// else. The error names the check that failed: "a symbolic link" (ELOOP),
// "not a directory" (ENOTDIR), "owned by uid N, not M" (EPERM), "mode 0NNN
// lets others write" (EPERM), or the lstat failure.
SystemResult<void> CheckPrivateFolder(const std::string& path);

// Creates `path` with mode 0700 unless something of that name exists, then
// checks it as CheckPrivateFolder does.
SystemResult<void> EnsurePrivateFolder(const std::string& path);

// The temporary folder, without a trailing separator; created if needed.
SystemResult<std::string> TempFolder();

// TempFolder with its inputs named: `xdgRuntimeDir` is the environment
// variable's value (null when unset), `fallbackParent` the folder that holds
// "tallow-<uid>" (/tmp). The XDG folder is used when it is an absolute path
// and passes CheckPrivateFolder; otherwise the fallback is made and checked,
// and its error, with the folder's name as context, is the result.
SystemResult<std::string> TempFolderFrom(const char* xdgRuntimeDir, std::string_view fallbackParent);

} // namespace platform
