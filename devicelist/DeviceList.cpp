#include "devicelist/DeviceList.h"

#include <memory>
#include <new>
#include <string>
#include <vector>

#include "devicelist/ElementScanner.h"

DWORD AddressFromPackedIp(int packed)
{
    const auto v = static_cast<DWORD>(packed);
    const DWORD a = v & 0xFF, b = (v >> 8) & 0xFF, c = (v >> 16) & 0xFF, d = (v >> 24) & 0xFF;
    return (a << 24) | (b << 16) | (c << 8) | d;
}

int ParseDeviceList(std::wstring_view text, CPortInfoList& list)
{
    if (text.empty())
        return 0;
    int appended = 0;
    try {
        std::vector<std::wstring> records;
        FindElements(text, L"DeviceInfo", records);
        for (const std::wstring& record : records) {
            std::wstring nick = GetElementText(record, L"strNickName");
            std::wstring model = GetElementText(record, L"strLongModelName");
            const int kind = GetElementNumber(L"ePortType", record);
            if (kind == PORT_KIND_NETWORK) {
                const int packed = GetElementNumber(L"uchIP", record);
                if (packed == 0)
                    continue;
                list.Add(std::make_unique<CPortInfo>(std::move(model), AddressFromPackedIp(packed), std::move(nick)));
                ++appended;
            } else if (kind == PORT_KIND_USB) {
                std::wstring usbPort = GetElementText(record, L"strUSBPortName");
                if (usbPort.empty())
                    continue;
                list.Add(std::make_unique<CPortInfo>(std::move(model), std::move(usbPort), std::move(nick)));
                ++appended;
            }
        }
    } catch (const std::bad_alloc&) {
        // What was appended stays, and is counted.
    }
    return appended;
}
