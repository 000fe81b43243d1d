#include "platform/ui/testing/UiTestKit.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QHelpEvent>
#include <QImage>
#include <QMenu>
#include <QMouseEvent>
#include <QPixmap>
#include <QTest>
#include <QToolTip>
#include <cstdlib>
#include <exception>

#include "platform/ui/Application.h"
#include "platform/ui/DialogAccess.h"
#include "platform/ui/DialogWindow.h"
#include "platform/ui/QtText.h"
#include "platform/ui/WndAccess.h"

namespace platform::ui::test {
namespace {

// The test program's window system, opened once and left open until the
// process ends: destroyed at exit it would outlive statics of Qt's own
// (its input devices) that its destructor still needs.
void EnsureApplication()
{
    if (QCoreApplication::instance() != nullptr)
        return;
    if (!HasDisplay())
        setenv("QT_QPA_PLATFORM", "offscreen", 0);
    static int argc = 1;
    static char name[] = "tallow-ui-test";
    static char* argv[] = {name, nullptr};
    static Application* application = new Application(argc, argv);
    (void)application;
}

QWidget* UsableWidget(const CDialog& dialog, int id)
{
    const CWnd* control = dialog.GetDlgItem(id);
    QWidget* widget = control ? WndAccess::Widget(*control) : nullptr;
    if (widget == nullptr || !widget->isVisible() || !widget->isEnabled())
        return nullptr;
    return widget;
}

QWidget* FocusTarget(const CDialog& dialog)
{
    QWidget* window = WndAccess::Widget(dialog);
    if (window == nullptr)
        return nullptr;
    QWidget* focus = window->focusWidget();
    return focus ? focus : window;
}

Qt::KeyboardModifiers ModifiersOf(UINT flags)
{
    Qt::KeyboardModifiers modifiers;
    if (flags & MK_SHIFT)
        modifiers |= Qt::ShiftModifier;
    if (flags & MK_CONTROL)
        modifiers |= Qt::ControlModifier;
    return modifiers;
}

Qt::Key QtKey(UINT virtualKey)
{
    switch (virtualKey) {
    case VK_TAB:
        return Qt::Key_Tab;
    case VK_RETURN:
        return Qt::Key_Return;
    case VK_ESCAPE:
        return Qt::Key_Escape;
    case VK_SPACE:
        return Qt::Key_Space;
    case VK_UP:
        return Qt::Key_Up;
    case VK_DOWN:
        return Qt::Key_Down;
    default:
        break;
    }
    // Letters and digits share their codes with Qt's keys.
    if ((virtualKey >= '0' && virtualKey <= '9') || (virtualKey >= 'A' && virtualKey <= 'Z'))
        return static_cast<Qt::Key>(virtualKey);
    return Qt::Key_unknown;
}

QMenu* OpenSystemMenu(CDialog& dialog)
{
    DialogWindow* window = DialogAccess::Window(dialog);
    if (window == nullptr)
        return nullptr;
    const QPoint center = window->rect().center();
    QContextMenuEvent event(QContextMenuEvent::Mouse, center, window->mapToGlobal(center));
    QApplication::sendEvent(window, &event);
    return window->SystemMenuPopup();
}

class PaintFilter final : public QObject {
public:
    int count = 0;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Paint)
            ++count;
        return QObject::eventFilter(watched, event);
    }
};

} // namespace

int MessageBoxRecorder::Present(const MessageBoxRequest& request)
{
    m_boxes.push_back(request);
    if (onPresent)
        onPresent(request);
    if (m_answers.empty())
        return request.defaultButton;
    const int answer = m_answers.front();
    m_answers.pop_front();
    return answer;
}

Harness::Harness()
    : m_clockScope(clock), m_timerScope(timers), m_presenterScope(boxes),
      m_observerScope([this](CDialog& dialog) { Drive(dialog); })
{
    EnsureApplication();
}

Harness::~Harness() = default;

