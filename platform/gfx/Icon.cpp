#include "platform/gfx/Icon.h"

#include <algorithm>
#include <cstddef>

#include "platform/gfx/Dib.h"
#include "platform/gfx/DibFormat.h"
#include "platform/gfx/LittleEndian.h"

namespace platform::gfx {
namespace {

namespace icon = format::icon;
namespace info = format::info;

std::size_t MaskStride(int width)
{
    // One bit a pixel, rows padded to 4 bytes.
    return (static_cast<std::size_t>(width) + 31) / 32 * format::kRowAlignment;
}

Result<IconImage, std::string> DecodeImage(std::span<const std::uint8_t> bytes)
{
    if (bytes.size() >= sizeof icon::kPngSignature &&
        std::equal(std::begin(icon::kPngSignature), std::end(icon::kPngSignature), bytes.begin()))
        return std::string("PNG images are not supported");
    auto decoded = DecodePackedDib(bytes, DibKind::IconImage);
    if (!decoded)
        return decoded.Error();
    const Dib& dib = decoded->dib;
    if (dib.Width() > static_cast<int>(icon::kMaxSide) || dib.Rows() > static_cast<int>(icon::kMaxSide))
        return "unsupported size " + std::to_string(dib.Width()) + " x " + std::to_string(dib.Rows());
    const std::size_t maskStride = MaskStride(dib.Width());
    const std::size_t maskBytes = maskStride * static_cast<std::size_t>(dib.Rows());
    if (decoded->trailing.size() < maskBytes)
        return "mask: " + std::to_string(maskBytes) + " bytes needed, " + std::to_string(decoded->trailing.size()) +
               " present";

    const int width = dib.Width();
    const int height = dib.Rows();
    bool useAlpha = false;
    if (dib.BitCount() == 32) {
        for (int y = 0; y < height && !useAlpha; ++y)
            for (int x = 0; x < width && !useAlpha; ++x)
                useAlpha = dib.Line(y)[static_cast<std::size_t>(x) * 4 + 3] != 0;
    }

    IconImage image{width, height, std::vector<std::uint32_t>(static_cast<std::size_t>(width) * height)};
    for (int y = 0; y < height; ++y) {
        auto line = dib.Line(y);
        // The mask is bottom-up like the colours.
        auto mask = decoded->trailing.subspan(static_cast<std::size_t>(height - 1 - y) * maskStride, maskStride);
        for (int x = 0; x < width; ++x) {
            std::uint32_t blue = 0, green = 0, red = 0, alpha = 0;
            if (dib.BitCount() == 8) {
                const std::size_t index = line[static_cast<std::size_t>(x)];
                if (index < dib.Colors().size()) {
                    blue = dib.Colors()[index].blue;
                    green = dib.Colors()[index].green;
                    red = dib.Colors()[index].red;
                }
            } else {
                const std::size_t at = static_cast<std::size_t>(x) * static_cast<std::size_t>(dib.BitCount() / 8);
                blue = line[at];
                green = line[at + 1];
                red = line[at + 2];
                if (useAlpha)
                    alpha = line[at + 3];
            }
            if (!useAlpha) {
                const bool transparent = mask[static_cast<std::size_t>(x) / 8] & (0x80 >> (x % 8));
                alpha = transparent ? 0 : 255;
            }
            image.pixels[static_cast<std::size_t>(y) * width + x] =
                alpha == 0 ? 0 : alpha << 24 | red << 16 | green << 8 | blue;
        }
    }
    return image;
}

} // namespace

Result<std::vector<IconImage>, std::string> DecodeIcon(std::span<const std::uint8_t> bytes)
{
    auto reserved = ReadU16(bytes, icon::kReservedOffset);
    auto type = ReadU16(bytes, icon::kTypeOffset);
    auto count = ReadU16(bytes, icon::kCountOffset);
    if (!reserved || !type || !count)
        return std::string("icon directory: truncated");
    if (*reserved != 0 || *type != icon::kTypeIcon)
        return std::string("icon directory: not an icon");
    if (*count == 0)
        return std::string("icon directory: no images");
    if (!Fits(bytes, icon::kDirSize, std::size_t{*count} * icon::kEntrySize))
        return "icon directory: " + std::to_string(*count) + " entries do not fit";

    std::vector<IconImage> images;
    for (std::size_t i = 0; i < *count; ++i) {
        const std::size_t entry = icon::kDirSize + i * icon::kEntrySize;
        const std::uint32_t size = *ReadU32(bytes, entry + icon::kEntryBytesOffset);
        const std::uint32_t offset = *ReadU32(bytes, entry + icon::kEntryImageOffset);
        const std::string where = "image " + std::to_string(i) + ": ";
        if (!Fits(bytes, offset, size))
            return where + "outside the file";
        auto image = DecodeImage(bytes.subspan(offset, size));
        if (!image)
            return where + image.Error();
        images.push_back(std::move(*image));
    }
    return images;
}

std::vector<std::uint8_t> EncodeIcon(std::span<const IconImage> images)
{
    if (images.empty() || images.size() > 0xFFFF)
        return {};
    std::size_t total = icon::kDirSize + images.size() * icon::kEntrySize;
    std::vector<std::size_t> sizes;
    for (const IconImage& image : images) {
        if (image.width < 1 || image.width > static_cast<int>(icon::kMaxSide) || image.height < 1 ||
            image.height > static_cast<int>(icon::kMaxSide) ||
            image.pixels.size() != static_cast<std::size_t>(image.width) * static_cast<std::size_t>(image.height))
            return {};
        const std::size_t rows = static_cast<std::size_t>(image.height);
        sizes.push_back(info::kHeaderSize + (DibStride(image.width, 32) + MaskStride(image.width)) * rows);
        total += sizes.back();
    }

    std::vector<std::uint8_t> out(total);
    PutU16(out, icon::kReservedOffset, 0);
    PutU16(out, icon::kTypeOffset, icon::kTypeIcon);
    PutU16(out, icon::kCountOffset, static_cast<std::uint16_t>(images.size()));
    std::size_t at = icon::kDirSize + images.size() * icon::kEntrySize;
    for (std::size_t i = 0; i < images.size(); ++i) {
        const IconImage& image = images[i];
        const std::size_t entry = icon::kDirSize + i * icon::kEntrySize;
        out[entry + icon::kEntryWidthOffset] = static_cast<std::uint8_t>(image.width); // 256 wraps to 0
        out[entry + icon::kEntryHeightOffset] = static_cast<std::uint8_t>(image.height);
        PutU16(out, entry + icon::kEntryPlanesOffset, 1);
        PutU16(out, entry + icon::kEntryBitCountOffset, 32);
        PutU32(out, entry + icon::kEntryBytesOffset, static_cast<std::uint32_t>(sizes[i]));
        PutU32(out, entry + icon::kEntryImageOffset, static_cast<std::uint32_t>(at));

        const std::size_t stride = DibStride(image.width, 32);
        const std::size_t maskStride = MaskStride(image.width);
        const std::size_t rows = static_cast<std::size_t>(image.height);
        PutU32(out, at + info::kSizeOffset, info::kHeaderSize);
        PutU32(out, at + info::kWidthOffset, static_cast<std::uint32_t>(image.width));
        PutU32(out, at + info::kHeightOffset, static_cast<std::uint32_t>(image.height * icon::kHeightFactor));
        PutU16(out, at + info::kPlanesOffset, 1);
        PutU16(out, at + info::kBitCountOffset, 32);
        PutU32(out, at + info::kCompressionOffset, format::BI_RGB);
        PutU32(out, at + info::kSizeImageOffset, static_cast<std::uint32_t>((stride + maskStride) * rows));
        const std::size_t bits = at + info::kHeaderSize;
        const std::size_t mask = bits + stride * rows;
        for (std::size_t y = 0; y < rows; ++y) {
            const std::size_t row = rows - 1 - y; // bottom-up
            for (std::size_t x = 0; x < static_cast<std::size_t>(image.width); ++x) {
                const std::uint32_t pixel = image.pixels[y * static_cast<std::size_t>(image.width) + x];
                PutU32(out, bits + row * stride + x * 4, pixel); // B, G, R, A in memory
                if ((pixel >> 24) == 0)
                    out[mask + row * maskStride + x / 8] |= static_cast<std::uint8_t>(0x80 >> (x % 8));
            }
        }
        at += sizes[i];
    }
    return out;
}

const IconImage* PickIconImage(std::span<const IconImage> images, int size)
{
    const IconImage* best = nullptr;
    auto side = [](const IconImage& image) { return std::max(image.width, image.height); };
    for (const IconImage& image : images) {
        if (image.width == size && image.height == size)
            return &image;
        if (!best) {
            best = &image;
            continue;
        }
        const bool fits = side(image) >= size;
        const bool bestFits = side(*best) >= size;
        if ((fits && (!bestFits || side(image) < side(*best))) || (!fits && !bestFits && side(image) > side(*best)))
            best = &image;
    }
    return best;
}

} // namespace platform::gfx
