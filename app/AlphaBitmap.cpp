#include "app/AlphaBitmap.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <utility>

#include "platform/gfx/PictureResources.h"
#include "resources/ResourceIds.h"

using platform::gfx::Dib;
using platform::gfx::RgbQuad;

namespace {

// The colour's share by opacity, the background's by the rest, truncated:
// 255 gives exactly the colour, 0 exactly the background.
std::uint8_t Blend(unsigned color, unsigned opacity, unsigned background)
{
    return static_cast<std::uint8_t>((color * opacity + (255 - opacity) * background) / 255);
}

} // namespace

BOOL CAlphaBitmap::LoadImages()
{
    m_hColorBitmap.reset();
    if (auto color = platform::gfx::LoadBitmapDib(ids::IDB_LOGO_COLOR)) {
        m_hColorBitmap = std::move(*color);
        m_hAlphaBitmap.reset();
        if (auto alpha = platform::gfx::LoadBitmapDib(ids::IDB_LOGO_ALPHA)) {
            m_hAlphaBitmap = std::move(*alpha);
            return TRUE;
        }
        m_hColorBitmap.reset();
    }
    m_bitmap.reset();
    return FALSE;
}

BOOL CAlphaBitmap::Compose(COLORREF background)
{
    if (!m_hAlphaBitmap) {
        // Without opacity the colours are the picture. With no colours
        // either there is nothing to show, which is no success.
        if (!m_hColorBitmap)
            return FALSE;
        m_bitmap = std::move(m_hColorBitmap);
        m_hColorBitmap.reset();
        return TRUE;
    }
    if (!m_hColorBitmap)
        return FALSE;
    const Dib& color = *m_hColorBitmap;
    const Dib& alpha = *m_hAlphaBitmap;
    // Every pixel of the colour bitmap needs an opacity byte of its own.
    if (color.BitCount() != 8 || alpha.BitCount() != 8 || alpha.Width() < color.Width() ||
        alpha.Rows() < color.Rows())
        return FALSE;
    const int width = color.Width();
    const int rows = color.Rows();
    auto composed = Dib::Create(width, rows, 24);
    if (!composed)
        return FALSE;

    // Entries the colour table does not have are black.
    std::array<RgbQuad, platform::gfx::format::kMaxColors> table{};
    std::copy_n(color.Colors().begin(), std::min(color.Colors().size(), table.size()), table.begin());
    const unsigned red = GetRValue(background);
    const unsigned green = GetGValue(background);
    const unsigned blue = GetBValue(background);

    // Lines are paired by their place in the picture, so a top-down bitmap
    // blends with a bottom-up one the right way up; an opacity bitmap larger
    // than the colours lends its top-left corner. Each line view spans one
    // stride, so the row padding of all three bitmaps is stepped over.
    for (int y = 0; y < rows; ++y) {
        auto colorLine = color.Line(y);
        auto alphaLine = alpha.Line(y);
        auto out = composed->Line(y);
        for (std::size_t x = 0; x < static_cast<std::size_t>(width); ++x) {
            const RgbQuad& c = table[colorLine[x]];
            const unsigned a = alphaLine[x];
            out[3 * x] = Blend(c.blue, a, blue);
            out[3 * x + 1] = Blend(c.green, a, green);
            out[3 * x + 2] = Blend(c.red, a, red);
        }
    }
    m_bitmap = std::move(*composed);
    return TRUE;
}