int Harness::RunModal(CDialog& dialog, Script whileOpen)
{
    m_scripts.push_back({&dialog, std::move(whileOpen)});
    const int result = dialog.DoModal();
    // A dialog that ended in OnInitDialog never opened: its script goes.
    std::erase_if(m_scripts, [&](const Pending& pending) { return pending.dialog == &dialog; });
    return result;
}

void Harness::WhenDialogOpens(Script script)
{
    m_scripts.push_back({nullptr, std::move(script)});
}

Script Harness::TakeScript(const CDialog& dialog)
{
    auto found = std::find_if(m_scripts.begin(), m_scripts.end(), [&](const Pending& p) { return p.dialog == &dialog; });
    if (found == m_scripts.end())
        found = std::find_if(m_scripts.begin(), m_scripts.end(), [](const Pending& p) { return p.dialog == nullptr; });
    if (found == m_scripts.end())
        return {};
    Script script = std::move(found->script);
    m_scripts.erase(found);
    return script;
}

void Harness::Drive(CDialog& dialog)
{
    // The window system tells of the new window (exposed, activated) through
    // events that come after the observer's call; let them arrive first.
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    if (DialogAccess::IsEnded(dialog))
        return;
    const std::string name = "dialog " + std::to_string(dialog.GetTemplateId());
    Script script = TakeScript(dialog);
    if (!script) {
        m_problems.push_back(name + " opened with no script");
        dialog.EndDialog(kUnscripted);
        return;
    }
    try {
        script(dialog);
    } catch (const std::exception& e) {
        m_problems.push_back(name + ": script threw: " + e.what());
    } catch (...) {
        m_problems.push_back(name + ": script threw");
    }
    if (!DialogAccess::IsEnded(dialog)) {
        m_problems.push_back(name + " left open by its script");
        dialog.EndDialog(kLeftOpen);
    }
}

bool Click(CDialog& dialog, int id)
{
    QWidget* widget = UsableWidget(dialog, id);
    if (widget == nullptr)
        return false;
    QTest::mouseClick(widget, Qt::LeftButton, Qt::NoModifier, widget->rect().center());
    return true;
}

bool PressKey(CDialog& dialog, UINT virtualKey, UINT modifiers)
{
    QWidget* target = FocusTarget(dialog);
    const Qt::Key key = QtKey(virtualKey);
    if (target == nullptr || key == Qt::Key_unknown)
        return false;
    QTest::keyClick(target, key, ModifiersOf(modifiers));
    return true;
}

void TypeText(CDialog& dialog, std::wstring_view text)
{
    for (wchar_t c : text) {
        QWidget* target = FocusTarget(dialog);
        if (target == nullptr)
            return;
        const QString character = ToQString(std::wstring_view(&c, 1));
        const Qt::Key key = c >= L'a' && c <= L'z' ? static_cast<Qt::Key>(c - L'a' + L'A') : static_cast<Qt::Key>(c);
        QTest::sendKeyEvent(QTest::Press, target, key, character, Qt::NoModifier);
        QTest::sendKeyEvent(QTest::Release, target, key, character, Qt::NoModifier);
    }
}

bool ChooseComboItem(CDialog& dialog, int id, int index)
{
    auto* box = qobject_cast<QComboBox*>(UsableWidget(dialog, id));
    if (box == nullptr || index < 0 || index >= box->count())
        return false;
    for (int step = 0; step <= box->count() && box->currentIndex() != index; ++step)
        QTest::keyClick(box, box->currentIndex() < index ? Qt::Key_Down : Qt::Key_Up);
    return box->currentIndex() == index;
}

void CloseWindow(CDialog& dialog)
{
    if (QWidget* window = WndAccess::Widget(dialog))
        window->close();
}

void RightDoubleClick(CDialog& dialog, UINT flags, CPoint point)
{
    QWidget* window = WndAccess::Widget(dialog);
    if (window == nullptr)
        return;
    const QPoint position(point.x, point.y);
    const Qt::KeyboardModifiers modifiers = ModifiersOf(flags);
    if (flags & MK_LBUTTON)
        QTest::mousePress(window, Qt::LeftButton, modifiers, position);
    QTest::mouseDClick(window, Qt::RightButton, modifiers, position);
    if (flags & MK_LBUTTON)
        QTest::mouseRelease(window, Qt::LeftButton, modifiers, position);
}

