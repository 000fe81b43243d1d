#pragma once
// The program's pictures, drawn from shapes: the maker's logo (a tile with
// the mark beside the "Corvex" wordmark), the application icon (the tile
// alone) and the four frames of the turning arrow of the send-status
// dialog. Every pixel comes from arithmetic on fixed numbers, so the output
// is the same on every run.

#include <array>
#include <vector>

#include "platform/gfx/Dib.h"
#include "platform/gfx/Icon.h"

namespace assetgen {

inline constexpr int kLogoWidth = 144;
inline constexpr int kLogoHeight = 29;
inline constexpr int kBusySize = 48;
inline constexpr int kAppIconSizes[] = {16, 32, 48};

struct Logo {
    platform::gfx::Dib shown;   // 137: blended over the default dialog colour
    platform::gfx::Dib colors;  // 138: palette indexes, every pixel the colour of its nearest shape
    platform::gfx::Dib opacity; // 139: 0 transparent .. 255 opaque, grey-ramp colour table
};

// The dialog colour bitmap 137 is blended over: the platform's default
// button face, (240, 240, 240).
inline constexpr platform::gfx::RgbQuad kDefaultDialogColor{240, 240, 240, 0};

Logo DrawLogo();
std::vector<platform::gfx::IconImage> DrawAppIcon(); // one image per kAppIconSizes entry
// Frame k is frame 0 turned k quarter turns clockwise.
std::array<platform::gfx::IconImage, 4> DrawBusyFrames();

} // namespace assetgen
