#include "platform/ui/ImageResources.h"

#include <map>
#include <utility>

namespace platform::ui {
namespace {

std::map<unsigned, CBitmap>& Bitmaps()
{
    static std::map<unsigned, CBitmap> bitmaps;
    return bitmaps;
}

std::map<unsigned, CIcon>& Icons()
{
    static std::map<unsigned, CIcon> icons;
    return icons;
}

} // namespace

void RegisterBitmap(unsigned id, CBitmap bitmap)
{
    Bitmaps().insert_or_assign(id, std::move(bitmap));
}

void RegisterIcon(unsigned id, CIcon icon)
{
    Icons().insert_or_assign(id, std::move(icon));
}

CBitmap LoadBitmapResource(unsigned id)
{
    auto found = Bitmaps().find(id);
    return found != Bitmaps().end() ? found->second : CBitmap{};
}

CIcon LoadIconResource(unsigned id, CSize size)
{
    auto found = Icons().find(id);
    if (found == Icons().end())
        return {};
    return found->second.Scaled(size);
}

} // namespace platform::ui
