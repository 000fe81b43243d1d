#pragma once
// The bitmaps and icons of the program's resources, by id.
//
// Whoever decodes the embedded pictures registers them here once; picture
// controls of a template find theirs by the id the template names, and the
// dialogs load the rest the same way.

#include "platform/ui/Graphics.h"

namespace platform::ui {

void RegisterBitmap(unsigned id, CBitmap bitmap); // replaces an earlier one
void RegisterIcon(unsigned id, CIcon icon);

// Empty when there is no such resource.
CBitmap LoadBitmapResource(unsigned id);
// At `size` when given (LoadImage's width and height), else natural size.
CIcon LoadIconResource(unsigned id, CSize size = {});

} // namespace platform::ui
