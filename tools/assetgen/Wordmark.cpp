#include "tools/assetgen/Wordmark.h"

#include <stdexcept>
#include <string>

namespace assetgen {
namespace {

// A letter: centre lines in font units (y up) and the advance to the next.
// Centre lines keep half a pen width (1.5 units at the nominal pen of 3)
// inside the letter's box, so the outer edges meet the baseline, the
// x-height and the cap height.
struct Glyph {
    std::vector<std::vector<Point>> lines;
    double advance = 0;
};

Glyph MakeGlyph(char letter)
{
    switch (letter) {
    case 'C': // an open oval, the opening to the right
        return {{Arc({8, 9.5}, 6.5, 8, 48, 312, 40)}, 16};
    case 'o':
        return {{Arc({6.5, 6.5}, 5, 5, 0, 360, 40)}, 13};
    case 'r': // stem and shoulder
        return {{{{1.5, 1.5}, {1.5, 11.5}}, Arc({6.5, 6.5}, 5, 5, 180, 60, 16)}, 10.5};
    case 'v':
        return {{{{1.5, 11.5}, {6, 1.5}, {10.5, 11.5}}}, 12};
    case 'e': { // the bar, then round from its right end over the top
        std::vector<Point> line{{1.5, 6.5}, {11.5, 6.5}};
        const auto bowl = Arc({6.5, 6.5}, 5, 5, 0, 310, 40);
        line.insert(line.end(), bowl.begin() + 1, bowl.end());
        return {{line}, 13};
    }
    case 'x':
        return {{{{1.5, 11.5}, {10.5, 1.5}}, {{1.5, 1.5}, {10.5, 11.5}}}, 12};
    default:
        throw std::invalid_argument(std::string("the wordmark font has no '") + letter + "'");
    }
}

} // namespace

std::vector<PlacedLetter> LayOutWord(std::string_view text, Point origin, double scale, double pen, double tracking)
{
    std::vector<PlacedLetter> placed;
    double x = 0;
    for (char letter : text) {
        const Glyph glyph = MakeGlyph(letter);
        PlacedLetter out{letter, {}};
        for (const auto& line : glyph.lines) {
            Stroke stroke{{}, pen};
            for (Point p : line)
                stroke.points.push_back({origin.x + (x + p.x) * scale, origin.y - p.y * scale});
            out.strokes.push_back(std::move(stroke));
        }
        placed.push_back(std::move(out));
        x += glyph.advance + tracking;
    }
    return placed;
}

double WordWidth(std::string_view text, double scale, double tracking)
{
    double width = 0;
    for (char letter : text)
        width += MakeGlyph(letter).advance + tracking;
    return text.empty() ? 0 : (width - tracking) * scale;
}

} // namespace assetgen
