#include "image/PufHeader.h"

#include <algorithm>
#include <cstring>

#include "image/PufFormat.h"
#include "platform/text/Crt.h"

namespace puf {

bool ParseHeader(const char (&header)[33], int info[2])
{
    if (std::memcmp(header + kMagicOffset, kMagic, kMagicSize) != 0)
        return false;

    // The model code field ends early at a zero byte, like any header text.
    char modelCode[kModelCodeSize + 1] = {};
    std::size_t modelLength = 0;
    while (modelLength < kModelCodeSize && header[kModelCodeOffset + modelLength] != '\0') {
        modelCode[modelLength] = header[kModelCodeOffset + modelLength];
        ++modelLength;
    }
    info[0] = modelLength > kMaxNumberText ? -1 : platform::Atoi(modelCode);

    // The version is the last run of digits and dots in the version field:
    // scan backwards past anything else, then collect the run.
    auto isVersionChar = [](char c) { return (c >= '0' && c <= '9') || c == '.'; };
    std::size_t pos = kHeaderSize;
    while (pos > kVersionOffset && !isVersionChar(header[pos - 1]))
        --pos;
    std::size_t end = pos;
    while (pos > kVersionOffset && isVersionChar(header[pos - 1]))
        --pos;
    std::size_t length = end - pos;

    if (length > kMaxNumberText) {
        info[1] = -1;
    } else {
        char version[kMaxNumberText + 1] = {};
        std::memcpy(version, header + pos, length);
        // 0.005 absorbs the representation error of values such as 1.15;
        // the run holds no sign, so the value is never negative.
        auto hundredths = platform::TruncateToInt32(platform::Atof(version) * 100.0 + 0.005);
        info[1] = hundredths.value_or(-1);
    }
    return true;
}

bool ParseImageHeader(std::span<const std::uint8_t> image, int info[2])
{
    char header[kHeaderSize + 1] = {};
    std::size_t n = std::min(image.size(), kHeaderSize);
    for (std::size_t i = 0; i < n && image[i] != 0; ++i)
        header[i] = static_cast<char>(image[i]);
    return ParseHeader(header, info);
}

} // namespace puf
