// tallowctl's commands in-process, with the build's own image and
// configuration, a scripted printer and the manual clock: the exit code, the
// installer's message and the JSON object for each way a run can end.
// Runs with LANGUAGE=en, so the messages are the English texts.

#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "cli/Commands.h"
#include "image/PufImage.h"
#include "platform/resources/Resources.h"
#include "platform/time/Clock.h"
#include "ports/PortType.h"
#include "resources/ResourceIds.h"
#include "tests/support/MiniJson.h"
#include "tests/support/ScriptedPort.h"

namespace {

using testsupport::Json;
using testsupport::PortJournal;
using testsupport::ScriptedPort;
using Op = PortJournal::Op;

// Records format (Ethernet2 to 4): a type-1 record with the status code.
const wchar_t kReady[] = L"MDL:KX-70;VER:1.10;MODE:NORMAL;STATUS:010880000000;";
const wchar_t kNotReady[] = L"MDL:KX-70;VER:1.10;MODE:NORMAL;STATUS:010800000000;";
const wchar_t kInstalled[] = L"MDL:KX-70;VER:1.20;MODE:NORMAL;STATUS:010800000000;";

const char kSendFailed[] =
    "Failed to send firmware.\nTurn off main power switch and turn it on,\nthen try installation again.\n";
const char kInstallFailed[] =
    "Failed to install firmware.\nTurn off main power switch and turn it on,\nthen try installation again.\n";

DWORD PayloadSize()
{
    CPufImage image;
    return image.Load(ids::IDR_FIRMWARE, ids::RT_FIRMWARE) ? image.m_nSize : 0;
}

struct Cancel final : IInstallObserver {
    void OnProgress(const InstallProgress&) override {}
    bool CancelRequested() override { return fromAsk != 0 && ++asked >= fromAsk; }
    int fromAsk = 0;
    int asked = 0;
};

// One run of a command against one scripted printer.
struct Outcome {
    ExitCode exitCode;
    std::string out;
    std::string err;
    std::shared_ptr<const PortJournal> journal;
    int portsMade = 0;
};

Outcome RunAgainst(std::unique_ptr<ScriptedPort> port, Options options, IInstallObserver* observer = nullptr)
{
    platform::ManualClock clock;
    platform::ScopedClock scoped(clock);
    std::ostringstream out;
    std::ostringstream err;
    Outcome outcome{ExitCode::Success, "", "", port->Journal()};
    ToolContext context{out, err};
    context.observer = observer;
    context.createPort = [&](int portType, DWORD) {
        ++outcome.portsMade;
        return InstallPort{std::move(port), StatusFormatForPortType(portType)};
    };
    outcome.exitCode = RunCommand(options, context);
    outcome.out = out.str();
    outcome.err = err.str();
    return outcome;
}

Options Install(int portType = PORT_TYPE_ETHERNET2)
{
    Options options;
    options.command = Command::Install;
    options.portType = portType;
    options.hostAddress = IsUsbFamily(portType) ? 0 : 0x0A000001;
    options.json = true;
    return options;
}

TEST(TallowctlInstall, EachEndHasItsExitCodeMessageAndJson)
{
    struct Row {
        const char* name;
        std::vector<std::optional<std::wstring>> replies;
        bool repeatLast;
        BOOL entry;
        int portType;
        ExitCode exitCode;
        const char* outcome;
        std::string message; // on standard error, exactly
        std::optional<const char*> readyCheck;
        int polls;
    };
    const std::wstring old = L"MDL:KX-70;VER:1.10;MODE:NORMAL;";
    const Row rows[] = {
        {"installed", {kReady, kReady, kInstalled}, false, 1, PORT_TYPE_ETHERNET2, ExitCode::Success, "installed",
         "The installation of firmware was successful.\n", "CHECK_OK", 1},
        {"boot mode at the same version is reinstalled",
         {L"MDL:KX-70;VER:1.20;MODE:IPL;", L"MDL:KX-70;VER:1.20;MODE:IPL;", kInstalled}, false, 1,
         PORT_TYPE_ETHERNET3, ExitCode::Success, "installed", "The installation of firmware was successful.\n",
         "CHECK_IPL_MODE", 1},
        {"silent network printer", {}, false, 1, PORT_TYPE_ETHERNET2, ExitCode::Failed, "printer_not_found",
         "Cannot find a printer.\nFill in IP address again or turn on main power switch.\n", std::nullopt, 0},
        {"silent USB printer", {}, false, 1, PORT_TYPE_USB, ExitCode::Failed, "printer_not_found",
         "Cannot find a printer.\nConnect USB cable with PC and printer or turn on main power switch.\n",
         std::nullopt, 0},
        {"another model", {L"MDL:QR-500;VER:1.10;"}, false, 1, PORT_TYPE_ETHERNET2, ExitCode::Failed, "wrong_model",
         "This installer doesn't support QR-500.\nDownload a proper installer for your printer.\n", std::nullopt, 0},
        {"already this version", {L"MDL:KX-70;VER:1.20;"}, false, 1, PORT_TYPE_ETHERNET2,
         ExitCode::NothingToInstall, "up_to_date", "Current version is 1.20. \nInstallation is not necessary.\n",
         std::nullopt, 0},
        {"a newer version", {L"MDL:KX-70;VER:1.30;"}, false, 1, PORT_TYPE_ETHERNET2, ExitCode::NothingToInstall,
         "up_to_date", "Current version is 1.30. \nInstallation is not necessary.\n", std::nullopt, 0},
        {"no version", {L"MDL:KX-70;MODE:NORMAL;"}, false, 1, PORT_TYPE_ETHERNET2, ExitCode::Failed,
         "version_unreadable", "Current version is ---. \nInstallation is not necessary.\n", std::nullopt, 0},
        {"not ready", {kNotReady, kNotReady}, false, 1, PORT_TYPE_ETHERNET2, ExitCode::Failed, "not_ready",
         "Turn off SUB power switch.\n", "CHECK_NOT_READY", 0},
        {"no answer to the readiness check", {kReady, std::nullopt}, false, 1, PORT_TYPE_ETHERNET2, ExitCode::Failed,
         "send_failed", kSendFailed, "CHECK_NO_REPLY", 0},
        {"update mode refused", {kReady, kReady}, false, 0, PORT_TYPE_ETHERNET2, ExitCode::Failed, "send_failed",
         kSendFailed, "CHECK_OK", 0},
        {"another model after installing", {kReady, kReady, L"MDL:QR-500;VER:1.20;"}, false, 1, PORT_TYPE_ETHERNET2,
         ExitCode::Failed, "install_failed", kInstallFailed, "CHECK_OK", 1},
        {"timed out", {kReady, kReady, old}, true, 1, PORT_TYPE_ETHERNET2, ExitCode::Failed, "timed_out",
         kInstallFailed, "CHECK_OK", 36},
        {"timed out on Ethernet4 points to the panel", {kReady, kReady, old}, true, 1, PORT_TYPE_ETHERNET4,
         ExitCode::Failed, "timed_out",
         "Failed to install firmware.\n\nIf the \"SUM ERROR\" appears on the LCD,  push \"ENTER\" button on the "
         "panel and then try installation again.\n",
         "CHECK_OK", 36},
    };
    const DWORD total = PayloadSize();
    ASSERT_GT(total, 0u);
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        auto port = std::make_unique<ScriptedPort>();
        for (const auto& reply : row.replies)
            reply ? port->Reply(*reply) : port->NoReply();
        if (row.repeatLast)
            port->RepeatLast();
        port->EnterUpdateModeResult(row.entry);

        const Outcome run = RunAgainst(std::move(port), Install(row.portType));

        EXPECT_EQ(run.exitCode, row.exitCode);
        EXPECT_EQ(run.err, row.message);
        const std::optional<Json> json = testsupport::ParseJson(run.out);
        ASSERT_TRUE(json) << "not one JSON object: " << run.out;
        EXPECT_EQ(json->At("outcome").String(), row.outcome);
        EXPECT_EQ(json->At("exit_code").Number(), static_cast<int>(row.exitCode));
        EXPECT_EQ(json->At("port_type").String(), PortTypeText(row.portType));
        const Json& ready = json->At("checks").At("ready");
        EXPECT_EQ(ready.IsNull() ? std::optional<std::string>() : ready.String(),
                  row.readyCheck ? std::optional<std::string>(*row.readyCheck) : std::nullopt);
        EXPECT_EQ(json->At("polls").Number(), row.polls);
        const bool sent = run.journal->Count(Op::SendData) == 1;
        EXPECT_EQ(json->At("bytes_sent").Number(), sent ? total : 0);
        EXPECT_EQ(json->At("bytes_total").Number(), total);
        EXPECT_TRUE(run.journal->destroyed) << "the port is released by the end of the run";
    }
}

