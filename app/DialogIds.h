#pragma once
// Identifiers of the installer's own dialogs and their controls.

#include "platform/ui/WinUser.h"

// Templates.
inline constexpr unsigned IDD_ABOUTBOX = 100;
inline constexpr unsigned IDD_TALLOW_DIALOG = 102;

// The main dialog's controls (besides IDOK and IDCANCEL).
inline constexpr int IDC_BACK = 3;
inline constexpr int IDC_PORT_COMBO = 1000;
inline constexpr int IDC_VERSION_LINE = 1001;
inline constexpr int IDC_MODEL_LINE = 1002;
inline constexpr int IDC_PORT_FAMILY = 1003;
inline constexpr int IDC_ADDRESS = 1005;
inline constexpr int IDC_LOGO = 1006;

// The About box's series-and-version line.
inline constexpr int IDC_ABOUT_VERSION = 1009;

// The About item the main dialog adds to its window menu. Window-menu
// commands the program adds must stay below 0xF000, the system's own.
inline constexpr UINT IDM_ABOUTBOX = 0x10;
