#pragma once
// The application object: start-up, the main dialog, the exit code.
//
// InitInstance does all the work and always returns FALSE, so no message
// loop of the application's own runs; ExitInstance then returns the exit
// code (TallowExitCode::EXITCODE, or -1 when the main window could not be
// created). See app/Startup.h for the order of the steps.

#include <optional>
#include <string>
#include <vector>

#include "app/ExitCode.h"
#include "platform/sync/NamedMutex.h"
#include "platform/ui/Wnd.h"

class CTallowApp {
public:
    CTallowApp() = default;
    CTallowApp(const CTallowApp&) = delete;
    CTallowApp& operator=(const CTallowApp&) = delete;

    // The wide argument vector, the program first; what the framework would
    // hand over from the process's command line.
    void SetArguments(std::vector<std::wstring> arguments) { m_arguments = std::move(arguments); }

    BOOL InitInstance();
    int ExitInstance();

    // The main dialog while it runs.
    CWnd* m_pMainWnd = nullptr;

private:
    int m_nExitCode = TallowExitCode::STARTUP_FAILED;
    std::vector<std::wstring> m_arguments;
    // The single-instance mutex, kept until the process ends: releasing it
    // earlier would let a second copy start.
    std::optional<platform::NamedMutex> m_instanceMutex;
};
