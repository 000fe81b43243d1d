#pragma once
// The widget behind a CWnd (private to the UI layer).

#include <QWidget>
#include <memory>

#include "platform/ui/Wnd.h"

namespace platform::ui {

struct WndAccess {
    static QWidget* Widget(const CWnd& wnd) { return wnd.m_widget; }
    static DWORD TemplateStyle(const CWnd& wnd) { return wnd.m_style; }
    static void Attach(CWnd& wnd, QWidget* widget, CWnd* parent, int id, DWORD style);
    // The parent owns the child's handle from here on.
    static CWnd& AddChild(CWnd& parent, std::unique_ptr<CWnd> child);
    static const std::vector<std::unique_ptr<CWnd>>& Children(const CWnd& wnd) { return wnd.m_children; }
    // Drops the children's handles and forgets the widget (which the caller
    // deletes).
    static void Detach(CWnd& wnd);
    // The handle of this widget, or of the nearest ancestor that has one.
    static CWnd* FromWidget(const QWidget* widget);
};

} // namespace platform::ui
