#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <string>

#include "platform/fs/File.h"
#include "tests/support/ScratchFolder.h"

namespace {

using platform::FileSharing;

TEST(ReadWholeFile, ReadsEveryByteUpToTheLimit)
{
    testsupport::ScratchFolder scratch("file");
    const std::string bytes("a\0b\xFF", 4);
    const std::string path = scratch.Write("f", bytes).string();
    for (FileSharing sharing : {FileSharing::Shared, FileSharing::Exclusive}) {
        EXPECT_EQ(platform::ReadWholeFile(path, 4, sharing).Value(), bytes);
        auto tooLarge = platform::ReadWholeFile(path, 3, sharing);
        ASSERT_FALSE(tooLarge);
        EXPECT_EQ(tooLarge.Error().Code(), EFBIG);
    }
    EXPECT_EQ(platform::ReadWholeFile(scratch.Write("empty", "").string(), 0).Value(), "");
}

TEST(ReadWholeFile, RefusesWhatIsNoRegularFile)
{
    testsupport::ScratchFolder scratch("file");
    const std::string fifo = (scratch.Path() / "fifo").string();
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    struct Row {
        const char* what;
        std::string path;
        int code;
    } rows[] = {
        {"missing", (scratch.Path() / "missing").string(), ENOENT},
        {"folder", scratch.Path().string(), EISDIR},
        {"pipe without a writer (must not block)", fifo, EINVAL},
        {"zero inside the name", scratch.Path().string() + std::string("\0x", 2), ENOENT},
    };
    for (const Row& row : rows) {
        auto result = platform::ReadWholeFile(row.path, 1024, FileSharing::Exclusive);
        ASSERT_FALSE(result) << row.what;
        EXPECT_EQ(result.Error().Code(), row.code) << row.what << ": " << result.Error().Message();
    }
}

TEST(ReadWholeFile, AnExclusiveReadFailsWhileAnotherHolderHasTheLock)
{
    testsupport::ScratchFolder scratch("file");
    const std::string path = scratch.Write("locked", "data").string();
    const int holder = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    ASSERT_GE(holder, 0);
    ASSERT_EQ(::flock(holder, LOCK_EX | LOCK_NB), 0);

    auto refused = platform::ReadWholeFile(path, 1024, FileSharing::Exclusive);
    ASSERT_FALSE(refused);
    EXPECT_EQ(refused.Error().Call(), "flock");
    EXPECT_EQ(refused.Error().Code(), EWOULDBLOCK);
    // Reads that do not ask for exclusivity are not kept out.
    EXPECT_EQ(platform::ReadWholeFile(path, 1024, FileSharing::Shared).Value(), "data");

    // Once the holder lets go the read succeeds, and afterwards holds nothing.
    ::close(holder);
    EXPECT_EQ(platform::ReadWholeFile(path, 1024, FileSharing::Exclusive).Value(), "data");
    const int after = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    ASSERT_GE(after, 0);
    EXPECT_EQ(::flock(after, LOCK_EX | LOCK_NB), 0);
    ::close(after);
}

} // namespace
