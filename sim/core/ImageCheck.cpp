#include "sim/core/ImageCheck.h"

#include "image/PufHeader.h"

namespace sim {

std::string_view ToString(ImageVerdict verdict)
{
    switch (verdict) {
    case ImageVerdict::Accepted:
        return "accepted";
    case ImageVerdict::NoEntry:
        return "refused: no update-mode entry before it";
    case ImageVerdict::BadHeader:
        return "refused: no PUF1 header";
    case ImageVerdict::WrongModel:
        return "refused: another model's image";
    case ImageVerdict::UnreadableVersion:
        return "refused: unreadable version";
    case ImageVerdict::NotExpected:
        return "refused: not the expected image";
    }
    return "unknown";
}

ImageCheck CheckImage(std::span<const std::uint8_t> image, int modelCode,
                      const std::optional<Sha256Digest>& expected)
{
    ImageCheck check;
    check.size = image.size();
    check.digest = ComputeSha256(image);

    int info[2] = {-1, -1};
    if (!puf::ParseImageHeader(image, info))
        return check;
    check.modelCode = info[0];
    check.version = info[1];

    if (check.modelCode != modelCode)
        check.verdict = ImageVerdict::WrongModel;
    // A version of -1 could not be reported back as a VER text.
    else if (check.version < 0)
        check.verdict = ImageVerdict::UnreadableVersion;
    else if (expected && *expected != check.digest)
        check.verdict = ImageVerdict::NotExpected;
    else
        check.verdict = ImageVerdict::Accepted;
    return check;
}

} // namespace sim