TEST(TallowctlInstall, JsonTellsThePrinterBeforeAndAfter)
{
    auto port = std::make_unique<ScriptedPort>();
    port->Reply(kReady).Reply(kReady).NoReply().Reply(L"MDL:KX-70;MODE:IPL;").Reply(kInstalled);
    const Outcome run = RunAgainst(std::move(port), Install());

    ASSERT_EQ(run.exitCode, ExitCode::Success);
    const std::optional<Json> json = testsupport::ParseJson(run.out);
    ASSERT_TRUE(json) << run.out;
    EXPECT_EQ(json->At("address").String(), "10.0.0.1");
    EXPECT_EQ(json->At("checks").At("printer").String(), "CHECK_OK");
    EXPECT_EQ(json->At("checks").At("last_poll").String(), "CHECK_OK");
    EXPECT_EQ(json->At("before").At("model").String(), "KX-70");
    EXPECT_EQ(json->At("before").At("version").String(), "1.10");
    EXPECT_EQ(json->At("after").At("model").String(), "KX-70");
    EXPECT_EQ(json->At("after").At("version").String(), "1.20");
    EXPECT_EQ(json->At("polls").Number(), 3);
    EXPECT_EQ(json->At("elapsed_ms").Number(), 4000 + 3 * 5000) << "pause and polls, on the manual clock";
    EXPECT_EQ(run.journal->Count(Op::QueryStatus), 5u) << "no query beyond the checks and the polls";
}

