#include <gtest/gtest.h>

#include <functional>
#include <ostream>
#include <string>
#include <vector>

#include "platform/gfx/Dib.h"
#include "platform/gfx/DibFormat.h"

namespace {

namespace info = platform::gfx::format::info;
using platform::gfx::DecodeDib;
using platform::gfx::Dib;
using platform::gfx::EncodeDib;
using platform::gfx::RgbQuad;
using Bytes = std::vector<std::uint8_t>;

void Put32(Bytes& bytes, std::size_t at, std::uint32_t value)
{
    for (int i = 0; i < 4; ++i)
        bytes[at + i] = static_cast<std::uint8_t>(value >> (8 * i));
}

// A packed DIB written out by hand: header, colour table, bits.
Bytes HandMadeDib(std::int32_t width, std::int32_t height, std::uint16_t bitCount, std::uint32_t compression,
                  std::uint32_t colorCount, const Bytes& table, const Bytes& bits)
{
    Bytes bytes(info::kHeaderSize);
    Put32(bytes, info::kSizeOffset, info::kHeaderSize);
    Put32(bytes, info::kWidthOffset, static_cast<std::uint32_t>(width));
    Put32(bytes, info::kHeightOffset, static_cast<std::uint32_t>(height));
    bytes[info::kPlanesOffset] = 1;
    bytes[info::kBitCountOffset] = static_cast<std::uint8_t>(bitCount);
    Put32(bytes, info::kCompressionOffset, compression);
    Put32(bytes, info::kClrUsedOffset, colorCount);
    bytes.insert(bytes.end(), table.begin(), table.end());
    bytes.insert(bytes.end(), bits.begin(), bits.end());
    return bytes;
}

Bytes Line(const Dib& dib, int y)
{
    auto line = dib.Line(y);
    return {line.begin(), line.end()};
}

TEST(Dib, DecodesAnUncompressedPalettedBitmap)
{
    // 3 pixels a row, so one byte of padding; two colours; bottom-up.
    const Bytes table{10, 20, 30, 0, 40, 50, 60, 0};
    const Bytes bits{1, 0, 1, 0xAA, 0, 1, 0, 0xBB};
    auto dib = DecodeDib(HandMadeDib(3, 2, 8, 0, 2, table, bits));
    ASSERT_TRUE(dib) << dib.Error();
    EXPECT_EQ(dib->Width(), 3);
    EXPECT_EQ(dib->Rows(), 2);
    EXPECT_EQ(dib->Stride(), 4u);
    EXPECT_EQ(dib->Colors(), (std::vector<RgbQuad>{{10, 20, 30, 0}, {40, 50, 60, 0}}));
    EXPECT_EQ(Line(*dib, 0), (Bytes{0, 1, 0, 0xBB})); // the top line is stored last
    EXPECT_EQ(Line(*dib, 1), (Bytes{1, 0, 1, 0xAA}));
}

TEST(Dib, KeepsTheStoredOrderOfATopDownBitmap)
{
    const Bytes bits{1, 2, 3, 4, 5, 6, 0, 0, 7, 8, 9, 10, 11, 12, 0, 0};
    auto dib = DecodeDib(HandMadeDib(2, -2, 24, 0, 0, {}, bits));
    ASSERT_TRUE(dib) << dib.Error();
    EXPECT_FALSE(dib->IsBottomUp());
    EXPECT_EQ(Line(*dib, 0), (Bytes{1, 2, 3, 4, 5, 6, 0, 0}));
    EXPECT_TRUE(std::equal(dib->Bits().begin(), dib->Bits().end(), bits.begin(), bits.end()));
}

TEST(Dib, DecodesRle8AndEightBitsWithoutAColourCountHaveAFullTable)
{
    const Bytes table(256 * 4, 0x11);
    auto dib = DecodeDib(HandMadeDib(4, 2, 8, 1, 0, table, {4, 9, 0, 0, 2, 3, 0, 1}));
    ASSERT_TRUE(dib) << dib.Error();
    EXPECT_EQ(dib->Colors().size(), 256u);
    EXPECT_EQ(Line(*dib, 1), (Bytes{9, 9, 9, 9}));
    EXPECT_EQ(Line(*dib, 0), (Bytes{3, 3, 0, 0}));
}

TEST(Dib, EncodesWhatItDecodes)
{
    for (bool rle8 : {false, true}) {
        Dib original = *Dib::Create(7, 3, 8);
        original.SetColors({{1, 2, 3, 0}, {4, 5, 6, 0}, {7, 8, 9, 0}});
        for (int y = 0; y < 3; ++y)
            for (int x = 0; x < 7; ++x)
                original.Line(y)[x] = static_cast<std::uint8_t>((x * y + x / 3) % 3);
        auto bytes = EncodeDib(original, rle8);
        ASSERT_TRUE(bytes);
        auto decoded = DecodeDib(*bytes);
        ASSERT_TRUE(decoded) << decoded.Error();
        EXPECT_EQ(decoded->Colors(), original.Colors());
        for (int y = 0; y < 3; ++y)
            EXPECT_EQ(Line(*decoded, y), Line(original, y)) << "rle8 " << rle8 << " line " << y;
    }
    // RLE8 codes only 8-bit bottom-up pictures.
    EXPECT_FALSE(EncodeDib(*Dib::Create(2, 2, 24), true));
    EXPECT_FALSE(EncodeDib(*Dib::Create(2, -2, 8), true));
}

struct RefusalCase {
    const char* name;
    std::function<Bytes()> bytes;
    const char* error; // the start of the message
    friend void PrintTo(const RefusalCase& c, std::ostream* os) { *os << c.name; }
};

Bytes Valid8() // 2 x 2, two colours
{
    return HandMadeDib(2, 2, 8, 0, 2, Bytes(8, 0), Bytes(8, 0));
}

Bytes With32(Bytes bytes, std::size_t at, std::uint32_t value)
{
    Put32(bytes, at, value);
    return bytes;
}

class DibRefusal : public testing::TestWithParam<RefusalCase> {};

TEST_P(DibRefusal, SaysWhatIsWrong)
{
    auto dib = DecodeDib(GetParam().bytes());
    ASSERT_FALSE(dib);
    EXPECT_EQ(dib.Error().rfind(GetParam().error, 0), 0u) << dib.Error();
}

INSTANTIATE_TEST_SUITE_P(
    Damage, DibRefusal,
    testing::Values(
        RefusalCase{"Empty", [] { return Bytes{}; }, "header: truncated"},
        RefusalCase{"CoreHeader", [] { return With32(Valid8(), info::kSizeOffset, 12); },
                    "header: unsupported header size 12"},
        RefusalCase{"HeaderLongerThanTheBytes", [] { Bytes b = Valid8(); b.resize(30); return b; },
                    "header: 40 bytes needed, 30 present"},
        RefusalCase{"TwoPlanes", [] { auto b = Valid8(); b[info::kPlanesOffset] = 2; return b; }, "header: 2 planes"},
        RefusalCase{"FourBits", [] { return HandMadeDib(2, 2, 4, 0, 2, Bytes(8, 0), Bytes(8, 0)); },
                    "header: unsupported depth of 4 bits"},
        RefusalCase{"Rle4", [] { return With32(Valid8(), info::kCompressionOffset, 2); },
                    "header: unsupported compression 2"},
        RefusalCase{"BitFields", [] { return HandMadeDib(2, 2, 32, 3, 0, {}, Bytes(16, 0)); },
                    "header: unsupported compression 3"},
        RefusalCase{"Rle8OnTwentyFourBits", [] { return HandMadeDib(2, 2, 24, 1, 0, {}, {0, 1}); },
                    "header: RLE8 compression on a picture"},
        RefusalCase{"Rle8TopDown", [] { return HandMadeDib(2, -2, 8, 1, 2, Bytes(8, 0), {0, 1}); },
                    "header: RLE8 compression on a top-down bitmap"},
        RefusalCase{"ZeroWidth", [] { return With32(Valid8(), info::kWidthOffset, 0); }, "header: unsupported size"},
        RefusalCase{"ZeroHeight", [] { return With32(Valid8(), info::kHeightOffset, 0); }, "header: unsupported size"},
        RefusalCase{"LowestHeight", [] { return With32(Valid8(), info::kHeightOffset, 0x80000000u); },
                    "header: unsupported size"},
        RefusalCase{"HugeRle8", [] { return HandMadeDib(16384, 16384, 8, 1, 2, Bytes(8, 0), {0, 1}); },
                    "header: 16384 x 16384 pixels is more than we decode"},
        RefusalCase{"TooManyColours", [] { return With32(Valid8(), info::kClrUsedOffset, 257); },
                    "header: 257 colours"},
        RefusalCase{"ShortColourTable", [] { return HandMadeDib(2, 2, 8, 0, 0, Bytes(1020, 0), {}); },
                    "colour table: 1024 bytes needed, 1020 present"},
        RefusalCase{"ShortPixels", [] { return HandMadeDib(3, 2, 8, 0, 2, Bytes(8, 0), Bytes(7, 0)); },
                    "pixels: 8 bytes needed, 7 present"},
        RefusalCase{"CompressedSizeBeyondTheData",
                    [] { return With32(HandMadeDib(2, 2, 8, 1, 2, Bytes(8, 0), {0, 1}), info::kSizeImageOffset, 3); },
                    "pixels: 3 bytes needed, 2 present"},
        RefusalCase{"DamagedRle8", [] { return HandMadeDib(2, 2, 8, 1, 2, Bytes(8, 0), {3, 1, 0, 1}); },
                    "pixels: RLE8 at byte 0: run of 3"}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace
