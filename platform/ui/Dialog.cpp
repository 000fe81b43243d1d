#include "platform/ui/Dialog.h"

#include <QApplication>
#include <QEvent>
#include <QEventLoop>
#include <QFontMetrics>
#include <QTimer>
#include <algorithm>
#include <cstdlib>
#include <cwchar>
#include <vector>

#include "platform/ui/ControlFactory.h"
#include "platform/ui/DialogAccess.h"
#include "platform/ui/DialogWindow.h"
#include "platform/ui/GraphicsAccess.h"
#include "platform/ui/HandlerGuard.h"
#include "platform/ui/QtText.h"
#include "platform/ui/Timers.h"
#include "platform/ui/WndAccess.h"

using platform::ui::DialogAccess;
using platform::ui::RunGuarded;
using platform::ui::WndAccess;

namespace {

// The shortest interval a window timer has on the platform.
constexpr std::chrono::milliseconds kMinimumTimerInterval{10};

// The dialogs running now, innermost last: a new dialog without a parent
// belongs to the innermost one, so it opens over it.
std::vector<CDialog*>& ModalStack()
{
    static std::vector<CDialog*> stack;
    return stack;
}

platform::ui::ModalObserver& Observer()
{
    static platform::ui::ModalObserver observer;
    return observer;
}

// A measurement seam for bench/startup.sh: with TALLOW_EXIT_AFTER_FIRST_PAGE
// set, the process ends with 0 once the first dialog has been painted, so a
// whole-process timing stops at the first page. _Exit: the teardown is not
// start-up, and the statics must not be destroyed under a live QApplication.
class ExitAfterFirstPaint : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        // Zero-delay: the paint reaches the window system (the backing store
        // is flushed) before the timer runs.
        if (event->type() == QEvent::Paint)
            QTimer::singleShot(0, [] { std::_Exit(0); });
        return QObject::eventFilter(watched, event);
    }
};

bool ExitAfterFirstPageRequested()
{
    const char* value = std::getenv("TALLOW_EXIT_AFTER_FIRST_PAGE");
    return value != nullptr && *value != '\0';
}

Qt::WindowFlags WindowFlagsOf(DWORD style)
{
    Qt::WindowFlags flags = Qt::Dialog | Qt::CustomizeWindowHint;
    if ((style & WS_CAPTION) == WS_CAPTION)
        flags |= Qt::WindowTitleHint;
    else
        flags |= Qt::FramelessWindowHint;
    if ((style & WS_SYSMENU) != 0)
        flags |= Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;
    return flags;
}

FontDescription DialogFontOf(const platform::ui::DialogTemplate& dialogTemplate)
{
    if ((dialogTemplate.style & DS_SETFONT) != 0 && !dialogTemplate.fontFace.empty() && dialogTemplate.pointSize > 0)
        return platform::ui::TemplateFontDescription(dialogTemplate.fontFace, dialogTemplate.pointSize);
    FontDescription desktop;
    if (GetIconTitleFont(desktop))
        return desktop;
    return platform::ui::TemplateFontDescription(L"", 9);
}

} // namespace

namespace platform::ui {

void DialogAccess::RouteCommand(CDialog& dialog, int id, UINT notifyCode)
{
    if (!dialog.m_ended)
        RunGuarded([&] { dialog.OnCommand(id, notifyCode); });
}

void DialogAccess::RouteSysCommand(CDialog& dialog, UINT id)
{
    if (!dialog.m_ended)
        RunGuarded([&] { dialog.OnSysCommand(id, 0); });
}

void DialogAccess::RouteRButtonDblClk(CDialog& dialog, UINT flags, CPoint point)
{
    if (!dialog.m_ended)
        RunGuarded([&] { dialog.OnRButtonDblClk(flags, point); });
}

std::optional<std::wstring> DialogAccess::RouteToolTip(CDialog& dialog, CWnd& tool)
{
    if (dialog.m_ended)
        return std::nullopt;
    TOOLTIPTEXT info;
    info.pTool = &tool;
    const BOOL supplied = RunGuarded([&] { return dialog.OnToolTipNeedText(info); }, FALSE);
    if (!supplied)
        return std::nullopt;
    info.szText[std::size(info.szText) - 1] = L'\0';
    return std::wstring(info.szText, std::wcslen(info.szText));
}

DialogWindow* DialogAccess::Window(const CDialog& dialog)
{
    return static_cast<DialogWindow*>(WndAccess::Widget(dialog));
}

ScopedModalObserver::ScopedModalObserver(ModalObserver observer) : m_previous(std::move(Observer()))
{
    Observer() = std::move(observer);
}

ScopedModalObserver::~ScopedModalObserver()
{
    Observer() = std::move(m_previous);
}

} // namespace platform::ui

