#include "platform/gfx/Rle8.h"

#include <algorithm>
#include <cstddef>

namespace platform::gfx {
namespace {

namespace rle8 = format::rle8;

std::string At(std::size_t offset, const std::string& what)
{
    return "RLE8 at byte " + std::to_string(offset) + ": " + what;
}

} // namespace

Result<void, std::string> DecodeRle8(std::span<const std::uint8_t> data, Dib& dib)
{
    if (dib.BitCount() != 8 || !dib.IsBottomUp())
        return std::string("RLE8 needs an 8-bit bottom-up bitmap");
    const std::size_t width = static_cast<std::size_t>(dib.Width());
    const std::size_t rows = static_cast<std::size_t>(dib.Rows());
    // The position: x across the row, y counting rows from the bottom (the
    // memory order of a bottom-up bitmap). y == rows is the position after
    // the last row, from which only the end of bitmap may follow.
    std::size_t x = 0;
    std::size_t y = 0;
    std::size_t pos = 0;
    auto row = [&](std::size_t r) { return dib.Bits().subspan(r * dib.Stride(), width); };

    while (pos < data.size()) {
        const std::size_t codeAt = pos;
        if (data.size() - pos < 2)
            return At(codeAt, "truncated code");
        const std::uint8_t first = data[pos];
        const std::uint8_t second = data[pos + 1];
        pos += 2;

        if (first != rle8::kEscape) {
            if (y >= rows || width - x < first)
                return At(codeAt, "run of " + std::to_string(first) + " past the end of row " + std::to_string(y));
            std::fill_n(row(y).begin() + static_cast<std::ptrdiff_t>(x), first, second);
            x += first;
            continue;
        }
        switch (second) {
        case rle8::kEndOfLine:
            if (y >= rows)
                return At(codeAt, "end of line after the last row");
            x = 0;
            ++y;
            break;
        case rle8::kEndOfBitmap:
            return {};
        case rle8::kDelta: {
            if (data.size() - pos < 2)
                return At(codeAt, "truncated delta");
            const std::size_t dx = data[pos];
            const std::size_t dy = data[pos + 1];
            pos += 2;
            if (width - x < dx || rows - y < dy)
                return At(codeAt, "delta of " + std::to_string(dx) + ", " + std::to_string(dy) +
                                      " leaves the bitmap");
            x += dx;
            y += dy;
            break;
        }
        default: {
            const std::size_t count = second;
            const std::size_t padded = count + (count & 1); // literals keep the codes 16-bit aligned
            if (data.size() - pos < padded)
                return At(codeAt, "truncated literal of " + std::to_string(count));
            if (y >= rows || width - x < count)
                return At(codeAt, "literal of " + std::to_string(count) + " past the end of row " +
                                      std::to_string(y));
            std::copy_n(data.begin() + static_cast<std::ptrdiff_t>(pos), count,
                        row(y).begin() + static_cast<std::ptrdiff_t>(x));
            x += count;
            pos += padded;
            break;
        }
        }
    }
    return At(data.size(), "no end of bitmap");
}

std::vector<std::uint8_t> EncodeRle8(const Dib& dib)
{
    std::vector<std::uint8_t> out;
    if (dib.BitCount() != 8 || !dib.IsBottomUp())
        return out;
    const std::size_t width = static_cast<std::size_t>(dib.Width());
    for (int r = 0; r < dib.Rows(); ++r) {
        auto row = dib.Bits().subspan(static_cast<std::size_t>(r) * dib.Stride(), width);
        auto repeats = [&](std::size_t at) {
            std::size_t n = 1;
            while (at + n < width && n < rle8::kMaxRun && row[at + n] == row[at])
                ++n;
            return n;
        };
        std::size_t x = 0;
        while (x < width) {
            std::size_t run = repeats(x);
            if (run >= 2) {
                out.push_back(static_cast<std::uint8_t>(run));
                out.push_back(row[x]);
                x += run;
                continue;
            }
            // Differing bytes up to the next repeat.
            std::size_t end = x + 1;
            while (end < width && end - x < rle8::kMaxRun && repeats(end) < 2)
                ++end;
            const std::size_t count = end - x;
            if (count < rle8::kMinAbsolute) {
                // Too short for a literal, whose count would read as an escape.
                for (; x < end; ++x) {
                    out.push_back(1);
                    out.push_back(row[x]);
                }
                continue;
            }
            out.push_back(rle8::kEscape);
            out.push_back(static_cast<std::uint8_t>(count));
            out.insert(out.end(), row.begin() + static_cast<std::ptrdiff_t>(x),
                       row.begin() + static_cast<std::ptrdiff_t>(end));
            if (count & 1)
                out.push_back(0);
            x = end;
        }
        out.push_back(rle8::kEscape);
        out.push_back(r + 1 < dib.Rows() ? rle8::kEndOfLine : rle8::kEndOfBitmap);
    }
    return out;
}

} // namespace platform::gfx
