#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <vector>

#include "app/AlphaBitmap.h"
#include "platform/gfx/Dib.h"
#include "platform/resources/Resources.h"
#include "resources/ResourceIds.h"

namespace {

using platform::gfx::Dib;
using platform::gfx::RgbQuad;
using Bytes = std::vector<std::uint8_t>;

// Bitmaps 138 and 139 replaced for the test, the way another resource
// module would carry them.
class AlphaBitmapTest : public testing::Test {
protected:
    void SetColors(const Dib& dib) { SetBitmap(ids::IDB_LOGO_COLOR, dib, dib.IsBottomUp() && dib.BitCount() == 8); }
    void SetOpacity(const Dib& dib) { SetBitmap(ids::IDB_LOGO_ALPHA, dib, false); }
    void Remove(unsigned id) { m_overlay.RemoveBinary(L"BITMAP", id); }

    void SetBitmap(unsigned id, const Dib& dib, bool rle8)
    {
        m_overlay.SetBinary(L"BITMAP", id, *platform::gfx::EncodeDib(dib, rle8));
    }

    // A colour bitmap whose lines are given top-down as colour indexes.
    static Dib Colors(std::vector<RgbQuad> table, const std::vector<Bytes>& lines, bool bottomUp = true)
    {
        const int rows = static_cast<int>(lines.size());
        Dib dib = *Dib::Create(static_cast<int>(lines[0].size()), bottomUp ? rows : -rows, 8);
        dib.SetColors(std::move(table));
        Fill(dib, lines);
        return dib;
    }

    static Dib Opacity(const std::vector<Bytes>& lines, int bitCount = 8)
    {
        Dib dib = *Dib::Create(static_cast<int>(lines[0].size()) * 8 / bitCount, static_cast<int>(lines.size()),
                               bitCount);
        Fill(dib, lines);
        return dib;
    }

    static void Fill(Dib& dib, const std::vector<Bytes>& lines)
    {
        for (int y = 0; y < dib.Rows(); ++y)
            std::copy(lines[y].begin(), lines[y].end(), dib.Line(y).begin());
    }

    // Line y of the result as it lies in memory, padding included.
    static Bytes Line(const CAlphaBitmap& bitmap, int y)
    {
        auto line = bitmap.GetBitmap()->Line(y);
        return {line.begin(), line.end()};
    }

