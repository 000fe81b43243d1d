#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "platform/fs/HostFolder.h"
#include "platform/registry/HostRegistry.h"
#include "platform/registry/Registry.h"
#include "platform/text/Unicode.h"
#include "tests/registry/RegTestSupport.h"

namespace {

using platform::RegError;
using platform::RegRoot;

std::string DataFolder()
{
    const char* folder = std::getenv("TALLOW_TEST_DATA");
    return folder ? folder : "tests/data";
}

const std::wstring kTessaly = L"SOFTWARE\\Corvex\\Tessaly\\1.0\\Installer";

TEST(HostRegistry, FilesMergeInNameOrderAndLaterFilesWin)
{
    const std::string host = DataFolder() + "/registry/host";
    platform::RegistryLoad load = platform::LoadHostRegistry(host);
    const platform::Registry& registry = load.registry;

    // 20-override.reg names the key and the value in other letter cases: it
    // replaces the value (keeping the first spelling of the names), removes
    // "Note" and deletes the whole Obsolete key that 10-tessaly.reg made.
    auto key = registry.OpenKey(RegRoot::LocalMachine, kTessaly);
    ASSERT_TRUE(key);
    EXPECT_EQ(key->QueryString(L"InstallPath", 260).Value(), L"/srv/corvex");
    EXPECT_EQ(key->ValueNames(), (std::vector<std::wstring>{L"InstallPath", L"Version"}));
    EXPECT_EQ(key->QueryDword(L"version").Value(), 0x100u);
    EXPECT_FALSE(registry.OpenKey(RegRoot::LocalMachine, L"SOFTWARE\\Corvex\\Obsolete"));
    EXPECT_EQ(registry.OpenKey(RegRoot::LocalMachine, L"SOFTWARE\\Corvex")->SubKeyNames(),
              std::vector<std::wstring>{L"Tessaly"});
    EXPECT_EQ(regtest::StringAt(registry, RegRoot::Users, L".DEFAULT\\" + kTessaly, L"InstallPath"),
              L"/home/default/corvex");

    // The broken file's good lines load; its bad line is reported with the
    // file and line, and files that are no .reg files (or hidden) are not
    // read at all.
    EXPECT_EQ(regtest::StringAt(registry, RegRoot::LocalMachine, L"SOFTWARE\\Broken", L"Good"), L"kept");
    EXPECT_EQ(registry.OpenKey(RegRoot::LocalMachine, L"SOFTWARE\\Broken")->QueryDword(L"After").Value(), 1u);
    ASSERT_EQ(load.diagnostics.size(), 1u);
    EXPECT_EQ(load.diagnostics[0].Text(),
              host + "/registry/30-broken.reg:5: unknown escape in a quoted string"
                     " (write \\\\ for a backslash, \\\" for a quote)");
}

TEST(HostRegistry, MissingFoldersGiveAnEmptyRegistry)
{
    // A host folder without a registry/ folder is a machine without keys.
    platform::RegistryLoad noRegistry = platform::LoadHostRegistry(DataFolder() + "/registry");
    EXPECT_TRUE(noRegistry.diagnostics.empty());
    EXPECT_TRUE(noRegistry.registry.OpenKey(RegRoot::LocalMachine, L"")->SubKeyNames().empty());

    // A host folder that does not exist is most likely a mistake: say so.
    platform::RegistryLoad noHost = platform::LoadHostRegistry(DataFolder() + "/no-such-host");
    ASSERT_EQ(noHost.diagnostics.size(), 1u);
    EXPECT_NE(noHost.diagnostics[0].Text().find("host folder: stat: ENOENT"), std::string::npos)
        << noHost.diagnostics[0].Text();
}

TEST(HostRegistry, TheProcessReadsTheFolderThatTallowHostNames)
{
    // The process-wide registry is loaded at its first use, from the folder
    // TALLOW_HOST names then; no other test of this program uses it.
    ::setenv("TALLOW_HOST", (DataFolder() + "/registry/host").c_str(), 1);
    EXPECT_EQ(regtest::StringAt(platform::CurrentRegistry(), RegRoot::LocalMachine, kTessaly, L"InstallPath"),
              L"/srv/corvex");

    // A test may put another registry in force for a scope.
    const platform::Registry other = regtest::FromReg("[HKEY_LOCAL_MACHINE\\Other]\n");
    {
        platform::ScopedRegistry scoped(other);
        EXPECT_FALSE(platform::OpenRegistryKey(RegRoot::LocalMachine, kTessaly));
        EXPECT_TRUE(platform::OpenRegistryKey(RegRoot::LocalMachine, L"other"));
    }
    EXPECT_TRUE(platform::OpenRegistryKey(RegRoot::LocalMachine, kTessaly));
    ::unsetenv("TALLOW_HOST");
}

TEST(HostRegistry, AnUnsetOrEmptyTallowHostIsNoHost)
{
    const char* saved = std::getenv("TALLOW_HOST");
    const std::string previous = saved ? saved : "";
    ::setenv("TALLOW_HOST", "", 1);
    EXPECT_FALSE(platform::HostFolder());
    ::unsetenv("TALLOW_HOST");
    EXPECT_FALSE(platform::HostFolder());
    ::setenv("TALLOW_HOST", "/some/host", 1);
    EXPECT_EQ(platform::HostFolder(), "/some/host");
    if (saved)
        ::setenv("TALLOW_HOST", previous.c_str(), 1);
    else
        ::unsetenv("TALLOW_HOST");
}

TEST(Registry, NamesMatchWithoutCaseAndKeepTheirFirstSpellingAndOrder)
{
    const platform::Registry registry = regtest::FromReg(
        "[HKEY_CURRENT_USER\\Printers\\Zeta]\n"
        "[HKEY_CURRENT_USER\\Printers\\alpha\\Deep]\n"
        "\"Name\"=\"first\"\n"
        "[HKEY_CURRENT_USER\\PRINTERS\\ALPHA\\deep]\n"
        "\"NAME\"=\"second\"\n"
        "[HKEY_CURRENT_USER\\Printers\\\xC3\x84rger]\n"  // U+00C4
        "[HKEY_CURRENT_USER\\Printers\\Mid]\n"
        "[-HKEY_CURRENT_USER\\Printers\\Mid]\n"
        "[HKEY_CURRENT_USER\\Printers\\Mid]\n");
    auto printers = registry.OpenKey(RegRoot::CurrentUser, L"printers");
    ASSERT_TRUE(printers);
    // File order of first appearance; a deleted and re-created key goes last.
    EXPECT_EQ(printers->SubKeyNames(), (std::vector<std::wstring>{L"Zeta", L"alpha", L"\u00C4rger", L"Mid"}));
    EXPECT_EQ(printers->EnumKey(1), L"alpha");
    EXPECT_EQ(printers->EnumKey(4), std::nullopt);

    auto deep = registry.OpenKey(RegRoot::CurrentUser, L"PRINTERS\\Alpha\\DEEP");
    ASSERT_TRUE(deep);
    EXPECT_EQ(deep->Name(), L"Deep");
    EXPECT_EQ(deep->ValueNames(), std::vector<std::wstring>{L"Name"});
    EXPECT_EQ(deep->QueryString(L"name", 260).Value(), L"second");
    // Windows folds case beyond ASCII too.
    EXPECT_TRUE(printers->OpenSubKey(L"\u00E4RGER"));
}

TEST(Registry, KeyPathsOpenLevelByLevel)
{
    const platform::Registry registry = regtest::FromReg("[HKEY_USERS\\.DEFAULT\\A\\B]\n");
    struct Row {
        const wchar_t* path;
        bool found;
    } rows[] = {
        {L".DEFAULT\\A\\B", true}, {L".default\\a", true}, {L"", true},         {L".DEFAULT\\A\\B\\", true},
        {L".DEFAULT\\\\A", false}, {L"\\.DEFAULT", false}, {L".DEFAULT\\B", false}, {L"A", false},
    };
    for (const Row& row : rows)
        EXPECT_EQ(registry.OpenKey(RegRoot::Users, row.path).has_value(), row.found) << platform::WideToUtf8(row.path);
    // The roots are apart.
    EXPECT_FALSE(registry.OpenKey(RegRoot::LocalMachine, L".DEFAULT"));
    EXPECT_FALSE(registry.OpenKey(RegRoot::CurrentUser, L".DEFAULT"));
}

TEST(Registry, StringReadsCountUtf16BytesWithTheTerminator)
{
    // A 260-byte buffer: 129 characters and the terminator fit, 130 do not.
    // A character beyond U+FFFF takes two UTF-16 units, as on Windows.
    const std::wstring wide = L"\U0001F5A8";
    struct Row {
        const char* what;
        std::wstring text;
        bool fits;
    };
    const Row rows[] = {
        {"129 characters", std::wstring(129, L'p'), true},
        {"130 characters", std::wstring(130, L'p'), false},
        {"127 and one beyond U+FFFF", std::wstring(127, L'p') + wide, true},
        {"128 and one beyond U+FFFF", std::wstring(128, L'p') + wide, false},
        {"129 two-byte UTF-8 characters", std::wstring(129, L'\u00E9'), true},
        {"empty", L"", true},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        const platform::Registry registry =
            regtest::FromReg("[HKEY_LOCAL_MACHINE\\K]\n\"V\"=\"" + platform::WideToUtf8(row.text) + "\"\n");
        auto value = registry.OpenKey(RegRoot::LocalMachine, L"K")->QueryString(L"V", 260);
        if (row.fits) {
            EXPECT_EQ(value.Value(), row.text);
        } else {
            ASSERT_FALSE(value);
            EXPECT_EQ(value.Error(), RegError::MoreData);
        }
    }
}

TEST(Registry, ValueReadsByType)
{
    const platform::Registry registry = regtest::FromReg(
        "[HKEY_LOCAL_MACHINE\\K]\n"
        "\"Number\"=dword:2a\n"
        "\"Text\"=\"x\"\n"
        // Strings written as bytes: one cut at its first zero, one without
        // a terminator, which then needs room for one.
        "\"Inner\"=hex(1):61,00,00,00,62,00,00,00\n"
        "\"Unterminated\"=hex(2):61,00,62,00\n"
        "\"Odd\"=hex(1):61,00,62\n");
    auto key = registry.OpenKey(RegRoot::LocalMachine, L"K");
    ASSERT_TRUE(key);
    EXPECT_EQ(key->QueryString(L"Number", 260).Error(), RegError::WrongType);
    EXPECT_EQ(key->QueryString(L"Missing", 260).Error(), RegError::NotFound);
    EXPECT_EQ(key->QueryDword(L"Text").Error(), RegError::WrongType);
    EXPECT_EQ(key->QueryDword(L"Number").Value(), 42u);
    EXPECT_EQ(key->QueryString(L"Inner", 8).Value(), L"a");
    EXPECT_EQ(key->QueryString(L"Unterminated", 6).Value(), L"ab");
    EXPECT_EQ(key->QueryString(L"Unterminated", 5).Error(), RegError::MoreData);
    EXPECT_EQ(key->QueryString(L"Odd", 6).Value(), L"a");
    // Raw reads measure the stored bytes only.
    EXPECT_EQ(key->QueryValue(L"Unterminated", 4).Value().data.size(), 4u);
    EXPECT_EQ(key->QueryValue(L"Unterminated", 3).Error(), RegError::MoreData);
    EXPECT_EQ(key->QueryValue(L"Text", 4).Value().data, std::string("x\0\0\0", 4));
}

} // namespace
