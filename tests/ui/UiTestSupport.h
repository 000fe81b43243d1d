#pragma once
// Templates and a dialog whose handlers a test sets, for the UI layer's tests.

#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "platform/ui/Dialog.h"
#include "platform/ui/DialogTemplate.h"

namespace ui_test {

using platform::ui::ControlClass;
using platform::ui::ControlTemplate;
using platform::ui::DialogTemplate;
using platform::ui::DluRect;

inline constexpr DWORD kChild = WS_CHILD | WS_VISIBLE;
inline constexpr DWORD kModalFrame = WS_POPUP | WS_VISIBLE | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT;

// A font every test machine has, so that pixel sizes are reproducible.
inline constexpr wchar_t kTestFont[] = L"DejaVu Sans";

inline ControlTemplate Control(int id, ControlClass cls, DWORD style, DluRect rect, std::wstring text = {})
{
    ControlTemplate control;
    control.id = id;
    control.cls = cls;
    control.style = kChild | style;
    control.rect = rect;
    control.text = std::move(text);
    return control;
}

inline DialogTemplate Template(std::vector<ControlTemplate> controls, DWORD style = kModalFrame,
                               DluRect rect = {0, 0, 179, 129})
{
    DialogTemplate dialog;
    dialog.rect = rect;
    dialog.style = style;
    dialog.caption = L"Test dialog";
    dialog.fontFace = kTestFont;
    dialog.pointSize = 8;
    dialog.controls = std::move(controls);
    return dialog;
}

// A dialog whose virtual handlers are whatever the test sets; each call is
// logged in `calls`.
class ScriptedDialog : public CDialog {
public:
    using CDialog::CDialog;

    std::vector<std::string> calls;
    std::function<BOOL()> onInit;
    std::function<void()> onOK;
    std::function<void()> onCancel;
    std::function<void(UINT_PTR)> onTimer;
    std::function<void(UINT, CPoint)> onRButtonDblClk;
    std::function<BOOL(TOOLTIPTEXT&)> onToolTip;
    std::function<void(UINT)> onSysCommand;

    void Map(UINT notifyCode, int id, std::function<void()> handler) { MapCommand(notifyCode, id, std::move(handler)); }

protected:
    BOOL OnInitDialog() override
    {
        CDialog::OnInitDialog();
        return onInit ? onInit() : TRUE;
    }
    void OnOK() override
    {
        calls.push_back("OnOK");
        onOK ? onOK() : CDialog::OnOK();
    }
    void OnCancel() override
    {
        calls.push_back("OnCancel");
        onCancel ? onCancel() : CDialog::OnCancel();
    }
    void OnTimer(UINT_PTR id) override
    {
        if (onTimer)
            onTimer(id);
    }
    void OnRButtonDblClk(UINT flags, CPoint point) override
    {
        if (onRButtonDblClk)
            onRButtonDblClk(flags, point);
    }
    BOOL OnToolTipNeedText(TOOLTIPTEXT& info) override { return onToolTip ? onToolTip(info) : FALSE; }
    void OnSysCommand(UINT id, LPARAM param) override
    {
        calls.push_back("OnSysCommand " + std::to_string(id));
        if (onSysCommand)
            onSysCommand(id);
        else
            CDialog::OnSysCommand(id, param);
    }
};

} // namespace ui_test
