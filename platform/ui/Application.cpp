#include "platform/ui/Application.h"

#include <QApplication>
#include <cstdlib>

namespace platform::ui {
namespace {

bool IsSet(const char* name)
{
    const char* value = std::getenv(name);
    return value != nullptr && *value != '\0';
}

} // namespace

bool HasDisplay()
{
    return IsSet("QT_QPA_PLATFORM") || IsSet("DISPLAY") || IsSet("WAYLAND_DISPLAY");
}

Application::Application(int& argc, char** argv)
{
    if (QCoreApplication::instance() != nullptr || !HasDisplay())
        return;
    m_app = std::make_unique<QApplication>(argc, argv);
    // The program's dialogs run their own modal loops; closing the last
    // window must not end a loop that nobody started.
    QApplication::setQuitOnLastWindowClosed(false);
}

Application::~Application() = default;

bool Application::IsReady() const
{
    return qobject_cast<QApplication*>(QCoreApplication::instance()) != nullptr;
}

} // namespace platform::ui
