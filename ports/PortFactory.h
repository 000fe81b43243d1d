#pragma once
// The factory that turns a port type (and, for the network family, an IPv4
// address) into a port object.

#include "platform/core/WinTypes.h"
#include "ports/Port.h"

#include <memory>

// index = port-type code - 0x11: 0 LPR with access code A, 1 LPR with access
// code B, 2 Vanta, 3 Quill; `address` in network byte order. nullptr for an
// index outside 0 to 3 or when the port cannot be allocated.
std::unique_ptr<CPort> CreateNetworkPort(int index, DWORD address);

// 0x21 direct USB, 0x41 controller library; nullptr for any other code or
// when the port cannot be created.
std::unique_ptr<CPort> CreateUsbPort(int portType);

// The address field's host byte order (first octet most significant) to the
// network byte order the network ports keep (first octet lowest in memory).
DWORD HostToNetworkAddress(DWORD hostAddress);

struct InstallPort {
    std::unique_ptr<CPort> port; // nullptr when the port type has none
    int statusFormat;            // STATUS_FORMAT for the update driver
};

// The port for one install attempt, as the main dialog and the command-line
// tool both create it: a USB-family type ignores the address; a network type
// connects to `hostAddress` (host byte order, as the address field gives it).
// A missing port is not an error here: the driver's check fails on it and the
// caller shows the family's printer-not-found message.
InstallPort CreatePortForInstall(int portType, DWORD hostAddress);
