#include "platform/ui/Wnd.h"

#include <QApplication>
#include <QFontMetrics>
#include <QIcon>
#include <QPixmap>
#include <QVariant>
#include <QWidget>
#include <algorithm>

#include "platform/ui/GraphicsAccess.h"
#include "platform/ui/QtText.h"
#include "platform/ui/WndAccess.h"

namespace platform::ui {
namespace {

// The property that leads from a widget to its handle.
constexpr char kHandleProperty[] = "tallowWnd";

} // namespace

void WndAccess::Attach(CWnd& wnd, QWidget* widget, CWnd* parent, int id, DWORD style)
{
    wnd.m_widget = widget;
    wnd.m_parent = parent;
    wnd.m_id = id;
    wnd.m_style = style;
    widget->setProperty(kHandleProperty, QVariant::fromValue(reinterpret_cast<quintptr>(&wnd)));
}

CWnd& WndAccess::AddChild(CWnd& parent, std::unique_ptr<CWnd> child)
{
    parent.m_children.push_back(std::move(child));
    return *parent.m_children.back();
}

void WndAccess::Detach(CWnd& wnd)
{
    for (auto& child : wnd.m_children)
        Detach(*child);
    wnd.m_children.clear();
    if (wnd.m_widget)
        wnd.m_widget->setProperty(kHandleProperty, QVariant());
    wnd.m_widget = nullptr;
}

CWnd* WndAccess::FromWidget(const QWidget* widget)
{
    for (; widget != nullptr; widget = widget->parentWidget()) {
        const QVariant handle = widget->property(kHandleProperty);
        if (handle.isValid())
            return reinterpret_cast<CWnd*>(handle.value<quintptr>());
    }
    return nullptr;
}

} // namespace platform::ui

using platform::ui::ToQString;
using platform::ui::ToWide;
using platform::ui::WndAccess;

CWnd::~CWnd() = default;

DWORD CWnd::GetStyle() const
{
    DWORD style = m_style & ~(WS_VISIBLE | WS_DISABLED);
    if (m_widget && !m_widget->isHidden())
        style |= WS_VISIBLE;
    if (m_widget && !m_widget->isEnabled())
        style |= WS_DISABLED;
    return style;
}

CWnd* CWnd::GetWindow(UINT relation) const
{
    if (relation == GW_CHILD)
        return m_children.empty() ? nullptr : m_children.front().get();
    if (relation != GW_HWNDNEXT || m_parent == nullptr)
        return nullptr;
    const auto& siblings = m_parent->m_children;
    auto self = std::find_if(siblings.begin(), siblings.end(), [this](const auto& child) { return child.get() == this; });
    if (self == siblings.end() || std::next(self) == siblings.end())
        return nullptr;
    return std::next(self)->get();
}

void CWnd::SetWindowText(std::wstring_view text)
{
    if (m_widget)
        m_widget->setWindowTitle(ToQString(text));
}

std::wstring CWnd::GetWindowText() const
{
    return m_widget ? ToWide(m_widget->windowTitle()) : std::wstring{};
}

BOOL CWnd::EnableWindow(BOOL enable)
{
    if (!m_widget)
        return FALSE;
    const BOOL wasDisabled = m_widget->isEnabled() ? FALSE : TRUE;
    m_widget->setEnabled(enable != FALSE);
    return wasDisabled;
}

BOOL CWnd::ShowWindow(int command)
{
    if (!m_widget)
        return FALSE;
    const BOOL wasVisible = m_widget->isHidden() ? FALSE : TRUE;
    m_widget->setVisible(command != SW_HIDE);
    return wasVisible;
}

BOOL CWnd::IsWindowEnabled() const
{
    return m_widget && m_widget->isEnabled() ? TRUE : FALSE;
}

BOOL CWnd::IsWindowVisible() const
{
    return m_widget && m_widget->isVisible() ? TRUE : FALSE;
}

CWnd* CWnd::SetFocus()
{
    CWnd* previous = GetFocus();
    if (m_widget)
        m_widget->setFocus(Qt::OtherFocusReason);
    return previous;
}

CWnd* CWnd::GetFocus()
{
    if (QApplication::instance() == nullptr)
        return nullptr;
    QWidget* focus = QApplication::focusWidget();
    // Before the window system has activated a new dialog, its focus is
    // known only to the dialog.
    if (focus == nullptr) {
        if (QWidget* modal = QApplication::activeModalWidget())
            focus = modal->focusWidget();
    }
    return WndAccess::FromWidget(focus);
}

void CWnd::SetFont(const CFont& font, BOOL redraw)
{
    const QFont* qfont = platform::ui::GraphicsAccess::Font(font);
    if (!m_widget || !qfont)
        return;
    m_widget->setFont(*qfont);
    if (redraw)
        m_widget->update();
}

CFont CWnd::GetFont() const
{
    CFont font;
    if (m_widget)
        platform::ui::GraphicsAccess::SetFont(font, m_widget->font());
    return font;
}

CSize CWnd::GetTextExtent(std::wstring_view text) const
{
    if (!m_widget)
        return {};
    const QFontMetrics metrics(m_widget->font());
    return {metrics.horizontalAdvance(ToQString(text)), metrics.height()};
}

CRect CWnd::GetClientRect() const
{
    if (!m_widget)
        return {};
    return {0, 0, m_widget->width(), m_widget->height()};
}

CRect CWnd::GetWindowRect() const
{
    if (!m_widget)
        return {};
    if (m_widget->isWindow()) {
        const QRect frame = m_widget->frameGeometry();
        return {frame.left(), frame.top(), frame.left() + frame.width(), frame.top() + frame.height()};
    }
    const QPoint origin = m_widget->mapToGlobal(QPoint(0, 0));
    return {origin.x(), origin.y(), origin.x() + m_widget->width(), origin.y() + m_widget->height()};
}

void CWnd::ScreenToClient(CRect& rect) const
{
    CPoint topLeft{rect.left, rect.top};
    CPoint bottomRight{rect.right, rect.bottom};
    ScreenToClient(topLeft);
    ScreenToClient(bottomRight);
    rect = {topLeft.x, topLeft.y, bottomRight.x, bottomRight.y};
}

void CWnd::ScreenToClient(CPoint& point) const
{
    if (!m_widget)
        return;
    const QPoint local = m_widget->mapFromGlobal(QPoint(point.x, point.y));
    point = {local.x(), local.y()};
}

void CWnd::SetIcon(const CIcon& icon, BOOL)
{
    const QImage* image = platform::ui::GraphicsAccess::Image(icon);
    if (m_widget && image)
        m_widget->setWindowIcon(QIcon(QPixmap::fromImage(*image)));
}

void CWnd::UpdateWindow()
{
    if (m_widget && m_widget->isVisible())
        m_widget->repaint();
}
