#pragma once
// What tallowctl's three commands do, apart from the process around them:
// they reach the printer through a port factory, report progress and take
// cancellation through an observer, and write to the two streams given, so
// in-process tests can drive them with scripted ports and a manual clock.

#include "cli/Arguments.h"
#include "cli/ExitCode.h"
#include "ports/PortFactory.h"
#include "update/InstallSession.h"

#include <functional>
#include <iosfwd>
#include <string_view>

struct ToolContext {
    std::ostream& out; // the status text, the check's lines, or the one JSON object
    std::ostream& err; // the installer's messages
    std::function<InstallPort(int portType, DWORD hostAddress)> createPort = CreatePortForInstall;
    // Progress of the install sequence and Ctrl-C; nullptr for neither.
    IInstallObserver* observer = nullptr;
};

ExitCode RunCommand(const Options& options, ToolContext& context);

// "CHECK_OK" for CHECK_OK, and so on; "CHECK_?" for a value outside the enumeration.
std::string_view CheckResultName(CHECK_RESULT result);
