#pragma once
// The LPR network port (port types Ethernet1 and Ethernet2): every message
// to the printer travels as a data file of an LPR receive-job exchange, and
// the status comes by SNMP.

#include "ports/NetworkPort.h"

#include <cstdint>
#include <optional>

class CLprNetworkPort : public CNetworkPort {
public:
    // `codeIndex` 0 selects access code A, any other value access code B.
    CLprNetworkPort(DWORD address, int codeIndex) : CNetworkPort(address), m_nCodeIndex(codeIndex) {}

    BOOL QueryStatus(std::wstring& statusText) override;
    // One job of three data files: the access-code message, "PIPE MONITOR"
    // and the boot packet.
    BOOL EnterUpdateMode() override;
    // One job whose data files are the pieces of `data`, in order.
    BOOL SendData(const std::uint8_t* data, DWORD length, DWORD chunkSize) override;
    const char* GetAccessCode() const override;

    int m_nCodeIndex;

private:
    // Connects to the printer's LPD and sends the receive-job command;
    // nonzero when the printer acknowledged it.
    BOOL OpenLprJob(std::optional<platform::TcpConnection>& socket);
    // One data file: subcommand, acknowledgement, bytes, terminating zero
    // byte, acknowledgement.
    BOOL SendLprDataFile(platform::TcpConnection& socket, DWORD count, const std::uint8_t* bytes);
};
