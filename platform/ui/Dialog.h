#pragma once
// A modal dialog built from a registered template (DialogTemplate.h).
//
// DoModal creates the window and its controls, calls OnInitDialog, shows the
// window and runs until EndDialog. Commands reach the handlers mapped to
// them by notification code and control id (MapCommand), else the defaults:
// IDOK runs OnOK, IDCANCEL runs OnCancel. Enter sends the default button's
// command (that of a focused push button first), Escape sends IDCANCEL, and
// the window's Close command goes through OnSysCommand(SC_CLOSE) to IDCANCEL.
// Every handler runs inside the layer's guard: an exception that escapes it
// is shown in an error box and the dialog carries on.

#include <chrono>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <utility>

#include "platform/ui/DialogUnits.h"
#include "platform/ui/Menu.h"
#include "platform/ui/Wnd.h"

namespace platform::ui {
class DialogWindow;
class TimerSource;
struct DialogAccess;
} // namespace platform::ui

class QEventLoop;

// What a dialog is asked for when a tooltip is about to show over one of its
// controls (EnableToolTips). The handler fills szText and returns TRUE to
// show it; the text ends at the first zero and at the buffer's end.
struct TOOLTIPTEXT {
    CWnd* pTool = nullptr;     // the control under the pointer
    UINT uFlags = TTF_IDISHWND; // the tool is identified by its window
    wchar_t szText[80] = {};
};

class CDialog : public CWnd {
public:
    explicit CDialog(UINT templateId, CWnd* parent = nullptr);
    ~CDialog() override;

    // The dialog's result: EndDialog's value, or -1 when the window cannot
    // be created (no such template, no window system, already running).
    virtual int DoModal();
    // Ends the modal run with `result` once the current handler returns; the
    // dialog is hidden at once and handles nothing more.
    void EndDialog(int result);
    UINT GetTemplateId() const { return m_templateId; }

    // The control with this id (the first, for a repeated id), or null: a
    // missing control is an answer, not an error. The typed form is null
    // also when the control is of another kind.
    CWnd* GetDlgItem(int id) const;
    template <typename T>
    T* GetDlgItem(int id) const
    {
        return dynamic_cast<T*>(GetDlgItem(id));
    }
    void SetDlgItemText(int id, std::wstring_view text);
    std::wstring GetDlgItemText(int id) const;
    // Moves the focus to a control as the keyboard does (an edit field's
    // text is selected).
    void GotoDlgCtrl(CWnd* control);
    // Dialog units to pixels in this dialog's template font.
    void MapDialogRect(CRect& rect) const;

    // Starts (or restarts) timer `id`; OnTimer(id) follows every `elapse`.
    // Returns `id`, or 0 when no timer can be created (or no window exists).
    UINT_PTR SetTimer(UINT_PTR id, std::chrono::milliseconds elapse);
    BOOL KillTimer(UINT_PTR id);

    // Asks OnToolTipNeedText for the tooltip of each control.
    BOOL EnableToolTips(BOOL enable = TRUE);
    // The stand-in for the window menu (see Menu.h); null when the template
    // has no WS_SYSMENU or no window exists.
    CMenu* GetSystemMenu(BOOL revert);

    // Kills the dialog's timers and destroys its window. DoModal calls it
    // when the run ends; an override must call the base.
    virtual BOOL DestroyWindow();

protected:
    // Return TRUE to put the focus on the first tab stop, FALSE when the
    // handler has placed it.
    virtual BOOL OnInitDialog();
    virtual void OnOK();
    virtual void OnCancel();
    // Routes a command to its mapped handler or the defaults; TRUE if handled.
    virtual BOOL OnCommand(int id, UINT notifyCode);
    virtual void OnTimer(UINT_PTR id);
    // A right double-click in the dialog's own area (not over a button, box
    // or field), with the MK_ flags of the buttons and keys held and the
    // point in client coordinates.
    virtual void OnRButtonDblClk(UINT flags, CPoint point);
    virtual BOOL OnToolTipNeedText(TOOLTIPTEXT& info);
    // The default handles SC_CLOSE (as IDCANCEL, unless the dialog's Cancel
    // button exists and is disabled) and ignores everything else.
    virtual void OnSysCommand(UINT id, LPARAM param);

    // The message map: `handler` runs for `notifyCode` (BN_CLICKED,
    // CBN_SELCHANGE) from control `id`.
    void MapCommand(UINT notifyCode, int id, std::function<void()> handler);
    template <typename Derived>
    void MapCommand(UINT notifyCode, int id, void (Derived::*handler)())
    {
        MapCommand(notifyCode, id, [this, handler] { (static_cast<Derived*>(this)->*handler)(); });
    }

private:
    friend class platform::ui::DialogWindow;
    friend struct platform::ui::DialogAccess;

    void Create(const platform::ui::DialogTemplate& dialogTemplate);
    void FocusFirstTabStop();
    void TimerTick(UINT_PTR id);
    void Teardown();
    int DefaultButtonId() const { return m_defaultId; }

    UINT m_templateId;
    CWnd* m_pParentWnd;
    std::map<std::pair<UINT, int>, std::function<void()>> m_commands;
    std::map<UINT_PTR, platform::ui::TimerSource*> m_timers;
    std::unique_ptr<CMenu> m_systemMenu;
    platform::ui::DialogBaseUnits m_baseUnits;
    int m_defaultId = IDOK;
    int m_result = -1;
    bool m_running = false;
    bool m_ended = false;
    bool m_toolTips = false;
    QEventLoop* m_loop = nullptr;
};

namespace platform::ui {

// Told once a dialog's modal run has begun and its window is shown. In-process
// tests drive dialogs from here (see testing/UiTestKit.h).
using ModalObserver = std::function<void(CDialog&)>;

class ScopedModalObserver {
public:
    explicit ScopedModalObserver(ModalObserver observer);
    ~ScopedModalObserver();
    ScopedModalObserver(const ScopedModalObserver&) = delete;
    ScopedModalObserver& operator=(const ScopedModalObserver&) = delete;

private:
    ModalObserver m_previous;
};

} // namespace platform::ui
