// The bitmaps and icons the build drew and embedded, as the program's own
// resource module carries them.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <vector>

#include "app/AlphaBitmap.h"
#include "platform/gfx/DibFormat.h"
#include "platform/gfx/LittleEndian.h"
#include "platform/gfx/PictureResources.h"
#include "platform/resources/Resources.h"
#include "resources/ResourceIds.h"

namespace {

namespace gfx = platform::gfx;

TEST(LogoAssets, BitmapsAreEightBitsOf144By29WithTheirCoding)
{
    struct Row {
        unsigned id;
        std::uint32_t compression;
    };
    for (const Row row : {Row{ids::IDB_LOGO, gfx::format::BI_RLE8}, Row{ids::IDB_LOGO_COLOR, gfx::format::BI_RLE8},
                          Row{ids::IDB_LOGO_ALPHA, gfx::format::BI_RGB}}) {
        auto bytes = platform::FindResource(gfx::kBitmapResourceType, row.id);
        ASSERT_TRUE(bytes) << row.id;
        EXPECT_EQ(gfx::ReadU32(*bytes, gfx::format::info::kCompressionOffset), row.compression) << row.id;
        auto dib = gfx::LoadBitmapDib(row.id);
        ASSERT_TRUE(dib) << dib.Error();
        EXPECT_EQ(dib->Width(), 144);
        EXPECT_EQ(dib->Height(), 29); // bottom-up
        EXPECT_EQ(dib->BitCount(), 8);
        EXPECT_EQ(dib->Colors().size(), 256u);
    }
    auto opacity = gfx::LoadBitmapDib(ids::IDB_LOGO_ALPHA);
    ASSERT_TRUE(opacity);
    for (int i = 0; i < 256; ++i) {
        const auto level = static_cast<std::uint8_t>(i);
        ASSERT_EQ(opacity->Colors()[i], (gfx::RgbQuad{level, level, level, 0})) << i;
    }
    // Soft edges: opacities between the extremes, and both extremes.
    const auto bits = opacity->Bits();
    EXPECT_TRUE(std::any_of(bits.begin(), bits.end(), [](std::uint8_t a) { return a > 0 && a < 255; }));
    EXPECT_TRUE(std::find(bits.begin(), bits.end(), 0) != bits.end());
    EXPECT_TRUE(std::find(bits.begin(), bits.end(), 255) != bits.end());
}

// Bitmap 137 stands in for the composition over the default dialog colour:
// the two may differ only by its coarser opacity steps.
TEST(LogoAssets, ComposesTo144By29AndMatchesTheTemplatesLogo)
{
    const COLORREF dialog = RGB(240, 240, 240);
    CAlphaBitmap logo;
    ASSERT_TRUE(logo.LoadImages());
    ASSERT_TRUE(logo.Compose(dialog));
    const gfx::Dib& composed = *logo.GetBitmap();
    EXPECT_EQ(composed.Width(), 144);
    EXPECT_EQ(composed.Height(), 29);
    EXPECT_EQ(composed.BitCount(), 24);
    // The tile's rounded corner leaves the top-left pixel transparent.
    EXPECT_EQ(composed.Line(0)[0], 240);

    auto shown = gfx::LoadBitmapDib(ids::IDB_LOGO);
    ASSERT_TRUE(shown) << shown.Error();
    int worst = 0;
    int differing = 0;
    for (int y = 0; y < 29; ++y) {
        for (int x = 0; x < 144; ++x) {
            const gfx::RgbQuad c = shown->Colors()[shown->Line(y)[x]];
            const int channels[] = {c.blue, c.green, c.red};
            for (int i = 0; i < 3; ++i) {
                const int d = std::abs(channels[i] - composed.Line(y)[3 * x + i]);
                worst = std::max(worst, d);
                differing += d != 0;
            }
        }
    }
    EXPECT_LE(worst, 12);
    EXPECT_LT(differing, 144 * 29 * 3 / 4);
}

TEST(LogoAssets, ApplicationIconHasThreeSizes)
{
    auto images = gfx::LoadIconImages(ids::IDR_MAINFRAME);
    ASSERT_TRUE(images) << images.Error();
    std::vector<int> sizes;
    for (const gfx::IconImage& image : *images) {
        EXPECT_EQ(image.width, image.height);
        sizes.push_back(image.width);
    }
    EXPECT_EQ(sizes, (std::vector<int>{16, 32, 48}));
    // Transparent corners, an opaque middle.
    const gfx::IconImage& big = *gfx::PickIconImage(*images, 48);
    EXPECT_EQ(big.pixels.front() >> 24, 0u);
    EXPECT_EQ(big.pixels[24 * 48 + 8] >> 24, 255u);
}

TEST(LogoAssets, BusyFramesAreOneTurnInQuarters)
{
    std::vector<gfx::IconImage> frames;
    for (unsigned k = 0; k < ids::kBusyFrameCount; ++k) {
        auto images = gfx::LoadIconImages(ids::IDI_BUSY_FIRST + k);
        ASSERT_TRUE(images) << images.Error();
        ASSERT_EQ(images->size(), 1u);
        ASSERT_EQ((*images)[0].width, 48);
        ASSERT_EQ((*images)[0].height, 48);
        frames.push_back((*images)[0]);
    }
    // Each frame is the one before turned a quarter clockwise: what was at
    // (x, y) is at (47 - y, x); four quarters come back to the first.
    for (unsigned k = 0; k < ids::kBusyFrameCount; ++k) {
        const auto& from = frames[k].pixels;
        const auto& to = frames[(k + 1) % ids::kBusyFrameCount].pixels;
        EXPECT_NE(from, to) << k;
        for (int y = 0; y < 48; ++y)
            for (int x = 0; x < 48; ++x)
                ASSERT_EQ(to[x * 48 + (47 - y)], from[y * 48 + x]) << "frame " << k << " at " << x << ", " << y;
    }
}

} // namespace
