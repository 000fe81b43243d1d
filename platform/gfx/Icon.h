#pragma once
// Icons: the .ico format an icon resource holds, decoded to plain pixels.

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "platform/core/Result.h"

namespace platform::gfx {

// One image of an icon.
struct IconImage {
    int width = 0;
    int height = 0;
    // 0xAARRGGBB, not premultiplied, rows top-down, width * height of them.
    std::vector<std::uint32_t> pixels;
};

// Every image of an .ico file, in directory order. Images are packed DIBs of
// 8, 24 or 32 bits with their AND mask, at most 256 pixels a side. A 32-bit
// image whose alpha bytes are all zero is an old-style one: its AND mask
// decides, as it does for the other depths (mask bit 1 = transparent).
// Images stored as PNG are refused.
Result<std::vector<IconImage>, std::string> DecodeIcon(std::span<const std::uint8_t> bytes);

// An .ico file of 32-bit images with alpha (the AND mask set where alpha
// is 0). Empty when there are no images or one is not 1 to 256 pixels a
// side with width * height pixels.
std::vector<std::uint8_t> EncodeIcon(std::span<const IconImage> images);

// The image LoadImage takes for an icon asked at size x size: that size,
// else the smallest larger one, else the largest (the caller scales it).
// Null when there are none.
const IconImage* PickIconImage(std::span<const IconImage> images, int size);

} // namespace platform::gfx
