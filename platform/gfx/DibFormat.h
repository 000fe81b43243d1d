#pragma once
// The byte layouts of the picture resources: a bitmap resource is a packed
// DIB (BITMAPINFOHEADER, colour table, pixel bits; the .bmp file's 14-byte
// file header is not stored), and an icon resource is an .ico file (icon
// directory, entries, one packed DIB per image with its AND mask). All
// fields are little-endian.

#include <cstddef>
#include <cstdint>

namespace platform::gfx::format {

// BITMAPINFOHEADER.
namespace info {
inline constexpr std::size_t kSizeOffset = 0;          // DWORD biSize
inline constexpr std::size_t kWidthOffset = 4;         // LONG biWidth
inline constexpr std::size_t kHeightOffset = 8;        // LONG biHeight: > 0 bottom-up, < 0 top-down
inline constexpr std::size_t kPlanesOffset = 12;       // WORD biPlanes, always 1
inline constexpr std::size_t kBitCountOffset = 14;     // WORD biBitCount
inline constexpr std::size_t kCompressionOffset = 16;  // DWORD biCompression
inline constexpr std::size_t kSizeImageOffset = 20;    // DWORD biSizeImage: compressed size; may be 0 for BI_RGB
inline constexpr std::size_t kXPelsOffset = 24;        // LONG biXPelsPerMeter
inline constexpr std::size_t kYPelsOffset = 28;        // LONG biYPelsPerMeter
inline constexpr std::size_t kClrUsedOffset = 32;      // DWORD biClrUsed: 0 = all 2^bitCount
inline constexpr std::size_t kClrImportantOffset = 36; // DWORD biClrImportant
inline constexpr std::size_t kHeaderSize = 40;
static_assert(kClrImportantOffset + 4 == kHeaderSize);

// Later header versions (BITMAPV4HEADER, BITMAPV5HEADER) begin with the same
// forty bytes; their extra fields describe colour spaces we do not use.
inline constexpr std::size_t kV4HeaderSize = 108;
inline constexpr std::size_t kV5HeaderSize = 124;
} // namespace info

inline constexpr std::uint32_t BI_RGB = 0;
inline constexpr std::uint32_t BI_RLE8 = 1;

// RGBQUAD: one colour-table entry.
inline constexpr std::size_t kRgbQuadSize = 4; // blue, green, red, reserved
inline constexpr std::size_t kMaxColors = 256;

// Every pixel row of a DIB, in a file and in memory, is padded to a
// multiple of four bytes.
inline constexpr std::size_t kRowAlignment = 4;

// BI_RLE8: pairs of bytes. A first byte n > 0 repeats the second byte n
// times; a first byte 0 escapes.
namespace rle8 {
inline constexpr std::uint8_t kEscape = 0;
inline constexpr std::uint8_t kEndOfLine = 0;   // 0 0: to the start of the next row
inline constexpr std::uint8_t kEndOfBitmap = 1; // 0 1: done; pixels not reached stay 0
inline constexpr std::uint8_t kDelta = 2;       // 0 2 dx dy: move right dx and up dy rows
inline constexpr std::uint8_t kMinAbsolute = 3; // 0 n (n >= 3): n literal bytes, padded to an even count
inline constexpr std::size_t kMaxRun = 255;
} // namespace rle8

// ICONDIR, then `count` ICONDIRENTRYs.
namespace icon {
inline constexpr std::size_t kReservedOffset = 0; // WORD, 0
inline constexpr std::size_t kTypeOffset = 2;     // WORD, 1 for icons
inline constexpr std::size_t kCountOffset = 4;    // WORD
inline constexpr std::size_t kDirSize = 6;
static_assert(kCountOffset + 2 == kDirSize);
inline constexpr std::uint16_t kTypeIcon = 1;

inline constexpr std::size_t kEntryWidthOffset = 0;       // BYTE, 0 means 256
inline constexpr std::size_t kEntryHeightOffset = 1;      // BYTE, 0 means 256
inline constexpr std::size_t kEntryColorCountOffset = 2;  // BYTE, 0 for 8 bits and more
inline constexpr std::size_t kEntryReservedOffset = 3;    // BYTE
inline constexpr std::size_t kEntryPlanesOffset = 4;      // WORD
inline constexpr std::size_t kEntryBitCountOffset = 6;    // WORD
inline constexpr std::size_t kEntryBytesOffset = 8;       // DWORD size of the image data
inline constexpr std::size_t kEntryImageOffset = 12;      // DWORD offset of the image data in the file
inline constexpr std::size_t kEntrySize = 16;
static_assert(kEntryImageOffset + 4 == kEntrySize);

// An icon image is a packed DIB whose header height counts two bitmaps: the
// colour (XOR) bitmap, then a 1-bit AND mask of the same size, bottom-up.
inline constexpr int kHeightFactor = 2;
inline constexpr std::size_t kMaxSide = 256;

// Images stored as PNG start with its signature instead of a header.
inline constexpr std::uint8_t kPngSignature[] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
} // namespace icon

} // namespace platform::gfx::format
