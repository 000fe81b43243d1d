#pragma once
// The address option's text as an IPv4 address.

#include <string_view>

#include "platform/core/WinTypes.h"

// The address in host byte order (the first dotted number in the most
// significant byte), in any form inet_addr takes (platform/net/InetAddr.h:
// a.b.c.d, the short forms a.b.c, a.b and a, octal and hexadecimal parts).
// 0 when the text is no valid address, including a text longer than 15
// bytes in the locale's encoding (it does not fit the 16-byte buffer the
// conversion uses), and for 255.255.255.255 and 0.0.0.0, which no printer
// has: the caller answers 0 with its "illegal parameter" message.
DWORD AddressFromText(std::wstring_view strAddress);
