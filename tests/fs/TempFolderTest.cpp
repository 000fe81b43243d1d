#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <functional>
#include <string>

#include "platform/fs/TempFolder.h"
#include "tests/support/ScratchFolder.h"

namespace {

namespace fs = std::filesystem;

std::string OwnName()
{
    return "tallow-" + std::to_string(::geteuid());
}

mode_t ModeOf(const fs::path& path)
{
    struct stat info {};
    EXPECT_EQ(::lstat(path.c_str(), &info), 0);
    return info.st_mode & 07777;
}

TEST(TempFolder, FallbackIsCreatedPrivateAndReused)
{
    testsupport::ScratchFolder scratch("temp");
    const mode_t oldMask = ::umask(0);  // the folder's mode must not depend on the caller's umask
    auto first = platform::TempFolderFrom(nullptr, scratch.Path().string());
    ::umask(oldMask);
    ASSERT_TRUE(first) << first.Error().Message();
    EXPECT_EQ(*first, (scratch.Path() / OwnName()).string());
    EXPECT_EQ(ModeOf(*first), 0700u);

    // A second run takes the folder the first one made.
    auto second = platform::TempFolderFrom(nullptr, scratch.Path().string());
    ASSERT_TRUE(second);
    EXPECT_EQ(*second, *first);
}

TEST(TempFolder, XdgRuntimeDirIsUsedOnlyWhenPrivate)
{
    testsupport::ScratchFolder scratch("temp");
    const fs::path runtime = scratch.Path() / "runtime";
    fs::create_directory(runtime);
    fs::permissions(runtime, fs::perms::owner_all);
    fs::create_directory_symlink(runtime, scratch.Path() / "runtime-link");
    const fs::path shared = scratch.Path() / "shared";
    fs::create_directory(shared);
    fs::permissions(shared, fs::perms::all);
    const fs::path fallbackParent = scratch.Path() / "parent";
    fs::create_directory(fallbackParent);
    const std::string fallback = (fallbackParent / OwnName()).string();

    struct Row {
        const char* what;
        std::string xdg;
        std::string expected;
    };
    const Row rows[] = {
        {"private folder", runtime.string(), runtime.string()},
        {"trailing separator dropped", runtime.string() + "/", runtime.string()},
        {"relative path ignored", "runtime", fallback},
        {"symbolic link ignored", (scratch.Path() / "runtime-link").string(), fallback},
        {"writable by others ignored", shared.string(), fallback},
        {"missing folder ignored", (scratch.Path() / "missing").string(), fallback},
        {"empty value ignored", "", fallback},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        auto folder = platform::TempFolderFrom(row.xdg.c_str(), fallbackParent.string());
        ASSERT_TRUE(folder) << folder.Error().Message();
        EXPECT_EQ(*folder, row.expected);
    }
}

TEST(TempFolder, AFallbackThatIsNotPrivateIsRefused)
{
    // Each row plants something at /tmp/tallow-<uid> (here: in a scratch
    // parent) before the installer runs, the way another local user could.
    struct Row {
        const char* what;
        std::function<void(const fs::path&)> plant;
        int code;
        std::string message;
    };
    const Row rows[] = {
        {"symbolic link to a folder", [](const fs::path& p) {
             fs::create_directory(p.parent_path() / "elsewhere");
             fs::create_directory_symlink(p.parent_path() / "elsewhere", p);
         },
         ELOOP, ": a symbolic link: ELOOP"},
        {"dangling symbolic link", [](const fs::path& p) { fs::create_symlink(p.parent_path() / "nowhere", p); },
         ELOOP, ": a symbolic link: ELOOP"},
        {"a file", [](const fs::path& p) { std::ofstream(p) << "x"; }, ENOTDIR, ": not a directory: ENOTDIR"},
        {"writable by everyone", [](const fs::path& p) {
             fs::create_directory(p);
             fs::permissions(p, fs::perms::all);
         },
         EPERM, ": mode 0777 lets others write: EPERM"},
        {"another user's folder", [](const fs::path& p) {
             fs::create_directory(p);
             fs::permissions(p, fs::perms::owner_all);
             ASSERT_EQ(::chown(p.c_str(), 65534, 65534), 0);
         },
         EPERM, ": owned by uid 65534, not " + std::to_string(::geteuid()) + ": EPERM"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        if (std::string(row.what) == "another user's folder" && ::geteuid() != 0) {
            GTEST_LOG_(INFO) << "not root: a folder of another user cannot be made; row skipped";
            continue;
        }
        testsupport::ScratchFolder scratch("temp");
        const fs::path planted = scratch.Path() / OwnName();
        row.plant(planted);
        auto folder = platform::TempFolderFrom(nullptr, scratch.Path().string());
        ASSERT_FALSE(folder);
        EXPECT_EQ(folder.Error().Code(), row.code);
        const std::string message = folder.Error().Message();
        EXPECT_EQ(message.rfind("temporary folder " + planted.string() + row.message, 0), 0u) << message;
    }
}

TEST(TempFolder, AParentOthersCanWriteNeedsTheStickyBit)
{
    testsupport::ScratchFolder scratch("temp");
    const fs::path parent = scratch.Path() / "tmp";
    fs::create_directory(parent);
    fs::permissions(parent, fs::perms::all);
    auto refused = platform::TempFolderFrom(nullptr, parent.string());
    ASSERT_FALSE(refused);
    EXPECT_EQ(refused.Error().Message().rfind("temporary folder parent " + parent.string() +
                                                  ": mode 0777 lets others replace what it holds: EPERM",
                                              0),
              0u)
        << refused.Error().Message();

    fs::permissions(parent, fs::perms::all | fs::perms::sticky_bit);
    auto accepted = platform::TempFolderFrom(nullptr, parent.string());
    ASSERT_TRUE(accepted) << accepted.Error().Message();
    EXPECT_EQ(*accepted, (parent / OwnName()).string());
}

} // namespace
