#pragma once
// Dialog template 136, the send-status dialog: a caption-only frame without
// a system menu (so without a Close button) that holds the phase message
// and the busy animation. It exists once, for every language.

#include "platform/ui/DialogTemplate.h"

inline constexpr unsigned IDD_SENDSTATUS_DIALOG = 136;
inline constexpr int IDC_SENDSTATUS_TEXT = 1007; // the phase message
inline constexpr int IDC_SENDSTATUS_ICON = 1008; // the animation frame

platform::ui::DialogTemplate SendStatusDialogTemplate();

// Registers template 136 as the language-neutral one; the program calls it
// once at start-up, before the dialog can open.
void RegisterSendStatusTemplate();
