#pragma once
// Bitmaps and icons from the program's resources, the way LoadImage hands
// them out: bitmaps as DIB sections, icons as their images.
//
// A bitmap resource (type "BITMAP") holds a packed DIB: the .bmp file
// without its 14-byte file header, as a resource compiler stores it. An icon
// resource (type "ICON") holds a whole .ico file: the directory and every
// image; the platform's split into a group entry and one entry per image is
// not kept, since nothing here enumerates the images separately.

#include <string>
#include <vector>

#include "platform/core/Result.h"
#include "platform/gfx/Dib.h"
#include "platform/gfx/Icon.h"

namespace platform::gfx {

inline constexpr wchar_t kBitmapResourceType[] = L"BITMAP";
inline constexpr wchar_t kIconResourceType[] = L"ICON";

// Bitmap `id` of the resource module in force, decoded (RLE8 expanded). The
// error names the resource: "bitmap 138: header: truncated".
Result<Dib, std::string> LoadBitmapDib(unsigned id);

// Every image of icon `id`; pick one with PickIconImage.
Result<std::vector<IconImage>, std::string> LoadIconImages(unsigned id);

} // namespace platform::gfx
