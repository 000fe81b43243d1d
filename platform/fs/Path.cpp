#include "platform/fs/Path.h"

#include <algorithm>

#include "platform/fs/FileCalls.h"
#include "platform/text/Unicode.h"

namespace platform {
namespace {

template <typename Char>
std::basic_string<Char> Join(std::basic_string_view<Char> base, std::basic_string_view<Char> relative)
{
    std::basic_string<Char> tail(relative);
    std::replace(tail.begin(), tail.end(), Char('\\'), Char(kPathSeparator));
    const auto first = tail.find_first_not_of(Char(kPathSeparator));
    tail.erase(0, first == std::basic_string<Char>::npos ? tail.size() : first);
    if (base.empty())
        return tail;
    std::basic_string<Char> joined(base);
    if (joined.back() != Char(kPathSeparator))
        joined.push_back(Char(kPathSeparator));
    joined += tail;
    return joined;
}

} // namespace

std::string JoinPath(std::string_view base, std::string_view relative)
{
    return Join(base, relative);
}

std::wstring JoinPath(std::wstring_view base, std::wstring_view relative)
{
    return Join(base, relative);
}

std::string NativePath(std::wstring_view path)
{
    return WideToUtf8(path);
}

bool PathExists(const std::string& path)
{
    // A zero inside the name would end it early and ask about another file.
    if (path.empty() || path.find('\0') != std::string::npos)
        return false;
    return sys::Stat(path).HasValue();
}

bool PathExists(std::wstring_view path)
{
    return PathExists(NativePath(path));
}

} // namespace platform
