#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "platform/fs/Path.h"
#include "tests/support/ScratchFolder.h"

namespace {

TEST(Path, JoinTurnsTheProgramsBackslashesIntoSeparators)
{
    struct Row {
        const char* base;
        const char* relative;
        const char* joined;
    } rows[] = {
        {"/opt/corvex", "Tessaly\\Device\\DeviceInfo.xml", "/opt/corvex/Tessaly/Device/DeviceInfo.xml"},
        {"/opt/corvex/", "Tessaly 1.0\\Device\\DeviceInfo.xml", "/opt/corvex/Tessaly 1.0/Device/DeviceInfo.xml"},
        {"", "Tessaly\\Device\\DeviceInfo.xml", "Tessaly/Device/DeviceInfo.xml"},
        {"/", "x", "/x"},
        {"/opt", "\\x", "/opt/x"},
        {"/opt", "", "/opt/"},
        // A folder from outside keeps its backslashes: on Linux they are
        // part of the name.
        {"/srv/a\\b", "c\\d", "/srv/a\\b/c/d"},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(platform::JoinPath(std::string(row.base), std::string(row.relative)), row.joined)
            << row.base << " + " << row.relative;
    }
    EXPECT_EQ(platform::JoinPath(std::wstring(L"/opt/\u00E9"), std::wstring(L"a\\b")), L"/opt/\u00E9/a/b");
}

TEST(Path, ExistsForFilesAndFoldersByUtf8Name)
{
    testsupport::ScratchFolder scratch("path");
    scratch.Write("caf\xC3\xA9/file", "x");
    const std::wstring base = std::filesystem::path(scratch.Path()).wstring();
    EXPECT_TRUE(platform::PathExists(base + L"/caf\u00E9"));
    EXPECT_TRUE(platform::PathExists(base + L"/caf\u00E9/file"));
    EXPECT_FALSE(platform::PathExists(base + L"/cafe"));
    EXPECT_FALSE(platform::PathExists(std::wstring(L"")));
    // A zero inside a name must not ask about the shorter name before it.
    EXPECT_FALSE(platform::PathExists(base + std::wstring(L"/caf\u00E9\0/nothing", 14)));
}

} // namespace
