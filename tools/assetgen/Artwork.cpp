#include "tools/assetgen/Artwork.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <numbers>
#include <string_view>

#include "tools/assetgen/Geometry.h"
#include "tools/assetgen/Wordmark.h"

using platform::gfx::Dib;
using platform::gfx::IconImage;
using platform::gfx::RgbQuad;

namespace assetgen {
namespace {

constexpr RgbQuad kTileTop{0xF0, 0x9B, 0x4A, 0};    // blue, green, red: a light azure
constexpr RgbQuad kTileBottom{0xC4, 0x5F, 0x1F, 0}; // a deep blue
constexpr RgbQuad kInk{0x4A, 0x2B, 0x1C, 0};        // navy for the lettering
constexpr RgbQuad kAccent{0xE0, 0x78, 0x2A, 0};     // the blue of the final "x"
constexpr RgbQuad kArrow{0xD9, 0x7B, 0x2F, 0};      // the busy arrow

constexpr std::string_view kWord = "Corvex";

std::uint8_t Lerp(std::uint8_t a, std::uint8_t b, double t)
{
    return static_cast<std::uint8_t>(std::lround(a + (b - a) * std::clamp(t, 0.0, 1.0)));
}

RgbQuad Lerp(RgbQuad a, RgbQuad b, double t)
{
    return {Lerp(a.blue, b.blue, t), Lerp(a.green, b.green, t), Lerp(a.red, b.red, t), 0};
}

std::uint8_t ToByte(double unit)
{
    return static_cast<std::uint8_t>(std::lround(std::clamp(unit, 0.0, 1.0) * 255));
}

std::uint32_t Argb(RgbQuad color, double opacity)
{
    const std::uint32_t alpha = ToByte(opacity);
    return alpha == 0 ? 0 : alpha << 24 | std::uint32_t{color.red} << 16 | std::uint32_t{color.green} << 8 | color.blue;
}

// The maker's mark: a rounded tile with two upward chevrons cut out of it,
// in a square box of `size` pixels whose top-left corner is `origin`.
struct Mark {
    Point origin;
    double size = 0;

    Point At(double u, double v) const { return {origin.x + u * size, origin.y + v * size}; }

    double TileDistance(Point p) const
    {
        return RoundedBoxDistance(p, At(0.5, 0.5), {size / 2, size / 2}, size * 0.22);
    }

    // How far down the tile p lies, 0 at its top and 1 at its bottom.
    double Depth(Point p) const { return (p.y - origin.y) / size; }

