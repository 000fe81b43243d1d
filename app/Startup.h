#pragma once
// The installer's start-up without its window: the single-instance rule,
// the socket layer, the command line, and the exit code. The application
// object runs it from InitInstance and plugs in what needs the window
// system (the main dialog and the message box of a second copy), so start-up
// runs and is tested without a display.
//
// The order: take the mutex (a second copy stops here with
// ALREADY_RUNNING); prepare the windowing; record whether sockets work; read
// the command line; run the main dialog, whose result is the exit code. An
// EXITCODE thrown while reading the command line or running the dialog
// becomes the exit code, silently.

#include <functional>
#include <optional>
#include <span>
#include <string>

#include "app/ExitCode.h"
#include "platform/core/SystemError.h"
#include "platform/core/WinTypes.h"
#include "platform/sync/NamedMutex.h"

// The single-instance mutex. It bears the application title's text but does
// not follow the string resource: every build and language of the installer
// must exclude every other.
inline constexpr wchar_t kInstanceMutexName[] = L"Corvex Firmware Installer";

// What the main dialog receives between its construction and DoModal.
struct DialogHandOff {
    BOOL bSocketsReady = 0;
    // The command line named the printer: by address (dwGivenAddress, host
    // byte order, 0 when the text is no valid address) or as a USB printer
    // (strGivenUsb).
    BOOL bPortGiven = 0;
    DWORD dwGivenAddress = 0;
    std::wstring strGivenUsb;

    friend bool operator==(const DialogHandOff&, const DialogHandOff&) = default;
};

struct StartupHooks {
    // Shows message 169 (stop icon, OK) when another copy runs (`failure`
    // null) or the mutex could not be created (`failure` says why; the user
    // sees the same message). May be empty.
    std::function<void(const platform::SystemError* failure)> showAlreadyRunning;
    // The window system's set-up that belongs between the mutex and the
    // sockets (the common controls, the framework's own start-up). May be
    // empty.
    std::function<void()> prepareWindowing;
    // Whether sockets can be used; StartSocketLayer when empty.
    std::function<BOOL()> startSockets;
    // Constructs the main dialog, hands `handOff` over, runs it modally and
    // returns its result (-1 when the window cannot be created). May throw
    // EXITCODE. Required.
    std::function<int(const DialogHandOff& handOff)> runMainDialog;
};

struct [[nodiscard]] StartupOutcome {
    int nExitCode = TallowExitCode::STARTUP_FAILED;
    // The single-instance mutex when this copy took it. The caller keeps it
    // until the process ends (the application object's member); letting it
    // go earlier would let a second copy start.
    std::optional<platform::NamedMutex> instanceMutex;
};

// `arguments` is the wide argument vector, the program first.
StartupOutcome RunStartup(std::span<const std::wstring> arguments, const StartupHooks& hooks);
