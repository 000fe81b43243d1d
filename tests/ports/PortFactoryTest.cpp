#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <cstring>

#include "ports/PortFactory.h"
#include "ports/PortInfo.h"
#include "ports/PortType.h"

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
