// assetgen: draws the installer's bitmaps and icons into a folder, where the
// build embeds them as resources.
//
//   assetgen OUTDIR   writes bitmap137.dib, bitmap138.dib, bitmap139.dib
//                     (bitmap resources: packed DIBs), icon128.ico and
//                     icon140.ico to icon143.ico
//
// Each file is read back through the installer's own decoders before the
// tool succeeds, so the build fails rather than embed a picture the
// installer would refuse.

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <exception>
#include <tuple>
#include <span>
#include <string>
#include <vector>

#include "platform/gfx/Dib.h"
#include "platform/gfx/Icon.h"
#include "resources/ResourceIds.h"
#include "tools/assetgen/Artwork.h"

namespace {

using platform::gfx::Dib;
using platform::gfx::IconImage;

bool WriteFile(const std::string& path, std::span<const std::uint8_t> bytes)
{
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (!file) {
        std::fprintf(stderr, "assetgen: %s: open: %s\n", path.c_str(), std::strerror(errno));
        return false;
    }
    const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    const int savedErrno = errno;
    if (std::fclose(file) != 0 || !written) {
        std::fprintf(stderr, "assetgen: %s: write: %s\n", path.c_str(), std::strerror(written ? errno : savedErrno));
        return false;
    }
    return true;
}

bool Fail(const std::string& path, const std::string& reason)
{
    std::fprintf(stderr, "assetgen: %s: %s\n", path.c_str(), reason.c_str());
    return false;
}

bool SameDib(const Dib& a, const Dib& b)
{
    return a.Width() == b.Width() && a.Height() == b.Height() && a.BitCount() == b.BitCount() &&
           a.Colors() == b.Colors() && std::equal(a.Bits().begin(), a.Bits().end(), b.Bits().begin(), b.Bits().end());
}

bool WriteBitmap(const std::string& path, const Dib& dib, bool rle8)
{
    auto bytes = platform::gfx::EncodeDib(dib, rle8);
    if (!bytes)
        return Fail(path, "cannot be encoded");
    auto decoded = platform::gfx::DecodeDib(*bytes);
    if (!decoded)
        return Fail(path, "does not decode: " + decoded.Error());
    if (!SameDib(*decoded, dib))
        return Fail(path, "decodes to other pixels");
    return WriteFile(path, *bytes);
}

bool WriteIcon(const std::string& path, std::span<const IconImage> images)
{
    const std::vector<std::uint8_t> bytes = platform::gfx::EncodeIcon(images);
    if (bytes.empty())
        return Fail(path, "cannot be encoded");
    auto decoded = platform::gfx::DecodeIcon(bytes);
    if (!decoded)
        return Fail(path, "does not decode: " + decoded.Error());
    bool same = decoded->size() == images.size();
    for (std::size_t i = 0; same && i < images.size(); ++i)
        same = (*decoded)[i].width == images[i].width && (*decoded)[i].height == images[i].height &&
               (*decoded)[i].pixels == images[i].pixels;
    if (!same)
        return Fail(path, "decodes to other pixels");
    return WriteFile(path, bytes);
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fputs("usage: assetgen OUTDIR\n", stderr);
        return 2;
    }
    const std::string dir = argv[1];
    try {
        const assetgen::Logo logo = assetgen::DrawLogo();
        const auto appIcon = assetgen::DrawAppIcon();
        const auto busy = assetgen::DrawBusyFrames();

        auto bitmap = [&](unsigned id) { return dir + "/bitmap" + std::to_string(id) + ".dib"; };
        auto icon = [&](unsigned id) { return dir + "/icon" + std::to_string(id) + ".ico"; };
        // The template's logo and the logo's colours are run-length coded;
        // the opacity is stored plain.
        bool ok = WriteBitmap(bitmap(ids::IDB_LOGO), logo.shown, true) &&
                  WriteBitmap(bitmap(ids::IDB_LOGO_COLOR), logo.colors, true) &&
                  WriteBitmap(bitmap(ids::IDB_LOGO_ALPHA), logo.opacity, false) &&
                  WriteIcon(icon(ids::IDR_MAINFRAME), appIcon);
        static_assert(ids::kBusyFrameCount == std::tuple_size_v<decltype(busy)>);
        for (unsigned k = 0; ok && k < ids::kBusyFrameCount; ++k)
            ok = WriteIcon(icon(ids::IDI_BUSY_FIRST + k), std::span(&busy[k], 1));
        return ok ? 0 : 1;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "assetgen: %s\n", e.what());
        return 1;
    }
}
