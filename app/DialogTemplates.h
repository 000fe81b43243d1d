#pragma once
// The installer's own dialog templates, as its resource script has them: the
// main dialog 102 in English and Japanese, and the About box 100 (one
// language).

#include "platform/resources/Resources.h"
#include "platform/ui/DialogTemplate.h"

platform::ui::DialogTemplate MainDialogTemplate(platform::Language language);
platform::ui::DialogTemplate AboutDialogTemplate();

// Registers both with the UI layer; the program does it once at start-up.
void RegisterDialogTemplates();
