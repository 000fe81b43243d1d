#pragma once
// What the registry holds: roots, value types, values, and the errors of a
// value read.

#include <string>

#include "platform/core/WinTypes.h"

namespace platform {

// The predefined keys a .reg file may name. A native process has one view of
// the machine-wide keys, so there is no redirected (WOW6432Node) view: a key
// of that name is an ordinary key.
enum class RegRoot {
    LocalMachine, // HKEY_LOCAL_MACHINE
    CurrentUser,  // HKEY_CURRENT_USER
    Users,        // HKEY_USERS
};

// Value types, with Windows' numbers (they appear in .reg files as hex(N)).
inline constexpr DWORD REG_NONE = 0;
inline constexpr DWORD REG_SZ = 1;
inline constexpr DWORD REG_EXPAND_SZ = 2;
inline constexpr DWORD REG_BINARY = 3;
inline constexpr DWORD REG_DWORD = 4;
inline constexpr DWORD REG_MULTI_SZ = 7;
inline constexpr DWORD REG_QWORD = 11;

// A value as Windows stores it: strings as UTF-16LE bytes with their
// terminator, DWORDs as four little-endian bytes, anything else as written.
struct RegValue {
    DWORD type = REG_NONE;
    std::string data;

    bool operator==(const RegValue&) const = default;
};

enum class RegError {
    NotFound,  // ERROR_FILE_NOT_FOUND: no such key or value
    MoreData,  // ERROR_MORE_DATA: the value does not fit the caller's buffer
    WrongType, // the value is not of the type asked for
};

} // namespace platform
