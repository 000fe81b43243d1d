// The installer program. main stands in for the framework's start-up: it
// opens the window system, keeps the windows painted while sockets block,
// and runs the one application object.

#include <clocale>
#include <iostream>
#include <optional>

#include "app/CommandLine.h"
#include "app/MessageBoxLog.h"
#include "app/TallowApp.h"
#include "platform/ui/Application.h"
#include "platform/ui/SocketRepaintHook.h"

namespace {

CTallowApp theApp;

} // namespace

int main(int argc, char** argv)
{
    // The command line and the messages are in the user's terms.
    if (!std::setlocale(LC_ALL, ""))
        std::setlocale(LC_CTYPE, "C.UTF-8");
    // Taken before the toolkit sees argv: it removes the options it knows
    // (-reverse, -style ...), which the installer's grammar must still see.
    theApp.SetArguments(WideArguments(argc, argv));

    platform::ui::Application application(argc, argv);
    auto repaintHook = platform::ui::InstallSocketRepaintHook();

    std::optional<CMessageBoxLog> boxLog;
    std::optional<platform::ui::ScopedMessagePresenter> boxLogScope;
    if (CMessageBoxLog::Requested()) {
        boxLog.emplace(std::cerr);
        boxLogScope.emplace(*boxLog);
    }

    theApp.InitInstance();
    return theApp.ExitInstance();
}
