#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

#include "platform/gfx/Dib.h"
#include "platform/gfx/DibFormat.h"
#include "platform/gfx/Icon.h"

namespace {

namespace icon = platform::gfx::format::icon;
namespace info = platform::gfx::format::info;
using platform::gfx::DecodeIcon;
using platform::gfx::Dib;
using platform::gfx::EncodeIcon;
using platform::gfx::IconImage;
using platform::gfx::PickIconImage;
using Bytes = std::vector<std::uint8_t>;

void Put32(Bytes& bytes, std::size_t at, std::uint32_t value)
{
    for (int i = 0; i < 4; ++i)
        bytes[at + i] = static_cast<std::uint8_t>(value >> (8 * i));
}

// An .ico of one image made of `dib` (as an icon image: height doubled) and
// its AND mask rows, bottom-up.
Bytes IconOf(const Dib& dib, const Bytes& mask)
{
    Bytes image = *platform::gfx::EncodeDib(dib, false);
    Put32(image, info::kHeightOffset, static_cast<std::uint32_t>(dib.Height() * 2));
    image.insert(image.end(), mask.begin(), mask.end());
    const std::size_t at = icon::kDirSize + icon::kEntrySize;
    Bytes file(at + image.size());
    file[icon::kTypeOffset] = 1;
    file[icon::kCountOffset] = 1;
    Put32(file, icon::kDirSize + icon::kEntryBytesOffset, static_cast<std::uint32_t>(image.size()));
    Put32(file, icon::kDirSize + icon::kEntryImageOffset, static_cast<std::uint32_t>(at));
    std::copy(image.begin(), image.end(), file.begin() + static_cast<std::ptrdiff_t>(at));
    return file;
}

TEST(Icon, EncodedImagesDecodeToTheSamePixels)
{
    // Odd widths pad the colour rows and the mask rows differently.
    const std::vector<IconImage> images{
        {3, 2, {0xFF102030, 0x00000000, 0x80FFFFFF, 0x01000000, 0xFFFFFFFF, 0x7F123456}},
        {33, 1, std::vector<std::uint32_t>(33, 0xFFABCDEF)},
    };
    auto decoded = DecodeIcon(EncodeIcon(images));
    ASSERT_TRUE(decoded) << decoded.Error();
    ASSERT_EQ(decoded->size(), 2u);
    for (std::size_t i = 0; i < images.size(); ++i) {
        EXPECT_EQ((*decoded)[i].width, images[i].width);
        EXPECT_EQ((*decoded)[i].height, images[i].height);
        EXPECT_EQ((*decoded)[i].pixels, images[i].pixels) << "image " << i;
    }
}

TEST(Icon, OldStyleImagesTakeTheirTransparencyFromTheMask)
{
    // 24 bits, 2 x 2: the mask's first bit of each row is set.
    Dib colors = *Dib::Create(2, 2, 24);
    for (int y = 0; y < 2; ++y)
        for (int i = 0; i < 6; ++i)
            colors.Line(y)[i] = static_cast<std::uint8_t>(0x10 * (y + 1) + i);
    const Bytes mask{0x80, 0, 0, 0, 0x80, 0, 0, 0};
    auto decoded = DecodeIcon(IconOf(colors, mask));
    ASSERT_TRUE(decoded) << decoded.Error();
    EXPECT_EQ((*decoded)[0].pixels, (std::vector<std::uint32_t>{0, 0xFF151413, 0, 0xFF252423}));

    // 32 bits whose alpha bytes are all zero read the same way.
    Dib noAlpha = *Dib::Create(2, 1, 32);
    for (int i = 0; i < 8; ++i)
        noAlpha.Line(0)[i] = static_cast<std::uint8_t>(i % 4 == 3 ? 0 : 0x40 + i);
    decoded = DecodeIcon(IconOf(noAlpha, {0x40, 0, 0, 0}));
    ASSERT_TRUE(decoded) << decoded.Error();
    EXPECT_EQ((*decoded)[0].pixels, (std::vector<std::uint32_t>{0xFF424140, 0}));
}

struct RefusalCase {
    const char* name;
    Bytes bytes;
    const char* error;
    friend void PrintTo(const RefusalCase& c, std::ostream* os) { *os << c.name; }
};

Bytes OneImage()
{
    const IconImage image{2, 2, {0xFF000000, 0xFF000000, 0xFF000000, 0xFF000000}};
    return EncodeIcon(std::span(&image, 1));
}

Bytes Changed(Bytes bytes, std::size_t at, std::uint32_t value)
{
    Put32(bytes, at, value);
    return bytes;
}

class IconRefusal : public testing::TestWithParam<RefusalCase> {};

TEST_P(IconRefusal, SaysWhatIsWrong)
{
    auto decoded = DecodeIcon(GetParam().bytes);
    ASSERT_FALSE(decoded);
    EXPECT_EQ(decoded.Error().rfind(GetParam().error, 0), 0u) << decoded.Error();
}

const std::size_t kEntry = icon::kDirSize;
const std::size_t kImage = icon::kDirSize + icon::kEntrySize;

INSTANTIATE_TEST_SUITE_P(
    Damage, IconRefusal,
    testing::Values(
        RefusalCase{"Truncated", Bytes{0, 0, 1, 0}, "icon directory: truncated"},
        RefusalCase{"Cursor", Bytes{0, 0, 2, 0, 1, 0}, "icon directory: not an icon"},
        RefusalCase{"NoImages", Bytes{0, 0, 1, 0, 0, 0}, "icon directory: no images"},
        RefusalCase{"EntriesBeyondTheFile", Bytes{0, 0, 1, 0, 2, 0, 1, 2, 3}, "icon directory: 2 entries do not fit"},
        RefusalCase{"ImageBeyondTheFile", Changed(OneImage(), kEntry + icon::kEntryBytesOffset, 1000),
                    "image 0: outside the file"},
        RefusalCase{"OffsetWrapsAround", Changed(OneImage(), kEntry + icon::kEntryImageOffset, 0xFFFFFFF0),
                    "image 0: outside the file"},
        RefusalCase{"Png", [] {
                        Bytes b = OneImage();
                        std::copy(std::begin(icon::kPngSignature), std::end(icon::kPngSignature), b.begin() + kImage);
                        return b;
                    }(), "image 0: PNG images are not supported"},
        RefusalCase{"OddHeight", Changed(OneImage(), kImage + info::kHeightOffset, 3),
                    "image 0: header: icon image height 3"},
        RefusalCase{"NoMask", [] {
                        Bytes b = OneImage();
                        b.resize(b.size() - 8); // two mask rows of 4 bytes
                        const auto imageSize = static_cast<std::uint32_t>(b.size() - kImage);
                        return Changed(b, kEntry + icon::kEntryBytesOffset, imageSize);
                    }(), "image 0: mask: 8 bytes needed, 0 present"},
        RefusalCase{"Larger256", [] {
                        Dib big = *Dib::Create(257, 1, 8);
                        return IconOf(big, Bytes(36, 0));
                    }(), "image 0: unsupported size 257 x 1"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(Icon, PicksTheSizeAskedForElseTheNextLargerElseTheLargest)
{
    auto image = [](int side) { return IconImage{side, side, {}}; };
    const std::vector<IconImage> images{image(32), image(16), image(64), image(48)};
    EXPECT_EQ(PickIconImage(images, 48)->width, 48);
    EXPECT_EQ(PickIconImage(images, 20)->width, 32);
    EXPECT_EQ(PickIconImage(images, 8)->width, 16);
    EXPECT_EQ(PickIconImage(images, 100)->width, 64);
    EXPECT_EQ(PickIconImage({}, 16), nullptr);
}

} // namespace
