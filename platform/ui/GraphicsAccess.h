#pragma once
// The Qt objects inside the graphics values (private to the UI layer).

#include <QFont>
#include <QImage>
#include <memory>

#include "platform/ui/Graphics.h"

namespace platform::ui {

struct GraphicsAccess {
    static const QFont* Font(const CFont& font) { return font.m_font.get(); }
    static void SetFont(CFont& font, QFont qfont) { font.m_font = std::make_shared<const QFont>(std::move(qfont)); }
    static const QImage* Image(const CBitmap& bitmap) { return bitmap.m_image.get(); }
    static const QImage* Image(const CIcon& icon) { return icon.m_image.get(); }
    static void SetImage(CBitmap& bitmap, QImage image) { bitmap.m_image = std::make_shared<const QImage>(std::move(image)); }
    static void SetImage(CIcon& icon, QImage image) { icon.m_image = std::make_shared<const QImage>(std::move(image)); }
};

// A font from its description, sized in pixels.
QFont MakeQFont(const FontDescription& description);

// The description of a template font: the face at its point size, at 96
// pixels per inch.
FontDescription TemplateFontDescription(std::wstring_view face, int pointSize);

} // namespace platform::ui
