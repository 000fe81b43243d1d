#pragma once
// The print server's device list: one CPortInfo per usable DeviceInfo
// record.

#include <string_view>

#include "ports/PortInfo.h"

// Appends a CPortInfo for each usable DeviceInfo element of `text` to
// `list`, in document order, and returns how many it appended. A record
// becomes a network entry when its ePortType is 0 (or missing) and its uchIP
// is not 0, a USB entry when its ePortType is 1 and its strUSBPortName is not
// empty; any other record is dropped.
int ParseDeviceList(std::wstring_view text, CPortInfoList& list);

// The address a uchIP number stands for: the print server packs a.b.c.d
// with a in the least significant byte; the result is in host byte order (a
// in the most significant byte).
DWORD AddressFromPackedIp(int packed);
