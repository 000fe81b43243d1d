#pragma once
// What the printer makes of an image it receives: whether it would install
// it, and what the header says.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

#include "sim/core/Sha256.h"

namespace sim {

enum class ImageVerdict {
    Accepted,
    NoEntry,           // no update-mode entry came before it
    BadHeader,         // no "PUF1" header at the start
    WrongModel,        // the header's model code is not the printer's
    UnreadableVersion, // the header's version cannot be read
    NotExpected,       // the bytes differ from the image the printer was told to expect
};

std::string_view ToString(ImageVerdict verdict);

struct ImageCheck {
    ImageVerdict verdict = ImageVerdict::BadHeader;
    std::size_t size = 0;
    Sha256Digest digest{};
    // From the header when it parsed; -1 otherwise.
    int modelCode = -1;
    int version = -1; // hundredths
};

// Checks the payload as received, header first, by the installer's own
// header reader. Decides everything but NoEntry, which is the printer's state.
ImageCheck CheckImage(std::span<const std::uint8_t> image, int modelCode,
                      const std::optional<Sha256Digest>& expected);

} // namespace sim