void PostClick(CDialog& dialog, int id)
{
    QWidget* widget = UsableWidget(dialog, id);
    if (widget == nullptr)
        return;
    const QPointF center = widget->rect().center();
    const QPointF global = widget->mapToGlobal(center);
    QCoreApplication::postEvent(widget, new QMouseEvent(QEvent::MouseButtonPress, center, global, Qt::LeftButton,
                                                        Qt::LeftButton, Qt::NoModifier));
    QCoreApplication::postEvent(widget, new QMouseEvent(QEvent::MouseButtonRelease, center, global, Qt::LeftButton,
                                                        Qt::NoButton, Qt::NoModifier));
}

void ProcessEvents()
{
    QCoreApplication::processEvents(QEventLoop::AllEvents);
}

std::optional<std::wstring> HoverToolTip(CDialog& dialog, int id)
{
    const CWnd* control = dialog.GetDlgItem(id);
    QWidget* widget = control ? WndAccess::Widget(*control) : nullptr;
    DialogWindow* window = DialogAccess::Window(dialog);
    if (widget == nullptr || window == nullptr || !widget->isVisible())
        return std::nullopt;
    const QPoint center = widget->rect().center();
    QHelpEvent event(QEvent::ToolTip, center, widget->mapToGlobal(center));
    QApplication::sendEvent(widget, &event);
    const QString shown = window->ShownToolTip();
    if (shown.isEmpty() || !QToolTip::isVisible() || QToolTip::text() != shown)
        return std::nullopt;
    return ToWide(shown);
}

std::vector<CMenu::Item> SystemMenuItems(CDialog& dialog)
{
    QMenu* menu = OpenSystemMenu(dialog);
    if (menu == nullptr)
        return {};
    std::vector<CMenu::Item> items;
    for (QAction* action : menu->actions()) {
        if (action->isSeparator())
            items.push_back({MF_SEPARATOR, 0, {}});
        else
            items.push_back({action->isEnabled() ? MF_STRING : MF_GRAYED, action->data().value<UINT>(), ToWide(action->text())});
    }
    menu->hide();
    return items;
}

bool ChooseSystemMenuItem(CDialog& dialog, UINT id)
{
    QMenu* menu = OpenSystemMenu(dialog);
    if (menu == nullptr)
        return false;
    for (QAction* action : menu->actions()) {
        if (action->isSeparator() || action->data().value<UINT>() != id || !action->isEnabled())
            continue;
        action->trigger();
        menu->hide();
        // The command was queued to run after the menu; run it now.
        QCoreApplication::sendPostedEvents(DialogAccess::Window(dialog), QEvent::MetaCall);
        return true;
    }
    menu->hide();
    return false;
}

COLORREF PixelAt(const CWnd& wnd, CPoint point)
{
    QWidget* widget = WndAccess::Widget(wnd);
    if (widget == nullptr)
        return 0;
    const QImage image = widget->grab(QRect(point.x, point.y, 1, 1)).toImage();
    if (image.isNull())
        return 0;
    const QRgb pixel = image.pixel(0, 0);
    return RGB(static_cast<unsigned>(qRed(pixel)), static_cast<unsigned>(qGreen(pixel)), static_cast<unsigned>(qBlue(pixel)));
}

bool SaveWindowImage(const CWnd& wnd, const std::string& path)
{
    QWidget* widget = WndAccess::Widget(wnd);
    return widget != nullptr && widget->grab().save(QString::fromStdString(path));
}

PaintCounter::PaintCounter(const CWnd& wnd) : m_filter(std::make_unique<PaintFilter>())
{
    if (QWidget* widget = WndAccess::Widget(wnd))
        widget->installEventFilter(m_filter.get());
}

PaintCounter::~PaintCounter() = default;

int PaintCounter::Count() const
{
    return static_cast<const PaintFilter*>(m_filter.get())->count;
}

} // namespace platform::ui::test