TEST(TallowctlInstall, CtrlCBeforeSendingCancelsWithNothingSent)
{
    struct Row {
        const char* name;
        int cancelFromAsk;
        std::size_t queries;
        std::size_t entries;
    };
    const Row rows[] = {
        {"before the printer is asked", 1, 0, 0},
        {"after the printer check", 2, 1, 0},
        {"after the readiness check", 3, 2, 0},
        {"during the pause after the update-mode entry", 4, 2, 1},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        auto port = std::make_unique<ScriptedPort>();
        port->Reply(kReady).RepeatLast();
        Cancel cancel;
        cancel.fromAsk = row.cancelFromAsk;

        const Outcome run = RunAgainst(std::move(port), Install(), &cancel);

        EXPECT_EQ(run.exitCode, ExitCode::Cancelled);
        EXPECT_EQ(run.err, "") << "the installer shows nothing for an abort";
        const std::optional<Json> json = testsupport::ParseJson(run.out);
        ASSERT_TRUE(json) << run.out;
        EXPECT_EQ(json->At("outcome").String(), "cancelled");
        EXPECT_EQ(run.journal->Count(Op::QueryStatus), row.queries);
        EXPECT_EQ(run.journal->Count(Op::EnterUpdateMode), row.entries);
        EXPECT_EQ(run.journal->Count(Op::SendData), 0u);
    }
}

