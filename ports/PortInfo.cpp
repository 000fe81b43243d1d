#include "ports/PortInfo.h"

#include <utility>

CPortInfo::CPortInfo(std::wstring modelName, DWORD address, std::wstring nickName)
    : m_nPortKind(PORT_KIND_NETWORK)
    , m_strModelName(std::move(modelName))
    , m_strNickName(std::move(nickName))
    , m_dwAddress(address)
{
}

CPortInfo::CPortInfo(std::wstring modelName, std::wstring usbPortName, std::wstring nickName)
    : m_nPortKind(PORT_KIND_USB)
    , m_strModelName(std::move(modelName))
    , m_strNickName(std::move(nickName))
    , m_strUsbPortName(std::move(usbPortName))
    , m_dwAddress(0)
{
}

int CPortInfoList::Add(std::unique_ptr<CPortInfo> info)
{
    if (!info)
        return -1;
    m_entries.push_back(std::move(info));
    return static_cast<int>(m_entries.size() - 1);
}

const CPortInfo* CPortInfoList::GetAt(int index) const
{
    if (index < 0 || static_cast<std::size_t>(index) >= m_entries.size())
        return nullptr;
    return m_entries[static_cast<std::size_t>(index)].get();
}
