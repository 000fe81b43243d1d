#pragma once
// The lettering of the logo: a stroke font of our own with just the letters
// of "Corvex". Each letter is a few centre lines (straight pieces and arcs)
// drawn with one round-ended pen, the look of a rounded sans-serif.

#include <string_view>
#include <vector>

#include "tools/assetgen/Geometry.h"

namespace assetgen {

struct PlacedLetter {
    char letter = 0;
    std::vector<Stroke> strokes; // in canvas coordinates
};

// Font units: x-height 13, cap height 19, baseline at 0, y up. `origin` is
// where the first letter's baseline starts on the canvas, `scale` canvas
// pixels per unit; `pen` is the stroke width in canvas pixels and
// `tracking` the extra space between letters in units. Throws
// std::invalid_argument for a letter the font does not have.
std::vector<PlacedLetter> LayOutWord(std::string_view text, Point origin, double scale, double pen, double tracking);

// The width of the word in canvas pixels, outer edges of the pen included.
double WordWidth(std::string_view text, double scale, double tracking);

} // namespace assetgen
