// Arbitrary bytes as a bitmap resource and as an icon resource: a replaced
// resource module may carry anything, and decoding must stay inside the
// bytes and the pixels it allocates.
#include <cstddef>
#include <cstdint>
#include <span>

#include "platform/gfx/Dib.h"
#include "platform/gfx/Icon.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::span<const std::uint8_t> bytes(data, size);
    if (auto dib = platform::gfx::DecodeDib(bytes)) {
        // The pixels must be exactly as many as the size and depth need.
        if (dib->Bits().size() != dib->Stride() * static_cast<std::size_t>(dib->Rows()) ||
            dib->Colors().size() > 256)
            __builtin_trap();
        // Touch every line through the accessor the composition uses.
        std::uint32_t sum = 0;
        for (int y = 0; y < dib->Rows(); ++y)
            sum += dib->Line(y).back();
        static_cast<void>(sum);
    }
    if (auto images = platform::gfx::DecodeIcon(bytes)) {
        for (const auto& image : *images)
            if (image.pixels.size() != static_cast<std::size_t>(image.width) * static_cast<std::size_t>(image.height))
                __builtin_trap();
    }
    return 0;
}
