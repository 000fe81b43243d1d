#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <cstring>

#include "ports/AccessCodes.h"
#include "ports/LprNetworkPort.h"
#include "ports/PortFactory.h"
#include "ports/PortInfo.h"
#include "ports/PortType.h"
#include "ports/QuillNetworkPort.h"
#include "ports/VantaNetworkPort.h"

namespace {

TEST(PortFactory, NetworkAddressKeepsTheFirstOctetInTheLowestByte)
{
    // 192.168.1.20 as the address field gives it.
    const DWORD network = HostToNetworkAddress(0xC0A80114u);
    std::array<std::uint8_t, 4> bytes{};
    std::memcpy(bytes.data(), &network, sizeof network);
    EXPECT_EQ(bytes, (std::array<std::uint8_t, 4>{192, 168, 1, 20}));
}

TEST(PortFactory, TypesWithoutAPortGiveNone)
{
    // Outside the factories' ranges nothing is created, whatever the family.
    for (int code : {PORT_TYPE_NONE, 0x10, 0x15, 0x31, 0x61}) {
        SCOPED_TRACE(::testing::Message() << "code 0x" << std::hex << code);
        EXPECT_EQ(CreatePortForInstall(code, 0xC0A80114u).port, nullptr);
    }
    for (int index : {-1, 4, 0x7FFFFFFF})
        EXPECT_EQ(CreateNetworkPort(index, 0), nullptr);
    EXPECT_EQ(CreateUsbPort(PORT_TYPE_ETHERNET1), nullptr);
}

TEST(PortFactory, NetworkTypesGiveTheirPortAtTheAddress)
{
    enum class Kind { Lpr, Vanta, Quill };
    struct Row {
        int code;
        Kind kind;
        const char* accessCode;
    };
    const Row rows[] = {
        {PORT_TYPE_ETHERNET1, Kind::Lpr, accesscodes::MessageA()},
        {PORT_TYPE_ETHERNET2, Kind::Lpr, accesscodes::MessageB()},
        {PORT_TYPE_ETHERNET3, Kind::Vanta, nullptr},
        {PORT_TYPE_ETHERNET4, Kind::Quill, nullptr},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(::testing::Message() << "code 0x" << std::hex << row.code);
        InstallPort created = CreatePortForInstall(row.code, 0xC0A80114u);
        ASSERT_NE(created.port, nullptr);
        auto* network = dynamic_cast<CNetworkPort*>(created.port.get());
        ASSERT_NE(network, nullptr);
        EXPECT_EQ(network->m_dwAddress, HostToNetworkAddress(0xC0A80114u));
        // Quill derives from Vanta, so the most derived class is checked.
        EXPECT_EQ(dynamic_cast<CLprNetworkPort*>(network) != nullptr, row.kind == Kind::Lpr);
        EXPECT_EQ(dynamic_cast<CQuillNetworkPort*>(network) != nullptr, row.kind == Kind::Quill);
        EXPECT_EQ(dynamic_cast<CVantaNetworkPort*>(network) != nullptr, row.kind != Kind::Lpr);
        EXPECT_EQ(created.port->GetAccessCode(), row.accessCode);

        auto direct = CreateNetworkPort(row.code - PORT_TYPE_ETHERNET1, 0x0100007Fu);
        ASSERT_NE(direct, nullptr);
        EXPECT_EQ(static_cast<CNetworkPort*>(direct.get())->m_dwAddress, 0x0100007Fu);
        EXPECT_EQ(direct->GetAccessCode(), row.accessCode);
    }
}

TEST(PortInfo, ConstructorsFillTheirKind)
{
    const CPortInfo network(L"Corvex KX-70", 0xC0A80114u, L"office");
    EXPECT_EQ(network.m_nPortKind, PORT_KIND_NETWORK);
    EXPECT_EQ(network.m_dwAddress, 0xC0A80114u);
    EXPECT_EQ(network.m_strNickName, L"office");
    EXPECT_TRUE(network.m_strUsbPortName.empty());

    const CPortInfo usb(L"Corvex KX-70", std::wstring(L"USB001"));
    EXPECT_EQ(usb.m_nPortKind, PORT_KIND_USB);
    EXPECT_EQ(usb.m_strUsbPortName, L"USB001");
    EXPECT_EQ(usb.m_dwAddress, 0u);
    EXPECT_TRUE(usb.m_strNickName.empty());
}

TEST(PortInfo, ListAppendsAndBoundsItsIndex)
{
    CPortInfoList list;
    EXPECT_TRUE(list.IsEmpty());
    EXPECT_EQ(list.Add(std::make_unique<CPortInfo>(L"A", 1u)), 0);
    EXPECT_EQ(list.Add(nullptr), -1);
    EXPECT_EQ(list.Add(std::make_unique<CPortInfo>(L"B", std::wstring(L"USB001"))), 1);
    ASSERT_EQ(list.GetSize(), 2);
    EXPECT_EQ(list.GetAt(0)->m_strModelName, L"A");
    EXPECT_EQ(list.GetAt(1)->m_strModelName, L"B");
    EXPECT_EQ(list.GetAt(-1), nullptr);
    EXPECT_EQ(list.GetAt(2), nullptr);
}

} // namespace
