#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "devicelist/DeviceList.h"
#include "devicelist/Utf8TextFile.h"
#include "platform/text/Unicode.h"

namespace {

constexpr DWORD Ip(DWORD a, DWORD b, DWORD c, DWORD d)
{
    return (a << 24) | (b << 16) | (c << 8) | d;
}

// One entry as the tests expect it.
struct Entry {
    int kind;
    std::wstring model;
    std::wstring nick;
    std::wstring usbPort;
    DWORD address;

    bool operator==(const Entry&) const = default;
};

void PrintTo(const Entry& e, std::ostream* os)
{
    *os << "{kind " << e.kind << ", model \"" << platform::WideToUtf8(e.model) << "\", nick \""
        << platform::WideToUtf8(e.nick) << "\", usb \"" << platform::WideToUtf8(e.usbPort) << "\", address 0x"
        << std::hex << e.address << std::dec << "}";
}

std::vector<Entry> Entries(const CPortInfoList& list)
{
    std::vector<Entry> entries;
    for (int i = 0; i < list.GetSize(); ++i) {
        const CPortInfo* info = list.GetAt(i);
        entries.push_back({info->m_nPortKind, info->m_strModelName, info->m_strNickName, info->m_strUsbPortName,
                           info->m_dwAddress});
    }
    return entries;
}

Entry Network(std::wstring nick, DWORD address, std::wstring model = L"KX-70")
{
    return {PORT_KIND_NETWORK, std::move(model), std::move(nick), L"", address};
}

Entry Usb(std::wstring nick, std::wstring port, std::wstring model = L"KX-70")
{
    return {PORT_KIND_USB, std::move(model), std::move(nick), std::move(port), 0};
}

std::wstring Record(std::wstring_view fields)
{
    return L"<DeviceInfo>" + std::wstring(fields) + L"</DeviceInfo>";
}

// "<name>content</name>"
std::wstring El(std::wstring_view name, std::wstring_view content)
{
    return L"<" + std::wstring(name) + L">" + std::wstring(content) + L"</" + std::wstring(name) + L">";
}

TEST(ParseDeviceList, RecordsBecomeEntriesOrAreDropped)
{
    const std::wstring model = El(L"strLongModelName", L"KX-70");
    const std::wstring ip10 = El(L"uchIP", L"167815360"); // 192.168.0.10, 192 in the low byte
    const std::wstring usb = El(L"ePortType", L"1");
    struct Row {
        const char* what;
        std::wstring text;
        std::vector<Entry> entries;
    };
    const Row rows[] = {
        {"no ePortType: network", Record(El(L"strNickName", L"n") + model + ip10), {Network(L"n", Ip(192, 168, 0, 10))}},
        {"fourth octet of 128 and above as a negative number",
         Record(model + El(L"ePortType", L"0") + El(L"uchIP", L"-939480896")), {Network(L"", Ip(192, 168, 0, 200))}},
        {"the same as an unsigned number clamps", Record(model + El(L"uchIP", L"3355486400")),
         {Network(L"", Ip(255, 255, 255, 127))}},
        {"uchIP 0 dropped", Record(model + El(L"uchIP", L"0")), {}},
        {"no uchIP dropped", Record(model + El(L"ePortType", L"0")), {}},
        {"uchIP not a number dropped", Record(model + El(L"uchIP", L"none")), {}},
        {"uchIP in dotted form reads its first number", Record(model + El(L"uchIP", L"192.168.0.10")),
         {Network(L"", Ip(192, 0, 0, 0))}},
        {"USB", Record(El(L"strNickName", L"u") + model + usb + El(L"strUSBPortName", L"USB001")),
         {Usb(L"u", L"USB001")}},
        {"USB with its address ignored", Record(model + usb + ip10 + El(L"strUSBPortName", L"USB002")),
         {Usb(L"", L"USB002")}},
        {"USB without a port name dropped", Record(model + usb + El(L"strUSBPortName", L"")), {}},
        {"USB with no port element dropped", Record(model + usb), {}},
        {"kind 2 dropped", Record(model + El(L"ePortType", L"2") + ip10 + El(L"strUSBPortName", L"USB1")), {}},
        {"kind -1 dropped", Record(model + El(L"ePortType", L"-1") + ip10), {}},
        {"kind read up to the first non-digit", Record(model + El(L"ePortType", L" 1st") + El(L"strUSBPortName", L"U")),
         {Usb(L"", L"U")}},
        {"kind not starting with a digit is 0", Record(model + El(L"ePortType", L"USB") + ip10),
         {Network(L"", Ip(192, 168, 0, 10))}},
        {"first of two nick names", Record(El(L"strNickName", L"one") + El(L"strNickName", L"two") + ip10),
         {Network(L"one", Ip(192, 168, 0, 10), L"")}},
        {"texts as they stand, entities undecoded",
         Record(El(L"strNickName", L" R&amp;D &lt;1&gt; ") + El(L"strLongModelName", L"\tKX\n") + ip10),
         {Network(L" R&amp;D &lt;1&gt; ", Ip(192, 168, 0, 10), L"\tKX\n")}},
        {"attribute after one space", L"<DeviceInfo version=\"2\">" + ip10 + L"</DeviceInfo>",
         {Network(L"", Ip(192, 168, 0, 10), L"")}},
        {"tab after the name", L"<DeviceInfo\tversion=\"2\">" + ip10 + L"</DeviceInfo>", {}},
        {"line break after the name", L"<DeviceInfo\n>" + ip10 + L"</DeviceInfo>", {}},
        {"empty-element form", L"<DeviceInfo/>" + ip10 + L"</DeviceInfo>", {}},
        {"at any depth, between other elements",
         El(L"List", El(L"Group", Record(El(L"uchIP", L"2"))) + L"<Other/>" + Record(El(L"uchIP", L"3"))),
         {Network(L"", Ip(2, 0, 0, 0), L""), Network(L"", Ip(3, 0, 0, 0), L"")}},
        {"unclosed record with no end tag after it", L"<DeviceInfo>" + ip10, {}},
        // The unclosed record runs to the later one's end tag and takes its
        // address from it; the later record is found again on its own.
        {"unclosed record before a closed one",
         L"<DeviceInfo>" + El(L"strNickName", L"A") + Record(El(L"strNickName", L"B") + ip10),
         {Network(L"A", Ip(192, 168, 0, 10), L""), Network(L"B", Ip(192, 168, 0, 10), L"")}},
        {"a bad record does not stop the rest", Record(El(L"ePortType", L"7")) + Record(El(L"uchIP", L"4")),
         {Network(L"", Ip(4, 0, 0, 0), L"")}},
        {"empty text", L"", {}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        CPortInfoList list;
        list.Add(std::make_unique<CPortInfo>(L"already there", DWORD{1}));
        EXPECT_EQ(ParseDeviceList(row.text, list), static_cast<int>(row.entries.size()));
        std::vector<Entry> expected{Network(L"", 1, L"already there")};
        expected.insert(expected.end(), row.entries.begin(), row.entries.end());
        EXPECT_EQ(Entries(list), expected);
    }
}

TEST(ParseDeviceList, FileBytesDecodeAsUtf8UpToTheFirstZero)
{
    const std::string record = "<DeviceInfo><strNickName>\xE4\xBA\x8B</strNickName><uchIP>1</uchIP></DeviceInfo>";
    struct Row {
        const char* what;
        std::string bytes;
        int entries;
    };
    const Row rows[] = {
        {"plain", record, 1},
        {"with a byte-order mark", "\xEF\xBB\xBF" + record, 1},
        {"cut at a zero byte", std::string("\0", 1) + record, 0},
        {"a record after a zero byte is not read", record + std::string("\0", 1) + record, 1},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        CPortInfoList list;
        EXPECT_EQ(ParseDeviceList(Utf8TextFromBytes(row.bytes), list), row.entries);
        if (row.entries > 0) {
            EXPECT_EQ(list.GetAt(0)->m_strNickName, L"\u4E8B");
        }
    }

    // The same list saved as UTF-16 is zero bytes from its second byte on.
    std::string utf16 = "\xFF\xFE";
    for (char c : record) {
        utf16.push_back(c);
        utf16.push_back('\0');
    }
    CPortInfoList list;
    EXPECT_EQ(ParseDeviceList(Utf8TextFromBytes(utf16), list), 0);
}

} // namespace