    double Opacity(Point p) const
    {
        const double pen = std::max(1.7, size * 0.13);
        const Stroke upper{{At(0.27, 0.50), At(0.5, 0.27), At(0.73, 0.50)}, pen};
        const Stroke lower{{At(0.27, 0.75), At(0.5, 0.52), At(0.73, 0.75)}, pen};
        const double cut = std::max(Coverage(upper.SignedDistance(p)), Coverage(lower.SignedDistance(p)));
        return Coverage(TileDistance(p)) * (1 - cut);
    }
};

// The logo's layout: the mark fills the height, the word follows with its
// cap height centred on the mark.
constexpr double kMarkSize = 27;
constexpr double kWordScale = 1.15;
constexpr double kWordPen = 3.4;
constexpr double kWordTracking = 2;
constexpr double kCapHeight = 19;

// Colour-table entries of bitmap 138: the tile's gradient in bands, then
// the ink of the lettering and the accent.
constexpr int kTileBands = 13;
constexpr int kInkIndex = kTileBands;
constexpr int kAccentIndex = kTileBands + 1;
constexpr int kLogoColorCount = kTileBands + 2;

// Bitmap 137 has one colour per logo colour and opacity level.
constexpr int kShownLevels = 16;
static_assert(kLogoColorCount * kShownLevels <= 256);

std::vector<RgbQuad> LogoColors()
{
    std::vector<RgbQuad> colors(256);
    for (int band = 0; band < kTileBands; ++band)
        colors[band] = Lerp(kTileTop, kTileBottom, (band + 0.5) / kTileBands);
    colors[kInkIndex] = kInk;
    colors[kAccentIndex] = kAccent;
    return colors;
}

// Integer blending as the installer composes, so 137 looks like what it
// stands in for.
std::uint8_t Blend(unsigned color, unsigned opacity, unsigned background)
{
    return static_cast<std::uint8_t>((color * opacity + (255 - opacity) * background) / 255);
}

} // namespace

Logo DrawLogo()
{
    const Mark mark{{1, 1}, kMarkSize};
    const double markCentre = 1 + kMarkSize / 2;
    const Point baseline{mark.origin.x + kMarkSize + 6, markCentre + kCapHeight * kWordScale / 2};
    const auto letters = LayOutWord(kWord, baseline, kWordScale, kWordPen, kWordTracking);

    Logo logo{*Dib::Create(kLogoWidth, kLogoHeight, 8), *Dib::Create(kLogoWidth, kLogoHeight, 8),
              *Dib::Create(kLogoWidth, kLogoHeight, 8)};
    const std::vector<RgbQuad> colors = LogoColors();
    logo.colors.SetColors(colors);

    std::vector<RgbQuad> ramp(256);
    for (int i = 0; i < 256; ++i)
        ramp[i] = {static_cast<std::uint8_t>(i), static_cast<std::uint8_t>(i), static_cast<std::uint8_t>(i), 0};
    logo.opacity.SetColors(ramp);

    std::vector<RgbQuad> shown(256);
    for (int color = 0; color < kLogoColorCount; ++color) {
        for (int level = 0; level < kShownLevels; ++level) {
            const unsigned opacity = static_cast<unsigned>(level * 255 / (kShownLevels - 1));
            shown[color * kShownLevels + level] = {Blend(colors[color].blue, opacity, kDefaultDialogColor.blue),
                                                   Blend(colors[color].green, opacity, kDefaultDialogColor.green),
                                                   Blend(colors[color].red, opacity, kDefaultDialogColor.red), 0};
        }
    }
    logo.shown.SetColors(shown);

    for (int y = 0; y < kLogoHeight; ++y) {
        for (int x = 0; x < kLogoWidth; ++x) {
            const Point p{x + 0.5, y + 0.5};
            double wordDistance = 1e9;
            char nearestLetter = 0;
            for (const PlacedLetter& letter : letters) {
                for (const Stroke& stroke : letter.strokes) {
                    const double d = stroke.SignedDistance(p);
                    if (d < wordDistance) {
                        wordDistance = d;
                        nearestLetter = letter.letter;
                    }
                }
            }
            // Every pixel, even a transparent one, carries the colour of the
            // shape nearest to it, so a soft edge blends that colour only.
            int color = nearestLetter == 'x' ? kAccentIndex : kInkIndex;
            if (mark.TileDistance(p) <= wordDistance)
                color = std::clamp(static_cast<int>(mark.Depth(p) * kTileBands), 0, kTileBands - 1);
            const double opacity = std::max(mark.Opacity(p), Coverage(wordDistance));
            const std::uint8_t alpha = ToByte(opacity);
            const int level = (alpha * (kShownLevels - 1) + 127) / 255;

            logo.colors.Line(y)[x] = static_cast<std::uint8_t>(color);
            logo.opacity.Line(y)[x] = alpha;
            // Level 0 is the dialog colour whatever the shape: one index for
            // it keeps the runs long.
            logo.shown.Line(y)[x] = static_cast<std::uint8_t>(level == 0 ? 0 : color * kShownLevels + level);
        }
    }
    return logo;
}

std::vector<IconImage> DrawAppIcon()
{
    std::vector<IconImage> images;
    for (int size : kAppIconSizes) {
        // A pixel's margin all round, edges on pixel boundaries.
        const Mark mark{{1, 1}, size - 2.0};
        IconImage image{size, size, std::vector<std::uint32_t>(static_cast<std::size_t>(size) * size)};
        for (int y = 0; y < size; ++y) {
            for (int x = 0; x < size; ++x) {
                const Point p{x + 0.5, y + 0.5};
                image.pixels[static_cast<std::size_t>(y) * size + x] =
                    Argb(Lerp(kTileTop, kTileBottom, mark.Depth(p)), mark.Opacity(p));
            }
        }
        images.push_back(std::move(image));
    }
    return images;
}

std::array<IconImage, 4> DrawBusyFrames()
{
    // A circular arrow: an arc of 290 degrees whose tail fades out, and a
    // head pointing clockwise. Angles in degrees, 0 to the right, 90 up.
    constexpr double kCentre = kBusySize / 2.0;
    constexpr double kRadius = 15;
    constexpr double kPen = 6;
    constexpr double kHeadAngle = 30;
    constexpr double kSweep = 290; // from the head back, counter-clockwise
    constexpr double kHeadWidth = 15;
    constexpr double kHeadLength = 9;
    const double rad = std::numbers::pi / 180;

    auto onCircle = [&](double degrees, double radius) {
        return Point{kCentre + radius * std::cos(degrees * rad), kCentre - radius * std::sin(degrees * rad)};
    };
    const Point headBase = onCircle(kHeadAngle, kRadius);
    // Clockwise on the canvas: the tangent that turns towards smaller angles.
    const Point forward{std::sin(kHeadAngle * rad), std::cos(kHeadAngle * rad)};
    const Point head[] = {onCircle(kHeadAngle, kRadius + kHeadWidth / 2),
                          onCircle(kHeadAngle, kRadius - kHeadWidth / 2), headBase + forward * kHeadLength};
    const Point tail = onCircle(kHeadAngle + kSweep, kRadius);

    IconImage first{kBusySize, kBusySize, std::vector<std::uint32_t>(kBusySize * kBusySize)};
    for (int y = 0; y < kBusySize; ++y) {
        for (int x = 0; x < kBusySize; ++x) {
            const Point p{x + 0.5, y + 0.5};
            const Point v = p - Point{kCentre, kCentre};
            // How far behind the head p lies along the arc, 0 to 1.
            double behind = std::fmod(std::atan2(-v.y, v.x) / rad - kHeadAngle + 720, 360) / kSweep;
            double distance = 0;
            if (behind <= 1) {
                distance = std::abs(Length(v) - kRadius) - kPen / 2;
            } else {
                // Past either end: the round tail cap; the head covers the other.
                distance = Length(p - tail) - kPen / 2;
                behind = 1;
            }
            const double arc = Coverage(distance) * (1 - 0.8 * behind);
            const double arrow = Coverage(ConvexPolygonDistance(p, head));
            first.pixels[static_cast<std::size_t>(y) * kBusySize + x] = Argb(kArrow, std::max(arc, arrow));
        }
    }

    // The other frames are exact quarter turns of the first: a pixel at
    // (x, y) moves to (size - 1 - y, x).
    std::array<IconImage, 4> frames{first, first, first, first};
    for (int k = 1; k < 4; ++k) {
        for (int y = 0; y < kBusySize; ++y)
            for (int x = 0; x < kBusySize; ++x)
                frames[k].pixels[static_cast<std::size_t>(x) * kBusySize + (kBusySize - 1 - y)] =
                    frames[k - 1].pixels[static_cast<std::size_t>(y) * kBusySize + x];
    }
    return frames;
}

} // namespace assetgen
