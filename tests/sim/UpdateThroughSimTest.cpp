// Whole updates: the installer's update driver against the simulated
// printer, through a port with no wire. Each row is one printer and what the
// installer must make of it.

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <optional>
#include <ostream>
#include <utility>
#include <vector>

#include "sim/core/Printer.h"
#include "tests/sim/SimPort.h"
#include "tests/sim/TestImages.h"
#include "update/TargetModel.h"
#include "update/Updater.h"

namespace {

using sim::EntryKind;
using sim::ImageVerdict;
using sim::PrinterConfig;

// The progress dialog's limit.
constexpr int kMaxPolls = 36;

enum class Outcome { Refused, NotReady, SendFailed, Installed, InstallFailed, TimedOut };

std::ostream& operator<<(std::ostream& out, Outcome outcome)
{
    static const char* const names[] = {"Refused", "NotReady", "SendFailed", "Installed", "InstallFailed", "TimedOut"};
    return out << names[static_cast<int>(outcome)];
}

// Consecutive polls that gave the same result.
struct Run {
    CHECK_RESULT result;
    int count;
    bool operator==(const Run&) const = default;
};

std::ostream& operator<<(std::ostream& out, const Run& run)
{
    return out << run.count << " x " << static_cast<int>(run.result);
}

struct Update {
    CHECK_RESULT printer = CHECK_UNREADABLE;
    std::optional<CHECK_RESULT> ready;
    std::vector<Run> polls;
    Outcome outcome = Outcome::Refused;
};

void CountPoll(std::vector<Run>& runs, CHECK_RESULT result)
{
    if (!runs.empty() && runs.back().result == result)
        ++runs.back().count;
    else
        runs.push_back({result, 1});
}

// The install flow and the progress dialog, without their windows and waits.
Update RunUpdate(CUpdater& updater, std::unique_ptr<CPort> port, int statusFormat)
{
    Update run;
    run.printer = updater.CheckPrinter(port, statusFormat);
    if (run.printer != CHECK_OK)
        return run;
    run.ready = updater.CheckReady();
    if (*run.ready == CHECK_NOT_READY) {
        run.outcome = Outcome::NotReady;
        return run;
    }
    CPort& accepted = *updater.m_pPort;
    if ((*run.ready != CHECK_OK && *run.ready != CHECK_IPL_MODE) || !accepted.EnterUpdateMode() ||
        !accepted.SendData(updater.m_pImage->m_pData.get(), updater.m_pImage->m_nSize, 0)) {
        run.outcome = Outcome::SendFailed;
        return run;
    }
    for (int poll = 0; poll < kMaxPolls; ++poll) {
        CHECK_RESULT result = updater.CheckInstalled();
        CountPoll(run.polls, result);
        if (result == CHECK_OK) {
            run.outcome = Outcome::Installed;
            return run;
        }
        if (result == CHECK_WRONG_MODEL) {
            run.outcome = Outcome::InstallFailed;
            return run;
        }
    }
    run.outcome = Outcome::TimedOut;
    return run;
}

struct Scenario {
    const char* name;
    std::function<void(PrinterConfig&)> printer; // changes to the default printer: KX-70 at 1.10, ready
    EntryKind entry;
    CHECK_RESULT checkPrinter;
    std::optional<CHECK_RESULT> checkReady;
    std::vector<Run> polls;
    Outcome outcome;
    std::optional<ImageVerdict> image; // what the printer made of the image, if one came
};

void PrintTo(const Scenario& scenario, std::ostream* out)
{
    *out << scenario.name;
}

const Scenario kScenarios[] = {
    // Success, whatever the printer says while it installs.
    {"InstalledAfterIplPolls", [](PrinterConfig&) {}, EntryKind::ModeRequest, CHECK_OK, CHECK_OK,
     {{CHECK_IPL_MODE, 3}, {CHECK_OK, 1}}, Outcome::Installed, ImageVerdict::Accepted},
    {"InstalledThroughSilence",
     [](PrinterConfig& c) {
         c.statusFormat = sim::StatusFormat::Word;
         c.installReply = sim::InstallReply::Silent;
         c.installPolls = 5;
     },
     EntryKind::AccessCodeSequence, CHECK_OK, CHECK_OK, {{CHECK_NO_REPLY, 5}, {CHECK_OK, 1}}, Outcome::Installed,
     ImageVerdict::Accepted},
    {"InstalledThroughRepliesWithoutIdentity",
     [](PrinterConfig& c) {
         c.installReply = sim::InstallReply::WithoutModelAndVersion;
         c.installPolls = 2;
     },
     EntryKind::BootFrame, CHECK_OK, CHECK_OK, {{CHECK_UNREADABLE, 2}, {CHECK_OK, 1}}, Outcome::Installed,
     ImageVerdict::Accepted},
    {"InstalledAtFirstPoll", [](PrinterConfig& c) { c.installPolls = 0; }, EntryKind::BootFrame, CHECK_OK, CHECK_OK,
     {{CHECK_OK, 1}}, Outcome::Installed, ImageVerdict::Accepted},
    {"InstalledJustInTime", [](PrinterConfig& c) { c.installPolls = kMaxPolls - 1; }, EntryKind::BootFrame, CHECK_OK,
     CHECK_OK, {{CHECK_IPL_MODE, kMaxPolls - 1}, {CHECK_OK, 1}}, Outcome::Installed, ImageVerdict::Accepted},
    {"SameVersionInIplModeReinstalled",
     [](PrinterConfig& c) {
         c.version = "1.20";
         c.mode = "IPL";
     },
     EntryKind::ModeRequest, CHECK_OK, CHECK_IPL_MODE, {{CHECK_IPL_MODE, 3}, {CHECK_OK, 1}}, Outcome::Installed,
     ImageVerdict::Accepted},

    // Refused before anything is sent.
    {"OtherModelRefused", [](PrinterConfig& c) { c.model = "KX-71"; }, EntryKind::BootFrame, CHECK_WRONG_MODEL,
     std::nullopt, {}, Outcome::Refused, std::nullopt},
    {"ModelInOtherCaseRefused", [](PrinterConfig& c) { c.model = "kx-70"; }, EntryKind::BootFrame,
     CHECK_WRONG_MODEL, std::nullopt, {}, Outcome::Refused, std::nullopt},
    {"UpToDateRefused", [](PrinterConfig& c) { c.version = "1.20"; }, EntryKind::BootFrame, CHECK_VERSION,
     std::nullopt, {}, Outcome::Refused, std::nullopt},
    {"NewerRefusedEvenInIplMode",
     [](PrinterConfig& c) {
         c.version = "1.30";
         c.mode = "IPL";
     },
     EntryKind::BootFrame, CHECK_VERSION, std::nullopt, {}, Outcome::Refused, std::nullopt},
    {"MissingVersionRefused", [](PrinterConfig& c) { c.version.reset(); }, EntryKind::BootFrame, CHECK_VERSION,
     std::nullopt, {}, Outcome::Refused, std::nullopt},
    {"SilentPrinterNotFound", [](PrinterConfig& c) { c.faults.silent = true; }, EntryKind::BootFrame,
     CHECK_NO_REPLY, std::nullopt, {}, Outcome::Refused, std::nullopt},
    {"EmptyReplyUnreadable", [](PrinterConfig& c) { c.faults.rawReply = ""; }, EntryKind::BootFrame,
     CHECK_UNREADABLE, std::nullopt, {}, Outcome::Refused, std::nullopt},

    // Not ready, in both status formats.
    {"NotReadyInRecords", [](PrinterConfig& c) { c.faults.notReady = true; }, EntryKind::ModeRequest, CHECK_OK,
     CHECK_NOT_READY, {}, Outcome::NotReady, std::nullopt},
    {"NotReadyInWord",
     [](PrinterConfig& c) {
         c.statusFormat = sim::StatusFormat::Word;
         c.faults.notReady = true;
     },
     EntryKind::AccessCodeSequence, CHECK_OK, CHECK_NOT_READY, {}, Outcome::NotReady, std::nullopt},

    // The image does not get installed.
    {"EntryRefusedByModeRequest", [](PrinterConfig& c) { c.faults.refuseEntry = true; }, EntryKind::ModeRequest,
     CHECK_OK, CHECK_OK, {}, Outcome::SendFailed, std::nullopt},
    {"EntryIgnoredImageRefused", [](PrinterConfig& c) { c.faults.refuseEntry = true; }, EntryKind::BootFrame,
     CHECK_OK, CHECK_OK, {{CHECK_VERSION, kMaxPolls}}, Outcome::TimedOut, ImageVerdict::NoEntry},
    {"ImageOfAnotherModelRefused", [](PrinterConfig& c) { c.modelCode = 70169; }, EntryKind::BootFrame, CHECK_OK,
     CHECK_OK, {{CHECK_VERSION, kMaxPolls}}, Outcome::TimedOut, ImageVerdict::WrongModel},

    // The installation goes wrong.
    {"OtherModelAfterInstall", [](PrinterConfig& c) { c.faults.modelAfterInstall = "KX-71"; },
     EntryKind::BootFrame, CHECK_OK, CHECK_OK, {{CHECK_IPL_MODE, 3}, {CHECK_WRONG_MODEL, 1}},
     Outcome::InstallFailed, ImageVerdict::Accepted},
    {"NeverEndsInIplMode", [](PrinterConfig& c) { c.faults.completion = sim::Completion::NeverEnds; },
     EntryKind::BootFrame, CHECK_OK, CHECK_OK, {{CHECK_IPL_MODE, kMaxPolls}}, Outcome::TimedOut,
     ImageVerdict::Accepted},
    {"NeverEndsSilent",
     [](PrinterConfig& c) {
         c.faults.completion = sim::Completion::NeverEnds;
         c.installReply = sim::InstallReply::Silent;
     },
     EntryKind::BootFrame, CHECK_OK, CHECK_OK, {{CHECK_NO_REPLY, kMaxPolls}}, Outcome::TimedOut,
     ImageVerdict::Accepted},
    {"NeverEndsWithoutIdentity",
     [](PrinterConfig& c) {
         c.faults.completion = sim::Completion::NeverEnds;
         c.installReply = sim::InstallReply::WithoutModelAndVersion;
     },
     EntryKind::BootFrame, CHECK_OK, CHECK_OK, {{CHECK_UNREADABLE, kMaxPolls}}, Outcome::TimedOut,
     ImageVerdict::Accepted},
    {"EndsWithOldVersion", [](PrinterConfig& c) { c.faults.completion = sim::Completion::OldVersion; },
     EntryKind::BootFrame, CHECK_OK, CHECK_OK, {{CHECK_IPL_MODE, 3}, {CHECK_VERSION, kMaxPolls - 3}},
     Outcome::TimedOut, ImageVerdict::Accepted},
};

class UpdateThroughSim : public testing::TestWithParam<Scenario> {};

TEST_P(UpdateThroughSim, EndsAsTheInstallerMust)
{
    const Scenario& scenario = GetParam();
    const simtest::Bytes raw = simtest::MakeRawImage("070168", "1.20");

    CUpdater updater;
    auto target = std::make_unique<CTargetModel>(120, 70168, L"KX-70");
    auto image = simtest::MakePufImage(raw);
    ASSERT_TRUE(image);
    ASSERT_TRUE(updater.SetImage(target, image));

    PrinterConfig config;
    // The printer checks that it got the installer's payload byte for byte.
    config.expectedImage = sim::ComputeSha256(raw);
    scenario.printer(config);
    auto printer = std::make_shared<sim::Printer>(config);
    const int statusFormat =
        config.statusFormat == sim::StatusFormat::Word ? STATUS_FORMAT_WORD : STATUS_FORMAT_RECORDS;

    Update run = RunUpdate(updater, std::make_unique<simtest::SimPort>(printer, scenario.entry), statusFormat);
    const sim::EventLog log = printer->Log();
    SCOPED_TRACE(log.Describe());

    EXPECT_EQ(run.printer, scenario.checkPrinter);
    EXPECT_EQ(run.ready, scenario.checkReady);
    EXPECT_EQ(run.polls, scenario.polls);
    EXPECT_EQ(run.outcome, scenario.outcome);

    auto images = log.OfType<sim::ImageReceived>();
    ASSERT_EQ(images.size(), scenario.image ? 1u : 0u);
    if (scenario.image) {
        EXPECT_EQ(images[0].check.verdict, *scenario.image);
    }
    for (const auto& entry : log.OfType<sim::ModeEntered>())
        EXPECT_EQ(entry.kind, scenario.entry);
}

INSTANTIATE_TEST_SUITE_P(Printers, UpdateThroughSim, testing::ValuesIn(kScenarios),
                         [](const testing::TestParamInfo<Scenario>& info) { return std::string(info.param.name); });

} // namespace
