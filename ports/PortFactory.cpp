#include "ports/PortFactory.h"

#include "ports/LprNetworkPort.h"
#include "ports/PortType.h"
#include "ports/QuillNetworkPort.h"
#include "ports/VantaNetworkPort.h"

#include <array>
#include <bit>
#include <new>
#include <utility>

namespace {

// Allocation failure gives no port, as an unknown type does, rather than an
// exception through the install flow.
template <typename Port, typename... Args>
[[maybe_unused]] std::unique_ptr<CPort> NewPort(Args&&... args)
{
    return std::unique_ptr<CPort>(new (std::nothrow) Port(std::forward<Args>(args)...));
}

} // namespace

// The concrete port classes arrive one family at a time. Until a family is
// there its cases give no port, exactly like an unknown port type; adding it
// is one line per case.
std::unique_ptr<CPort> CreateNetworkPort(int index, DWORD address)
{
    switch (index) {
    case 0: return NewPort<CLprNetworkPort>(address, 0); // LPR, access code A
    case 1: return NewPort<CLprNetworkPort>(address, 1); // LPR, access code B
    case 2: return NewPort<CVantaNetworkPort>(address);
    case 3: return NewPort<CQuillNetworkPort>(address);
    default: return nullptr;
    }
}

std::unique_ptr<CPort> CreateUsbPort(int portType)
{
    switch (portType) {
    case PORT_TYPE_USB:     // direct USB, no device handle yet
    case PORT_TYPE_DLL_USB: // controller library, extracted and loaded on construction
    default:
        return nullptr;
    }
}

DWORD HostToNetworkAddress(DWORD hostAddress)
{
    const std::array<std::uint8_t, 4> octets{
        static_cast<std::uint8_t>(hostAddress >> 24),
        static_cast<std::uint8_t>(hostAddress >> 16),
        static_cast<std::uint8_t>(hostAddress >> 8),
        static_cast<std::uint8_t>(hostAddress),
    };
    return std::bit_cast<DWORD>(octets);
}

InstallPort CreatePortForInstall(int portType, DWORD hostAddress)
{
    InstallPort result{nullptr, StatusFormatForPortType(portType)};
    if (IsUsbFamily(portType)) {
        result.port = CreateUsbPort(portType);
        return result;
    }
    const int index = portType - PORT_TYPE_ETHERNET1;
    if (index >= 0 && index <= 3)
        result.port = CreateNetworkPort(index, HostToNetworkAddress(hostAddress));
    return result;
}
