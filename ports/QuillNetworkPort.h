#pragma once
// The Quill network port (port type Ethernet4): the Vanta protocol with the
// boot frame on TCP 9500, held open for 21 seconds after it is sent.

#include "ports/VantaNetworkPort.h"

class CQuillNetworkPort : public CVantaNetworkPort {
public:
    explicit CQuillNetworkPort(DWORD address) : CVantaNetworkPort(address) {}

    // The boot frame to TCP 9500, then the hold with the connection open.
    // The hold is a plain sleep of the calling thread through the platform
    // clock: nothing is dispatched meanwhile.
    BOOL EnterUpdateMode() override;
};
