// Arbitrary bytes as the print server's device list: the tag scanner must
// never read outside the text, and every entry it makes must be usable.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "devicelist/DeviceList.h"
#include "devicelist/ElementScanner.h"
#include "devicelist/Utf8TextFile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::wstring text = Utf8TextFromBytes(std::string_view(reinterpret_cast<const char*>(data), size));

    CPortInfoList list;
    const int appended = ParseDeviceList(text, list);
    if (appended != list.GetSize())
        __builtin_trap();
    for (int i = 0; i < list.GetSize(); ++i) {
        const CPortInfo* info = list.GetAt(i);
        const bool usable = info->m_nPortKind == PORT_KIND_NETWORK
                                ? info->m_dwAddress != 0 && info->m_strUsbPortName.empty()
                                : info->m_nPortKind == PORT_KIND_USB && !info->m_strUsbPortName.empty() &&
                                      info->m_dwAddress == 0;
        if (!usable)
            __builtin_trap();
    }

    // Every content found lies inside the text.
    std::vector<std::wstring> contents;
    FindElements(text, L"strNickName", contents);
    for (const std::wstring& content : contents) {
        if (content.size() > text.size() || text.find(content) == std::wstring::npos)
            __builtin_trap();
    }
    (void)GetElementNumber(L"uchIP", text);
    return 0;
}
