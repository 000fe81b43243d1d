#pragma once
// Fonts, bitmaps and icons the dialogs hand to their windows, and the
// desktop's colours and UI font.
//
// Each is a small value that shares its image or font: copying is cheap and
// a copy given to a control stays valid whatever happens to the original.
// A default-constructed object is empty (no handle), as a CFont or CBitmap
// is before it is created.

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>

#include "platform/ui/Geometry.h"
#include "platform/ui/WinUser.h"

class QFont;
class QImage;

namespace platform::ui {
struct GraphicsAccess;
}

// What a font is made from. Sizes are in pixels at 96 pixels per inch, the
// scale the dialogs were laid out at.
struct FontDescription {
    std::wstring faceName;
    int height = 0;     // character (em) height in pixels
    int weight = 400;   // 400 normal, 700 bold
    bool italic = false;
};

class CFont {
public:
    BOOL CreateFontIndirect(const FontDescription& description);
    // A face at a size in tenths of a point (80 is 8 pt).
    BOOL CreatePointFont(int pointTenths, std::wstring_view faceName);
    void DeleteObject() { m_font.reset(); }
    bool IsNull() const { return m_font == nullptr; }
    FontDescription Describe() const;

private:
    friend struct platform::ui::GraphicsAccess;
    std::shared_ptr<const QFont> m_font;
};

// The desktop's UI font (what the icon-title font is on Windows); FALSE when
// no window system is open.
BOOL GetIconTitleFont(FontDescription& description);

// A device-independent bitmap as it lies in memory.
struct DibImage {
    int width = 0;
    int height = 0;   // > 0: rows stored bottom-up; < 0: top-down
    int bitCount = 0; // 8 (indexes into colors), 24 (B, G, R) or 32 (B, G, R, x)
    std::span<const std::uint8_t> colors; // 8 bits: entries of blue, green, red, reserved
    std::span<const std::uint8_t> bits;   // each row padded to a multiple of 4 bytes
};

class CBitmap {
public:
    // FALSE (and the bitmap stays empty) when the description is not one of
    // the forms above or the bits are fewer than its rows need. A colour
    // index beyond the colour table draws black.
    BOOL CreateFromDib(const DibImage& image);
    void DeleteObject() { m_image.reset(); }
    bool IsNull() const { return m_image == nullptr; }
    CSize GetSize() const;
    COLORREF GetPixel(int x, int y) const; // top-down coordinates; 0 outside

private:
    friend struct platform::ui::GraphicsAccess;
    std::shared_ptr<const QImage> m_image;
};

class CIcon {
public:
    // Pixels 0xAARRGGBB, rows top-down; FALSE when there are too few.
    BOOL CreateFromArgb(int width, int height, std::span<const std::uint32_t> pixels);
    bool IsNull() const { return m_image == nullptr; }
    CSize GetSize() const;
    // The same picture at another size (itself when the size matches).
    CIcon Scaled(CSize size) const;

private:
    friend struct platform::ui::GraphicsAccess;
    std::shared_ptr<const QImage> m_image;
};

// The desktop's colour for a COLOR_ index; COLOR_BTNFACE is the dialog
// background the logo is blended over.
COLORREF GetSysColor(int index);