    platform::ResourceOverlay m_overlay{platform::ExecutableResources()};
    platform::ScopedResources m_scope{m_overlay};
};

const std::vector<RgbQuad> kTable{
    {0, 0, 0, 0},       // black
    {50, 100, 200, 0},  // blue 50, green 100, red 200
    {255, 255, 255, 0}, // white
};

TEST_F(AlphaBitmapTest, BlendsEachColourOverTheBackgroundByItsOpacity)
{
    SetColors(Colors(kTable, {{1, 1, 0}, {1, 2, 0}}));
    SetOpacity(Opacity({{255, 0, 128}, {64, 1, 254}}));
    CAlphaBitmap bitmap;
    ASSERT_TRUE(bitmap.LoadImages());
    ASSERT_TRUE(bitmap.Compose(RGB(255, 255, 255)));

    const Dib& result = *bitmap.GetBitmap();
    EXPECT_EQ(result.Width(), 3);
    EXPECT_EQ(result.Height(), 2); // bottom-up
    EXPECT_EQ(result.BitCount(), 24);
    EXPECT_TRUE(result.Colors().empty());
    // Three pixels of three bytes, padded to 12: opaque gives the entry
    // exactly, transparent the background exactly; 128 of black over white
    // is 127 * 255 / 255 = 127.
    EXPECT_EQ(Line(bitmap, 0), (Bytes{50, 100, 200, 255, 255, 255, 127, 127, 127, 0, 0, 0}));
    // 64 of (50, 100, 200) over white: (50 * 64 + 191 * 255) / 255 = 203.6,
    // truncated to 203; likewise 216.1 and 241.2. 1 of white over white stays
    // white; 254 of black: 1 * 255 / 255 = 1.
    EXPECT_EQ(Line(bitmap, 1), (Bytes{203, 216, 241, 255, 255, 255, 1, 1, 1, 0, 0, 0}));

    // The background splits as 0x00BBGGRR; 127 * 30 / 255 = 14.9 truncates.
    ASSERT_TRUE(bitmap.Compose(RGB(10, 20, 30)));
    EXPECT_EQ(Line(bitmap, 0), (Bytes{50, 100, 200, 30, 20, 10, 14, 9, 4, 0, 0, 0}));
}

// Every width modulo 4 pads the 8-bit sources and the 24-bit result
// differently; 143 is the width the logo would have one pixel narrower.
TEST_F(AlphaBitmapTest, StepsOverTheRowPaddingOfSourcesAndResult)
{
    const RgbQuad background{9, 8, 7, 0};
    std::vector<RgbQuad> table;
    for (int i = 0; i < 7; ++i)
        table.push_back({static_cast<std::uint8_t>(10 * i), static_cast<std::uint8_t>(10 * i + 1),
                         static_cast<std::uint8_t>(10 * i + 2), 0});
    for (int width : {1, 2, 3, 4, 5, 6, 7, 143}) {
        const int rows = 5;
        std::vector<Bytes> colorLines(rows, Bytes(width));
        std::vector<Bytes> opacityLines(rows, Bytes(width));
        for (int y = 0; y < rows; ++y) {
            for (int x = 0; x < width; ++x) {
                colorLines[y][x] = static_cast<std::uint8_t>((x + 3 * y) % 7);
                opacityLines[y][x] = (x + y) % 2 ? 255 : 0;
            }
        }
        SetColors(Colors(table, colorLines));
        SetOpacity(Opacity(opacityLines));
        CAlphaBitmap bitmap;
        ASSERT_TRUE(bitmap.LoadImages());
        ASSERT_TRUE(bitmap.Compose(RGB(background.red, background.green, background.blue)));
        ASSERT_EQ(bitmap.GetBitmap()->Stride() % 4, 0u);
        for (int y = 0; y < rows; ++y) {
            Bytes expected;
            for (int x = 0; x < width; ++x) {
                const RgbQuad c = opacityLines[y][x] ? table[colorLines[y][x]] : background;
                expected.insert(expected.end(), {c.blue, c.green, c.red});
            }
            expected.resize(bitmap.GetBitmap()->Stride(), 0);
            ASSERT_EQ(Line(bitmap, y), expected) << "width " << width << ", line " << y;
        }
    }
}

TEST_F(AlphaBitmapTest, PairsLinesByTheirPlaceInThePicture)
{
    // The colours stored top-down, the opacity bottom-up: the picture stays
    // the right way up.
    SetColors(Colors(kTable, {{2}, {1}}, false));
    SetOpacity(Opacity({{255}, {0}}));
    CAlphaBitmap bitmap;
    ASSERT_TRUE(bitmap.LoadImages());
    ASSERT_TRUE(bitmap.Compose(RGB(0, 0, 0)));
    EXPECT_EQ(Line(bitmap, 0), (Bytes{255, 255, 255, 0}));
    EXPECT_EQ(Line(bitmap, 1), (Bytes{0, 0, 0, 0}));
}

TEST_F(AlphaBitmapTest, ALargerOpacityBitmapLendsItsTopLeftCorner)
{
    SetColors(Colors(kTable, {{2, 2}, {2, 2}}));
    SetOpacity(Opacity({{255, 0, 9}, {0, 255, 9}, {9, 9, 9}}));
    CAlphaBitmap bitmap;
    ASSERT_TRUE(bitmap.LoadImages());
    ASSERT_TRUE(bitmap.Compose(RGB(0, 0, 0)));
    EXPECT_EQ(Line(bitmap, 0), (Bytes{255, 255, 255, 0, 0, 0, 0, 0}));
    EXPECT_EQ(Line(bitmap, 1), (Bytes{0, 0, 0, 255, 255, 255, 0, 0}));
}

TEST_F(AlphaBitmapTest, ColourIndexesBeyondTheTableAreBlack)
{
    SetColors(Colors({{1, 2, 3, 0}}, {{0, 200}}));
    SetOpacity(Opacity({{255, 255}}));
    CAlphaBitmap bitmap;
    ASSERT_TRUE(bitmap.LoadImages());
    ASSERT_TRUE(bitmap.Compose(RGB(255, 255, 255)));
    EXPECT_EQ(Line(bitmap, 0), (Bytes{1, 2, 3, 0, 0, 0, 0, 0}));
}

// Bitmaps Compose must refuse without reading outside the opacity pixels
// (the sanitizer build sees any stray read).
TEST_F(AlphaBitmapTest, RefusesBitmapsThatDoNotMatch)
{
    const Dib colors = Colors(kTable, {{1, 1, 1}, {1, 1, 1}});
    struct Case {
        const char* name;
        Dib colors;
        Dib opacity;
    };
    const Case cases[] = {
        {"opacity narrower", colors, Opacity({{255, 255}, {255, 255}})},
        {"opacity shorter", colors, Opacity({{255, 255, 255}})},
        {"opacity 24 bits", colors, Opacity({Bytes(9, 255), Bytes(9, 255)}, 24)},
        {"opacity 32 bits", colors, Opacity({Bytes(12, 255), Bytes(12, 255)}, 32)},
        {"colours 24 bits", Opacity({Bytes(9, 1), Bytes(9, 1)}, 24), Opacity({{255, 255, 255}, {255, 255, 255}})},
    };
    for (const Case& c : cases) {
        SetColors(c.colors);
        SetOpacity(c.opacity);
        CAlphaBitmap bitmap;
        ASSERT_TRUE(bitmap.LoadImages()) << c.name;
        EXPECT_FALSE(bitmap.Compose(RGB(0, 0, 0))) << c.name;
        EXPECT_EQ(bitmap.GetBitmap(), nullptr) << c.name;
    }
}

TEST_F(AlphaBitmapTest, ARefusedCompositionKeepsTheEarlierOne)
{
    SetColors(Colors(kTable, {{1}}));
    SetOpacity(Opacity({{255}}));
    CAlphaBitmap bitmap;
    ASSERT_TRUE(bitmap.LoadImages());
    ASSERT_TRUE(bitmap.Compose(RGB(0, 0, 0)));
    SetColors(Colors(kTable, {{1, 1}}));
    ASSERT_TRUE(bitmap.LoadImages());
    EXPECT_FALSE(bitmap.Compose(RGB(0, 0, 0)));
    ASSERT_NE(bitmap.GetBitmap(), nullptr);
    EXPECT_EQ(Line(bitmap, 0), (Bytes{50, 100, 200, 0}));
}

TEST_F(AlphaBitmapTest, LoadingFailsWithoutBothBitmapsAndDropsTheComposedOne)
{
    struct Case {
        const char* name;
        std::function<void()> damage;
    };
    const Case cases[] = {
        {"no opacity", [this] { Remove(ids::IDB_LOGO_ALPHA); }},
        {"no colours", [this] { Remove(ids::IDB_LOGO_COLOR); }},
        {"damaged colours", [this] { m_overlay.SetBinary(L"BITMAP", ids::IDB_LOGO_COLOR, Bytes{40, 0, 0}); }},
        {"damaged opacity", [this] { m_overlay.SetBinary(L"BITMAP", ids::IDB_LOGO_ALPHA, Bytes(60, 0)); }},
    };
    for (const Case& c : cases) {
        SetColors(Colors(kTable, {{1}}));
        SetOpacity(Opacity({{255}}));
        CAlphaBitmap bitmap;
        ASSERT_TRUE(bitmap.LoadImages()) << c.name;
        ASSERT_TRUE(bitmap.Compose(RGB(0, 0, 0))) << c.name;
        c.damage();
        EXPECT_FALSE(bitmap.LoadImages()) << c.name;
        EXPECT_EQ(bitmap.GetBitmap(), nullptr) << c.name;
        // Nothing left to compose from.
        EXPECT_FALSE(bitmap.Compose(RGB(0, 0, 0))) << c.name;
    }
}

TEST_F(AlphaBitmapTest, NothingToComposeBeforeLoading)
{
    CAlphaBitmap bitmap;
    EXPECT_FALSE(bitmap.Compose(RGB(0, 0, 0)));
    EXPECT_EQ(bitmap.GetBitmap(), nullptr);
}

} // namespace
