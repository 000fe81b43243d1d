#pragma once
// BI_RLE8, the run-length coding of 8-bit bitmaps.

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "platform/core/Result.h"
#include "platform/gfx/Dib.h"

namespace platform::gfx {

// Expands `data` into the pixels of `dib` (8 bits, bottom-up: the first
// row coded is the bottom line). Pixels the data skips over (end of line,
// delta, end of bitmap) keep their value. Refused, with the byte offset: a
// run, literal or delta that would go past the end of its row or beyond the
// last row, data that ends inside a code, and data without an end of bitmap.
Result<void, std::string> DecodeRle8(std::span<const std::uint8_t> data, Dib& dib);

// Codes every row of an 8-bit bottom-up bitmap: repeats as runs, stretches
// of differing bytes as literals, an end of line after each row but the last
// and an end of bitmap after it. Empty for any other bitmap.
std::vector<std::uint8_t> EncodeRle8(const Dib& dib);

} // namespace platform::gfx
