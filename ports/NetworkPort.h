#pragma once
// The common base of the TCP/IP ports: the printer's IPv4 address.

#include "ports/Port.h"

class CNetworkPort : public CPort {
public:
    // The address in network byte order: the first octet in the
    // lowest-addressed byte, as the socket layer takes it.
    DWORD m_dwAddress;

protected:
    explicit CNetworkPort(DWORD address) : m_dwAddress(address) {}
};
