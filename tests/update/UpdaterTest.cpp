#include <gtest/gtest.h>

#include <initializer_list>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "image/PufImage.h"
#include "image/PufScrambler.h"
#include "tests/support/ScriptedPort.h"
#include "update/StatusReply.h"
#include "update/Updater.h"

namespace {

using testsupport::PortJournal;
using testsupport::ScriptedPort;

constexpr std::nullopt_t kNoReply = std::nullopt;
using Script = std::initializer_list<std::optional<std::wstring>>;

// An image whose header carries this model code and version text.
std::unique_ptr<CPufImage> MakeImage(std::string_view modelCode, std::string_view version)
{
    std::vector<std::uint8_t> raw(96);
    std::string header = "PUF1";
    header += modelCode;
    header += "FW ";
    header += version;
    header.resize(32, ' ');
    std::copy(header.begin(), header.end(), raw.begin());
    for (std::size_t i = header.size(); i < raw.size(); ++i)
        raw[i] = static_cast<std::uint8_t>(i * 7);
    const std::vector<std::uint8_t> resource = puf::PackFirmware(raw);
    auto image = std::make_unique<CPufImage>();
    EXPECT_TRUE(image->Unscramble(static_cast<DWORD>(resource.size()), resource.data()));
    return image;
}

std::unique_ptr<CTargetModel> MakeTarget()
{
    return std::make_unique<CTargetModel>(120, 70168, L"KX-70");
}

struct Printer {
    std::unique_ptr<CPort> port;
    std::shared_ptr<const PortJournal> journal;
};

Printer MakePrinter(Script replies)
{
    auto port = std::make_unique<ScriptedPort>();
    for (const auto& reply : replies) {
        if (reply)
            port->Reply(*reply);
        else
            port->NoReply();
    }
    Printer printer{nullptr, port->Journal()};
    printer.port = std::move(port);
    return printer;
}

const wchar_t kOlderPrinter[] = L"MDL:KX-70;VER:1.10;MODE:NORMAL;";

TEST(UpdaterSetImage, TakesBothWhenTheHeaderFitsTheTarget)
{
    CUpdater driver;
    auto target = MakeTarget();
    auto image = MakeImage("070168", "1.20");
    const CTargetModel* targetSeen = target.get();
    ASSERT_TRUE(driver.SetImage(target, image));
    EXPECT_EQ(target, nullptr);
    EXPECT_EQ(image, nullptr);
    EXPECT_EQ(driver.m_pTarget.get(), targetSeen);
    ASSERT_NE(driver.m_pImage, nullptr);

    // Only once, even with a matching pair; the first pair stays.
    auto secondTarget = MakeTarget();
    auto secondImage = MakeImage("070168", "1.20");
    EXPECT_FALSE(driver.SetImage(secondTarget, secondImage));
    EXPECT_NE(secondTarget, nullptr);
    EXPECT_NE(secondImage, nullptr);
    EXPECT_EQ(driver.m_pTarget.get(), targetSeen);
}

TEST(UpdaterSetImage, RefusesAndLeavesBothWithTheCaller)
{
    struct Row {
        const char* name;
        bool withTarget;
        const char* modelCode; // nullptr: an empty image
        const char* version;
    };
    const Row rows[] = {
        {"newer image", true, "070168", "1.21"},
        {"older image", true, "070168", "1.19"},
        {"other model code", true, "070169", "1.20"},
        {"unreadable version", true, "070168", "12345678.901"},
        {"empty image", true, nullptr, nullptr},
        {"no target", false, "070168", "1.20"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        CUpdater driver;
        auto target = row.withTarget ? MakeTarget() : nullptr;
        auto image = row.modelCode ? MakeImage(row.modelCode, row.version) : std::make_unique<CPufImage>();
        EXPECT_FALSE(driver.SetImage(target, image));
        EXPECT_EQ(target != nullptr, row.withTarget);
        EXPECT_NE(image, nullptr);
        EXPECT_EQ(driver.m_pTarget, nullptr);
        EXPECT_EQ(driver.m_pImage, nullptr);
    }

    CUpdater driver;
    auto target = MakeTarget();
    std::unique_ptr<CPufImage> noImage;
    EXPECT_FALSE(driver.SetImage(target, noImage));
    EXPECT_NE(target, nullptr);
}

// A driver set up for the KX-70 with firmware 1.20.
class Updater : public ::testing::Test {
protected:
    void SetUp() override
    {
        auto target = MakeTarget();
        auto image = MakeImage("070168", "1.20");
        ASSERT_TRUE(driver.SetImage(target, image));
    }

    // A printer that passes CheckPrinter with its first reply, then answers
    // with `later`.
    std::shared_ptr<const PortJournal> Accept(Script later, int format = STATUS_FORMAT_WORD)
    {
        auto port = std::make_unique<ScriptedPort>();
        port->Reply(kOlderPrinter);
        for (const auto& reply : later) {
            if (reply)
                port->Reply(*reply);
            else
                port->NoReply();
        }
        auto journal = port->Journal();
        std::unique_ptr<CPort> owned = std::move(port);
        EXPECT_EQ(driver.CheckPrinter(owned, format), CHECK_OK);
        return journal;
    }

    CUpdater driver;
};

TEST_F(Updater, CheckPrinterAcceptsOnlyAnOlderTargetPrinter)
{
    struct Row {
        const char* name;
        std::optional<std::wstring> reply;
        CHECK_RESULT result;
        std::wstring model;
        int version;
    };
    const Row rows[] = {
        {"older", L"MDL:KX-70;VER:1.10;", CHECK_OK, L"KX-70", 110},
        {"same", L"MDL:KX-70;VER:1.20;", CHECK_VERSION, L"KX-70", 120},
        {"same in IPL", L"MDL:KX-70;VER:1.20;MODE:IPL;", CHECK_OK, L"KX-70", 120},
        {"newer in IPL", L"MDL:KX-70;VER:1.30;MODE:IPL;", CHECK_VERSION, L"KX-70", 130},
        {"older in IPL", L"MODE:IPL;VER:0.05;MDL:KX-70", CHECK_OK, L"KX-70", 5},
        {"no version", L"MDL:KX-70;MODE:IPL", CHECK_VERSION, L"KX-70", -1},
        {"unreadable version", L"MDL:KX-70;VER:12345678901", CHECK_VERSION, L"KX-70", -1},
        {"other model", L"MDL:QR-500;VER:1.10;", CHECK_WRONG_MODEL, L"QR-500", 0},
        {"model in other case", L"MDL:kx-70;VER:1.10;", CHECK_WRONG_MODEL, L"kx-70", 0},
        {"model with a trailing space", L"MDL:KX-70 ;VER:1.10;", CHECK_WRONG_MODEL, L"KX-70 ", 0},
        {"no model", L"VER:1.10;mdl:KX-70", CHECK_WRONG_MODEL, L"", 0},
        {"empty reply", L"", CHECK_UNREADABLE, L"", 0},
        {"no reply", kNoReply, CHECK_NO_REPLY, L"", 0},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        CUpdater fresh;
        auto target = MakeTarget();
        auto image = MakeImage("070168", "1.20");
        ASSERT_TRUE(fresh.SetImage(target, image));
        Printer printer = MakePrinter({row.reply});

        EXPECT_EQ(fresh.CheckPrinter(printer.port, STATUS_FORMAT_RECORDS), row.result);
        EXPECT_EQ(fresh.m_strPrinterModel, row.model);
        EXPECT_EQ(fresh.m_nPrinterVersion, row.version);
        EXPECT_EQ(printer.journal->Count(PortJournal::Op::QueryStatus), 1u);
        const bool accepted = row.result == CHECK_OK;
        EXPECT_EQ(printer.port == nullptr, accepted) << "the port goes to the driver only on acceptance";
        EXPECT_EQ(fresh.m_pPort != nullptr, accepted);
        EXPECT_EQ(fresh.m_nStatusFormat, accepted ? STATUS_FORMAT_RECORDS : STATUS_FORMAT_NONE);
        EXPECT_FALSE(printer.journal->destroyed);
    }
}

TEST_F(Updater, CheckPrinterKeepsTheLastModelItRead)
{
    Printer other = MakePrinter({L"MDL:QR-500;VER:1.10;"});
    EXPECT_EQ(driver.CheckPrinter(other.port, STATUS_FORMAT_WORD), CHECK_WRONG_MODEL);
    Printer silent = MakePrinter({L"VER:1.10"});
    EXPECT_EQ(driver.CheckPrinter(silent.port, STATUS_FORMAT_WORD), CHECK_WRONG_MODEL);
    EXPECT_EQ(driver.m_strPrinterModel, L"QR-500");
    EXPECT_EQ(driver.m_nPrinterVersion, 0);
}

TEST(UpdaterNotSetUp, ChecksAskNothing)
{
    CUpdater driver;
    Printer printer = MakePrinter({kOlderPrinter});
    EXPECT_EQ(driver.CheckPrinter(printer.port, STATUS_FORMAT_WORD), CHECK_UNREADABLE);
    EXPECT_NE(printer.port, nullptr);
    EXPECT_EQ(driver.CheckReady(), CHECK_UNREADABLE);
    EXPECT_EQ(driver.CheckInstalled(), CHECK_UNREADABLE);
    EXPECT_TRUE(printer.journal->calls.empty());

    std::unique_ptr<CPort> none;
    EXPECT_EQ(driver.CheckPrinter(none, STATUS_FORMAT_WORD), CHECK_UNREADABLE);
}

TEST_F(Updater, PortOwnershipAcrossAcceptRefuseAndReaccept)
{
    Printer first = MakePrinter({kOlderPrinter});
    ASSERT_EQ(driver.CheckPrinter(first.port, STATUS_FORMAT_WORD), CHECK_OK);

    // A refused printer stays with the caller and the accepted one stays put.
    Printer refused = MakePrinter({L"MDL:KX-70;VER:1.20;"});
    EXPECT_EQ(driver.CheckPrinter(refused.port, STATUS_FORMAT_RECORDS), CHECK_VERSION);
    ASSERT_NE(refused.port, nullptr);
    EXPECT_FALSE(first.journal->destroyed);
    EXPECT_EQ(driver.m_nStatusFormat, STATUS_FORMAT_WORD);
    refused.port.reset();
    EXPECT_TRUE(refused.journal->destroyed);

    // A new acceptance releases the earlier port.
    Printer second = MakePrinter({kOlderPrinter});
    ASSERT_EQ(driver.CheckPrinter(second.port, STATUS_FORMAT_RECORDS), CHECK_OK);
    EXPECT_TRUE(first.journal->destroyed);
    EXPECT_FALSE(second.journal->destroyed);
    EXPECT_EQ(driver.m_nStatusFormat, STATUS_FORMAT_RECORDS);

    // Back to choosing a printer: the port goes, the format stays.
    driver.ReleasePrinter();
    EXPECT_TRUE(second.journal->destroyed);
    EXPECT_EQ(driver.m_pPort, nullptr);
    EXPECT_EQ(driver.m_strPrinterModel, L"");
    EXPECT_EQ(driver.m_nPrinterVersion, 0);
    EXPECT_EQ(driver.m_nStatusFormat, STATUS_FORMAT_RECORDS);
    EXPECT_EQ(driver.CheckReady(), CHECK_UNREADABLE);
    EXPECT_EQ(driver.CheckInstalled(), CHECK_UNREADABLE);

    Printer third = MakePrinter({kOlderPrinter});
    auto thirdJournal = third.journal;
    {
        CUpdater owner;
        auto target = MakeTarget();
        auto image = MakeImage("070168", "1.20");
        ASSERT_TRUE(owner.SetImage(target, image));
        ASSERT_EQ(owner.CheckPrinter(third.port, STATUS_FORMAT_WORD), CHECK_OK);
        // Once a port is held, no image can be set any more.
        auto laterTarget = MakeTarget();
        auto laterImage = MakeImage("070168", "1.20");
        owner.m_pTarget.reset();
        owner.m_pImage.reset();
        EXPECT_FALSE(owner.SetImage(laterTarget, laterImage));
    }
    EXPECT_TRUE(thirdJournal->destroyed) << "the driver releases its port when it goes";
}

TEST_F(Updater, CheckReadyReadsBit31OfTheStatusCode)
{
    struct Row {
        const char* name;
        int format;
        std::optional<std::wstring> reply;
        CHECK_RESULT result;
    };
    const Row rows[] = {
        {"word 8", STATUS_FORMAT_WORD, L"STATUS:80000000", CHECK_OK},
        {"word 9", STATUS_FORMAT_WORD, L"MDL:KX-70;STATUS:9FFFFFFF;", CHECK_OK},
        {"word a", STATUS_FORMAT_WORD, L"STATUS:a0000000", CHECK_OK},
        {"word F", STATUS_FORMAT_WORD, L"STATUS:F0000000", CHECK_OK},
        {"word 7", STATUS_FORMAT_WORD, L"STATUS:7FFFFFFF", CHECK_NOT_READY},
        {"word 0", STATUS_FORMAT_WORD, L"STATUS:00000000", CHECK_NOT_READY},
        {"word first eight only", STATUS_FORMAT_WORD, L"STATUS:123456789", CHECK_NOT_READY},
        {"word not hex", STATUS_FORMAT_WORD, L"STATUS:XYZ12345", CHECK_NOT_READY},
        // wcstoul negates a signed text modulo 2^32.
        {"word negative", STATUS_FORMAT_WORD, L"STATUS:-0000001", CHECK_OK},
        {"word short", STATUS_FORMAT_WORD, L"STATUS:8000000", CHECK_UNREADABLE},
        {"records ready", STATUS_FORMAT_RECORDS, L"STATUS:0204ABCD0108F0000000", CHECK_OK},
        {"records busy", STATUS_FORMAT_RECORDS, L"STATUS:010870000000", CHECK_NOT_READY},
        {"records no code", STATUS_FORMAT_RECORDS, L"STATUS:0204ABCD", CHECK_UNREADABLE},
        {"records negative length", STATUS_FORMAT_RECORDS, L"STATUS:02-40108F0000000", CHECK_UNREADABLE},
        {"no status", STATUS_FORMAT_WORD, L"MDL:KX-70;VER:1.10", CHECK_UNREADABLE},
        {"IPL without status", STATUS_FORMAT_WORD, L"MODE:IPL", CHECK_IPL_MODE},
        {"IPL and not ready", STATUS_FORMAT_RECORDS, L"MODE:IPL;STATUS:010800000000", CHECK_IPL_MODE},
        {"empty reply", STATUS_FORMAT_WORD, L"", CHECK_UNREADABLE},
        {"no reply", STATUS_FORMAT_WORD, kNoReply, CHECK_NO_REPLY},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        CUpdater fresh;
        auto target = MakeTarget();
        auto image = MakeImage("070168", "1.20");
        ASSERT_TRUE(fresh.SetImage(target, image));
        Printer printer = MakePrinter({kOlderPrinter, row.reply});
        ASSERT_EQ(fresh.CheckPrinter(printer.port, row.format), CHECK_OK);

        EXPECT_EQ(fresh.CheckReady(), row.result);
        EXPECT_EQ(printer.journal->Count(PortJournal::Op::QueryStatus), 2u);
    }
}

TEST_F(Updater, CheckReadyNeedsAStatusFormat)
{
    auto journal = Accept({L"STATUS:80000000"}, STATUS_FORMAT_NONE);
    EXPECT_EQ(driver.CheckReady(), CHECK_UNREADABLE);
    EXPECT_EQ(journal->Count(PortJournal::Op::QueryStatus), 1u);
}

TEST_F(Updater, CheckInstalledWaitsForTheTargetVersion)
{
    struct Row {
        const char* name;
        std::optional<std::wstring> reply;
        CHECK_RESULT result;
    };
    const Row rows[] = {
        {"installed", L"MDL:KX-70;VER:1.20;", CHECK_OK},
        {"still old", L"MDL:KX-70;VER:1.10;", CHECK_VERSION},
        {"newer", L"MDL:KX-70;VER:1.30;", CHECK_VERSION},
        {"other model", L"MDL:QR-500;VER:1.20;", CHECK_WRONG_MODEL},
        {"IPL", L"MDL:KX-70;VER:1.20;MODE:IPL", CHECK_IPL_MODE},
        {"IPL with other model", L"MODE:IPL;MDL:QR-500", CHECK_IPL_MODE},
        {"no model", L"VER:1.20", CHECK_UNREADABLE},
        {"no version", L"MDL:KX-70", CHECK_UNREADABLE},
        {"unreadable version", L"MDL:KX-70;VER:12345678901", CHECK_UNREADABLE},
        {"empty reply", L"", CHECK_UNREADABLE},
        {"no reply", kNoReply, CHECK_NO_REPLY},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        CUpdater fresh;
        auto target = MakeTarget();
        auto image = MakeImage("070168", "1.20");
        ASSERT_TRUE(fresh.SetImage(target, image));
        Printer printer = MakePrinter({kOlderPrinter, row.reply});
        ASSERT_EQ(fresh.CheckPrinter(printer.port, STATUS_FORMAT_WORD), CHECK_OK);

        EXPECT_EQ(fresh.CheckInstalled(), row.result);
        // The poll reads; it leaves what CheckPrinter found for the messages.
        EXPECT_EQ(fresh.m_strPrinterModel, L"KX-70");
        EXPECT_EQ(fresh.m_nPrinterVersion, 110);
    }
}

TEST_F(Updater, OneUpdateFromCheckToInstalled)
{
    auto journal = Accept({
        L"MDL:KX-70;VER:1.10;STATUS:00000000;",  // not ready: SUB power still on
        L"MDL:KX-70;VER:1.10;STATUS:80000000;",  // ready
        kNoReply,                                // installing: silent
        L"MODE:IPL;STATUS:80000000;",            // installing: boot mode
        L"MDL:KX-70;VER:1.20;MODE:NORMAL;",      // installed
    });
    EXPECT_EQ(driver.CheckReady(), CHECK_NOT_READY);
    EXPECT_EQ(driver.CheckReady(), CHECK_OK);
    EXPECT_EQ(driver.CheckInstalled(), CHECK_NO_REPLY);
    EXPECT_EQ(driver.CheckInstalled(), CHECK_IPL_MODE);
    EXPECT_EQ(driver.CheckInstalled(), CHECK_OK);
    EXPECT_EQ(journal->Count(PortJournal::Op::QueryStatus), 6u);
    EXPECT_EQ(journal->calls.size(), 6u) << "the driver itself never enters update mode or sends";
}

} // namespace