CDialog::CDialog(UINT templateId, CWnd* parent) : m_templateId(templateId), m_pParentWnd(parent) {}

CDialog::~CDialog()
{
    Teardown();
}

int CDialog::DoModal()
{
    if (m_running)
        return -1;
    const auto dialogTemplate = platform::ui::FindDialogTemplate(m_templateId);
    if (!dialogTemplate || qobject_cast<QApplication*>(QCoreApplication::instance()) == nullptr)
        return -1;

    m_running = true;
    m_ended = false;
    m_result = -1;
    m_toolTips = false;
    try {
        Create(*dialogTemplate);
    } catch (...) {
        // Out of memory while building the window: it cannot be created.
        Teardown();
        m_running = false;
        return -1;
    }

    ModalStack().push_back(this);
    const BOOL focusFirst = RunGuarded([this] { return OnInitDialog(); }, TRUE);
    if (!m_ended) {
        QWidget* window = WndAccess::Widget(*this);
        if (focusFirst)
            FocusFirstTabStop();
        if (ModalStack().size() == 1 && ExitAfterFirstPageRequested())
            window->installEventFilter(new ExitAfterFirstPaint(window));
        window->show();
        window->activateWindow();
        if (Observer()) {
            QTimer::singleShot(0, window, [this] {
                platform::ui::ModalObserver observer = Observer();
                if (observer && !m_ended)
                    RunGuarded([&] { observer(*this); });
            });
        }
        QEventLoop loop;
        m_loop = &loop;
        if (!m_ended)
            loop.exec(QEventLoop::DialogExec);
        m_loop = nullptr;
    }
    RunGuarded([this] { return DestroyWindow(); }, FALSE);
    Teardown();
    std::erase(ModalStack(), this);
    m_running = false;
    return m_result;
}

void CDialog::Create(const platform::ui::DialogTemplate& dialogTemplate)
{
    QWidget* parent = m_pParentWnd ? WndAccess::Widget(*m_pParentWnd) : nullptr;
    if (parent == nullptr && !ModalStack().empty())
        parent = WndAccess::Widget(*ModalStack().back());
    if (parent != nullptr)
        parent = parent->window();

    auto* window = new platform::ui::DialogWindow(*this, parent, WindowFlagsOf(dialogTemplate.style));
    WndAccess::Attach(*this, window, m_pParentWnd, 0, dialogTemplate.style);
    window->setWindowModality(Qt::ApplicationModal);
    window->setWindowTitle(platform::ui::ToQString(dialogTemplate.caption));

    const QFont font = platform::ui::MakeQFont(DialogFontOf(dialogTemplate));
    window->setFont(font);
    const QFontMetrics metrics(font);
    m_baseUnits = platform::ui::BaseUnitsFromMetrics(
        metrics.horizontalAdvance(platform::ui::ToQString(platform::ui::kAverageWidthSample)), metrics.height());
    const CRect client = platform::ui::DialogUnitsToPixels({0, 0, dialogTemplate.rect.cx, dialogTemplate.rect.cy}, m_baseUnits);
    window->setFixedSize(client.Width(), client.Height());

    m_systemMenu = (dialogTemplate.style & WS_SYSMENU) != 0 ? std::make_unique<CMenu>() : nullptr;
    m_defaultId = IDOK;
    bool defaultFound = false;
    for (const platform::ui::ControlTemplate& control : dialogTemplate.controls) {
        WndAccess::AddChild(*this, platform::ui::CreateControl(*this, *window, control, font, m_baseUnits));
        const bool isDefault =
            control.cls == platform::ui::ControlClass::Button && (control.style & BS_TYPEMASK) == BS_DEFPUSHBUTTON;
        if (isDefault && !defaultFound) {
            m_defaultId = control.id;
            defaultFound = true;
        }
    }
}

void CDialog::FocusFirstTabStop()
{
    for (CWnd* control = GetWindow(GW_CHILD); control != nullptr; control = control->GetNextWindow()) {
        const DWORD style = control->GetStyle();
        if ((style & WS_TABSTOP) != 0 && (style & WS_VISIBLE) != 0 && (style & WS_DISABLED) == 0) {
            control->SetFocus();
            return;
        }
    }
}

void CDialog::Teardown()
{
    for (const auto& [id, source] : m_timers)
        source->Stop(this, id);
    m_timers.clear();
    QWidget* window = WndAccess::Widget(*this);
    WndAccess::Detach(*this);
    m_systemMenu.reset();
    delete window;
}

