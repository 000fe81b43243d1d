#pragma once
// Identifiers of the program's resources.

namespace ids {

// Strings, both languages.
inline constexpr unsigned IDS_ABOUTBOX = 101;
inline constexpr unsigned IDS_SOCKETS_INIT_FAILED = 103;
inline constexpr unsigned IDS_USER_INPUT = 104;
inline constexpr unsigned IDS_INSTALL = 105;
inline constexpr unsigned IDS_NEXT = 106;
inline constexpr unsigned IDS_AUTOMATIC_DETECTION = 107;
inline constexpr unsigned IDS_FATAL_ERROR = 160;
inline constexpr unsigned IDS_NO_PRINTER_NETWORK = 161;
inline constexpr unsigned IDS_NO_PRINTER_USB = 162;
inline constexpr unsigned IDS_WRONG_MODEL = 163;
inline constexpr unsigned IDS_UP_TO_DATE = 164;
inline constexpr unsigned IDS_NOT_READY = 165;
inline constexpr unsigned IDS_CORRUPTED = 166;
inline constexpr unsigned IDS_SEND_FAILED = 167;
inline constexpr unsigned IDS_INSTALL_FAILED = 168;
inline constexpr unsigned IDS_ALREADY_RUNNING = 169;
inline constexpr unsigned IDS_INSTALL_FAILED_SUM = 170;
inline constexpr unsigned IDS_ILLEGAL_PARAMETER = 171;
inline constexpr unsigned IDS_SENDING = 176;
inline constexpr unsigned IDS_INSTALLING = 177;
inline constexpr unsigned IDS_INSTALLING_IPL = 178;
inline constexpr unsigned IDS_CONFIRM_EXIT = 179;
inline constexpr unsigned IDS_INSTALLED = 180;
inline constexpr unsigned IDS_APP_TITLE = 57344;

// Language-neutral configuration of the build.
inline constexpr unsigned IDS_FIRMWARE_VERSION = 201;
inline constexpr unsigned IDS_SERIES_NAME = 202;
inline constexpr unsigned IDS_MODEL_NAMES = 203;
inline constexpr unsigned IDS_MODEL_CODE = 204;
inline constexpr unsigned IDS_PORT_TYPE = 205;

// Binary resources.
inline constexpr wchar_t RT_FIRMWARE[] = L"FIRMWARE";
inline constexpr unsigned IDR_FIRMWARE = 220;
inline constexpr wchar_t RT_DLL[] = L"DLL";
inline constexpr unsigned IDR_CONTROLLER_DLL = 146;

// Bitmaps and icons (resource types "BITMAP" and "ICON", see
// platform/gfx/PictureResources.h), drawn at build time by tools/assetgen.
inline constexpr unsigned IDR_MAINFRAME = 128;  // the application icon: 16, 32 and 48 pixels
inline constexpr unsigned IDB_LOGO = 137;       // the logo as the main dialog's template shows it
inline constexpr unsigned IDB_LOGO_COLOR = 138; // the logo's colours
inline constexpr unsigned IDB_LOGO_ALPHA = 139; // the logo's opacity
inline constexpr unsigned IDI_BUSY_FIRST = 140; // 140-143: the send-status animation, one turn
inline constexpr unsigned kBusyFrameCount = 4;

} // namespace ids
