// The LPR port against a scripted LPD on TCP 515 of this process's own
// loopback address: the bytes of every job, and how each answer of the
// printer (or its silence) decides the result.

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "ports/AccessCodes.h"
#include "ports/LprNetworkPort.h"
#include "tests/support/LoopbackAddress.h"
#include "tests/support/ScriptedLpd.h"
#include "tests/support/ScriptedTcpPeer.h"

namespace {

using namespace testsupport;

constexpr std::uint16_t kLpdPort = 515;

const Bytes kJobCommand{0x02, 0x25, 0x6C, 0x70, 0x31, 0x20, 0x78, 0x0A};

Bytes Concat(std::initializer_list<Bytes> parts)
{
    Bytes all;
    for (const Bytes& part : parts)
        all.insert(all.end(), part.begin(), part.end());
    return all;
}

// The bytes of a job of these data files, built here from the framing
// rules rather than from the port's own helpers.
Bytes JobOf(const std::vector<Bytes>& files)
{
    Bytes job = kJobCommand;
    for (const Bytes& file : files) {
        job = Concat({job, Bytes{0x03}, BytesOf(std::to_string(file.size()) + " x\n"), file, Bytes{0x00}});
    }
    return job;
}

Bytes Pattern(std::size_t size)
{
    Bytes bytes(size);
    for (std::size_t i = 0; i < size; ++i)
        bytes[i] = static_cast<std::uint8_t>((i * 131 + i / 251) & 0xFF);
    return bytes;
}

// Where two byte strings first differ, for a readable failure on 200 KB.
::testing::AssertionResult SameBytes(const Bytes& actual, const Bytes& expected)
{
    if (actual == expected)
        return ::testing::AssertionSuccess();
    std::size_t at = 0;
    while (at < actual.size() && at < expected.size() && actual[at] == expected[at])
        ++at;
    return ::testing::AssertionFailure() << "sizes " << actual.size() << " and " << expected.size()
                                         << ", first difference at offset " << at;
}

class LprNetworkPortTest : public ::testing::Test {
protected:
    const std::uint32_t m_address = LoopbackAddress(10);
    WaitWatchdog m_watchdog;
};

TEST_F(LprNetworkPortTest, EnterUpdateModeSendsTheEntryMessagesAsOneJob)
{
    struct Row {
        int codeIndex;
        const char* accessMessage;
    };
    for (const Row& row : {Row{0, accesscodes::MessageA()}, Row{1, accesscodes::MessageB()}, Row{7, accesscodes::MessageB()}}) {
        SCOPED_TRACE(::testing::Message() << "code index " << row.codeIndex);
        ScriptedTcpPeer lpd(m_address, kLpdPort, LpdReceiver());
        CLprNetworkPort port(m_address, row.codeIndex);
        EXPECT_EQ(port.EnterUpdateMode(), 1);

        const auto connections = lpd.WaitForConnections(1);
        ASSERT_EQ(connections.size(), 1u);
        const Bytes& received = connections[0].received;
        const Bytes bootPacket = Concat({Bytes{0x00, 0x12}, BytesOf("BOOT_UpdateMain 0\n"), Bytes{0xE8}});
        EXPECT_TRUE(SameBytes(received, JobOf({BytesOf(row.accessMessage), BytesOf("PIPE MONITOR"), bootPacket})));

        // The framing as it stands on the wire: job command, then the
        // 510-byte file's announcement.
        const Bytes announce510{0x03, 0x35, 0x31, 0x30, 0x20, 0x78, 0x0A};
        ASSERT_GE(received.size(), 15u);
        EXPECT_EQ(Bytes(received.begin(), received.begin() + 8), kJobCommand);
        EXPECT_EQ(Bytes(received.begin() + 8, received.begin() + 15), announce510);
        const Bytes announce12{0x03, 0x31, 0x32, 0x20, 0x78, 0x0A};
        EXPECT_NE(std::search(received.begin(), received.end(), announce12.begin(), announce12.end()),
                  received.end());
        EXPECT_TRUE(connections[0].installerClosed);
    }
}

TEST_F(LprNetworkPortTest, SendDataSendsOneJobOfPieces)
{
    struct Row {
        const char* name;
        DWORD length;
        DWORD chunkSize;
        std::vector<std::size_t> pieces;
    };
    const Row rows[] = {
        {"two default pieces and one byte", 2 * 102400 + 1, 0, {102400, 102400, 1}},
        {"a piece size of the caller's", 2500, 1000, {1000, 1000, 500}},
        {"exactly one default piece", 102400, 0, {102400}},
        {"nothing: the job alone", 0, 0, {}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        ScriptedTcpPeer lpd(m_address, kLpdPort, LpdReceiver());
        const Bytes data = Pattern(row.length);
        CLprNetworkPort port(m_address, 0);
        EXPECT_EQ(port.SendData(data.data(), row.length, row.chunkSize), 1);

        std::vector<Bytes> files;
        std::size_t offset = 0;
        for (std::size_t piece : row.pieces) {
            files.emplace_back(data.begin() + static_cast<std::ptrdiff_t>(offset),
                               data.begin() + static_cast<std::ptrdiff_t>(offset + piece));
            offset += piece;
        }
        const auto connections = lpd.WaitForConnections(1);
        ASSERT_EQ(connections.size(), 1u);
        EXPECT_TRUE(SameBytes(connections[0].received, JobOf(files)));
        EXPECT_TRUE(connections[0].installerClosed);
    }
}

TEST_F(LprNetworkPortTest, AnAcknowledgementCountsByItsFirstByteOnly)
{
    // A job of two 8-byte files. The stream's length after each step:
    // job command 8, subcommand "\x03" "8 x\n" 5, file and zero byte 9.
    constexpr std::size_t kAfterJob = 8, kAfterSub0 = 13, kAfterFile0 = 22, kAfterSub1 = 27, kWhole = 36;
    struct Row {
        const char* name;
        LpdStep step;
        int file;
        LpdAnswer answer;
        BOOL result;
        std::size_t received; // what the printer got before the port stopped
    };
    const Row rows[] = {
        {"job command answered 0x01", LpdStep::JobCommand, 0, LpdAnswer::Reply({0x01}), 0, kAfterJob},
        {"subcommand answered 0xFF", LpdStep::Subcommand, 1, LpdAnswer::Reply({0xFF}), 0, kAfterSub1},
        {"data file answered 0x01 0x00", LpdStep::EndOfFile, 0, LpdAnswer::Reply({0x01, 0x00}), 0, kAfterFile0},
        {"a long answer starting 0x00", LpdStep::Subcommand, 0, LpdAnswer::Reply({0x00, 0x01, 0x02, 0x03}), 1, kWhole},
        {"close instead of answering the job command", LpdStep::JobCommand, 0, LpdAnswer::Close(), 0, kAfterJob},
        {"close after a subcommand", LpdStep::Subcommand, 0, LpdAnswer::Close(), 0, kAfterSub0},
        {"close after the last file's zero byte", LpdStep::EndOfFile, 1, LpdAnswer::Close(), 1, kWhole},
        // Only that file counts as taken: the next subcommand goes unanswered.
        {"close after the first file's zero byte", LpdStep::EndOfFile, 0, LpdAnswer::Close(), 0, kAfterFile0},
    };
    const Bytes data = Pattern(16);
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        ScriptedTcpPeer lpd(m_address, kLpdPort, LpdReceiver([&row](LpdStep step, int file) {
            return step == row.step && file == row.file ? row.answer : LpdAnswer::Ack();
        }));
        CLprNetworkPort port(m_address, 0);
        EXPECT_EQ(port.SendData(data.data(), 16, 8), row.result);

        const auto connections = lpd.WaitForConnections(1);
        ASSERT_EQ(connections.size(), 1u);
        EXPECT_EQ(connections[0].received.size(), row.received);
        // The port has let go of the connection whichever way it ended.
        EXPECT_TRUE(connections[0].installerClosed || connections[0].peerClosed);
    }
}

TEST_F(LprNetworkPortTest, FailureInTheEntryStopsAtThatMessage)
{
    // The printer rejects "PIPE MONITOR": the boot packet is never announced.
    ScriptedTcpPeer lpd(m_address, kLpdPort, LpdReceiver([](LpdStep step, int file) {
        return step == LpdStep::EndOfFile && file == 1 ? LpdAnswer::Reply({0x01}) : LpdAnswer::Ack();
    }));
    CLprNetworkPort port(m_address, 0);
    EXPECT_EQ(port.EnterUpdateMode(), 0);
    const auto connections = lpd.WaitForConnections(1);
    ASSERT_EQ(connections.size(), 1u);
    EXPECT_TRUE(SameBytes(connections[0].received,
                          JobOf({BytesOf(accesscodes::MessageA()), BytesOf("PIPE MONITOR")})));
}

TEST_F(LprNetworkPortTest, NoPrinterListeningFailsEveryOperation)
{
    CLprNetworkPort port(LoopbackAddress(19), 0);
    const Bytes data = Pattern(10);
    EXPECT_EQ(port.EnterUpdateMode(), 0);
    EXPECT_EQ(port.SendData(data.data(), 10, 0), 0);
    EXPECT_EQ(port.SendData(nullptr, 0, 0), 0);
}

} // namespace
