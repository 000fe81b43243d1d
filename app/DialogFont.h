#pragma once
// The font every dialog of the program is drawn in: the desktop's UI font
// (what the icon-title font is on Windows) instead of the template's face.

#include "platform/ui/Graphics.h"

class CWnd;

// The process-wide dialog font, created on the first call and kept until the
// process ends. Empty (no handle) when the desktop's font could not be read;
// every dialog then keeps its template font.
CFont& GetDialogFont();

// Gives `dialog` and its direct children `font`. Grandchildren (the fields
// inside the address control) keep theirs, and nothing is laid out again:
// positions and sizes stay as the template font made them. Does nothing for
// a null dialog or an empty font.
void ApplyDialogFont(CWnd* dialog, const CFont& font);
