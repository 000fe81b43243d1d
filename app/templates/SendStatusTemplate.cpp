#include "app/templates/SendStatusTemplate.h"

#include "platform/ui/WinUser.h"
#include "resources/ResourceIds.h"

using platform::ui::ControlClass;
using platform::ui::ControlTemplate;
using platform::ui::DialogTemplate;

platform::ui::DialogTemplate SendStatusDialogTemplate()
{
    DialogTemplate dialog;
    dialog.rect = {0, 0, 227, 49};
    // No WS_SYSMENU: the window has no Close button, so only the dialog
    // itself decides when it ends.
    dialog.style = WS_POPUP | WS_VISIBLE | WS_CAPTION | DS_MODALFRAME | DS_SETFONT;
    dialog.caption = L"Tallow";
    dialog.fontFace = L"MS UI Gothic";
    dialog.pointSize = 9;

    ControlTemplate text;
    text.id = IDC_SENDSTATUS_TEXT;
    text.cls = ControlClass::Static;
    text.style = WS_CHILD | WS_VISIBLE | SS_LEFT;
    text.rect = {42, 8, 180, 40};

    ControlTemplate icon;
    icon.id = IDC_SENDSTATUS_ICON;
    icon.cls = ControlClass::Static;
    icon.style = WS_CHILD | WS_VISIBLE | SS_ICON;
    icon.rect = {5, 6, 20, 20};
    icon.imageId = ids::IDI_BUSY_FIRST;

    dialog.controls = {text, icon};
    return dialog;
}

void RegisterSendStatusTemplate()
{
    platform::ui::RegisterDialogTemplate(IDD_SENDSTATUS_DIALOG, platform::Language::Neutral, SendStatusDialogTemplate());
}
