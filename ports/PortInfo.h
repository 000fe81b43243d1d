#pragma once
// One printer registered with the print-server application, and the owning
// list of them that the device-list reader fills and the main dialog shows.

#include "platform/core/WinTypes.h"

#include <cstddef>
#include <memory>
#include <string>
#include <vector>

inline constexpr int PORT_KIND_NETWORK = 0;
inline constexpr int PORT_KIND_USB = 1;

class CPortInfo {
public:
    // A network device; `address` in host byte order (first octet in the
    // most significant byte), as the address field takes it.
    CPortInfo(std::wstring modelName, DWORD address, std::wstring nickName = {});
    // A USB device, reached through `usbPortName`.
    CPortInfo(std::wstring modelName, std::wstring usbPortName, std::wstring nickName = {});

    int m_nPortKind;              // PORT_KIND_NETWORK or PORT_KIND_USB
    std::wstring m_strModelName;  // the device's long model name
    std::wstring m_strNickName;   // the user's name for it; may be empty
    std::wstring m_strUsbPortName; // USB devices only
    DWORD m_dwAddress;            // network devices only; 0 for USB
};

// Owns its entries; they are only ever appended.
class CPortInfoList {
public:
    CPortInfoList() = default;
    CPortInfoList(const CPortInfoList&) = delete;
    CPortInfoList& operator=(const CPortInfoList&) = delete;
    CPortInfoList(CPortInfoList&&) = default;
    CPortInfoList& operator=(CPortInfoList&&) = default;

    // Takes `info` over; returns its index. A null entry is ignored and
    // returns -1, so every index in the list reaches a device.
    int Add(std::unique_ptr<CPortInfo> info);

    int GetSize() const { return static_cast<int>(m_entries.size()); }
    bool IsEmpty() const { return m_entries.empty(); }

    // nullptr for an index outside the list (the index may come back from a
    // control's item data).
    const CPortInfo* GetAt(int index) const;

private:
    std::vector<std::unique_ptr<CPortInfo>> m_entries;
};
