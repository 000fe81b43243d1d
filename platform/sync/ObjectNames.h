#pragma once
// Names of the kernel objects that processes share (mutexes now; named
// events and file mappings later), mapped from Windows names to Linux ones.
//
// Windows finds such an object by its name in the session's namespace, or
// in the machine's when the name starts with "Global\". Here every kind of
// named object maps its name by the same rule (docs/sync.md):
//   - "Global\" selects the machine-wide namespace, "Local\" or no prefix
//     the per-user one; the prefix is not part of the mapped name. Both
//     prefixes are matched exactly as written here.
//   - The rest of the name, as UTF-8, keeps each byte of [A-Za-z0-9_-] and
//     each '.' that is not the first byte; every other byte becomes "%XX"
//     (two upper-case hexadecimal digits).
// The mapped name is therefore never ".", ".." or hidden, holds no '/', and
// two different Windows names never share one (the rule is reversible).
// Names stay case-sensitive, as Windows object names are.

#include <string>
#include <string_view>

#include "platform/core/SystemError.h"

namespace platform {

enum class ObjectNamespace {
    Session, // the user's own: Windows' session namespace
    Global,  // shared by every user of the machine
};

struct MappedObjectName {
    ObjectNamespace space = ObjectNamespace::Session;
    std::string escaped; // a valid file name (at most NAME_MAX bytes)

    friend bool operator==(const MappedObjectName&, const MappedObjectName&) = default;
};

// The escaping half of the rule, on a name without its namespace prefix.
std::string EscapeObjectName(std::string_view utf8Name);

// The whole rule. Fails with EINVAL when nothing is left after the prefix,
// and with ENAMETOOLONG when the escaped name does not fit in a file name.
SystemResult<MappedObjectName> MapObjectName(std::wstring_view name);

// The folder that holds the lock files of a namespace. Session: the folder
// "tallow-objects" in the per-user temporary folder, created private (0700)
// when missing. Global: not available yet (ENOTSUP); machine-wide objects
// arrive with the controller library's shared objects.
SystemResult<std::string> ObjectFolder(ObjectNamespace space);

} // namespace platform
