#include "platform/ui/DialogWindow.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QContextMenuEvent>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QPushButton>
#include <QToolTip>

#include "platform/ui/DialogAccess.h"
#include "platform/ui/QtText.h"
#include "platform/ui/Static.h"
#include "platform/ui/WndAccess.h"

namespace platform::ui {
namespace {

UINT MouseKeyFlags(Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers)
{
    UINT flags = 0;
    if (buttons & Qt::LeftButton)
        flags |= MK_LBUTTON;
    if (buttons & Qt::RightButton)
        flags |= MK_RBUTTON;
    if (buttons & Qt::MiddleButton)
        flags |= MK_MBUTTON;
    if (modifiers & Qt::ShiftModifier)
        flags |= MK_SHIFT;
    if (modifiers & Qt::ControlModifier)
        flags |= MK_CONTROL;
    return flags;
}

} // namespace

DialogWindow::DialogWindow(CDialog& owner, QWidget* parent, Qt::WindowFlags flags)
    : QDialog(parent, flags), m_owner(owner)
{
}

void DialogWindow::keyPressEvent(QKeyEvent* event)
{
    const bool plain = (event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier;
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) && plain) {
        event->accept();
        // A focused push button is the default for the moment.
        int id = DialogAccess::DefaultButtonId(m_owner);
        if (auto* button = qobject_cast<QPushButton*>(focusWidget())) {
            if (CWnd* control = WndAccess::FromWidget(button); control && control->GetParent() == &m_owner)
                id = control->GetDlgCtrlID();
        }
        if (CWnd* control = m_owner.GetDlgItem(id); control && !control->IsWindowEnabled()) {
            QApplication::beep();
            return;
        }
        DialogAccess::RouteCommand(m_owner, id, BN_CLICKED);
        return;
    }
    if (event->key() == Qt::Key_Escape && plain) {
        event->accept();
        DialogAccess::RouteCommand(m_owner, IDCANCEL, BN_CLICKED);
        return;
    }
    QDialog::keyPressEvent(event);
}

// The window closes only through EndDialog; the Close button asks the
// dialog, as the window menu's Close command does.
void DialogWindow::closeEvent(QCloseEvent* event)
{
    event->ignore();
    DialogAccess::RouteSysCommand(m_owner, SC_CLOSE);
}

void DialogWindow::mouseDoubleClickEvent(QMouseEvent* event)
{
    if (event->button() != Qt::RightButton) {
        QDialog::mouseDoubleClickEvent(event);
        return;
    }
    // Static controls let the mouse through to the dialog; the others keep
    // their clicks.
    const QPoint point = event->position().toPoint();
    if (QWidget* child = childAt(point)) {
        CWnd* control = WndAccess::FromWidget(child);
        if (control && control != &m_owner && dynamic_cast<CStatic*>(control) == nullptr) {
            event->ignore();
            return;
        }
    }
    event->accept();
    DialogAccess::RouteRButtonDblClk(m_owner, MouseKeyFlags(event->buttons(), event->modifiers()), {point.x(), point.y()});
}

void DialogWindow::contextMenuEvent(QContextMenuEvent* event)
{
    const CMenu* menu = DialogAccess::SystemMenu(m_owner);
    if (menu == nullptr || menu->Items().empty() || DialogAccess::IsEnded(m_owner)) {
        event->ignore();
        return;
    }
    event->accept();
    delete m_menu;
    m_menu = new QMenu(this);
    for (const CMenu::Item& item : menu->Items()) {
        if ((item.flags & MF_SEPARATOR) != 0) {
            m_menu->addSeparator();
            continue;
        }
        QAction* action = m_menu->addAction(ToQString(item.text));
        action->setEnabled((item.flags & MF_GRAYED) == 0);
        const auto id = static_cast<UINT>(item.id);
        action->setData(QVariant::fromValue(id));
        // The command runs once the menu has closed, as a window-menu
        // command arrives after its menu has gone.
        connect(action, &QAction::triggered, this, [this, id] {
            QMetaObject::invokeMethod(this, [this, id] { DialogAccess::RouteSysCommand(m_owner, id); }, Qt::QueuedConnection);
        });
    }
    m_menu->popup(event->globalPos());
}

bool DialogWindow::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() != QEvent::ToolTip)
        return QDialog::eventFilter(watched, event);
    m_toolTip.clear();
    if (!DialogAccess::ToolTipsEnabled(m_owner))
        return QDialog::eventFilter(watched, event);
    auto* widget = qobject_cast<QWidget*>(watched);
    CWnd* tool = WndAccess::FromWidget(widget);
    if (tool == nullptr || tool == &m_owner)
        return QDialog::eventFilter(watched, event);
    const auto* help = static_cast<QHelpEvent*>(event);
    const auto text = DialogAccess::RouteToolTip(m_owner, *tool);
    if (text)
        m_toolTip = ToQString(*text);
    if (!m_toolTip.isEmpty())
        QToolTip::showText(help->globalPos(), m_toolTip, WndAccess::Widget(*tool));
    else
        QToolTip::hideText();
    return true;
}

} // namespace platform::ui
