#include "app/ProgramPictures.h"

#include "platform/gfx/PictureResources.h"
#include "platform/ui/ImageResources.h"
#include "resources/ResourceIds.h"

namespace {

void RegisterIconAt(unsigned id, int size)
{
    auto images = platform::gfx::LoadIconImages(id);
    if (!images)
        return;
    const platform::gfx::IconImage* image = platform::gfx::PickIconImage(*images, size);
    if (image == nullptr)
        return;
    CIcon icon;
    if (icon.CreateFromArgb(image->width, image->height, image->pixels))
        platform::ui::RegisterIcon(id, icon.Scaled({size, size}));
}

} // namespace

CBitmap BitmapFromDib(const platform::gfx::Dib& dib)
{
    CBitmap bitmap;
    bitmap.CreateFromDib({dib.Width(), dib.Height(), dib.BitCount(), dib.ColorBytes(), dib.Bits()});
    return bitmap;
}

void RegisterProgramPictures()
{
    if (auto logo = platform::gfx::LoadBitmapDib(ids::IDB_LOGO)) {
        CBitmap bitmap = BitmapFromDib(*logo);
        if (!bitmap.IsNull())
            platform::ui::RegisterBitmap(ids::IDB_LOGO, bitmap);
    }
    RegisterIconAt(ids::IDR_MAINFRAME, kStandardIconSize);
    for (unsigned frame = 0; frame < ids::kBusyFrameCount; ++frame)
        RegisterIconAt(ids::IDI_BUSY_FIRST + frame, kBusyIconSize);
}
