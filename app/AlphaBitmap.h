#pragma once
// The maker's logo for the top of the main dialog: the colour bitmap 138 and
// the opacity bitmap 139 blended into one opaque picture over the dialog's
// background colour.
//
// The result is a 24-bit DIB, as the DIB section a CBitmap would hold:
// GetBitmap()->Width() x Rows() pixels (144 x 29 for our resources),
// Height() positive, so the rows lie bottom-up in Bits() (the bottom picture
// line first; Line(y) finds a line by its top-down number), each pixel
// three bytes blue, green, red, each row padded with zero bytes to
// Stride(), a multiple of 4; no colour table. The UI layer shows it as it
// is, for instance
//
//     const platform::gfx::Dib* logo = m_bmpLogo.GetBitmap();
//     bitmap.CreateFromDib({logo->Width(), logo->Height(), logo->BitCount(),
//                           logo->ColorBytes(), logo->Bits()});
//
// This class knows no window system; where the framework's CAlphaBitmap
// derives from CBitmap, this one holds the composed picture itself.

#include <optional>

#include "platform/gfx/Dib.h"
#include "platform/ui/WinUser.h"

class CAlphaBitmap {
public:
    CAlphaBitmap() = default;
    CAlphaBitmap(const CAlphaBitmap&) = delete;
    CAlphaBitmap& operator=(const CAlphaBitmap&) = delete;

    // Loads bitmaps 138 and 139. FALSE when either is missing or damaged;
    // then neither stays loaded and the composed picture is dropped too.
    BOOL LoadImages();

    // Blends the loaded bitmaps over `background` (0x00BBGGRR) and keeps
    // the result. FALSE, keeping an earlier result, when nothing is loaded,
    // the colour bitmap is not 8 bits deep, or the opacity bitmap is not
    // 8 bits deep or smaller than the colour bitmap in either direction.
    BOOL Compose(COLORREF background);

    // The composed picture; null until Compose has succeeded.
    const platform::gfx::Dib* GetBitmap() const { return m_bitmap ? &*m_bitmap : nullptr; }

private:
    std::optional<platform::gfx::Dib> m_hColorBitmap;
    std::optional<platform::gfx::Dib> m_hAlphaBitmap;
    std::optional<platform::gfx::Dib> m_bitmap; // what the framework's base class would hold
};
