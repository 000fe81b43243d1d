#include "platform/gfx/PictureResources.h"

#include <utility>

#include "platform/resources/Resources.h"

namespace platform::gfx {

Result<Dib, std::string> LoadBitmapDib(unsigned id)
{
    const std::string where = "bitmap " + std::to_string(id) + ": ";
    auto bytes = FindResource(kBitmapResourceType, id);
    if (!bytes)
        return where + "no such resource";
    auto dib = DecodeDib(*bytes);
    if (!dib)
        return where + dib.Error();
    return std::move(*dib);
}

Result<std::vector<IconImage>, std::string> LoadIconImages(unsigned id)
{
    const std::string where = "icon " + std::to_string(id) + ": ";
    auto bytes = FindResource(kIconResourceType, id);
    if (!bytes)
        return where + "no such resource";
    auto images = DecodeIcon(*bytes);
    if (!images)
        return where + images.Error();
    return std::move(*images);
}

} // namespace platform::gfx
