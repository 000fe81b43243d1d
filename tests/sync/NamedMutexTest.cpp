#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>

#include "platform/sync/NamedMutex.h"
#include "platform/sync/ObjectNames.h"
#include "tests/support/ScopedRuntimeDir.h"
#include "tests/sync/SelfChild.h"

namespace {

using platform::NamedMutex;
using platform::ObjectNamespace;
using ::testing::HasSubstr;

constexpr wchar_t kName[] = L"Corvex Firmware Installer";

// Exit codes of the "probe" child.
constexpr int kProbeOwned = 0;
constexpr int kProbeTaken = 2;
constexpr int kProbeFailed = 3;

// What a child started by one of the tests does; ends the child.
[[noreturn]] void PlayRole(const std::string& role)
{
    if (role == "hold") {
        auto mutex = NamedMutex::CreateOwned(kName);
        synctest::Report(mutex && mutex->Owns() ? 'H' : 'X');
        synctest::WaitForParent();
        std::_Exit(0);
    }
    if (role == "probe") {
        auto mutex = NamedMutex::CreateOwned(kName);
        std::_Exit(!mutex ? kProbeFailed : mutex->AlreadyExists() ? kProbeTaken : kProbeOwned);
    }
    if (role == "idle") {
        synctest::Report('I');
        synctest::WaitForParent();
        std::_Exit(0);
    }
    std::_Exit(99);
}

mode_t ModeOf(const std::filesystem::path& path)
{
    struct stat info {};
    EXPECT_EQ(::lstat(path.c_str(), &info), 0) << path;
    return info.st_mode & 07777;
}

// Every test runs in a runtime folder of its own; a child started by the
// test plays its role before it would make another.
class NamedMutexTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (auto role = synctest::ChildRole())
            PlayRole(*role);
        m_runtime.emplace();
    }

    const std::filesystem::path& Runtime() const { return m_runtime->Path(); }

private:
    std::optional<testsupport::ScopedRuntimeDir> m_runtime;
};

TEST_F(NamedMutexTest, FirstCreationOwnsAPrivateLockFile)
{
    auto mutex = NamedMutex::CreateOwned(kName);
    ASSERT_TRUE(mutex) << mutex.Error().Message();
    EXPECT_TRUE(mutex->Owns());
    EXPECT_FALSE(mutex->AlreadyExists());
    EXPECT_EQ(mutex->LastError(), 0u);

    const std::filesystem::path folder = Runtime() / "tallow-objects";
    EXPECT_EQ(mutex->Path(), (folder / "Corvex%20Firmware%20Installer").string());
    EXPECT_EQ(ModeOf(folder), 0700u);
    EXPECT_EQ(ModeOf(mutex->Path()) & 077, 0u);
}

TEST_F(NamedMutexTest, SecondCreationWhileHeldReportsAlreadyExists)
{
    auto first = NamedMutex::CreateOwned(kName);
    ASSERT_TRUE(first && first->Owns());

    synctest::SelfChild probe("probe");
    EXPECT_EQ(probe.Wait(), kProbeTaken) << "another process must see the mutex taken";

    // The same holds for a second creation in this process, as on Windows.
    auto second = NamedMutex::CreateOwned(kName);
    ASSERT_TRUE(second) << second.Error().Message();
    EXPECT_TRUE(second->AlreadyExists());
    EXPECT_EQ(second->LastError(), platform::ERROR_ALREADY_EXISTS);
    EXPECT_FALSE(second->Owns());

    // Neither attempt took anything from the holder; another name is
    // another mutex.
    EXPECT_TRUE(first->Owns());
    auto other = NamedMutex::CreateOwned(L"Corvex Firmware Installer 2");
    ASSERT_TRUE(other);
    EXPECT_TRUE(other->Owns());
}

TEST_F(NamedMutexTest, HolderKilledWithSigkillReleasesTheMutex)
{
    synctest::SelfChild holder("hold");
    ASSERT_EQ(holder.NextReport(), 'H');

    auto whileHeld = NamedMutex::CreateOwned(kName);
    ASSERT_TRUE(whileHeld);
    EXPECT_TRUE(whileHeld->AlreadyExists());

    holder.Kill();
    auto afterwards = NamedMutex::CreateOwned(kName);
    ASSERT_TRUE(afterwards) << afterwards.Error().Message();
    EXPECT_TRUE(afterwards->Owns());
}

