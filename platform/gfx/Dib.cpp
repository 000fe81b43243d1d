#include "platform/gfx/Dib.h"

#include <algorithm>
#include <cstdint>
#include <utility>

#include "platform/gfx/LittleEndian.h"
#include "platform/gfx/Rle8.h"

namespace platform::gfx {
namespace {

namespace info = format::info;

bool IsKeptBitCount(int bitCount)
{
    return bitCount == 8 || bitCount == 24 || bitCount == 32;
}

std::string Needed(const char* what, std::size_t needed, std::size_t present)
{
    return std::string(what) + ": " + std::to_string(needed) + " bytes needed, " + std::to_string(present) +
           " present";
}

// What the header says, checked for the forms we keep.
struct Header {
    std::size_t size = 0;
    int width = 0;
    int height = 0; // of the picture: an icon image's header counts the mask too
    int bitCount = 0;
    std::uint32_t compression = format::BI_RGB;
    std::uint32_t sizeImage = 0;
    std::size_t colorCount = 0; // entries stored after the header
};

Result<Header, std::string> ReadHeader(std::span<const std::uint8_t> bytes, DibKind kind)
{
    auto size = ReadU32(bytes, info::kSizeOffset);
    if (!size)
        return std::string("header: truncated");
    if (*size != info::kHeaderSize && *size != info::kV4HeaderSize && *size != info::kV5HeaderSize)
        return "header: unsupported header size " + std::to_string(*size);
    if (!Fits(bytes, 0, *size))
        return Needed("header", *size, bytes.size());

    Header header;
    header.size = *size;
    const std::int32_t width = *ReadI32(bytes, info::kWidthOffset);
    const std::int64_t storedHeight = *ReadI32(bytes, info::kHeightOffset);
    const std::uint16_t planes = *ReadU16(bytes, info::kPlanesOffset);
    header.bitCount = *ReadU16(bytes, info::kBitCountOffset);
    header.compression = *ReadU32(bytes, info::kCompressionOffset);
    header.sizeImage = *ReadU32(bytes, info::kSizeImageOffset);
    const std::uint32_t clrUsed = *ReadU32(bytes, info::kClrUsedOffset);

    if (planes != 1)
        return "header: " + std::to_string(planes) + " planes";
    if (!IsKeptBitCount(header.bitCount))
        return "header: unsupported depth of " + std::to_string(header.bitCount) + " bits";

    std::int64_t height = storedHeight;
    if (kind == DibKind::IconImage) {
        // Colours and mask, both bottom-up.
        if (storedHeight <= 0 || storedHeight % format::icon::kHeightFactor != 0)
            return "header: icon image height " + std::to_string(storedHeight) + " is not twice a picture height";
        height = storedHeight / format::icon::kHeightFactor;
    }
    const std::int64_t rows = height < 0 ? -height : height;
    if (width < 1 || width > kMaxDibSide || rows < 1 || rows > kMaxDibSide)
        return "header: unsupported size " + std::to_string(width) + " x " + std::to_string(storedHeight);
    header.width = width;
    header.height = static_cast<int>(height);

    if (header.compression == format::BI_RLE8) {
        if (kind != DibKind::Bitmap || header.bitCount != 8)
            return std::string("header: RLE8 compression on a picture that cannot have it");
        if (header.height < 0)
            return std::string("header: RLE8 compression on a top-down bitmap");
    } else if (header.compression != format::BI_RGB) {
        return "header: unsupported compression " + std::to_string(header.compression);
    }

    if (clrUsed > format::kMaxColors)
        return "header: " + std::to_string(clrUsed) + " colours";
    header.colorCount = clrUsed;
    if (header.bitCount == 8 && clrUsed == 0)
        header.colorCount = format::kMaxColors;
    return header;
}

} // namespace

std::size_t DibStride(int width, int bitCount)
{
    if (width < 1 || width > kMaxDibSide || !IsKeptBitCount(bitCount))
        return 0;
    const std::size_t rowBits = static_cast<std::size_t>(width) * static_cast<std::size_t>(bitCount);
    return (rowBits + 8 * format::kRowAlignment - 1) / (8 * format::kRowAlignment) * format::kRowAlignment;
}

std::optional<Dib> Dib::Create(int width, int height, int bitCount)
{
    const std::size_t stride = DibStride(width, bitCount);
    if (stride == 0 || height == 0 || height < -kMaxDibSide || height > kMaxDibSide)
        return std::nullopt;
    const std::size_t rows = static_cast<std::size_t>(height < 0 ? -height : height);
    if (stride > kMaxDibBytes / rows)
        return std::nullopt;
    return Dib(width, height, bitCount, stride);
}

Dib::Dib(int width, int height, int bitCount, std::size_t stride)
    : m_width(width), m_height(height), m_bitCount(bitCount), m_stride(stride),
      m_bits(stride * static_cast<std::size_t>(height < 0 ? -height : height))
{
}

std::span<const std::uint8_t> Dib::Line(int y) const
{
    const int row = IsBottomUp() ? Rows() - 1 - y : y;
    return std::span<const std::uint8_t>(m_bits).subspan(static_cast<std::size_t>(row) * m_stride, m_stride);
}

std::span<std::uint8_t> Dib::Line(int y)
{
    const int row = IsBottomUp() ? Rows() - 1 - y : y;
    return std::span<std::uint8_t>(m_bits).subspan(static_cast<std::size_t>(row) * m_stride, m_stride);
}

void Dib::SetColors(std::vector<RgbQuad> colors)
{
    if (colors.size() > format::kMaxColors)
        colors.resize(format::kMaxColors);
    m_colors = std::move(colors);
}

std::span<const std::uint8_t> Dib::ColorBytes() const
{
    // RgbQuad is four bytes without padding (asserted beside it).
    return {reinterpret_cast<const std::uint8_t*>(m_colors.data()), m_colors.size() * format::kRgbQuadSize};
}

Result<DecodedDib, std::string> DecodePackedDib(std::span<const std::uint8_t> bytes, DibKind kind)
{
    auto header = ReadHeader(bytes, kind);
    if (!header)
        return header.Error();

    const std::size_t tableBytes = header->colorCount * format::kRgbQuadSize;
    if (!Fits(bytes, header->size, tableBytes))
        return Needed("colour table", tableBytes, bytes.size() - header->size);
    std::span<const std::uint8_t> rest = bytes.subspan(header->size + tableBytes);

    // Uncompressed bits must all be there; checked before anything is
    // allocated for them.
    const std::size_t rows = static_cast<std::size_t>(header->height < 0 ? -header->height : header->height);
    const std::size_t bitsBytes = DibStride(header->width, header->bitCount) * rows;
    if (header->compression == format::BI_RGB && rest.size() < bitsBytes)
        return Needed("pixels", bitsBytes, rest.size());
    auto dib = Dib::Create(header->width, header->height, header->bitCount);
    if (!dib)
        return "header: " + std::to_string(header->width) + " x " + std::to_string(header->height) +
               " pixels is more than we decode";
    // A colour table of a 24- or 32-bit bitmap only helps palette displays.
    if (header->bitCount == 8) {
        std::vector<RgbQuad> colors(header->colorCount);
        for (std::size_t i = 0; i < colors.size(); ++i) {
            const std::size_t at = header->size + i * format::kRgbQuadSize;
            colors[i] = {bytes[at], bytes[at + 1], bytes[at + 2], bytes[at + 3]};
        }
        dib->SetColors(std::move(colors));
    }

    if (header->compression == format::BI_RLE8) {
        // The compressed size is the header's when given; a resource ends
        // where its data does, so 0 means "the rest".
        std::span<const std::uint8_t> data = rest;
        if (header->sizeImage != 0) {
            if (header->sizeImage > rest.size())
                return Needed("pixels", header->sizeImage, rest.size());
            data = rest.first(header->sizeImage);
        }
        auto decoded = DecodeRle8(data, *dib);
        if (!decoded)
            return "pixels: " + decoded.Error();
        return DecodedDib{std::move(*dib), rest.subspan(data.size())};
    }

    std::copy_n(rest.begin(), bitsBytes, dib->Bits().begin());
    return DecodedDib{std::move(*dib), rest.subspan(bitsBytes)};
}

Result<Dib, std::string> DecodeDib(std::span<const std::uint8_t> bytes)
{
    auto decoded = DecodePackedDib(bytes, DibKind::Bitmap);
    if (!decoded)
        return decoded.Error();
    return std::move(decoded->dib);
}

std::optional<std::vector<std::uint8_t>> EncodeDib(const Dib& dib, bool rle8)
{
    std::vector<std::uint8_t> pixels;
    if (rle8) {
        if (dib.BitCount() != 8 || !dib.IsBottomUp())
            return std::nullopt;
        pixels = EncodeRle8(dib);
    } else {
        pixels.assign(dib.Bits().begin(), dib.Bits().end());
    }
    // An 8-bit header without a colour count means a table of 256; a
    // bitmap that has none gets 256 black entries rather than a lie.
    std::vector<RgbQuad> colors;
    if (dib.BitCount() == 8)
        colors = dib.Colors().empty() ? std::vector<RgbQuad>(format::kMaxColors) : dib.Colors();
    const std::size_t colorCount = colors.size();
    const std::size_t tableBytes = colorCount * format::kRgbQuadSize;

    std::vector<std::uint8_t> out(info::kHeaderSize + tableBytes + pixels.size());
    PutU32(out, info::kSizeOffset, info::kHeaderSize);
    PutU32(out, info::kWidthOffset, static_cast<std::uint32_t>(dib.Width()));
    PutU32(out, info::kHeightOffset, static_cast<std::uint32_t>(dib.Height()));
    PutU16(out, info::kPlanesOffset, 1);
    PutU16(out, info::kBitCountOffset, static_cast<std::uint16_t>(dib.BitCount()));
    PutU32(out, info::kCompressionOffset, rle8 ? format::BI_RLE8 : format::BI_RGB);
    PutU32(out, info::kSizeImageOffset, static_cast<std::uint32_t>(pixels.size()));
    // 2835 pixels per metre is 72 dots per inch, what bitmap editors write.
    PutU32(out, info::kXPelsOffset, 2835);
    PutU32(out, info::kYPelsOffset, 2835);
    PutU32(out, info::kClrUsedOffset, static_cast<std::uint32_t>(colorCount));
    PutU32(out, info::kClrImportantOffset, 0);
    for (std::size_t i = 0; i < colorCount; ++i) {
        const std::size_t at = info::kHeaderSize + i * format::kRgbQuadSize;
        out[at] = colors[i].blue;
        out[at + 1] = colors[i].green;
        out[at + 2] = colors[i].red;
        out[at + 3] = colors[i].reserved;
    }
    std::copy(pixels.begin(), pixels.end(), out.begin() + static_cast<std::ptrdiff_t>(info::kHeaderSize + tableBytes));
    return out;
}

} // namespace platform::gfx
