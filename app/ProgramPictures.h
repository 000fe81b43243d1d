#pragma once
// The program's bitmaps and icons, decoded from its resources and handed to
// the UI layer by id: the template's logo 137, the application icon 128 and
// the send-status animation 140-143. Picture controls and LoadIconResource
// find them there.

#include "platform/gfx/Dib.h"
#include "platform/ui/Graphics.h"

// The standard icon size, LoadIcon's: the application icon as the window
// and the About box show it.
inline constexpr int kStandardIconSize = 32;
// The send-status animation's frames are drawn at this size.
inline constexpr int kBusyIconSize = 48;

// Decodes and registers every picture the program has; one that is missing
// or damaged is left out (its control then shows nothing).
void RegisterProgramPictures();

// A decoded DIB as the UI layer's bitmap; empty when it cannot be shown.
CBitmap BitmapFromDib(const platform::gfx::Dib& dib);
