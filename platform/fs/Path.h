#pragma once
// Paths as the program uses them.
//
// The separator is '/'. The program's own relative paths were written with
// Windows backslashes ("Tessaly\Device\DeviceInfo.xml"); joining turns those
// into '/'. A path that came from outside (a folder named in the registry)
// is taken as it stands: on Linux a backslash is an ordinary character of a
// file name.
//
// The system keeps paths as wide text; file names on this platform are the
// UTF-8 bytes of that text, whatever the process locale, so a path read from
// a UTF-8 file reaches the same file.

#include <string>
#include <string_view>

namespace platform {

inline constexpr char kPathSeparator = '/';

// The path-append rule: `base`, one separator, then `relative` with its
// backslashes turned into separators and any leading separators dropped. An
// empty `base` leaves the relative path as it is (converted), so it is then
// looked for from the current directory; a `base` that already ends in a
// separator gets no second one.
std::string JoinPath(std::string_view base, std::string_view relative);
std::wstring JoinPath(std::wstring_view base, std::wstring_view relative);

// The file-system name of a wide path (its UTF-8 bytes).
std::string NativePath(std::wstring_view path);

// True when a file or folder of that name exists; a symbolic link counts by
// what it points to.
bool PathExists(const std::string& path);
bool PathExists(std::wstring_view path);

} // namespace platform
