#include "app/Startup.h"

#include <new>
#include <utility>

#include "app/AddressFromText.h"
#include "app/CommandLine.h"
#include "app/SocketStartup.h"

namespace {

DialogHandOff MakeHandOff(BOOL bSocketsReady, const CommandLineValues& values)
{
    DialogHandOff handOff;
    handOff.bSocketsReady = bSocketsReady;
    if (!values.strAddress.empty()) {
        handOff.dwGivenAddress = AddressFromText(values.strAddress);
        handOff.bPortGiven = 1;
    }
    if (!values.strUsb.empty()) {
        handOff.strGivenUsb = values.strUsb;
        handOff.bPortGiven = 1;
    }
    return handOff;
}

} // namespace

StartupOutcome RunStartup(std::span<const std::wstring> arguments, const StartupHooks& hooks)
{
    StartupOutcome outcome;

    auto mutex = platform::NamedMutex::CreateOwned(kInstanceMutexName);
    if (!mutex || mutex->AlreadyExists()) {
        if (hooks.showAlreadyRunning)
            hooks.showAlreadyRunning(mutex ? nullptr : &mutex.Error());
        outcome.nExitCode = TallowExitCode::ALREADY_RUNNING;
        return outcome;
    }
    outcome.instanceMutex.emplace(std::move(*mutex));

    try {
        if (hooks.prepareWindowing)
            hooks.prepareWindowing();
        const BOOL bSocketsReady = hooks.startSockets ? hooks.startSockets() : StartSocketLayer();
        const CommandLineValues values = ReadCommandLine(arguments);
        outcome.nExitCode = hooks.runMainDialog(MakeHandOff(bSocketsReady, values));
    } catch (TallowExitCode::EXITCODE code) {
        outcome.nExitCode = code;
    } catch (const std::bad_alloc&) {
        // The dialog reports memory it runs out of itself; what escapes to
        // here leaves the program unable to start.
        outcome.nExitCode = TallowExitCode::STARTUP_FAILED;
    }
    return outcome;
}
