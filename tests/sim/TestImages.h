#pragma once
// Firmware images for the simulator's tests: a raw image with a chosen
// header, and the installer's CPufImage made from it the way the installer
// makes one from its resource.

#include <algorithm>
#include <cstdint>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "image/PufImage.h"
#include "image/PufScrambler.h"

namespace simtest {

using Bytes = std::vector<std::uint8_t>;

// "PUF1", the 6-character model code field, a 22-character version field
// ending in `version`, then pseudo-random firmware.
inline Bytes MakeRawImage(const std::string& modelCode = "070168", const std::string& version = "1.20",
                          std::size_t size = 4096)
{
    Bytes raw(std::max<std::size_t>(size, 32));
    std::mt19937 rng(static_cast<unsigned>(size));
    for (std::uint8_t& byte : raw)
        byte = static_cast<std::uint8_t>(rng());
    std::string header = "PUF1" + modelCode.substr(0, 6);
    header.resize(10, ' ');
    std::string field = "Firmware V" + version;
    field.insert(0, 22 - std::min<std::size_t>(field.size(), 22), ' ');
    header += field.substr(field.size() - 22);
    std::copy(header.begin(), header.end(), raw.begin());
    return raw;
}

// The installer's image of `raw`: packed as the build packs its resource,
// then unscrambled by the installer's own code.
inline std::unique_ptr<CPufImage> MakePufImage(const Bytes& raw)
{
    Bytes resource = puf::PackFirmware(raw);
    auto image = std::make_unique<CPufImage>();
    if (!image->Unscramble(static_cast<DWORD>(resource.size()), resource.data()))
        return nullptr;
    return image;
}

} // namespace simtest
