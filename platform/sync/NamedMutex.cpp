#include "platform/sync/NamedMutex.h"

#include <fcntl.h>
#include <sys/file.h>

#include <cerrno>
#include <utility>

#include "platform/fs/FileCalls.h"
#include "platform/fs/Path.h"
#include "platform/sync/ObjectNames.h"
#include "platform/text/Unicode.h"

namespace platform {

NamedMutex::NamedMutex(std::string path, UniqueFd fd, DWORD lastError)
    : m_path(std::move(path)), m_fd(std::move(fd)), m_dwLastError(lastError)
{
}

SystemResult<NamedMutex> NamedMutex::CreateOwned(std::wstring_view name)
{
    const std::string context = "mutex \"" + WideToUtf8(name) + "\"";
    auto mapped = MapObjectName(name);
    if (!mapped)
        return mapped.Error().WithContext(context);
    auto folder = ObjectFolder(mapped->space);
    if (!folder)
        return folder.Error().WithContext(context);
    std::string path = JoinPath(*folder, mapped->escaped);

    // The folder is private, so nobody else can have planted a link here;
    // O_NOFOLLOW keeps it that way should the folder's check ever change.
    // sys::Open adds O_CLOEXEC.
    auto fd = sys::Open(path, O_RDONLY | O_CREAT | O_NOFOLLOW, 0600);
    if (!fd)
        return fd.Error().WithContext(context + " " + path);
    if (auto locked = sys::Flock(fd->Get(), LOCK_EX | LOCK_NB); !locked) {
        if (locked.Error().Code() == EWOULDBLOCK)
            return NamedMutex(std::move(path), UniqueFd{}, ERROR_ALREADY_EXISTS);
        return locked.Error().WithContext(context + " " + path);
    }
    return NamedMutex(std::move(path), std::move(*fd), 0);
}

} // namespace platform
