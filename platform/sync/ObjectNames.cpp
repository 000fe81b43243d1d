#include "platform/sync/ObjectNames.h"

#include <cerrno>
#include <climits>

#include "platform/fs/Path.h"
#include "platform/fs/TempFolder.h"
#include "platform/text/Unicode.h"

namespace platform {
namespace {

constexpr std::wstring_view kGlobalPrefix = L"Global\\";
constexpr std::wstring_view kLocalPrefix = L"Local\\";
constexpr std::string_view kSessionFolderName = "tallow-objects";

bool KeptAsIs(unsigned char byte, bool first)
{
    if ((byte >= 'A' && byte <= 'Z') || (byte >= 'a' && byte <= 'z') || (byte >= '0' && byte <= '9'))
        return true;
    if (byte == '_' || byte == '-')
        return true;
    // A leading dot would make "." and ".." (or a hidden file) of a name.
    return byte == '.' && !first;
}

} // namespace

std::string EscapeObjectName(std::string_view utf8Name)
{
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string escaped;
    escaped.reserve(utf8Name.size());
    for (std::size_t i = 0; i < utf8Name.size(); ++i) {
        const auto byte = static_cast<unsigned char>(utf8Name[i]);
        if (KeptAsIs(byte, i == 0)) {
            escaped.push_back(static_cast<char>(byte));
        } else {
            escaped.push_back('%');
            escaped.push_back(kHex[byte >> 4]);
            escaped.push_back(kHex[byte & 0x0F]);
        }
    }
    return escaped;
}

SystemResult<MappedObjectName> MapObjectName(std::wstring_view name)
{
    MappedObjectName mapped;
    if (name.starts_with(kGlobalPrefix)) {
        mapped.space = ObjectNamespace::Global;
        name.remove_prefix(kGlobalPrefix.size());
    } else if (name.starts_with(kLocalPrefix)) {
        name.remove_prefix(kLocalPrefix.size());
    }
    if (name.empty())
        return SystemError("object name", EINVAL);
    mapped.escaped = EscapeObjectName(WideToUtf8(name));
    if (mapped.escaped.size() > NAME_MAX)
        return SystemError("object name", ENAMETOOLONG);
    return mapped;
}

SystemResult<std::string> ObjectFolder(ObjectNamespace space)
{
    if (space == ObjectNamespace::Global)
        return SystemError("machine-wide objects", ENOTSUP);
    auto temp = TempFolder();
    if (!temp)
        return temp.Error();
    std::string folder = JoinPath(*temp, kSessionFolderName);
    if (auto ensured = EnsurePrivateFolder(folder); !ensured)
        return ensured.Error().WithContext(folder);
    return folder;
}

} // namespace platform
