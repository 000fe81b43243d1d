// tallowctl: the installer's update engine without its window. main wires
// the pieces: the command line, the build's own port type, Ctrl-C, the
// terminal's progress line and the commands.

#include "cli/Arguments.h"
#include "cli/Commands.h"
#include "cli/Json.h"
#include "cli/TerminalProgress.h"
#include "platform/process/Interrupt.h"
#include "platform/resources/Resources.h"
#include "platform/text/Text.h"
#include "ports/PortType.h"
#include "resources/ResourceIds.h"

#include <unistd.h>

#include <clocale>
#include <iostream>
#include <optional>
#include <string>
#include <vector>

namespace {

class ConsoleObserver final : public IInstallObserver {
public:
    ConsoleObserver(platform::InterruptRequests& interrupts, CTerminalProgress* terminal)
        : m_interrupts(interrupts), m_terminal(terminal)
    {
    }

    void OnProgress(const InstallProgress& progress) override
    {
        if (progress.phase == InstallPhase::Sending && progress.bytesSent == 0) {
            m_interrupts.Commit("\ntallowctl: the firmware is on its way to the printer; waiting for it to be "
                                "installed. Ctrl-C again ends tallowctl without waiting.");
        }
        if (m_terminal)
            m_terminal->Show(progress);
    }

    void OnFinished(InstallOutcome) override
    {
        if (m_terminal)
            m_terminal->Finish();
    }

    bool CancelRequested() override { return m_interrupts.Requested(); }

private:
    platform::InterruptRequests& m_interrupts;
    CTerminalProgress* m_terminal;
};

int Refuse(const ParsedArguments& parsed)
{
    if (parsed.portRefused) {
        if (std::optional<std::wstring> message = platform::LoadString(ids::IDS_ILLEGAL_PARAMETER))
            std::cerr << platform::WideToAnsi(*message) << '\n';
    }
    std::cerr << "tallowctl: " << parsed.error << "\n\n" << kUsage;
    if (parsed.options.json) {
        JsonObject json;
        json.Text("outcome", "bad_arguments");
        json.Number("exit_code", static_cast<int>(ExitCode::BadArguments));
        json.Text("error", parsed.error);
        std::cout << json.Str() << '\n';
    }
    return static_cast<int>(ExitCode::BadArguments);
}

} // namespace

int main(int argc, char** argv)
{
    // The messages and the printer's text go out in the user's encoding. A
    // locale that is named but not installed would leave plain ASCII, and
    // every Japanese message would come out as question marks; UTF-8 is
    // what such a user's terminal almost surely speaks.
    if (!std::setlocale(LC_ALL, ""))
        std::setlocale(LC_CTYPE, "C.UTF-8");

    const std::vector<std::string> args(argv + (argc > 0 ? 1 : 0), argv + argc);
    const ParsedArguments parsed = ParseArguments(args, GetProductPortType());
    if (parsed.kind == ParsedArguments::Kind::Help) {
        std::cout << kUsage;
        return static_cast<int>(ExitCode::Success);
    }
    if (parsed.kind == ParsedArguments::Kind::Error)
        return Refuse(parsed);

    // Ctrl-C becomes a request only for install, the one command that must
    // not stop half-way; status and check end at once as any program does.
    std::optional<platform::InterruptRequests> interrupts;
    std::optional<platform::InterruptibleClock> clock;
    std::optional<platform::ScopedClock> scopedClock;
    std::optional<CTerminalProgress> terminal;
    std::optional<ConsoleObserver> observer;
    ToolContext context{std::cout, std::cerr};
    if (parsed.options.command == Command::Install) {
        interrupts.emplace();
        clock.emplace(*interrupts);
        scopedClock.emplace(*clock);
        if (::isatty(STDERR_FILENO))
            terminal.emplace(std::cerr);
        observer.emplace(*interrupts, terminal ? &*terminal : nullptr);
        context.observer = &*observer;
    }
    return static_cast<int>(RunCommand(parsed.options, context));
}
