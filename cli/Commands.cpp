#include "cli/Commands.h"

#include "cli/Json.h"
#include "cli/StatusTap.h"
#include "image/PufImage.h"
#include "platform/core/System.h"
#include "platform/resources/Resources.h"
#include "platform/text/Format.h"
#include "platform/text/Text.h"
#include "ports/PortType.h"
#include "resources/ResourceIds.h"
#include "update/StatusReply.h"
#include "update/UpdaterSetup.h"

#include <array>
#include <memory>
#include <optional>
#include <ostream>
#include <string>

namespace {

// How a run ended, before it is told to the user and to the caller.
enum class Outcome {
    Ok,
    Installed,
    Cancelled,
    PrinterNotFound,
    WrongModel,
    VersionUnreadable,
    UpToDate,
    NotReady,
    SendFailed,
    InstallFailed,
    TimedOut,
    ConfigurationMissing,
    ImageUnusable,
};

struct OutcomeRow {
    Outcome outcome;
    std::string_view name; // the JSON "outcome"
    ExitCode exitCode;
};

constexpr std::array<OutcomeRow, 13> kOutcomes{{
    {Outcome::Ok, "ok", ExitCode::Success},
    {Outcome::Installed, "installed", ExitCode::Success},
    {Outcome::Cancelled, "cancelled", ExitCode::Cancelled},
    {Outcome::PrinterNotFound, "printer_not_found", ExitCode::Failed},
    {Outcome::WrongModel, "wrong_model", ExitCode::Failed},
    // The installer answers a missing version as it answers an up-to-date
    // printer (message 164 with "---"), but for a script nothing says the
    // printer is up to date, so it is a failure to identify the printer.
    {Outcome::VersionUnreadable, "version_unreadable", ExitCode::Failed},
    {Outcome::UpToDate, "up_to_date", ExitCode::NothingToInstall},
    {Outcome::NotReady, "not_ready", ExitCode::Failed},
    {Outcome::SendFailed, "send_failed", ExitCode::Failed},
    {Outcome::InstallFailed, "install_failed", ExitCode::Failed},
    {Outcome::TimedOut, "timed_out", ExitCode::Failed},
    {Outcome::ConfigurationMissing, "configuration_missing", ExitCode::ImageUnusable},
    {Outcome::ImageUnusable, "image_unusable", ExitCode::ImageUnusable},
}};

const OutcomeRow& RowOf(Outcome outcome)
{
    for (const OutcomeRow& row : kOutcomes) {
        if (row.outcome == outcome)
            return row;
    }
    return kOutcomes.front(); // unreachable: every value has a row
}

struct NoObserver final : IInstallObserver {
    void OnProgress(const InstallProgress&) override {}
};

// What the printer said about itself; a value it did not report is absent.
struct Identity {
    std::optional<std::wstring> model;
    std::optional<int> version; // hundredths; -1 when VER was there but unreadable or missing
};

// What CheckPrinter read, judged by how far it got.
Identity IdentityFromCheck(const CUpdater& updater, CHECK_RESULT result)
{
    Identity identity;
    const bool readModel = result == CHECK_OK || result == CHECK_VERSION ||
                           (result == CHECK_WRONG_MODEL && !updater.m_strPrinterModel.empty());
    if (readModel)
        identity.model = updater.m_strPrinterModel;
    if (result == CHECK_OK || result == CHECK_VERSION)
        identity.version = updater.m_nPrinterVersion;
    return identity;
}

Identity IdentityFromReply(const std::optional<std::wstring>& text)
{
    Identity identity;
    CStatusReply reply;
    if (!text || !reply.Parse(*text))
        return identity;
    identity.model = reply.Lookup(L"MDL");
    identity.version = reply.GetVersion();
    return identity;
}

JsonObject IdentityJson(const Identity& identity)
{
    JsonObject json;
    json.OptionalText("model", identity.model);
    if (identity.version && *identity.version >= 0)
        json.Text("version", FormatVersion(*identity.version));
    else
        json.Null("version");
    return json;
}

void OptionalCheck(JsonObject& json, std::string_view key, std::optional<CHECK_RESULT> result)
{
    if (result)
        json.Text(key, CheckResultName(*result));
    else
        json.Null(key);
}

void WriteLine(std::ostream& stream, std::wstring_view text)
{
    stream << platform::WideToAnsi(text) << '\n';
}

// Everything one run found out, for the message, the lines and the JSON.
struct Run {
    explicit Run(const Options& given) : options(given) {}

