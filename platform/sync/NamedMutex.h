#pragma once
// Named mutexes, as Windows' CreateMutex gives them.
//
// A mutex is a lock file in its namespace's folder (platform/sync/
// ObjectNames.h), held with flock(2). The kernel drops the lock when the
// last descriptor of the holder goes, so a holder that ends in any way,
// kill -9 included, frees the name; a crashed installer never leaves a
// stale lock behind. The descriptor is close-on-exec: a program the holder
// starts never inherits the lock and so cannot keep it after the holder
// ends. Lock files are never removed: removing one while another process
// opens it would let two processes lock two different files of one name.
//
// flock locks belong to the open file, not the process, so a second
// CreateOwned of one name in the same process sees the mutex taken, as a
// second CreateMutex on Windows reports ERROR_ALREADY_EXISTS.

#include <string>
#include <string_view>

#include "platform/core/SystemError.h"
#include "platform/core/UniqueFd.h"
#include "platform/core/WinTypes.h"

namespace platform {

inline constexpr DWORD ERROR_ALREADY_EXISTS = 183;

class NamedMutex {
public:
    // CreateMutex(nullptr, TRUE, name): creates the mutex owned by the
    // caller, or finds it held by another holder; LastError then says
    // ERROR_ALREADY_EXISTS and the object owns nothing. A failure (a name
    // that does not map, a temporary folder that is not private, a lock file
    // that cannot be opened) comes back as the error, with the mutex's name
    // as context.
    //
    // An unowned creation with waiting and releasing (the controller
    // library's mutex) joins here later; the single-instance rule needs
    // only this.
    static SystemResult<NamedMutex> CreateOwned(std::wstring_view name);

    NamedMutex(NamedMutex&&) noexcept = default;
    NamedMutex& operator=(NamedMutex&&) noexcept = default;
    NamedMutex(const NamedMutex&) = delete;
    NamedMutex& operator=(const NamedMutex&) = delete;

    // 0 when this object created the mutex and owns it, ERROR_ALREADY_EXISTS
    // when another holder has it.
    DWORD LastError() const { return m_dwLastError; }
    bool AlreadyExists() const { return m_dwLastError == ERROR_ALREADY_EXISTS; }
    bool Owns() const { return m_fd.IsValid(); }

    // The lock file, for messages and tests.
    const std::string& Path() const { return m_path; }

private:
    NamedMutex(std::string path, UniqueFd fd, DWORD lastError);

    std::string m_path;
    UniqueFd m_fd; // holds the lock; invalid when another holder has it
    DWORD m_dwLastError = 0;
};

} // namespace platform
