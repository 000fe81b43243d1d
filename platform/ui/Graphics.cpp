#include "platform/ui/Graphics.h"

#include <QFontDatabase>
#include <QGuiApplication>
#include <QPalette>
#include <algorithm>
#include <cmath>
#include <cstddef>

#include "platform/ui/GraphicsAccess.h"
#include "platform/ui/QtText.h"

using platform::ui::GraphicsAccess;

namespace platform::ui {

QFont MakeQFont(const FontDescription& description)
{
    QFont font = QGuiApplication::instance() ? QGuiApplication::font() : QFont();
    if (!description.faceName.empty())
        font.setFamilies({ToQString(description.faceName)});
    font.setPixelSize(std::max(1, description.height));
    font.setWeight(static_cast<QFont::Weight>(std::clamp(description.weight, 1, 1000)));
    font.setItalic(description.italic);
    return font;
}

FontDescription TemplateFontDescription(std::wstring_view face, int pointSize)
{
    return {std::wstring(face), MulDiv(pointSize, 96, 72), 400, false};
}

} // namespace platform::ui

namespace {

// Larger pictures than this are no dialog's; the cap keeps a damaged
// description from asking for gigabytes.
constexpr int kMaxSide = 16384;

std::shared_ptr<const QImage> Checked(QImage image)
{
    if (image.isNull())
        return nullptr;
    return std::make_shared<const QImage>(std::move(image));
}

} // namespace

BOOL CFont::CreateFontIndirect(const FontDescription& description)
{
    GraphicsAccess::SetFont(*this, platform::ui::MakeQFont(description));
    return TRUE;
}

BOOL CFont::CreatePointFont(int pointTenths, std::wstring_view faceName)
{
    return CreateFontIndirect({std::wstring(faceName), MulDiv(pointTenths, 96, 720), 400, false});
}

FontDescription CFont::Describe() const
{
    if (!m_font)
        return {};
    return {platform::ui::ToWide(m_font->family()), m_font->pixelSize(), m_font->weight(), m_font->italic()};
}

BOOL GetIconTitleFont(FontDescription& description)
{
    if (QGuiApplication::instance() == nullptr)
        return FALSE;
    const QFont font = QFontDatabase::systemFont(QFontDatabase::GeneralFont);
    int height = font.pixelSize();
    if (height <= 0)
        height = static_cast<int>(std::lround(font.pointSizeF() * 96.0 / 72.0));
    if (height <= 0)
        return FALSE;
    description = {platform::ui::ToWide(font.family()), height, font.weight(), font.italic()};
    return TRUE;
}

BOOL CBitmap::CreateFromDib(const DibImage& dib)
{
    m_image.reset();
    const int rows = dib.height < 0 ? -dib.height : dib.height;
    if (dib.width <= 0 || dib.width > kMaxSide || rows == 0 || rows > kMaxSide)
        return FALSE;
    if (dib.bitCount != 8 && dib.bitCount != 24 && dib.bitCount != 32)
        return FALSE;
    const std::size_t stride = (static_cast<std::size_t>(dib.width) * dib.bitCount + 31) / 32 * 4;
    if (dib.bits.size() < stride * static_cast<std::size_t>(rows))
        return FALSE;
    const std::size_t colorCount = std::min<std::size_t>(dib.colors.size() / 4, 256);

    QImage image(dib.width, rows, QImage::Format_RGB32);
    for (int y = 0; y < rows; ++y) {
        const int sourceRow = dib.height > 0 ? rows - 1 - y : y;
        const std::uint8_t* row = dib.bits.data() + stride * static_cast<std::size_t>(sourceRow);
        auto* out = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < dib.width; ++x) {
            const std::uint8_t* pixel = nullptr;
            if (dib.bitCount == 8) {
                const std::size_t index = row[x];
                pixel = index < colorCount ? dib.colors.data() + index * 4 : nullptr;
            } else {
                pixel = row + static_cast<std::size_t>(x) * (dib.bitCount / 8);
            }
            out[x] = pixel ? qRgb(pixel[2], pixel[1], pixel[0]) : qRgb(0, 0, 0);
        }
    }
    m_image = Checked(std::move(image));
    return m_image ? TRUE : FALSE;
}

CSize CBitmap::GetSize() const
{
    return m_image ? CSize{m_image->width(), m_image->height()} : CSize{};
}

COLORREF CBitmap::GetPixel(int x, int y) const
{
    if (!m_image || !m_image->valid(x, y))
        return 0;
    const QRgb pixel = m_image->pixel(x, y);
    return RGB(qRed(pixel), qGreen(pixel), qBlue(pixel));
}

BOOL CIcon::CreateFromArgb(int width, int height, std::span<const std::uint32_t> pixels)
{
    m_image.reset();
    if (width <= 0 || width > kMaxSide || height <= 0 || height > kMaxSide)
        return FALSE;
    if (pixels.size() < static_cast<std::size_t>(width) * static_cast<std::size_t>(height))
        return FALSE;
    QImage image(width, height, QImage::Format_ARGB32);
    for (int y = 0; y < height; ++y) {
        auto* out = reinterpret_cast<QRgb*>(image.scanLine(y));
        std::copy_n(pixels.data() + static_cast<std::size_t>(y) * width, width, out);
    }
    m_image = Checked(std::move(image));
    return m_image ? TRUE : FALSE;
}

CSize CIcon::GetSize() const
{
    return m_image ? CSize{m_image->width(), m_image->height()} : CSize{};
}

CIcon CIcon::Scaled(CSize size) const
{
    if (!m_image || size.cx <= 0 || size.cy <= 0 || GetSize() == size)
        return *this;
    CIcon scaled;
    GraphicsAccess::SetImage(scaled, m_image->scaled(size.cx, size.cy, Qt::IgnoreAspectRatio, Qt::SmoothTransformation));
    return scaled;
}

COLORREF GetSysColor(int index)
{
    if (QGuiApplication::instance() == nullptr)
        return index == COLOR_WINDOWTEXT ? RGB(0, 0, 0) : index == COLOR_WINDOW ? RGB(255, 255, 255) : RGB(240, 240, 240);
    const QPalette palette = QGuiApplication::palette();
    QColor color;
    switch (index) {
    case COLOR_WINDOW:
        color = palette.color(QPalette::Base);
        break;
    case COLOR_WINDOWTEXT:
        color = palette.color(QPalette::WindowText);
        break;
    default:
        // A dialog's face is the window colour of Qt's palette.
        color = palette.color(QPalette::Window);
        break;
    }
    return RGB(static_cast<unsigned>(color.red()), static_cast<unsigned>(color.green()), static_cast<unsigned>(color.blue()));
}
