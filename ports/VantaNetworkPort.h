#pragma once
// The Vanta network port (port type Ethernet3): the maker's own TCP
// protocol. A 25-byte boot frame on one TCP port switches the printer into
// update mode, the image goes as a plain stream to another, and the status
// comes by SNMP. No access code.

#include "ports/NetworkPort.h"

#include <cstdint>

class CVantaNetworkPort : public CNetworkPort {
public:
    explicit CVantaNetworkPort(DWORD address) : CNetworkPort(address) {}

    BOOL QueryStatus(std::wstring& statusText) override;
    // The boot frame to TCP 9101.
    BOOL EnterUpdateMode() override;
    // The bytes as they are to TCP 9100: no header, no length, no answer.
    BOOL SendData(const std::uint8_t* data, DWORD length, DWORD chunkSize) override;
    const char* GetAccessCode() const override { return nullptr; }

protected:
    // Sends the boot frame, built afresh, in one send; no reply is read.
    BOOL SendBootFrame(platform::TcpConnection& socket);
};
