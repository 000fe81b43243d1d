#pragma once
// A deterministic stand-in firmware: a valid "PUF1" header naming the model
// code and version, then pseudo-random bytes.

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace pufpack {

struct DemoOptions {
    std::string modelCode = "70168"; // zero-padded to the 6-digit field
    std::string version = "1.20";
    std::size_t size = 1'300'000;
};

// Empty when the options cannot make a header (model code not 1-6 digits,
// version not 1-22 digits and dots, size below the header's).
std::vector<std::uint8_t> MakeDemoFirmware(const DemoOptions& options);

} // namespace pufpack
