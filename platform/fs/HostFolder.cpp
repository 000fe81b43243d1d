#include "platform/fs/HostFolder.h"

#include <cstdlib>

namespace platform {

std::optional<std::string> HostFolder()
{
    const char* value = std::getenv(kHostFolderVariable);
    if (value == nullptr || *value == '\0')
        return std::nullopt;
    return std::string(value);
}

} // namespace platform
