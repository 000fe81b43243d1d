#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "platform/text/Crt.h"
#include "platform/text/Text.h"
#include "sim/core/Printer.h"
#include "sim/core/StatusText.h"
#include "tests/sim/TestImages.h"
#include "update/StatusReply.h"

namespace {

using sim::EntryKind;
using sim::ImageVerdict;
using sim::Printer;
using sim::PrinterConfig;
using simtest::Bytes;
using simtest::MakeRawImage;

// A reply as the installer reads it.
struct Parsed {
    CStatusReply reply;
    bool any = false;

    explicit Parsed(const std::string& text) { any = reply.Parse(platform::AnsiToWide(text)); }

    std::optional<std::string> Get(const char* key) const
    {
        auto value = reply.Lookup(platform::AnsiToWide(key));
        return value ? std::optional(platform::WideToAnsi(*value)) : std::nullopt;
    }
};

int ToStatusFormat(sim::StatusFormat format)
{
    return format == sim::StatusFormat::Word ? STATUS_FORMAT_WORD : STATUS_FORMAT_RECORDS;
}

// The printer after an accepted image, not yet polled.
Printer& Install(Printer& printer, const Bytes& image = MakeRawImage())
{
    EXPECT_TRUE(printer.EnterUpdateMode(EntryKind::BootFrame));
    EXPECT_EQ(printer.ReceiveImage(image), ImageVerdict::Accepted);
    return printer;
}

TEST(PrinterReply, IdleReplyCarriesIdentityAndStatusInEitherFormat)
{
    PrinterConfig config;
    EXPECT_EQ(*Printer(config).QueryStatus(),
              "MFG:Corvex;CLS:PRINTER;MDL:KX-70;VER:1.10;MODE:NORMAL;STATUS:02040000010880000000;");
    config.statusFormat = sim::StatusFormat::Word;
    config.otherItems.clear();
    config.mode.reset();
    EXPECT_EQ(*Printer(config).QueryStatus(), "MDL:KX-70;VER:1.10;STATUS:80000000;");
}

// The code must come back out through the installer's own reader, bit 31
// included, whichever format the port type uses.
TEST(PrinterReply, StatusCodeReadsBackThroughTheInstallersParser)
{
    for (auto format : {sim::StatusFormat::Word, sim::StatusFormat::Records}) {
        for (std::uint32_t code : {0x80000000u, 0x7FFFFFFFu, 0u, 0xFFFFFFFFu, 0x8000ABCDu}) {
            SCOPED_TRACE(testing::Message() << "format " << static_cast<int>(format) << " code " << code);
            PrinterConfig config;
            config.statusFormat = format;
            config.statusCode = code;
            Parsed parsed(*Printer(config).QueryStatus());
            ASSERT_TRUE(parsed.reply.GetStatusCode(ToStatusFormat(format)));
            EXPECT_EQ(platform::Wcstoul(parsed.reply.GetStatusCodeText().c_str(), 16), code);
            EXPECT_EQ(parsed.reply.GetVersion(), 110);
            EXPECT_EQ(parsed.Get("MDL"), "KX-70");
            EXPECT_FALSE(parsed.reply.IsIplMode());
        }
    }
}

TEST(PrinterReply, NotReadyClearsTheReadyBitAndLeavesBootMode)
{
    PrinterConfig config;
    config.mode = "IPL";
    config.statusCode = 0x8000ABCDu;
    config.faults.notReady = true;
    Printer printer(config);
    Parsed parsed(*printer.QueryStatus());
    EXPECT_EQ(parsed.Get("MODE"), "NORMAL");
    ASSERT_TRUE(parsed.reply.GetStatusCode(STATUS_FORMAT_RECORDS));
    EXPECT_EQ(parsed.reply.GetStatusCodeText(), L"0000ABCD");
    EXPECT_EQ(printer.StatusCode(), 0x0000ABCDu);
}

TEST(PrinterReply, SilentAndRawRepliesHoldInEveryPhase)
{
    PrinterConfig silent;
    silent.faults.silent = true;
    PrinterConfig raw;
    raw.faults.rawReply = "no pairs here";
    for (const PrinterConfig& config : {silent, raw}) {
        Printer printer(config);
        EXPECT_EQ(printer.QueryStatus(), config.faults.rawReply);
        Install(printer);
        for (int poll = 0; poll < config.installPolls + 2; ++poll)
            EXPECT_EQ(printer.QueryStatus(), config.faults.rawReply);
        EXPECT_EQ(printer.PeekStatus(), config.faults.rawReply);
    }
}

TEST(PrinterImage, VerdictDependsOnEntryHeaderModelAndExpectedBytes)
{
    const Bytes good = MakeRawImage();
    Bytes altered = good;
    altered[100] ^= 0x01; // in the firmware, past the header
    Bytes lowerCaseMagic = good;
    lowerCaseMagic[0] = 'p';

    struct Row {
        const char* name;
        bool enter;
        Bytes image;
        bool expectGood; // the printer was told to expect `good`
        ImageVerdict verdict;
    };
    const Row rows[] = {
        {"accepted", true, good, false, ImageVerdict::Accepted},
        {"accepted as expected", true, good, true, ImageVerdict::Accepted},
        {"without entry", false, good, false, ImageVerdict::NoEntry},
        {"altered in transit", true, altered, true, ImageVerdict::NotExpected},
        {"empty", true, {}, false, ImageVerdict::BadHeader},
        {"shorter than the magic", true, {'P', 'U', 'F'}, false, ImageVerdict::BadHeader},
        {"lower-case magic", true, lowerCaseMagic, false, ImageVerdict::BadHeader},
        {"another model code", true, MakeRawImage("070169"), false, ImageVerdict::WrongModel},
        {"model code not a number", true, MakeRawImage("KX70"), false, ImageVerdict::WrongModel},
        {"version run too long", true, MakeRawImage("070168", "1.2.3.4.5.6"), false,
         ImageVerdict::UnreadableVersion},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        PrinterConfig config;
        if (row.expectGood)
            config.expectedImage = sim::ComputeSha256(good);
        Printer printer(config);
        if (row.enter) {
            ASSERT_TRUE(printer.EnterUpdateMode(EntryKind::AccessCodeSequence));
        }
        EXPECT_EQ(printer.ReceiveImage(row.image), row.verdict);

        bool accepted = row.verdict == ImageVerdict::Accepted;
        EXPECT_EQ(printer.GetPhase(), accepted ? Printer::Phase::Installing : Printer::Phase::Idle);
        auto images = printer.Log().OfType<sim::ImageReceived>();
        ASSERT_EQ(images.size(), 1u);
        EXPECT_EQ(images[0].check.size, row.image.size());
        EXPECT_EQ(images[0].check.digest, sim::ComputeSha256(row.image));
        // A refused image is not installed: the printer keeps reporting 1.10.
        if (!accepted) {
            EXPECT_EQ(Parsed(*printer.QueryStatus()).Get("VER"), "1.10");
        }
    }
}

TEST(PrinterImage, EachEntryAdmitsOneImage)
{
    Printer printer{PrinterConfig{}};
    ASSERT_TRUE(printer.EnterUpdateMode(EntryKind::ModeRequest));
    EXPECT_EQ(printer.ReceiveImage(MakeRawImage("070169")), ImageVerdict::WrongModel);
    EXPECT_EQ(printer.ReceiveImage(MakeRawImage()), ImageVerdict::NoEntry);
    ASSERT_TRUE(printer.EnterUpdateMode(EntryKind::ModeRequest));
    EXPECT_EQ(printer.ReceiveImage(MakeRawImage()), ImageVerdict::Accepted);
    // A second image while installing changes nothing.
    EXPECT_EQ(printer.ReceiveImage(MakeRawImage("070168", "1.30")), ImageVerdict::NoEntry);
    EXPECT_EQ(printer.GetPhase(), Printer::Phase::Installing);
}

TEST(PrinterEntry, RefusedWhenNotReadyRefusingOrBusy)
{
    PrinterConfig notReady;
    notReady.faults.notReady = true;
    PrinterConfig refusing;
    refusing.faults.refuseEntry = true;
    for (const PrinterConfig& config : {notReady, refusing}) {
        Printer printer(config);
        EXPECT_FALSE(printer.EnterUpdateMode(EntryKind::ModeRequest));
        EXPECT_EQ(printer.StatusCode() & 0x80000000u, config.faults.notReady ? 0u : 0x80000000u);
        EXPECT_EQ(printer.ReceiveImage(MakeRawImage()), ImageVerdict::NoEntry);
    }

    PrinterConfig config;
    config.installPolls = 1;
    Printer busy(config);
    Install(busy);
    EXPECT_FALSE(busy.EnterUpdateMode(EntryKind::ModeRequest));
    busy.QueryStatus();
    EXPECT_EQ(Parsed(*busy.QueryStatus()).Get("VER"), "1.20"); // the installation went on
}

// The controller library's mode request waits for bit 31; it must appear on
// entry even on a printer whose idle code lacks it, and go while installing.
TEST(PrinterEntry, ReadyBitFollowsThePhase)
{
    PrinterConfig config;
    config.statusCode = 0x00001234u;
    config.installPolls = 1;
    Printer printer(config);
    EXPECT_EQ(printer.StatusCode(), 0x00001234u);
    ASSERT_TRUE(printer.EnterUpdateMode(EntryKind::ModeRequest));
    EXPECT_EQ(printer.StatusCode(), 0x80001234u);
    ASSERT_EQ(printer.ReceiveImage(MakeRawImage()), ImageVerdict::Accepted);
    EXPECT_EQ(printer.StatusCode(), 0x00001234u);
    printer.QueryStatus();
    printer.QueryStatus();
    EXPECT_EQ(printer.GetPhase(), Printer::Phase::Idle);
    EXPECT_EQ(printer.StatusCode(), 0x00001234u);
}

// Every style of "still installing" for N polls, then the new identity from
// poll N + 1 on, for ever.
TEST(PrinterInstall, AnswersAsInstallingForTheConfiguredPollsThenReportsTheImageVersion)
{
    for (auto style : {sim::InstallReply::Silent, sim::InstallReply::WithoutModelAndVersion,
                       sim::InstallReply::IplMode}) {
        for (int polls : {0, 1, 4}) {
            SCOPED_TRACE(testing::Message() << "style " << static_cast<int>(style) << ", " << polls << " polls");
            PrinterConfig config;
            config.mode = "IPL";
            config.installReply = style;
            config.installPolls = polls;
            Printer printer(config);
            Install(printer, MakeRawImage("070168", "12"));

            for (int poll = 1; poll <= polls; ++poll) {
                std::optional<std::string> reply = printer.QueryStatus();
                ASSERT_EQ(reply.has_value(), style != sim::InstallReply::Silent);
                if (!reply)
                    continue;
                Parsed parsed(*reply);
                ASSERT_TRUE(parsed.any);
                if (style == sim::InstallReply::WithoutModelAndVersion) {
                    EXPECT_FALSE(parsed.Get("MDL") || parsed.Get("VER") || parsed.Get("MODE"));
                } else {
                    EXPECT_TRUE(parsed.reply.IsIplMode());
                    EXPECT_EQ(parsed.Get("VER"), "1.10");
                }
            }
            for (int after = 0; after < 2; ++after) {
                Parsed parsed(*printer.QueryStatus());
                EXPECT_EQ(parsed.Get("MODE"), "NORMAL");
                EXPECT_EQ(parsed.Get("MDL"), "KX-70");
                EXPECT_EQ(parsed.Get("VER"), "12.00");
            }
            auto ended = printer.Log().OfType<sim::InstallEnded>();
            ASSERT_EQ(ended.size(), 1u);
            EXPECT_EQ(ended[0].installPoll, polls + 1);
        }
    }
}

TEST(PrinterInstall, FaultsDecideWhatTheEndLooksLike)
{
    struct Row {
        const char* name;
        sim::Completion completion;
        std::optional<std::string> modelAfter;
        std::optional<std::string> mode, model, version; // after 10 polls
    };
    const Row rows[] = {
        {"another model", sim::Completion::NewVersion, "KX-71", "NORMAL", "KX-71", "1.20"},
        {"old version kept", sim::Completion::OldVersion, std::nullopt, "NORMAL", "KX-70", "1.10"},
        {"never ends", sim::Completion::NeverEnds, std::nullopt, "IPL", "KX-70", "1.10"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        PrinterConfig config;
        config.installPolls = 2;
        config.faults.completion = row.completion;
        config.faults.modelAfterInstall = row.modelAfter;
        Printer printer(config);
        Install(printer);
        for (int poll = 0; poll < 9; ++poll)
            printer.QueryStatus();
        Parsed parsed(*printer.QueryStatus());
        EXPECT_EQ(parsed.Get("MODE"), row.mode);
        EXPECT_EQ(parsed.Get("MDL"), row.model);
        EXPECT_EQ(parsed.Get("VER"), row.version);
    }
}

// Transports must pass on the queries they leave unanswered: those count too.
TEST(PrinterInstall, UnansweredPollsCount)
{
    PrinterConfig config;
    config.installReply = sim::InstallReply::Silent;
    config.installPolls = 2;
    Printer printer(config);
    Install(printer);
    EXPECT_FALSE(printer.PeekStatus());
    EXPECT_FALSE(printer.QueryStatus());
    EXPECT_FALSE(printer.QueryStatus());
    EXPECT_FALSE(printer.PeekStatus()); // peeking counts nothing
    EXPECT_EQ(Parsed(*printer.QueryStatus()).Get("VER"), "1.20");
}

TEST(PrinterLog, RecordsEntriesImagesAndNumberedPolls)
{
    PrinterConfig config;
    config.installPolls = 1;
    Printer printer(config);
    const Bytes image = MakeRawImage();
    printer.QueryStatus();
    printer.EnterUpdateMode(EntryKind::BootFrame, "TCP 9500");
    printer.ReceiveImage(image);
    printer.QueryStatus();
    printer.QueryStatus();

    const sim::EventLog log = printer.Log();
    ASSERT_EQ(log.All().size(), 6u) << log.Describe();
    auto entries = log.OfType<sim::ModeEntered>();
    ASSERT_EQ(entries.size(), 1u);
    EXPECT_EQ(entries[0].kind, EntryKind::BootFrame);
    EXPECT_EQ(entries[0].detail, "TCP 9500");
    EXPECT_TRUE(entries[0].accepted);

    auto images = log.OfType<sim::ImageReceived>();
    ASSERT_EQ(images.size(), 1u);
    EXPECT_EQ(images[0].check.verdict, ImageVerdict::Accepted);
    EXPECT_EQ(images[0].check.size, image.size());
    EXPECT_EQ(images[0].check.modelCode, 70168);
    EXPECT_EQ(images[0].check.version, 120);

    std::vector<int> pollNumbers;
    for (const auto& query : log.OfType<sim::StatusQueried>())
        pollNumbers.push_back(query.installPoll);
    EXPECT_EQ(pollNumbers, (std::vector<int>{0, 1, 2}));
    EXPECT_TRUE(std::holds_alternative<sim::InstallEnded>(log.All()[4]));

    EXPECT_NE(log.Describe().find(sim::ToHex(sim::ComputeSha256(image))), std::string::npos);
}

TEST(StatusText, FormatsVersionsInHundredths)
{
    EXPECT_EQ(sim::FormatVersion(0), "0.00");
    EXPECT_EQ(sim::FormatVersion(5), "0.05");
    EXPECT_EQ(sim::FormatVersion(120), "1.20");
    EXPECT_EQ(sim::FormatVersion(1200), "12.00");
}

} // namespace
