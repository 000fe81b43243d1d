#include "app/DialogTemplates.h"

#include <utility>

#include "app/DialogIds.h"
#include "resources/ResourceIds.h"

namespace {

using platform::Language;
using platform::ui::ControlClass;
using platform::ui::ControlTemplate;
using platform::ui::DialogTemplate;
using platform::ui::DluRect;

constexpr DWORD kChild = WS_CHILD | WS_VISIBLE;
constexpr DWORD kText = kChild | SS_LEFT | WS_GROUP; // LTEXT

ControlTemplate Control(int id, ControlClass cls, DWORD style, DluRect rect, std::wstring text = {},
                        unsigned imageId = 0)
{
    ControlTemplate control;
    control.id = id;
    control.cls = cls;
    control.style = style;
    control.rect = rect;
    control.text = std::move(text);
    control.imageId = imageId;
    return control;
}

// What differs between the two languages of template 102.
struct MainLayout {
    DluRect size;
    const wchar_t* face;
    int pointSize;
    const wchar_t* okText;
    const wchar_t* cancelText;
    const wchar_t* backText;
    DluRect ok, logo, modelLabel, model, versionLabel, version, portLabel, port, combo, address, cancel, back;
};

constexpr MainLayout kEnglish{
    {0, 0, 179, 129}, L"Arial", 8, L"OK", L"Cancel", L"&Back",
    {124, 107, 46, 16}, {6, 6, 91, 21}, {12, 30, 31, 8}, {45, 30, 120, 10}, {12, 41, 31, 8}, {45, 41, 120, 10},
    {12, 52, 31, 8}, {45, 52, 120, 10}, {12, 67, 156, 108}, {12, 84, 96, 12}, {24, 107, 46, 16}, {74, 107, 46, 16},
};

constexpr MainLayout kJapanese{
    {0, 0, 179, 141}, L"MS UI Gothic", 9, L"インストール", L"キャンセル", L"戻る(&B)",
    {120, 120, 51, 16}, {6, 6, 91, 21}, {12, 33, 29, 9}, {42, 34, 120, 10}, {12, 45, 29, 9}, {42, 46, 120, 10},
    {12, 57, 29, 9}, {42, 58, 120, 10}, {12, 72, 156, 108}, {12, 93, 96, 15}, {24, 120, 46, 16}, {72, 120, 46, 16},
};

} // namespace

DialogTemplate MainDialogTemplate(Language language)
{
    const MainLayout& layout = language == Language::Japanese ? kJapanese : kEnglish;
    DialogTemplate dialog;
    dialog.rect = layout.size;
    dialog.style = WS_POPUP | WS_VISIBLE | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT;
    dialog.exStyle = WS_EX_APPWINDOW;
    dialog.caption = L"Corvex Firmware Installer";
    dialog.fontFace = layout.face;
    dialog.pointSize = layout.pointSize;
    // In tab order. The three labels are English in both languages.
    dialog.controls = {
        Control(IDOK, ControlClass::Button, kChild | BS_DEFPUSHBUTTON | WS_TABSTOP, layout.ok, layout.okText),
        Control(IDC_LOGO, ControlClass::Static, kChild | SS_BITMAP, layout.logo, {}, ids::IDB_LOGO),
        Control(IDC_STATIC, ControlClass::Static, kText, layout.modelLabel, L"Model:"),
        Control(IDC_MODEL_LINE, ControlClass::Static, kText, layout.model),
        Control(IDC_STATIC, ControlClass::Static, kText, layout.versionLabel, L"Version:"),
        Control(IDC_VERSION_LINE, ControlClass::Static, kText, layout.version),
        Control(IDC_STATIC, ControlClass::Static, kText, layout.portLabel, L"Port:"),
        Control(IDC_PORT_FAMILY, ControlClass::Static, kText, layout.port),
        Control(IDC_PORT_COMBO, ControlClass::ComboBox, kChild | CBS_DROPDOWNLIST | CBS_SORT | WS_VSCROLL | WS_TABSTOP,
                layout.combo),
        Control(IDC_ADDRESS, ControlClass::IpAddress, kChild | WS_TABSTOP, layout.address),
        Control(IDCANCEL, ControlClass::Button, kChild | BS_PUSHBUTTON | WS_TABSTOP, layout.cancel, layout.cancelText),
        Control(IDC_BACK, ControlClass::Button, kChild | BS_PUSHBUTTON | WS_TABSTOP, layout.back, layout.backText),
    };
    return dialog;
}

DialogTemplate AboutDialogTemplate()
{
    DialogTemplate dialog;
    dialog.rect = {0, 0, 239, 63};
    dialog.style = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT;
    dialog.caption = L"About Firmware Installer";
    dialog.fontFace = L"MS UI Gothic";
    dialog.pointSize = 9;
    dialog.controls = {
        Control(IDC_STATIC, ControlClass::Static, kChild | SS_ICON, {11, 17, 20, 20}, {}, ids::IDR_MAINFRAME),
        Control(IDC_STATIC, ControlClass::Static, kText | SS_NOPREFIX, {38, 10, 154, 10},
                L"Corvex Firmware Installer Version 1.21"),
        Control(IDC_STATIC, ControlClass::Static, kText | SS_NOPREFIX, {38, 24, 172, 13},
                L"Copyright (C) Corvex Corporation. All rights reserved."),
        Control(IDOK, ControlClass::Button, kChild | BS_DEFPUSHBUTTON | WS_TABSTOP | WS_GROUP, {192, 6, 42, 16}, L"OK"),
        Control(IDC_ABOUT_VERSION, ControlClass::Static, kText, {38, 42, 180, 10}),
    };
    return dialog;
}

void RegisterDialogTemplates()
{
    platform::ui::RegisterDialogTemplate(IDD_TALLOW_DIALOG, Language::English, MainDialogTemplate(Language::English));
    platform::ui::RegisterDialogTemplate(IDD_TALLOW_DIALOG, Language::Japanese, MainDialogTemplate(Language::Japanese));
    platform::ui::RegisterDialogTemplate(IDD_ABOUTBOX, Language::Neutral, AboutDialogTemplate());
}
