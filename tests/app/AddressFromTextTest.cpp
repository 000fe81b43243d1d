#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "app/AddressFromText.h"
#include "platform/net/InetAddr.h"

namespace {

TEST(AddressFromText, FormsOfInetAddrInHostByteOrder)
{
    struct Row {
        std::wstring text;
        DWORD expected;
    };
    const Row rows[] = {
        // The first dotted number is the most significant byte.
        {L"192.168.0.20", 0xC0A80014},
        {L"10.0.0.1", 0x0A000001},
        // Short forms: the last part fills the bytes left.
        {L"10.1.2", 0x0A010002},
        {L"10.1.65535", 0x0A01FFFF},
        {L"10.1", 0x0A000001},
        {L"10.16777215", 0x0AFFFFFF},
        {L"167772161", 0x0A000001},
        // Octal with a leading 0, hexadecimal with 0x, mixed.
        {L"012.0.0.01", 0x0A000001},
        {L"0xA.0X0.0x0.0x1", 0x0A000001},
        {L"0XC0.0250.0.024", 0xC0A80014},
        {L"0xC0A80014", 0xC0A80014},
        // White space ends the address; what follows is ignored.
        {L"10.0.0.1 x", 0x0A000001},
        {L"10.0.0.1\t", 0x0A000001},
        {L"10.0 .0.1", 0x0A000000},
        // 15 characters still fit the conversion buffer.
        {L"192.168.100.200", 0xC0A864C8},
        {L"001.002.003.004", 0x01020304},

        // No address: 0.
        {L"", 0},
        {L" ", 0},
        {L"p", 0}, // -ip 10.0.0.1
        {L"garbage", 0},
        {L" 10.0.0.1", 0},
        {L"10.0.0.1:80", 0},
        {L"10.0.0.256", 0},
        {L"10.0.65536", 0},
        {L"10.16777216", 0},
        {L"1.2.3.4.5", 0},
        {L"1.2.3.", 0},
        {L"1..2.3", 0},
        {L".1.2.3", 0},
        {L"1.2. 3.4", 0},
        {L"08.0.0.1", 0},
        {L"0x.0.0.1", 0},
        {L"1.2.3.0x", 0},
        {L"-1.2.3.4", 0},
        {L"4294967296", 0},
        {L"0x100000000", 0},
        {L"\uff11.\uff12.\uff13.\uff14", 0}, // full-width digits
        // INADDR_NONE and the address that shares its value; no printer is
        // at 0.0.0.0 either.
        {L"255.255.255.255", 0},
        {L"0xFFFFFFFF", 0},
        {L"0.0.0.0", 0},
        {L"0", 0},
        // Longer than 15 characters: does not fit, whatever it says.
        {L"192.168.100.200 ", 0},
        {L"0001.002.003.004", 0},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(AddressFromText(row.text), row.expected) << '"' << std::string(row.text.begin(), row.text.end()) << '"';
    }
}

TEST(InetAddr, NetworkByteOrderAndWindowsLoneSpace)
{
    const std::uint32_t address = platform::InetAddr("1.2.3.4");
    unsigned char bytes[4];
    std::memcpy(bytes, &address, sizeof bytes);
    EXPECT_EQ(bytes[0], 1);
    EXPECT_EQ(bytes[3], 4);

    // Windows answers a lone space with INADDR_ANY; any other blank text,
    // like any other non-address, is INADDR_NONE.
    EXPECT_EQ(platform::InetAddr(" "), 0u);
    EXPECT_EQ(platform::InetAddr("  "), INADDR_NONE);
    EXPECT_EQ(platform::InetAddr("\t"), INADDR_NONE);
    EXPECT_EQ(platform::InetAddr(nullptr), INADDR_NONE);
}

} // namespace