TEST(TallowctlCheckAndStatus, PrintWhatThePrinterSaid)
{
    struct Row {
        const char* name;
        Command command;
        std::optional<std::wstring> reply;
        ExitCode exitCode;
        std::string out;
        std::string err;
    };
    const Row rows[] = {
        {"check passes", Command::Check, kReady, ExitCode::Success, "result: CHECK_OK\nmodel: KX-70\nversion: 1.10\n",
         ""},
        {"check finds the same version", Command::Check, L"MDL:KX-70;VER:1.20;", ExitCode::NothingToInstall,
         "result: CHECK_VERSION\nmodel: KX-70\nversion: 1.20\n",
         "Current version is 1.20. \nInstallation is not necessary.\n"},
        {"check finds no model", Command::Check, L"VER:1.10;", ExitCode::Failed, "result: CHECK_WRONG_MODEL\n",
         "This installer doesn't support .\nDownload a proper installer for your printer.\n"},
        {"check finds nobody", Command::Check, std::nullopt, ExitCode::Failed, "result: CHECK_NO_REPLY\n",
         "Cannot find a printer.\nFill in IP address again or turn on main power switch.\n"},
        {"status prints the raw text", Command::Status, L"MFG:Corvex;MDL:KX-70;", ExitCode::Success,
         "MFG:Corvex;MDL:KX-70;\n", ""},
        {"status finds nobody", Command::Status, std::nullopt, ExitCode::Failed, "",
         "Cannot find a printer.\nFill in IP address again or turn on main power switch.\n"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        auto port = std::make_unique<ScriptedPort>();
        row.reply ? port->Reply(*row.reply) : port->NoReply();
        Options options = Install();
        options.command = row.command;
        options.json = false;

        const Outcome run = RunAgainst(std::move(port), options);

        EXPECT_EQ(run.exitCode, row.exitCode);
        EXPECT_EQ(run.out, row.out);
        EXPECT_EQ(run.err, row.err);
        EXPECT_EQ(run.journal->Count(Op::QueryStatus), 1u);
        EXPECT_EQ(run.journal->Count(Op::EnterUpdateMode), 0u) << "only install changes the printer";
    }
}

TEST(TallowctlInstall, UnusableBuildTouchesNoPrinter)
{
    struct Row {
        const char* name;
        void (*change)(platform::ResourceOverlay&);
        const char* outcome;
        std::string message;
    };
    const Row rows[] = {
        {"no firmware", [](platform::ResourceOverlay& o) { o.RemoveBinary(ids::RT_FIRMWARE, ids::IDR_FIRMWARE); },
         "image_unusable", "This installer is corrupted.\nDownload another installer.\n"},
        {"damaged firmware",
         [](platform::ResourceOverlay& o) { o.SetBinary(ids::RT_FIRMWARE, ids::IDR_FIRMWARE, {1, 2, 3, 4, 5}); },
         "image_unusable", "This installer is corrupted.\nDownload another installer.\n"},
        {"firmware of another version", [](platform::ResourceOverlay& o) { o.SetString(ids::IDS_FIRMWARE_VERSION, L"1.21"); },
         "image_unusable", "This installer is corrupted.\nDownload another installer.\n"},
        {"firmware of another model code", [](platform::ResourceOverlay& o) { o.SetString(ids::IDS_MODEL_CODE, L"70169"); },
         "image_unusable", "This installer is corrupted.\nDownload another installer.\n"},
        {"no model names", [](platform::ResourceOverlay& o) { o.RemoveString(ids::IDS_MODEL_NAMES); },
         "configuration_missing", "Fatal error.\n"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        platform::ResourceOverlay overlay(platform::ExecutableResources());
        row.change(overlay);
        platform::ScopedResources scoped(overlay);
        auto port = std::make_unique<ScriptedPort>();
        port->Reply(kReady).RepeatLast();

        const Outcome run = RunAgainst(std::move(port), Install());

        EXPECT_EQ(run.exitCode, ExitCode::ImageUnusable);
        EXPECT_EQ(run.err, row.message);
        const std::optional<Json> json = testsupport::ParseJson(run.out);
        ASSERT_TRUE(json) << run.out;
        EXPECT_EQ(json->At("outcome").String(), row.outcome);
        EXPECT_EQ(run.portsMade, 0);
    }
}

} // namespace
