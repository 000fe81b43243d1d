#pragma once
// A window the dialogs' code holds: the dialog itself or one of its controls.
//
// A CWnd is a handle over a window that exists only while its dialog runs
// (during DoModal). The dialog owns the handles of its controls; one stays
// valid until the dialog's window is destroyed.

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/ui/Geometry.h"
#include "platform/ui/Graphics.h"
#include "platform/ui/WinUser.h"

class QWidget;

namespace platform::ui {
struct WndAccess;
}

class CWnd {
public:
    CWnd() = default;
    virtual ~CWnd();
    CWnd(const CWnd&) = delete;
    CWnd& operator=(const CWnd&) = delete;

    // Whether the window exists.
    BOOL IsWindow() const { return m_widget != nullptr ? TRUE : FALSE; }
    int GetDlgCtrlID() const { return m_id; }
    // The template's style with WS_VISIBLE and WS_DISABLED as they are now.
    DWORD GetStyle() const;
    CWnd* GetParent() const { return m_parent; }
    // GW_CHILD: the first child; GW_HWNDNEXT: the next sibling (Z order,
    // which is template order). Null when there is none.
    CWnd* GetWindow(UINT relation) const;
    CWnd* GetNextWindow() const { return GetWindow(GW_HWNDNEXT); }

    virtual void SetWindowText(std::wstring_view text);
    virtual std::wstring GetWindowText() const;

    // Both return the previous state: nonzero if it was disabled,
    // respectively visible.
    BOOL EnableWindow(BOOL enable = TRUE);
    BOOL ShowWindow(int command);
    BOOL IsWindowEnabled() const;
    BOOL IsWindowVisible() const;

    // Returns the window that had the focus.
    CWnd* SetFocus();
    // The window of the program that has the keyboard focus, or null.
    static CWnd* GetFocus();

    // The text is drawn in the new font; position and size stay as they are.
    void SetFont(const CFont& font, BOOL redraw = TRUE);
    CFont GetFont() const;
    // The size of a line of text in the window's font.
    CSize GetTextExtent(std::wstring_view text) const;

    CRect GetClientRect() const;
    CRect GetWindowRect() const; // screen coordinates
    void ScreenToClient(CRect& rect) const;
    void ScreenToClient(CPoint& point) const;

    // The window's icon (the big one is what the task switcher shows).
    void SetIcon(const CIcon& icon, BOOL bigIcon);
    // Paints the window now, without waiting for the event loop.
    void UpdateWindow();

private:
    friend struct platform::ui::WndAccess;

    QWidget* m_widget = nullptr;
    CWnd* m_parent = nullptr;
    int m_id = 0;
    DWORD m_style = 0;
    std::vector<std::unique_ptr<CWnd>> m_children;
};
