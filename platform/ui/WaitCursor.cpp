#include "platform/ui/WaitCursor.h"

#include <QCursor>
#include <QGuiApplication>

CWaitCursor::CWaitCursor()
{
    if (QGuiApplication::instance() == nullptr)
        return;
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    m_shown = true;
}

CWaitCursor::~CWaitCursor()
{
    if (m_shown && QGuiApplication::instance() != nullptr)
        QGuiApplication::restoreOverrideCursor();
}

void CWaitCursor::Restore()
{
    if (m_shown && QGuiApplication::instance() != nullptr)
        QGuiApplication::changeOverrideCursor(Qt::WaitCursor);
}

namespace platform::ui {

bool IsWaitCursorShown()
{
    if (QGuiApplication::instance() == nullptr)
        return false;
    const QCursor* cursor = QGuiApplication::overrideCursor();
    return cursor != nullptr && cursor->shape() == Qt::WaitCursor;
}

} // namespace platform::ui
