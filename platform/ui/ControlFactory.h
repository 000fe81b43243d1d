#pragma once
// Builds a template's controls (private to the UI layer).

#include <QFont>
#include <memory>

#include "platform/ui/DialogTemplate.h"
#include "platform/ui/DialogUnits.h"
#include "platform/ui/Wnd.h"

class CDialog;

namespace platform::ui {

class DialogWindow;

// The control's widget inside `window`, placed from dialog units, in the
// template's font, wired to send its commands to `dialog`; and its handle.
std::unique_ptr<CWnd> CreateControl(CDialog& dialog, DialogWindow& window, const ControlTemplate& control,
                                    const QFont& font, DialogBaseUnits units);

} // namespace platform::ui
