// The resource module of an executable: the string tables, the build's
// configuration strings and the embedded binaries.
#include <cstdint>
#include <span>

#include "platform/gfx/PictureResources.h"
#include "platform/resources/Resources.h"
#include "resources/ResourceIds.h"
#include "resources/StringTables.h"

extern "C" const std::uint8_t tallow_firmware_begin[];
extern "C" const std::uint8_t tallow_firmware_end[];

// The bitmaps and icons (resources/Assets.S).
#define TALLOW_ASSET(name)                                                                                             \
    extern "C" const std::uint8_t name##_begin[];                                                                     \
    extern "C" const std::uint8_t name##_end[];
TALLOW_ASSET(tallow_bitmap137)
TALLOW_ASSET(tallow_bitmap138)
TALLOW_ASSET(tallow_bitmap139)
TALLOW_ASSET(tallow_icon128)
TALLOW_ASSET(tallow_icon140)
TALLOW_ASSET(tallow_icon141)
TALLOW_ASSET(tallow_icon142)
TALLOW_ASSET(tallow_icon143)
#undef TALLOW_ASSET

namespace platform {

const ResourceModule& ExecutableResources()
{
    static const BinaryResource binaries[] = {
        {ids::RT_FIRMWARE, ids::IDR_FIRMWARE,
         std::span<const std::uint8_t>(tallow_firmware_begin, tallow_firmware_end)},
        {platform::gfx::kBitmapResourceType, ids::IDB_LOGO, {tallow_bitmap137_begin, tallow_bitmap137_end}},
        {platform::gfx::kBitmapResourceType, ids::IDB_LOGO_COLOR, {tallow_bitmap138_begin, tallow_bitmap138_end}},
        {platform::gfx::kBitmapResourceType, ids::IDB_LOGO_ALPHA, {tallow_bitmap139_begin, tallow_bitmap139_end}},
        {platform::gfx::kIconResourceType, ids::IDR_MAINFRAME, {tallow_icon128_begin, tallow_icon128_end}},
        {platform::gfx::kIconResourceType, ids::IDI_BUSY_FIRST, {tallow_icon140_begin, tallow_icon140_end}},
        {platform::gfx::kIconResourceType, ids::IDI_BUSY_FIRST + 1, {tallow_icon141_begin, tallow_icon141_end}},
        {platform::gfx::kIconResourceType, ids::IDI_BUSY_FIRST + 2, {tallow_icon142_begin, tallow_icon142_end}},
        {platform::gfx::kIconResourceType, ids::IDI_BUSY_FIRST + 3, {tallow_icon143_begin, tallow_icon143_end}},
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
