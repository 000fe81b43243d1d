#pragma once
// The dialog's side of the events its window receives (private to the UI
// layer and its test kit). Each call runs the dialog's handler inside the
// guard and does nothing once the dialog has ended.

#include <optional>
#include <string>

#include "platform/ui/Dialog.h"

namespace platform::ui {

class DialogWindow;

struct DialogAccess {
    static void RouteCommand(CDialog& dialog, int id, UINT notifyCode);
    static void RouteSysCommand(CDialog& dialog, UINT id);
    static void RouteRButtonDblClk(CDialog& dialog, UINT flags, CPoint point);
    // The tooltip text the dialog supplies for `tool`, or nullopt.
    static std::optional<std::wstring> RouteToolTip(CDialog& dialog, CWnd& tool);

    static bool IsEnded(const CDialog& dialog) { return dialog.m_ended; }
    static bool IsRunning(const CDialog& dialog) { return dialog.m_running; }
    static bool ToolTipsEnabled(const CDialog& dialog) { return dialog.m_toolTips; }
    static const CMenu* SystemMenu(const CDialog& dialog) { return dialog.m_systemMenu.get(); }
    static int DefaultButtonId(const CDialog& dialog) { return dialog.DefaultButtonId(); }
    static DialogWindow* Window(const CDialog& dialog);
};

} // namespace platform::ui
