#pragma once
// Dialog units: the template's measure, a quarter of the dialog font's
// average character width across and an eighth of its height down, so a
// template keeps its proportions whatever font the platform substitutes.

#include <string_view>

#include "platform/ui/DialogTemplate.h"
#include "platform/ui/Geometry.h"

namespace platform::ui {

// The average character width and the character height of a font, in pixels.
struct DialogBaseUnits {
    int cx = 0;
    int cy = 0;
    friend bool operator==(const DialogBaseUnits&, const DialogBaseUnits&) = default;
};

// The text whose width, divided by its 52 letters and rounded, is the
// average character width (the way the platform has always measured it, not
// the font's own average-width field).
inline constexpr std::wstring_view kAverageWidthSample = L"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";

// From the sample's width and the font's height (ascent + descent).
DialogBaseUnits BaseUnitsFromMetrics(int sampleWidth, int charHeight);

// A template rectangle in pixels: each of x, y, width and height converted
// on its own (x * cx / 4, y * cy / 8, rounded), as templates are laid out.
CRect DialogUnitsToPixels(const DluRect& rect, DialogBaseUnits units);

// MapDialogRect: the edges of a rectangle in dialog units converted one by one.
CRect MapDialogRect(const CRect& rect, DialogBaseUnits units);

} // namespace platform::ui
