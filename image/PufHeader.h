#pragma once
// Reading the "PUF1" header: model code and version in hundredths.

#include <cstdint>
#include <span>

namespace puf {

// Parses a header copy: at most 32 text bytes, zero-terminated (the buffer
// is 33 bytes; bytes after the terminator are read as zero). Fills info[0]
// with the model code and info[1] with the version in hundredths (-1 when
// unreadable). False when the magic is not exactly "PUF1".
bool ParseHeader(const char (&header)[33], int info[2]);

// Copies the header text out of an image (stopping at the first zero byte
// within the first 32 bytes) and parses it. False for an image without the
// magic, including one shorter than it.
bool ParseImageHeader(std::span<const std::uint8_t> image, int info[2]);

} // namespace puf
