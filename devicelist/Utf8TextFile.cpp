#include "devicelist/Utf8TextFile.h"

#include "platform/fs/File.h"
#include "platform/fs/Path.h"
#include "platform/text/Unicode.h"

std::wstring ReadUtf8TextFile(std::wstring_view path)
{
    auto bytes = platform::ReadWholeFile(platform::NativePath(path), kMaxDeviceListBytes,
                                         platform::FileSharing::Exclusive);
    if (!bytes)
        return {};
    return Utf8TextFromBytes(*bytes);
}

std::wstring Utf8TextFromBytes(std::string_view bytes)
{
    if (bytes.starts_with("\xEF\xBB\xBF"))
        bytes.remove_prefix(3);
    bytes = bytes.substr(0, bytes.find('\0'));
    return platform::Utf8ToWide(bytes);
}
