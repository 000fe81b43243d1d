#include "tools/pufpack/DemoFirmware.h"

#include <algorithm>
#include <cstring>

#include "image/PufFormat.h"

namespace pufpack {
namespace {

bool AllOf(const std::string& text, const char* allowed)
{
    return !text.empty() && text.find_first_not_of(allowed) == std::string::npos;
}

} // namespace

std::vector<std::uint8_t> MakeDemoFirmware(const DemoOptions& options)
{
    if (!AllOf(options.modelCode, "0123456789") || options.modelCode.size() > puf::kModelCodeSize)
        return {};
    if (!AllOf(options.version, "0123456789.") || options.version.size() > puf::kVersionSize)
        return {};
    if (options.size < puf::kHeaderSize)
        return {};

    std::vector<std::uint8_t> image(options.size);
    std::memcpy(image.data() + puf::kMagicOffset, puf::kMagic, puf::kMagicSize);
    std::string model = std::string(puf::kModelCodeSize - options.modelCode.size(), '0') + options.modelCode;
    std::memcpy(image.data() + puf::kModelCodeOffset, model.data(), puf::kModelCodeSize);
    // The version field ends in the version, after a label as a real image
    // carries one; the label is cut from the left when space runs short.
    std::string field = "Demo firmware Ver. " + options.version;
    if (field.size() > puf::kVersionSize)
        field.erase(0, field.size() - puf::kVersionSize);
    field.insert(0, puf::kVersionSize - field.size(), ' ');
    std::memcpy(image.data() + puf::kVersionOffset, field.data(), puf::kVersionSize);

    // xorshift64*: deterministic, so every build embeds the same bytes.
    std::uint64_t state = 0x70168A5A5C0FFEEull;
    for (std::size_t i = puf::kHeaderSize; i < image.size(); ++i) {
        state ^= state >> 12;
        state ^= state << 25;
        state ^= state >> 27;
        image[i] = static_cast<std::uint8_t>((state * 0x2545F4914F6CDD1Dull) >> 56);
    }
    return image;
}

} // namespace pufpack
