#include <gtest/gtest.h>

#include <random>
#include <ostream>
#include <string>
#include <vector>

#include "platform/gfx/Dib.h"
#include "platform/gfx/Rle8.h"

namespace {

using platform::gfx::DecodeRle8;
using platform::gfx::Dib;
using platform::gfx::EncodeRle8;
using Bytes = std::vector<std::uint8_t>;
using Rows = std::vector<Bytes>; // rows from the bottom, as RLE8 codes them

constexpr int kWidth = 5; // rows of 8 bytes: 3 of padding
constexpr int kRows = 3;

Rows RowsOf(const Dib& dib)
{
    Rows rows;
    for (int r = 0; r < dib.Rows(); ++r) {
        auto row = dib.Bits().subspan(static_cast<std::size_t>(r) * dib.Stride(), dib.Stride());
        rows.emplace_back(row.begin(), row.end());
    }
    return rows;
}

struct DecodeCase {
    const char* name;
    Bytes data;
    Rows expected; // whole rows, padding included
    friend void PrintTo(const DecodeCase& c, std::ostream* os) { *os << c.name; }
};

class Rle8Decode : public testing::TestWithParam<DecodeCase> {};

TEST_P(Rle8Decode, ExpandsEveryCode)
{
    Dib dib = *Dib::Create(kWidth, kRows, 8);
    auto result = DecodeRle8(GetParam().data, dib);
    ASSERT_TRUE(result) << result.Error();
    EXPECT_EQ(RowsOf(dib), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Codes, Rle8Decode,
    testing::Values(
        DecodeCase{"Runs",
                   {2, 7, 3, 9, 0, 0, 5, 1, 0, 0, 1, 2, 4, 3, 0, 1},
                   {{7, 7, 9, 9, 9, 0, 0, 0}, {1, 1, 1, 1, 1, 0, 0, 0}, {2, 3, 3, 3, 3, 0, 0, 0}}},
        // Skipped pixels keep their zero; the last row needs no end of line.
        DecodeCase{"EndOfLineLeavesTheRest",
                   {1, 4, 0, 0, 0, 0, 2, 6, 0, 1},
                   {{4, 0, 0, 0, 0, 0, 0, 0}, {0, 0, 0, 0, 0, 0, 0, 0}, {6, 6, 0, 0, 0, 0, 0, 0}}},
        DecodeCase{"EndOfBitmapEarly",
                   {3, 8, 0, 1, 5, 5},
                   {{8, 8, 8, 0, 0, 0, 0, 0}, {0, 0, 0, 0, 0, 0, 0, 0}, {0, 0, 0, 0, 0, 0, 0, 0}}},
        // Right 3 and up 2 rows from (1, 0), then a run from there.
        DecodeCase{"Delta",
                   {1, 5, 0, 2, 3, 2, 1, 6, 0, 1},
                   {{5, 0, 0, 0, 0, 0, 0, 0}, {0, 0, 0, 0, 0, 0, 0, 0}, {0, 0, 0, 0, 6, 0, 0, 0}}},
        // An odd literal carries a pad byte that must not be read as a code.
        DecodeCase{"OddLiteralIsPadded",
                   {0, 3, 1, 2, 3, 0xEE, 2, 4, 0, 0, 0, 5, 9, 8, 7, 6, 5, 0, 0, 1},
                   {{1, 2, 3, 4, 4, 0, 0, 0}, {9, 8, 7, 6, 5, 0, 0, 0}, {0, 0, 0, 0, 0, 0, 0, 0}}},
        DecodeCase{"EvenLiteral",
                   {1, 1, 0, 4, 2, 3, 4, 5, 0, 1},
                   {{1, 2, 3, 4, 5, 0, 0, 0}, {0, 0, 0, 0, 0, 0, 0, 0}, {0, 0, 0, 0, 0, 0, 0, 0}}},
        // Filling the last row, then its end of line: only the end of
        // bitmap may follow.
        DecodeCase{"EndOfLineAfterTheLastRow",
                   {0, 0, 0, 0, 5, 3, 0, 0, 0, 1},
                   {{0, 0, 0, 0, 0, 0, 0, 0}, {0, 0, 0, 0, 0, 0, 0, 0}, {3, 3, 3, 3, 3, 0, 0, 0}}}),
    [](const auto& info) { return std::string(info.param.name); });

struct RefusalCase {
    const char* name;
    Bytes data;
    const char* error; // the start of the message
    friend void PrintTo(const RefusalCase& c, std::ostream* os) { *os << c.name; }
};

class Rle8Refusal : public testing::TestWithParam<RefusalCase> {};

TEST_P(Rle8Refusal, StopsWithoutWritingOutside)
{
    Dib dib = *Dib::Create(kWidth, kRows, 8);
    auto result = DecodeRle8(GetParam().data, dib);
    ASSERT_FALSE(result);
    EXPECT_EQ(result.Error().rfind(GetParam().error, 0), 0u) << result.Error();
    // Padding is never a target.
    for (int r = 0; r < kRows; ++r)
        for (std::size_t i = kWidth; i < dib.Stride(); ++i)
            EXPECT_EQ(dib.Bits()[r * dib.Stride() + i], 0);
}

INSTANTIATE_TEST_SUITE_P(
    Damage, Rle8Refusal,
    testing::Values(RefusalCase{"Empty", {}, "RLE8 at byte 0: no end of bitmap"},
                    RefusalCase{"NoEndOfBitmap", {5, 1, 0, 0}, "RLE8 at byte 4: no end of bitmap"},
                    RefusalCase{"HalfACode", {5, 1, 0}, "RLE8 at byte 2: truncated code"},
                    RefusalCase{"TruncatedDelta", {0, 2, 1}, "RLE8 at byte 0: truncated delta"},
                    RefusalCase{"TruncatedLiteral", {0, 4, 1, 2, 3}, "RLE8 at byte 0: truncated literal"},
                    RefusalCase{"LiteralWithoutItsPad", {0, 3, 1, 2, 3}, "RLE8 at byte 0: truncated literal"},
                    RefusalCase{"RunPastTheRow", {3, 1, 3, 1, 0, 1}, "RLE8 at byte 2: run of 3 past the end of row 0"},
                    RefusalCase{"LiteralPastTheRow", {2, 1, 0, 4, 1, 2, 3, 4, 0, 1},
                                "RLE8 at byte 2: literal of 4 past the end of row 0"},
                    RefusalCase{"DeltaPastTheRightEdge", {0, 2, 6, 0, 0, 1}, "RLE8 at byte 0: delta of 6, 0 leaves"},
                    RefusalCase{"DeltaPastTheTop", {0, 2, 0, 4, 0, 1}, "RLE8 at byte 0: delta of 0, 4 leaves"},
                    RefusalCase{"RunAboveTheLastRow", {0, 0, 0, 0, 0, 0, 1, 1, 0, 1},
                                "RLE8 at byte 6: run of 1 past the end of row 3"},
                    RefusalCase{"LiteralAboveTheLastRow", {0, 2, 0, 3, 0, 3, 1, 2, 3, 0, 0, 1},
                                "RLE8 at byte 4: literal of 3 past the end of row 3"},
                    RefusalCase{"EndOfLineBeyondTheLastRow", {0, 0, 0, 0, 0, 0, 0, 0, 0, 1},
                                "RLE8 at byte 6: end of line after the last row"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(Rle8, RefusesABitmapItCannotFill)
{
    Dib topDown = *Dib::Create(4, -2, 8);
    EXPECT_FALSE(DecodeRle8(Bytes{0, 1}, topDown));
    Dib deep = *Dib::Create(4, 2, 24);
    EXPECT_FALSE(DecodeRle8(Bytes{0, 1}, deep));
}

// Repeats longer than one code, literals of every length up to the longest,
// lone bytes and widths that leave padding.
TEST(Rle8, EncodedRowsDecodeToTheSamePixels)
{
    std::mt19937 rng(7);
    for (int width : {1, 2, 3, 7, 256, 300, 600}) {
        Dib original = *Dib::Create(width, 5, 8);
        for (int y = 0; y < 5; ++y) {
            auto line = original.Line(y);
            for (int x = 0; x < width; ++x) {
                switch (y) {
                case 0: line[x] = 42; break;                                     // one long repeat
                case 1: line[x] = static_cast<std::uint8_t>(x); break;          // all literal
                case 2: line[x] = static_cast<std::uint8_t>(x / 2); break;      // pairs
                default: line[x] = static_cast<std::uint8_t>(rng() % 3); break; // mixed
                }
            }
        }
        const Bytes coded = EncodeRle8(original);
        Dib decoded = *Dib::Create(width, 5, 8);
        auto result = DecodeRle8(coded, decoded);
        ASSERT_TRUE(result) << "width " << width << ": " << result.Error();
        EXPECT_EQ(RowsOf(decoded), RowsOf(original)) << "width " << width;
    }
}

} // namespace
