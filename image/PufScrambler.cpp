#include "image/PufScrambler.h"

#include "image/PufFormat.h"
#include "ports/AccessCodes.h"

namespace puf {

std::vector<std::uint8_t> ScrambleBytes(std::span<const std::uint8_t> resource)
{
    const std::size_t n = resource.size();
    std::vector<std::uint8_t> keyed(resource.begin(), resource.end());
    auto code = accesscodes::CodeA();
    for (std::size_t i = 0; i < n; ++i) {
        std::size_t k = i % kKeySize;
        std::uint8_t key = k < code.size() ? code[k] : 0;
        keyed[i] = static_cast<std::uint8_t>(keyed[i] + key);
    }
    std::vector<std::uint8_t> scrambled(n, 0);
    const PlaneShifts shifts = ComputePlaneShifts(static_cast<std::uint32_t>(n));
    for (unsigned b = 0; b < kBitPlanes; ++b) {
        const std::uint8_t mask = static_cast<std::uint8_t>(1u << b);
        for (std::size_t j = 0; j < n; ++j)
            scrambled[j] |= keyed[(j + shifts[b]) % n] & mask;
    }
    return scrambled;
}

std::uint8_t SumByteFor(std::span<const std::uint8_t> raw)
{
    std::uint8_t sum = 0;
    for (std::uint8_t byte : raw)
        sum = static_cast<std::uint8_t>(sum + byte);
    return static_cast<std::uint8_t>(kExpectedSum - sum);
}

std::vector<std::uint8_t> PackFirmware(std::span<const std::uint8_t> raw)
{
    std::vector<std::uint8_t> resource(raw.begin(), raw.end());
    resource.push_back(SumByteFor(raw));
    return ScrambleBytes(resource);
}

} // namespace puf
