// The resource module of an executable: the string tables, the build's
// configuration strings and the embedded binaries.
#include <cstdint>
#include <span>

#include "platform/resources/Resources.h"
#include "resources/ResourceIds.h"
#include "resources/StringTables.h"

extern "C" const std::uint8_t tallow_firmware_begin[];
extern "C" const std::uint8_t tallow_firmware_end[];

namespace platform {

const ResourceModule& ExecutableResources()
{
    static const BinaryResource binaries[] = {
        {ids::RT_FIRMWARE, ids::IDR_FIRMWARE,
         std::span<const std::uint8_t>(tallow_firmware_begin, tallow_firmware_end)},
    };
    static const StaticResourceModule module({
        .english = resources::EnglishStrings(),
        .japanese = resources::JapaneseStrings(),
        .neutral = resources::ConfigurationStrings(),
        .binaries = binaries,
    });
    return module;
}

} // namespace platform
