#pragma once
// Device-independent bitmaps: the pixels of a bitmap resource as a DIB
// section holds them once loaded, and the codec of the packed-DIB bytes the
// resource stores.
//
// In memory a Dib is always uncompressed: `Rows()` rows of `Stride()` bytes
// each (the pixels, then zero bytes up to a multiple of 4), stored bottom-up
// (the last picture line first) when the height is positive and top-down
// when it is negative, exactly as Windows lays out a DIB. Pixels are 8 bits
// (an index into the colour table), 24 bits (blue, green, red) or 32 bits
// (blue, green, red, fourth byte).

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "platform/core/Result.h"
#include "platform/gfx/DibFormat.h"

namespace platform::gfx {

struct RgbQuad {
    std::uint8_t blue = 0;
    std::uint8_t green = 0;
    std::uint8_t red = 0;
    std::uint8_t reserved = 0;
    friend bool operator==(const RgbQuad&, const RgbQuad&) = default;
};
static_assert(sizeof(RgbQuad) == format::kRgbQuadSize);

// Limits on what we decode: resources are small pictures, and an RLE8
// header can claim any size in a few bytes.
inline constexpr int kMaxDibSide = 16384;
inline constexpr std::size_t kMaxDibBytes = std::size_t{16} << 20;

// Bytes per row, padding included; 0 for an unusable width or depth.
std::size_t DibStride(int width, int bitCount);

class Dib {
public:
    // Zeroed pixels, no colour table. nullopt unless 1 <= width and
    // 1 <= |height| are at most kMaxDibSide, bitCount is 8, 24 or 32 and
    // the bits fit in kMaxDibBytes.
    static std::optional<Dib> Create(int width, int height, int bitCount);

    int Width() const { return m_width; }
    int Height() const { return m_height; } // signed: > 0 bottom-up, < 0 top-down
    int Rows() const { return m_height < 0 ? -m_height : m_height; }
    bool IsBottomUp() const { return m_height > 0; }
    int BitCount() const { return m_bitCount; }
    std::size_t Stride() const { return m_stride; }

    // Every row in memory order: Rows() * Stride() bytes.
    std::span<const std::uint8_t> Bits() const { return m_bits; }
    std::span<std::uint8_t> Bits() { return m_bits; }

    // The Stride() bytes of picture line y, 0 being the top line whatever
    // the storage order. Precondition: 0 <= y < Rows().
    std::span<const std::uint8_t> Line(int y) const;
    std::span<std::uint8_t> Line(int y);

    // The colour table (8-bit pixels only; an index beyond it is black).
    const std::vector<RgbQuad>& Colors() const { return m_colors; }
    void SetColors(std::vector<RgbQuad> colors); // keeps the first 256
    // The table as bytes: blue, green, red, reserved per entry.
    std::span<const std::uint8_t> ColorBytes() const;

private:
    Dib(int width, int height, int bitCount, std::size_t stride);

    int m_width = 0;
    int m_height = 0;
    int m_bitCount = 0;
    std::size_t m_stride = 0;
    std::vector<std::uint8_t> m_bits;
    std::vector<RgbQuad> m_colors;
};

// A packed DIB is a BITMAPINFOHEADER (or a V4/V5 header), the colour table
// and the pixel bits. Kept: 8 bits with BI_RGB or BI_RLE8 (bottom-up only,
// as the format requires), 24 and 32 bits with BI_RGB. An icon image has
// the height of two bitmaps in its header (the AND mask follows the
// colours) and is never compressed.
enum class DibKind { Bitmap, IconImage };

struct DecodedDib {
    Dib dib;
    std::span<const std::uint8_t> trailing; // the bytes after the pixel bits
};

// Every field and length is checked against the bytes; the error says what
// was wrong and where ("colour table: 1024 bytes needed, 12 present").
Result<DecodedDib, std::string> DecodePackedDib(std::span<const std::uint8_t> bytes, DibKind kind);

// A bitmap resource (a .bmp file without its 14-byte file header), decoded
// the way LoadImage with LR_CREATEDIBSECTION does: RLE8 expanded, rows in
// the stored order, the colour table as stored.
Result<Dib, std::string> DecodeDib(std::span<const std::uint8_t> bytes);

// The bytes of a bitmap resource for `dib`: a BITMAPINFOHEADER, a colour
// table of every entry of Colors() (8 bits), and the bits, compressed with
// RLE8 when asked (8 bits, bottom-up only: nullopt otherwise).
std::optional<std::vector<std::uint8_t>> EncodeDib(const Dib& dib, bool rle8);

} // namespace platform::gfx
