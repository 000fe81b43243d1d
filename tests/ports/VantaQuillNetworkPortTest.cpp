// The Vanta and Quill ports against scripted peers on TCP 9100, 9101 and
// 9500 of this process's own loopback address: the boot frame, where it
// goes, Quill's hold on the platform clock, and the image stream.

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <future>
#include <memory>
#include <vector>

#include "platform/time/Clock.h"
#include "ports/QuillNetworkPort.h"
#include "ports/VantaNetworkPort.h"
#include "tests/support/LoopbackAddress.h"
#include "tests/support/ScriptedTcpPeer.h"

namespace {

using namespace testsupport;
using namespace std::chrono_literals;

constexpr std::uint16_t kImagePort = 9100;
constexpr std::uint16_t kVantaBootPort = 9101;
constexpr std::uint16_t kQuillBootPort = 9500;

Bytes BootFrame()
{
    Bytes frame{0x80, 0x00, 0x15, 0x00, 0x06};
    const Bytes text = BytesOf("BOOT_UpdateMain 0\n");
    frame.insert(frame.end(), text.begin(), text.end());
    frame.push_back(0xD6);
    frame.push_back(0xB9);
    return frame;
}

// A clock whose sleeps cost nothing, as ManualClock's, and which lets the
// test look at the world while the code under test sleeps.
class ObservingClock final : public platform::Clock {
public:
    explicit ObservingClock(std::function<void()> whileAsleep) : m_whileAsleep(std::move(whileAsleep)) {}
    TimePoint Now() const override { return m_manual.Now(); }
    void Sleep(Duration duration) override
    {
        m_whileAsleep();
        m_manual.Sleep(duration);
    }
    const std::vector<Duration>& Sleeps() const { return m_manual.Sleeps(); }

private:
    std::function<void()> m_whileAsleep;
    platform::ManualClock m_manual;
};

struct PortKind {
    const char* name;
    std::function<std::unique_ptr<CVantaNetworkPort>(DWORD)> make;
    std::uint16_t bootPort;
    std::uint16_t otherBootPort;
    std::vector<platform::Clock::Duration> sleeps; // of EnterUpdateMode
};

const PortKind kKinds[] = {
    {"Vanta", [](DWORD a) { return std::make_unique<CVantaNetworkPort>(a); }, kVantaBootPort, kQuillBootPort, {}},
    {"Quill", [](DWORD a) { return std::make_unique<CQuillNetworkPort>(a); }, kQuillBootPort, kVantaBootPort,
     {21000ms}},
};

class VantaQuillNetworkPortTest : public ::testing::Test {
protected:
    const std::uint32_t m_address = LoopbackAddress(11);
    WaitWatchdog m_watchdog;
    platform::ManualClock m_clock;
    platform::ScopedClock m_scopedClock{m_clock};
};

TEST_F(VantaQuillNetworkPortTest, BootFrameGoesToTheFamilysPortOnly)
{
    for (const PortKind& kind : kKinds) {
        SCOPED_TRACE(kind.name);
        platform::ManualClock clock;
        platform::ScopedClock scoped(clock);
        ScriptedTcpPeer boot(m_address, kind.bootPort, nullptr);
        ScriptedTcpPeer other(m_address, kind.otherBootPort, nullptr);
        ScriptedTcpPeer image(m_address, kImagePort, nullptr);

        EXPECT_EQ(kind.make(m_address)->EnterUpdateMode(), 1);

        const auto connections = boot.WaitForConnections(1);
        ASSERT_EQ(connections.size(), 1u);
        EXPECT_EQ(connections[0].received, BootFrame());
        EXPECT_TRUE(connections[0].installerClosed);
        EXPECT_EQ(other.Accepted(), 0u);
        EXPECT_EQ(image.Accepted(), 0u);
        EXPECT_EQ(clock.Sleeps(), kind.sleeps);
    }
}

TEST_F(VantaQuillNetworkPortTest, QuillHoldsTheConnectionOpenThroughItsSleep)
{
    std::promise<void> asleep;
    std::promise<bool> closedWhileAsleep;
    ScriptedTcpPeer boot(m_address, kQuillBootPort, [&](PeerConnection& connection) {
        if (!connection.Read(25) || asleep.get_future().wait_for(10s) != std::future_status::ready)
            return;
        closedWhileAsleep.set_value(connection.InstallerHasClosed());
    });
    std::future<bool> verdict = closedWhileAsleep.get_future();
    // The frame is out before the sleep; the peer looks at the connection
    // while the port sleeps.
    ObservingClock clock([&] {
        asleep.set_value();
        verdict.wait_for(10s);
    });
    platform::ScopedClock scoped(clock);

    CQuillNetworkPort port(m_address);
    EXPECT_EQ(port.EnterUpdateMode(), 1);

    EXPECT_EQ(clock.Sleeps(), (std::vector<platform::Clock::Duration>{21000ms}));
    ASSERT_EQ(verdict.wait_for(0s), std::future_status::ready);
    EXPECT_FALSE(verdict.get());
    const auto connections = boot.WaitForConnections(1);
    ASSERT_EQ(connections.size(), 1u);
    EXPECT_EQ(connections[0].received, BootFrame());
    EXPECT_TRUE(connections[0].installerClosed);
}

TEST_F(VantaQuillNetworkPortTest, RefusedBootPortFailsWithoutTheHold)
{
    // Only the image port listens.
    ScriptedTcpPeer image(m_address, kImagePort, nullptr);
    for (const PortKind& kind : kKinds) {
        SCOPED_TRACE(kind.name);
        EXPECT_EQ(kind.make(m_address)->EnterUpdateMode(), 0);
    }
    EXPECT_TRUE(m_clock.Sleeps().empty());
    EXPECT_EQ(image.Accepted(), 0u);
}

TEST_F(VantaQuillNetworkPortTest, SendDataStreamsTheBytesToTheImagePort)
{
    struct Row {
        const char* name;
        DWORD length;
        DWORD chunkSize;
    };
    const Row rows[] = {
        {"two default pieces and one byte", 2 * 102400 + 1, 0},
        {"a piece size of the caller's", 2500, 1000},
        {"nothing: connect and close", 0, 0},
    };
    for (const PortKind& kind : kKinds) {
        for (const Row& row : rows) {
            SCOPED_TRACE(::testing::Message() << kind.name << ", " << row.name);
            ScriptedTcpPeer image(m_address, kImagePort, nullptr);
            ScriptedTcpPeer boot(m_address, kind.bootPort, nullptr);
            Bytes data(row.length);
            for (std::size_t i = 0; i < data.size(); ++i)
                data[i] = static_cast<std::uint8_t>(i * 7 + i / 256);

            EXPECT_EQ(kind.make(m_address)->SendData(data.data(), row.length, row.chunkSize), 1);

            const auto connections = image.WaitForConnections(1);
            ASSERT_EQ(connections.size(), 1u);
            EXPECT_TRUE(connections[0].received == data) << connections[0].received.size() << " bytes received";
            EXPECT_TRUE(connections[0].installerClosed);
            EXPECT_EQ(boot.Accepted(), 0u);
        }
    }
    EXPECT_TRUE(m_clock.Sleeps().empty());
}

TEST_F(VantaQuillNetworkPortTest, RefusedImagePortFailsSendData)
{
    const Bytes data(10, 0x42);
    for (const PortKind& kind : kKinds) {
        SCOPED_TRACE(kind.name);
        EXPECT_EQ(kind.make(m_address)->SendData(data.data(), 10, 0), 0);
        EXPECT_EQ(kind.make(m_address)->SendData(nullptr, 0, 0), 0);
    }
}

} // namespace