void CDialog::EndDialog(int result)
{
    if (!m_running)
        return;
    m_result = result;
    m_ended = true;
    if (QWidget* window = WndAccess::Widget(*this))
        window->hide();
    if (m_loop)
        m_loop->exit(result);
}

BOOL CDialog::DestroyWindow()
{
    if (!IsWindow())
        return FALSE;
    Teardown();
    return TRUE;
}

CWnd* CDialog::GetDlgItem(int id) const
{
    for (CWnd* control = GetWindow(GW_CHILD); control != nullptr; control = control->GetNextWindow()) {
        if (control->GetDlgCtrlID() == id)
            return control;
    }
    return nullptr;
}

void CDialog::SetDlgItemText(int id, std::wstring_view text)
{
    if (CWnd* control = GetDlgItem(id))
        control->SetWindowText(text);
}

std::wstring CDialog::GetDlgItemText(int id) const
{
    const CWnd* control = GetDlgItem(id);
    return control ? control->GetWindowText() : std::wstring{};
}

void CDialog::GotoDlgCtrl(CWnd* control)
{
    if (control == nullptr)
        return;
    if (QWidget* widget = WndAccess::Widget(*control))
        widget->setFocus(Qt::TabFocusReason);
}

void CDialog::MapDialogRect(CRect& rect) const
{
    rect = platform::ui::MapDialogRect(rect, m_baseUnits);
}

UINT_PTR CDialog::SetTimer(UINT_PTR id, std::chrono::milliseconds elapse)
{
    if (!IsWindow() || id == 0)
        return 0;
    if (auto running = m_timers.find(id); running != m_timers.end()) {
        running->second->Stop(this, id);
        m_timers.erase(running);
    }
    platform::ui::TimerSource& source = platform::ui::CurrentTimerSource();
    if (!source.Start(this, id, std::max(elapse, kMinimumTimerInterval), [this, id] { TimerTick(id); }))
        return 0;
    m_timers.emplace(id, &source);
    return id;
}

BOOL CDialog::KillTimer(UINT_PTR id)
{
    auto running = m_timers.find(id);
    if (running == m_timers.end())
        return FALSE;
    running->second->Stop(this, id);
    m_timers.erase(running);
    return TRUE;
}

void CDialog::TimerTick(UINT_PTR id)
{
    // Ticks that come after EndDialog, before the window is gone, are not
    // delivered: the modal run is over.
    if (!m_ended)
        RunGuarded([&] { OnTimer(id); });
}

BOOL CDialog::EnableToolTips(BOOL enable)
{
    m_toolTips = enable != FALSE;
    return TRUE;
}

CMenu* CDialog::GetSystemMenu(BOOL revert)
{
    if (!m_systemMenu)
        return nullptr;
    if (revert) {
        *m_systemMenu = CMenu{};
        return nullptr;
    }
    return m_systemMenu.get();
}

BOOL CDialog::OnInitDialog()
{
    return TRUE;
}

void CDialog::OnOK()
{
    EndDialog(IDOK);
}

void CDialog::OnCancel()
{
    EndDialog(IDCANCEL);
}

BOOL CDialog::OnCommand(int id, UINT notifyCode)
{
    if (auto mapped = m_commands.find({notifyCode, id}); mapped != m_commands.end()) {
        const std::function<void()> handler = mapped->second; // the map may change meanwhile
        handler();
        return TRUE;
    }
    if (notifyCode == BN_CLICKED && id == IDOK) {
        OnOK();
        return TRUE;
    }
    if (notifyCode == BN_CLICKED && id == IDCANCEL) {
        OnCancel();
        return TRUE;
    }
    return FALSE;
}

void CDialog::OnTimer(UINT_PTR) {}

void CDialog::OnRButtonDblClk(UINT, CPoint) {}

BOOL CDialog::OnToolTipNeedText(TOOLTIPTEXT&)
{
    return FALSE;
}

void CDialog::OnSysCommand(UINT id, LPARAM)
{
    if ((id & 0xFFF0) != SC_CLOSE)
        return;
    if (const CWnd* cancel = GetDlgItem(IDCANCEL); cancel && !cancel->IsWindowEnabled())
        return;
    OnCommand(IDCANCEL, BN_CLICKED);
}

void CDialog::MapCommand(UINT notifyCode, int id, std::function<void()> handler)
{
    m_commands.insert_or_assign({notifyCode, id}, std::move(handler));
}
