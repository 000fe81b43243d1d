#pragma once
// Dialog templates as data, and the registry the application fills with them.
//
// A template is what a resource script says about a dialog: its size in
// dialog units, font, caption, style and controls. The program registers its
// templates once at start-up, per language where they differ; CDialog finds
// the one for the user-interface language the way strings are found.

#include <optional>
#include <string>
#include <vector>

#include "platform/core/WinTypes.h"
#include "platform/resources/Resources.h"

namespace platform::ui {

// x, y, width, height in dialog units.
struct DluRect {
    int x = 0;
    int y = 0;
    int cx = 0;
    int cy = 0;
};

// The window classes a template may name; the style's low bits choose the
// variant (BS_DEFPUSHBUTTON, BS_GROUPBOX, SS_BITMAP, SS_ICON, ...).
enum class ControlClass {
    Button,    // "button": push button, default push button, group box
    Static,    // "static": text, bitmap or icon picture
    ComboBox,  // "combobox": drop-down list
    IpAddress, // "SysIPAddress32": four address fields
};

struct ControlTemplate {
    int id = -1;
    ControlClass cls = ControlClass::Static;
    std::wstring text;
    DluRect rect;
    // Complete Windows style: WS_CHILD | WS_VISIBLE and the rest. A control
    // without WS_VISIBLE starts hidden, as in a resource script.
    DWORD style = 0;
    // SS_BITMAP / SS_ICON: the picture's resource id (see ImageResources.h).
    unsigned imageId = 0;
};

struct DialogTemplate {
    DluRect rect; // x and y are ignored: the dialog opens centred
    DWORD style = 0;
    DWORD exStyle = 0;
    std::wstring caption;
    std::wstring fontFace; // with DS_SETFONT
    int pointSize = 0;
    std::vector<ControlTemplate> controls; // in tab and Z order
};

// Adds or replaces the template `id` of one language (Neutral for a
// template that exists once).
void RegisterDialogTemplate(unsigned id, Language language, DialogTemplate dialogTemplate);
void UnregisterDialogTemplate(unsigned id, Language language);

// The template for the user-interface language, else the neutral one, else
// the English one; nullopt when there is none.
std::optional<DialogTemplate> FindDialogTemplate(unsigned id);

// Registers a template for the current scope and restores what was there.
class ScopedDialogTemplate {
public:
    ScopedDialogTemplate(unsigned id, Language language, DialogTemplate dialogTemplate);
    ~ScopedDialogTemplate();
    ScopedDialogTemplate(const ScopedDialogTemplate&) = delete;
    ScopedDialogTemplate& operator=(const ScopedDialogTemplate&) = delete;

private:
    unsigned m_id;
    Language m_language;
    std::optional<DialogTemplate> m_previous;
};

} // namespace platform::ui