TEST_F(NamedMutexTest, ProgramStartedByTheHolderDoesNotKeepTheMutex)
{
    std::optional<synctest::SelfChild> started;
    {
        auto mutex = NamedMutex::CreateOwned(kName);
        ASSERT_TRUE(mutex && mutex->Owns());
        started.emplace("idle");
        ASSERT_EQ(started->NextReport(), 'I');
    } // the holder lets go while the program it started runs on

    synctest::SelfChild probe("probe");
    EXPECT_EQ(probe.Wait(), kProbeOwned) << "the started program inherited the lock";
}

TEST_F(NamedMutexTest, FailuresSayWhichMutexAndWhy)
{
    struct Row {
        const char* what;
        std::wstring name;
        bool objectFolderIsAFile;
        int code;
    };
    const Row rows[] = {
        // Not "another copy runs": the lock could not be made at all.
        {"folder taken by a file", kName, true, ENOTDIR},
        {"empty name", L"", false, EINVAL},
        {"prefix only", L"Local\\", false, EINVAL},
        {"machine-wide, not built yet", L"Global\\Corvex Firmware Installer", false, ENOTSUP},
        {"too long once escaped", std::wstring(90, L'\u00e9'), false, ENAMETOOLONG},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        const std::filesystem::path folder = Runtime() / "tallow-objects";
        std::filesystem::remove_all(folder);
        if (row.objectFolderIsAFile)
            std::ofstream(folder) << "not a folder";

        auto mutex = NamedMutex::CreateOwned(row.name);
        ASSERT_FALSE(mutex);
        EXPECT_EQ(mutex.Error().Code(), row.code) << mutex.Error().Message();
        EXPECT_THAT(mutex.Error().Message(), HasSubstr("mutex \""));
    }
}

TEST(ObjectNames, OneEscapingRuleForEveryName)
{
    struct Row {
        std::wstring name;
        ObjectNamespace space;
        std::string escaped;
    };
    const Row rows[] = {
        {L"Corvex Firmware Installer", ObjectNamespace::Session, "Corvex%20Firmware%20Installer"},
        {L"Local\\KX70CTR110_Lock-1.0", ObjectNamespace::Session, "KX70CTR110_Lock-1.0"},
        {L"Global\\Corvex KX-70", ObjectNamespace::Global, "Corvex%20KX-70"},
        // Only the first prefix counts, and only as written.
        {L"Global\\Global\\x", ObjectNamespace::Global, "Global%5Cx"},
        {L"global\\x", ObjectNamespace::Session, "global%5Cx"},
        // No name becomes ".", "..", a hidden file or a path.
        {L".", ObjectNamespace::Session, "%2E"},
        {L"..", ObjectNamespace::Session, "%2E."},
        {L".lock", ObjectNamespace::Session, "%2Elock"},
        {L"a/b\\c", ObjectNamespace::Session, "a%2Fb%5Cc"},
        // The escape character escapes itself, so the rule is reversible.
        {L"100%", ObjectNamespace::Session, "100%25"},
        {L"100%25", ObjectNamespace::Session, "100%2525"},
        // Case is kept: Windows object names are case-sensitive.
        {L"Mutex", ObjectNamespace::Session, "Mutex"},
        {L"mutex", ObjectNamespace::Session, "mutex"},
        // Text beyond ASCII escapes its UTF-8 bytes.
        {L"\u30d7\u30ea\u30f3\u30bf", ObjectNamespace::Session, "%E3%83%97%E3%83%AA%E3%83%B3%E3%82%BF"},
    };
    for (const Row& row : rows) {
        auto mapped = platform::MapObjectName(row.name);
        ASSERT_TRUE(mapped) << row.escaped;
        EXPECT_EQ(mapped->space, row.space) << row.escaped;
        EXPECT_EQ(mapped->escaped, row.escaped);
    }
}

} // namespace
