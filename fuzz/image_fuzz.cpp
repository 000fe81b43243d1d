// Arbitrary bytes as a firmware resource: unscrambling and header reading
// must never read outside their buffers, whatever the bytes or the length.
#include <cstddef>
#include <cstdint>
#include <new>
#include <span>

#include "image/PufHeader.h"
#include "image/PufImage.h"
#include "platform/resources/Resources.h"

namespace platform {
const ResourceModule& ExecutableResources()
{
    static const StaticResourceModule empty({});
    return empty;
}
} // namespace platform

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    int info[2];
    puf::ParseImageHeader(std::span<const std::uint8_t>(data, size), info);

    CPufImage image;
    try {
        if (image.Unscramble(static_cast<DWORD>(size), data) && image.m_pData) {
            image.GetHeaderInfo(info);
            // The payload must be exactly one byte shorter and terminated.
            if (image.m_nSize + 1 != size || image.m_pData[image.m_nSize] != 0)
                __builtin_trap();
        }
    } catch (const std::bad_alloc&) {
    }
    return 0;
}
