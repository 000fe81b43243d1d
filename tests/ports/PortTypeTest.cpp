#include <gtest/gtest.h>

#include <string>

#include "platform/resources/Resources.h"
#include "ports/PortFactory.h"
#include "ports/PortType.h"
#include "resources/ResourceIds.h"
#include "update/StatusFormat.h"

namespace {

TEST(PortType, NamesMatchIgnoringAsciiCaseOnly)
{
    struct Row {
        const wchar_t* name;
        int code;
    };
    const Row rows[] = {
        {L"Ethernet1", PORT_TYPE_ETHERNET1},
        {L"ETHERNET2", PORT_TYPE_ETHERNET2},
        {L"ethernet3", PORT_TYPE_ETHERNET3},
        {L"EtherNet4", PORT_TYPE_ETHERNET4},
        {L"usb", PORT_TYPE_USB},
        {L"DLL_USB", PORT_TYPE_DLL_USB},
        {L"dll_usb", PORT_TYPE_DLL_USB},
        {L"Dll_uSb", PORT_TYPE_DLL_USB},
        {L"", PORT_TYPE_NONE},
        {L"Ethernet5", PORT_TYPE_NONE},
        {L"Ethernet", PORT_TYPE_NONE},
        {L"USB2", PORT_TYPE_NONE},
        {L" USB", PORT_TYPE_NONE},
        {L"DLL_USB ", PORT_TYPE_NONE},
        {L"DLL-USB", PORT_TYPE_NONE},
        // Full-width letters are not ASCII letters and fold to nothing.
        {L"\uFF35\uFF33\uFF22", PORT_TYPE_NONE},
        // Too long for the 16-byte buffer, even though it begins with a name.
        {L"Ethernet1Ethernet1", PORT_TYPE_NONE},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(::testing::Message() << "name \"" << ::testing::PrintToString(std::wstring(row.name)) << "\"");
        EXPECT_EQ(PortTypeFromName(row.name), row.code);
    }
}

TEST(PortType, FamilyAndStatusFormatFollowTheCode)
{
    struct Row {
        int code;
        bool usb;
        int format;
    };
    const Row rows[] = {
        {PORT_TYPE_ETHERNET1, false, STATUS_FORMAT_WORD},
        {PORT_TYPE_ETHERNET2, false, STATUS_FORMAT_RECORDS},
        {PORT_TYPE_ETHERNET3, false, STATUS_FORMAT_RECORDS},
        {PORT_TYPE_ETHERNET4, false, STATUS_FORMAT_RECORDS},
        {PORT_TYPE_USB, true, STATUS_FORMAT_WORD},
        {PORT_TYPE_DLL_USB, true, STATUS_FORMAT_RECORDS},
        {PORT_TYPE_NONE, false, STATUS_FORMAT_RECORDS},
        // Codes outside the table follow the same bit rules.
        {0x31, true, STATUS_FORMAT_WORD},
        {0x15, false, STATUS_FORMAT_RECORDS},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(::testing::Message() << "code 0x" << std::hex << row.code);
        EXPECT_EQ(IsUsbFamily(row.code), row.usb);
        EXPECT_EQ(StatusFormatForPortType(row.code), row.format);
        // The install attempt hands the same format to the driver.
        EXPECT_EQ(CreatePortForInstall(row.code, 0x7F000001u).statusFormat, row.format);
    }
}

TEST(PortType, ProductPortTypeComesFromString205)
{
    platform::ResourceOverlay overlay(platform::ExecutableResources());
    platform::ScopedResources scope(overlay);

    overlay.SetString(ids::IDS_PORT_TYPE, L"ethernet2");
    EXPECT_EQ(GetProductPortType(), PORT_TYPE_ETHERNET2);

    overlay.SetString(ids::IDS_PORT_TYPE, L"Serial");
    EXPECT_EQ(GetProductPortType(), PORT_TYPE_NONE);

    overlay.RemoveString(ids::IDS_PORT_TYPE);
    EXPECT_EQ(GetProductPortType(), PORT_TYPE_NONE);
}

} // namespace