    const Options& options;
    Outcome outcome = Outcome::Ok;
    std::optional<std::wstring> statusText;
    std::optional<CHECK_RESULT> printerCheck;
    std::optional<CHECK_RESULT> readyCheck;
    std::optional<CHECK_RESULT> lastPoll;
    Identity before;
    Identity after;
    DWORD bytesSent = 0;
    DWORD bytesTotal = 0;
    int polls = 0;
    std::chrono::milliseconds elapsed{0};
};

Outcome OutcomeOfSetUp(UpdaterSetup setup)
{
    switch (setup) {
    case UpdaterSetup::Ready:
        return Outcome::Ok;
    case UpdaterSetup::ConfigurationMissing:
        return Outcome::ConfigurationMissing;
    case UpdaterSetup::ImageNotLoaded:
    case UpdaterSetup::ImageMismatch:
        break;
    }
    return Outcome::ImageUnusable;
}

Outcome OutcomeOfPrinterCheck(CHECK_RESULT result, const Identity& identity)
{
    switch (result) {
    case CHECK_OK:
        return Outcome::Ok;
    case CHECK_UNREADABLE:
    case CHECK_NO_REPLY:
        return Outcome::PrinterNotFound;
    case CHECK_WRONG_MODEL:
        return Outcome::WrongModel;
    case CHECK_VERSION:
        return identity.version.value_or(-1) < 0 ? Outcome::VersionUnreadable : Outcome::UpToDate;
    default:
        return Outcome::PrinterNotFound;
    }
}

Outcome OutcomeOfSession(InstallOutcome outcome)
{
    switch (outcome) {
    case InstallOutcome::Installed:
        return Outcome::Installed;
    case InstallOutcome::SendFailed:
        return Outcome::SendFailed;
    case InstallOutcome::InstallFailed:
        return Outcome::InstallFailed;
    case InstallOutcome::TimedOut:
        return Outcome::TimedOut;
    case InstallOutcome::Cancelled:
        return Outcome::Cancelled;
    }
    return Outcome::InstallFailed;
}

// The installer's own message for the outcome, in the user's language.
std::optional<std::wstring> MessageFor(const Run& run)
{
    auto load = [](unsigned id) { return platform::LoadString(id); };
    auto format = [](unsigned id, std::wstring_view argument) -> std::optional<std::wstring> {
        std::optional<std::wstring> text = platform::LoadString(id);
        if (!text)
            return std::nullopt;
        return platform::Format(*text, {argument});
    };
    switch (run.outcome) {
    case Outcome::Ok:
    case Outcome::Cancelled:
        return std::nullopt;
    case Outcome::Installed:
        return load(ids::IDS_INSTALLED);
    case Outcome::PrinterNotFound:
        return load(IsUsbFamily(run.options.portType) ? ids::IDS_NO_PRINTER_USB : ids::IDS_NO_PRINTER_NETWORK);
    case Outcome::WrongModel:
        return format(ids::IDS_WRONG_MODEL, run.before.model.value_or(L""));
    case Outcome::VersionUnreadable:
    case Outcome::UpToDate:
        return format(ids::IDS_UP_TO_DATE, FormatVersion(run.before.version.value_or(-1)));
    case Outcome::NotReady:
        return load(ids::IDS_NOT_READY);
    case Outcome::SendFailed:
        return load(ids::IDS_SEND_FAILED);
    case Outcome::InstallFailed:
        return load(ids::IDS_INSTALL_FAILED);
    case Outcome::TimedOut:
        // A printer reached through Quill may show "SUM ERROR" on its panel
        // after a failed flash; only it gets the message that says what then.
        return load(run.options.portType == PORT_TYPE_ETHERNET4 ? ids::IDS_INSTALL_FAILED_SUM
                                                                : ids::IDS_INSTALL_FAILED);
    case Outcome::ConfigurationMissing:
        return load(ids::IDS_FATAL_ERROR);
    case Outcome::ImageUnusable:
        return load(ids::IDS_CORRUPTED);
    }
    return std::nullopt;
}

std::optional<std::string> AddressText(const Options& options)
{
    if (IsUsbFamily(options.portType))
        return std::nullopt;
    return platform::sys::FormatIpv4(HostToNetworkAddress(options.hostAddress));
}

JsonObject ResultJson(const Run& run)
{
    const OutcomeRow& row = RowOf(run.outcome);
    JsonObject json;
    json.Text("command", CommandName(run.options.command));
    json.Text("outcome", row.name);
    json.Number("exit_code", static_cast<int>(row.exitCode));
    json.Text("port_type", PortTypeText(run.options.portType));
    if (const std::optional<std::string> address = AddressText(run.options))
        json.Text("address", *address);
    else
        json.Null("address");

    switch (run.options.command) {
    case Command::Status:
        json.OptionalText("status", run.statusText);
        break;
    case Command::Check: {
        JsonObject checks;
        OptionalCheck(checks, "printer", run.printerCheck);
        json.Object("checks", checks);
        json.Object("printer", IdentityJson(run.before));
        break;
    }
    case Command::Install: {
        JsonObject checks;
        OptionalCheck(checks, "printer", run.printerCheck);
        OptionalCheck(checks, "ready", run.readyCheck);
        OptionalCheck(checks, "last_poll", run.lastPoll);
        json.Object("checks", checks);
        json.Object("before", IdentityJson(run.before));
        json.Object("after", IdentityJson(run.after));
        json.Number("bytes_sent", run.bytesSent);
        json.Number("bytes_total", run.bytesTotal);
        json.Number("polls", run.polls);
        json.Number("max_polls", CInstallSession::kMaxPolls);
        json.Number("elapsed_ms", run.elapsed.count());
        break;
    }
    }
    return json;
}

// The lines a person reads on standard output without --json.
void WriteLines(const Run& run, std::ostream& out)
{
    switch (run.options.command) {
    case Command::Status:
        if (run.statusText)
            WriteLine(out, *run.statusText);
        break;
    case Command::Check:
        if (run.printerCheck)
            out << "result: " << CheckResultName(*run.printerCheck) << '\n';
        if (run.before.model)
            WriteLine(out, L"model: " + *run.before.model);
        if (run.before.version)
            WriteLine(out, L"version: " + FormatVersion(*run.before.version));
        break;
    case Command::Install:
        // The installer's message on standard error says it all.
        break;
    }
}

void RunStatus(Run& run, ToolContext& context)
{
    InstallPort made = context.createPort(run.options.portType, run.options.hostAddress);
    std::wstring text;
    if (!made.port || !made.port->QueryStatus(text)) {
        run.outcome = Outcome::PrinterNotFound;
        return;
    }
    run.statusText = std::move(text);
}

// Creates the port and runs CheckPrinter on a set-up driver; false when the
// run has its outcome already.
bool CheckPrinter(Run& run, ToolContext& context, CUpdater& updater, const LastStatus& last)
{
    InstallPort made = context.createPort(run.options.portType, run.options.hostAddress);
    std::unique_ptr<CPort> port;
    if (made.port)
        port = std::make_unique<CStatusTapPort>(std::move(made.port), last);
    const CHECK_RESULT result = updater.CheckPrinter(port, made.statusFormat);
    run.printerCheck = result;
    run.before = IdentityFromCheck(updater, result);
    run.outcome = OutcomeOfPrinterCheck(result, run.before);
    return run.outcome == Outcome::Ok;
}

void RunCheck(Run& run, ToolContext& context)
{
    CUpdater updater;
    run.outcome = OutcomeOfSetUp(SetUpUpdater(updater));
    if (run.outcome != Outcome::Ok)
        return;
    CheckPrinter(run, context, updater, std::make_shared<std::optional<std::wstring>>());
}

void RunInstall(Run& run, ToolContext& context, IInstallObserver& observer)
{
    CUpdater updater;
    run.outcome = OutcomeOfSetUp(SetUpUpdater(updater));
    if (run.outcome != Outcome::Ok)
        return;
    run.bytesTotal = updater.m_pImage->m_nSize;
    if (observer.CancelRequested()) {
        run.outcome = Outcome::Cancelled;
        return;
    }
    LastStatus last = std::make_shared<std::optional<std::wstring>>();
    if (!CheckPrinter(run, context, updater, last))
        return;
    if (observer.CancelRequested()) {
        run.outcome = Outcome::Cancelled;
        return;
    }

    const CHECK_RESULT ready = updater.CheckReady();
    run.readyCheck = ready;
    if (ready == CHECK_NOT_READY) {
        run.outcome = Outcome::NotReady;
        return;
    }
    if (ready != CHECK_OK && ready != CHECK_IPL_MODE) {
        run.outcome = Outcome::SendFailed;
        return;
    }

    CInstallSession session(updater, observer);
    run.outcome = OutcomeOfSession(session.Run());
    run.bytesSent = session.BytesSent();
    run.polls = session.Polls();
    run.lastPoll = session.LastPollResult();
    if (run.polls > 0)
        run.after = IdentityFromReply(*last);
}

} // namespace

