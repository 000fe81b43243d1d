#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "devicelist/DeviceInfoLocator.h"
#include "devicelist/DeviceList.h"
#include "devicelist/Utf8TextFile.h"
#include "platform/registry/HostRegistry.h"
#include "platform/text/Unicode.h"
#include "tests/support/ScratchFolder.h"

namespace {

namespace fs = std::filesystem;

const std::string kHklmKey = "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Corvex\\Tessaly\\1.0\\Installer]\n";
const std::string kHkuKey = "[HKEY_USERS\\.DEFAULT\\SOFTWARE\\Corvex\\Tessaly\\1.0\\Installer]\n";
constexpr const char* kFirst = "Tessaly/Device/DeviceInfo.xml";
constexpr const char* kSecond = "Tessaly 1.0/Device/DeviceInfo.xml";

std::string Reg(std::string_view body)
{
    return "Windows Registry Editor Version 5.00\n\n" + std::string(body);
}

std::string InstallPathValue(const std::string& path)
{
    return "\"InstallPath\"=\"" + path + "\"\n";
}

// A case in a folder of its own, which is also the current directory while
// the case runs, with a registry of its own in force.
class LocatorCase {
public:
    LocatorCase() : m_scratch("locator"), m_previous(fs::current_path()) { fs::current_path(m_scratch.Path()); }
    ~LocatorCase()
    {
        m_scoped.reset();
        fs::current_path(m_previous);
    }

    std::string Root() const { return m_scratch.Path().string(); }

    // "@" at the start of `text` stands for the case folder.
    std::string Expand(std::string text) const
    {
        if (text.rfind('@', 0) == 0)
            text.replace(0, 1, Root());
        return text;
    }

    void Write(const std::string& relative) const { m_scratch.Write(relative, "<DeviceInfo/>"); }

