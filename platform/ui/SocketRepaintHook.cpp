#include "platform/ui/SocketRepaintHook.h"

#include <QApplication>
#include <QEvent>
#include <QWidget>

namespace platform::ui {

void RepaintWhileWaiting()
{
    if (qobject_cast<QApplication*>(QCoreApplication::instance()) == nullptr)
        return;
    // A widget whose text changed has posted itself an update request;
    // sending only those events paints it without dispatching anything else.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::UpdateRequest);
    // A window uncovered meanwhile learns of it by an expose event, which
    // cannot be taken out of the queue alone: repaint whole windows now and
    // then instead.
    static unsigned calls = 0;
    if (++calls % 10 != 0)
        return;
    for (QWidget* window : QApplication::topLevelWidgets()) {
        if (window->isVisible())
            window->repaint();
    }
}

ScopedSocketWaitHook InstallSocketRepaintHook()
{
    return ScopedSocketWaitHook(RepaintWhileWaiting);
}

} // namespace platform::ui
