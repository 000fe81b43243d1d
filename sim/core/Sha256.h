#pragma once
// SHA-256, so the simulator can name every image it receives by its digest
// and compare it with the image it was told to expect. Small and
// self-contained: the simulator needs nothing else from a crypto library.

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

namespace sim {

using Sha256Digest = std::array<std::uint8_t, 32>;

class Sha256 {
public:
    Sha256();

    // May be called any number of times; bytes are hashed in call order.
    void Update(std::span<const std::uint8_t> bytes);

    // Pads, finishes and returns the digest. The object starts over afterwards.
    Sha256Digest Finish();

private:
    void Reset();
    void Compress(const std::uint8_t* block);

    std::array<std::uint32_t, 8> m_state;
    std::array<std::uint8_t, 64> m_block;
    std::size_t m_blockFill = 0;
    std::uint64_t m_totalBytes = 0;
};

Sha256Digest ComputeSha256(std::span<const std::uint8_t> bytes);

// Lower-case hexadecimal, 64 characters.
std::string ToHex(const Sha256Digest& digest);

} // namespace sim
