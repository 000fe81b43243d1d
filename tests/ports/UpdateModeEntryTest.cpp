#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "ports/AccessCodes.h"
#include "ports/UpdateModeEntry.h"
#include "ports/Wire.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes BytesOf(std::string_view text)
{
    return Bytes(text.begin(), text.end());
}

TEST(BootPacket, IsLengthWordTextAndCheckByte)
{
    Bytes expected{0x00, 0x12};
    const Bytes text = BytesOf("BOOT_UpdateMain 0\n");
    expected.insert(expected.end(), text.begin(), text.end());
    expected.push_back(0xE8);

    const wire::BootPacketBytes packet = wire::MakeBootPacket();
    EXPECT_EQ(Bytes(packet.begin(), packet.end()), expected);
}

// Records the messages of one entry and fails the one numbered `failAt`
// (1-based; 0 fails none).
struct EntryRecorder {
    int failAt = 0;
    BOOL success = 1;
    std::vector<Bytes> messages;

    SendEntryMessage Sender()
    {
        return [this](std::span<const std::uint8_t> message) -> BOOL {
            messages.emplace_back(message.begin(), message.end());
            return static_cast<int>(messages.size()) == failAt ? 0 : success;
        };
    }
};

TEST(UpdateModeEntry, SendsAccessCodePipeMonitorAndBootPacket)
{
    EntryRecorder recorder;
    // Any nonzero result of the last message is the entry's result.
    recorder.success = 7;
    EXPECT_EQ(SendUpdateModeEntry(accesscodes::MessageB(), recorder.Sender()), 7);

    ASSERT_EQ(recorder.messages.size(), 3u);
    const Bytes& access = recorder.messages[0];
    ASSERT_EQ(access.size(), 510u);
    EXPECT_EQ(std::memcmp(access.data(), accesscodes::MessageB(), access.size()), 0);
    EXPECT_EQ(recorder.messages[1], BytesOf("PIPE MONITOR"));
    const wire::BootPacketBytes boot = wire::MakeBootPacket();
    EXPECT_EQ(recorder.messages[2], Bytes(boot.begin(), boot.end()));
}

TEST(UpdateModeEntry, StopsAtTheFirstUndeliveredMessage)
{
    for (int failAt : {1, 2, 3}) {
        SCOPED_TRACE(::testing::Message() << "message " << failAt << " fails");
        EntryRecorder recorder;
        recorder.failAt = failAt;
        EXPECT_EQ(SendUpdateModeEntry(accesscodes::MessageA(), recorder.Sender()), 0);
        EXPECT_EQ(recorder.messages.size(), static_cast<std::size_t>(failAt));
    }
}

TEST(UpdateModeEntry, PortWithoutAccessCodeSendsNothing)
{
    EntryRecorder recorder;
    EXPECT_EQ(SendUpdateModeEntry(nullptr, recorder.Sender()), 0);
    EXPECT_TRUE(recorder.messages.empty());
}

} // namespace