std::string_view CheckResultName(CHECK_RESULT result)
{
    static constexpr std::array<std::string_view, 7> kNames{
        "CHECK_OK",      "CHECK_UNREADABLE", "CHECK_NO_REPLY", "CHECK_WRONG_MODEL",
        "CHECK_VERSION", "CHECK_NOT_READY",  "CHECK_IPL_MODE",
    };
    const int index = static_cast<int>(result);
    if (index < 0 || index >= static_cast<int>(kNames.size()))
        return "CHECK_?";
    return kNames[static_cast<std::size_t>(index)];
}

ExitCode RunCommand(const Options& options, ToolContext& context)
{
    NoObserver silent;
    IInstallObserver& observer = context.observer ? *context.observer : silent;
    Run run(options);
    const platform::Clock::TimePoint start = platform::CurrentClock().Now();
    switch (options.command) {
    case Command::Status:
        RunStatus(run, context);
        break;
    case Command::Check:
        RunCheck(run, context);
        break;
    case Command::Install:
        RunInstall(run, context, observer);
        break;
    }
    run.elapsed = platform::CurrentClock().Now() - start;

    if (std::optional<std::wstring> message = MessageFor(run))
        WriteLine(context.err, *message);
    if (options.json)
        context.out << ResultJson(run).Str() << '\n';
    else
        WriteLines(run, context.out);
    context.out.flush();
    return RowOf(run.outcome).exitCode;
}