    // Registers the print server: `hklm` and `hku` are the InstallPath
    // lines of the two keys (no key when empty).
    void Register(const std::string& hklm, const std::string& hku)
    {
        std::string body;
        if (!hklm.empty())
            body += kHklmKey + hklm;
        if (!hku.empty())
            body += kHkuKey + hku;
        m_scratch.Write("host/registry/tessaly.reg", Reg(body));
        m_scoped.reset();
        m_load = platform::LoadHostRegistry(Root() + "/host");
        EXPECT_TRUE(m_load.diagnostics.empty()) << m_load.diagnostics.front().Text();
        m_scoped.emplace(m_load.registry);
    }

private:
    testsupport::ScratchFolder m_scratch;
    fs::path m_previous;
    platform::RegistryLoad m_load;
    std::optional<platform::ScopedRegistry> m_scoped;
};

TEST(CDeviceInfoLocator, FindsTheInstallFolderAndTheListInOrder)
{
    const std::string first = kFirst, second = kSecond;
    struct Row {
        const char* what;
        std::string hklm; // InstallPath under HKLM; "@" is the case folder
        std::string hku;  // under HKU\.DEFAULT
        std::vector<std::string> files;
        std::string installPath;
        std::string deviceInfoPath;
    };
    const Row rows[] = {
        {"first key, first place", "@/a", "@/b", {"a/" + first, "b/" + first}, "@/a", "@/a/" + first},
        {"second place", "@/a", "", {"a/" + second}, "@/a", "@/a/" + second},
        {"first place wins over second", "@/a", "", {"a/" + first, "a/" + second}, "@/a", "@/a/" + first},
        {"second key when the first has none", "", "@/b", {"b/" + first}, "@/b", "@/b/" + first},
        {"install folder with a trailing separator", "@/a/", "", {"a/" + first}, "@/a/", "@/a/" + first},
        {"no list at either place", "@/a", "", {"a/Tessaly/DeviceInfo.xml"}, "@/a", ""},
        {"a folder of that name counts", "@/a", "", {"a/" + first + "/inside"}, "@/a", "@/a/" + first},
        {"no keys: from the current directory", "", "", {second}, "", second},
        {"no keys and no list", "", "", {}, "", ""},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        LocatorCase locatorCase;
        locatorCase.Register(row.hklm.empty() ? "" : InstallPathValue(locatorCase.Expand(row.hklm)),
                             row.hku.empty() ? "" : InstallPathValue(locatorCase.Expand(row.hku)));
        for (const std::string& file : row.files)
            locatorCase.Write(file);

        CDeviceInfoLocator locator;
        EXPECT_EQ(platform::WideToUtf8(locator.GetDeviceInfoPath()), locatorCase.Expand(row.deviceInfoPath));
        EXPECT_EQ(platform::WideToUtf8(locator.GetInstallPath()), locatorCase.Expand(row.installPath));
    }
}

TEST(CDeviceInfoLocator, AnInstallFolderOfMoreThan129CharactersIsNotFound)
{
    for (std::size_t length : {129u, 130u}) {
        SCOPED_TRACE(length);
        LocatorCase locatorCase;
        const std::string root = locatorCase.Root();
        // An install folder of exactly `length` characters with a list in
        // it; the second key names another folder with a list.
        const std::string name(length - root.size() - 1, 'L');
        const std::string longFolder = root + "/" + name;
        ASSERT_EQ(longFolder.size(), length);
        locatorCase.Write(name + "/" + kFirst);
        locatorCase.Write(std::string("short/") + kFirst);
        locatorCase.Register(InstallPathValue(longFolder), InstallPathValue(root + "/short"));

        CDeviceInfoLocator locator;
        const std::string expected = length == 129 ? longFolder : root + "/short";
        EXPECT_EQ(platform::WideToUtf8(locator.GetInstallPath()), expected);
        EXPECT_EQ(platform::WideToUtf8(locator.GetDeviceInfoPath()), expected + "/" + kFirst);
    }
}

TEST(CDeviceInfoLocator, WhatTheFirstKeyHoldsDecidesWhetherTheSecondIsAsked)
{
    struct Row {
        const char* what;
        std::string hklm;
        bool secondKeyUsed;
    } rows[] = {
        // Found, though empty: the search ends, and the list is looked for
        // from the current directory.
        {"empty value ends the search", "\"InstallPath\"=\"\"\n", false},
        {"a number is no install folder", "\"InstallPath\"=dword:1\n", true},
        {"another value name", "\"Path\"=\"/elsewhere\"\n", true},
        {"the key alone", "", true},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        LocatorCase locatorCase;
        locatorCase.Write(kFirst);
        locatorCase.Write(std::string("b/") + kFirst);
        // A key line with no value still makes the key.
        locatorCase.Register(row.hklm.empty() ? "\n" : row.hklm, InstallPathValue(locatorCase.Root() + "/b"));

        CDeviceInfoLocator locator;
        EXPECT_EQ(platform::WideToUtf8(locator.GetDeviceInfoPath()),
                  row.secondKeyUsed ? locatorCase.Root() + "/b/" + kFirst : std::string(kFirst));
    }
}

TEST(CDeviceInfoLocator, KeepsThePathItFound)
{
    LocatorCase locatorCase;
    locatorCase.Write(std::string("a/") + kFirst);
    locatorCase.Register(InstallPathValue(locatorCase.Root() + "/a"), "");

    CDeviceInfoLocator locator;
    const std::wstring found = locator.GetDeviceInfoPath();
    ASSERT_FALSE(found.empty());
    fs::remove(locatorCase.Root() + "/a/" + kFirst);
    EXPECT_EQ(locator.GetDeviceInfoPath(), found);
    EXPECT_EQ(CDeviceInfoLocator().GetDeviceInfoPath(), L"");
}

std::string ReadFixture(const char* name)
{
    const char* data = std::getenv("TALLOW_TEST_DATA");
    std::ifstream in(fs::path(data ? data : "tests/data") / "devicelist" / name, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

// The main dialog's order: locate, read, parse.
int LoadDeviceList(CPortInfoList& list)
{
    CDeviceInfoLocator locator;
    return ParseDeviceList(ReadUtf8TextFile(locator.GetDeviceInfoPath()), list);
}

TEST(DeviceList, FromTheHostFolderToTheList)
{
    const std::string fixture = ReadFixture("DeviceInfo.xml");
    ASSERT_FALSE(fixture.empty()) << "set TALLOW_TEST_DATA to tests/data";
    testsupport::ScratchFolder scratch("devicelist");
    const std::string install = (scratch.Path() / "Corvex Print Server").string();
    scratch.Write("host/registry/10-tessaly.reg", Reg(std::string(kHklmKey) + InstallPathValue(install)));
    const fs::path file = scratch.Write(fs::path("Corvex Print Server") / kSecond, fixture);
    platform::RegistryLoad load = platform::LoadHostRegistry((scratch.Path() / "host").string());
    ASSERT_TRUE(load.diagnostics.empty());
    platform::ScopedRegistry scoped(load.registry);

    CPortInfoList list;
    ASSERT_EQ(LoadDeviceList(list), 3);
    const CPortInfo* front = list.GetAt(0);
    EXPECT_EQ(front->m_nPortKind, PORT_KIND_NETWORK);
    EXPECT_EQ(front->m_strNickName, L"Front office");
    EXPECT_EQ(front->m_strModelName, L"Corvex KX-70");
    EXPECT_EQ(front->m_dwAddress, 0xC0A8000Au);
    const CPortInfo* lab = list.GetAt(1);
    EXPECT_EQ(lab->m_strNickName, L"Lab &amp; test");
    EXPECT_EQ(lab->m_dwAddress, 0xC0A800C8u);
    const CPortInfo* usb = list.GetAt(2);
    EXPECT_EQ(usb->m_nPortKind, PORT_KIND_USB);
    EXPECT_EQ(usb->m_strNickName, L"\u4E8B\u52D9\u6240");
    EXPECT_EQ(usb->m_strUsbPortName, L"USB001");
    EXPECT_EQ(usb->m_dwAddress, 0u);

    // While another program holds the file locked, there is no list.
    const int holder = ::open(file.c_str(), O_RDONLY | O_CLOEXEC);
    ASSERT_GE(holder, 0);
    ASSERT_EQ(::flock(holder, LOCK_EX | LOCK_NB), 0);
    CPortInfoList locked;
    EXPECT_EQ(LoadDeviceList(locked), 0);
    EXPECT_TRUE(locked.IsEmpty());
    ::close(holder);
}

TEST(DeviceList, NoHostNoList)
{
    const platform::Registry empty;
    platform::ScopedRegistry scoped(empty);
    testsupport::ScratchFolder scratch("devicelist");
    const fs::path previous = fs::current_path();
    fs::current_path(scratch.Path());
    CPortInfoList list;
    EXPECT_EQ(LoadDeviceList(list), 0);
    fs::current_path(previous);
}

} // namespace
