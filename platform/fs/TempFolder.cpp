#include "platform/fs/TempFolder.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>

#include "platform/fs/FileCalls.h"
#include "platform/fs/Path.h"

namespace platform {
namespace {

std::string OctalMode(mode_t mode)
{
    char text[8];
    std::snprintf(text, sizeof text, "0%03o", static_cast<unsigned>(mode & 07777));
    return text;
}

// The fallback lives in a folder everyone can write to (/tmp). Only the
// sticky bit stops another user from renaming our folder away after it was
// checked and putting their own in its place.
SystemResult<void> CheckFallbackParent(const std::string& parent)
{
    auto info = sys::Stat(parent);
    if (!info)
        return info.Error();
    if (!S_ISDIR(info->st_mode))
        return SystemError("not a directory", ENOTDIR);
    if ((info->st_mode & (S_IWGRP | S_IWOTH)) != 0 && (info->st_mode & S_ISVTX) == 0)
        return SystemError("mode " + OctalMode(info->st_mode) + " lets others replace what it holds", EPERM);
    return {};
}

} // namespace

SystemResult<void> CheckPrivateFolder(const std::string& path)
{
    // lstat, not stat: a link that points at a private folder is still a
    // name someone else may have chosen the target of.
    auto info = sys::Lstat(path);
    if (!info)
        return info.Error();
    if (S_ISLNK(info->st_mode))
        return SystemError("a symbolic link", ELOOP);
    if (!S_ISDIR(info->st_mode))
        return SystemError("not a directory", ENOTDIR);
    const uid_t self = ::geteuid();
    if (info->st_uid != self)
        return SystemError("owned by uid " + std::to_string(info->st_uid) + ", not " + std::to_string(self), EPERM);
    if ((info->st_mode & (S_IWGRP | S_IWOTH)) != 0)
        return SystemError("mode " + OctalMode(info->st_mode) + " lets others write", EPERM);
    return {};
}

SystemResult<void> EnsurePrivateFolder(const std::string& path)
{
    if (auto made = sys::Mkdir(path, 0700); !made && made.Error().Code() != EEXIST)
        return made.Error();
    return CheckPrivateFolder(path);
}

SystemResult<std::string> TempFolder()
{
    return TempFolderFrom(std::getenv("XDG_RUNTIME_DIR"), "/tmp");
}

SystemResult<std::string> TempFolderFrom(const char* xdgRuntimeDir, std::string_view fallbackParent)
{
    // A relative value is to be ignored, as the XDG base directory rules say.
    if (xdgRuntimeDir != nullptr && xdgRuntimeDir[0] == '/' && CheckPrivateFolder(xdgRuntimeDir)) {
        std::string folder(xdgRuntimeDir);
        while (folder.size() > 1 && folder.back() == kPathSeparator)
            folder.pop_back();
        return folder;
    }

    const std::string parent(fallbackParent);
    if (auto checked = CheckFallbackParent(parent); !checked)
        return checked.Error().WithContext("temporary folder parent " + parent);
    const std::string folder = JoinPath(parent, "tallow-" + std::to_string(::geteuid()));
    if (auto ensured = EnsurePrivateFolder(folder); !ensured)
        return ensured.Error().WithContext("temporary folder " + folder);
    return folder;
}

} // namespace platform
