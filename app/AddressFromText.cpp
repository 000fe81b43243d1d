#include "app/AddressFromText.h"

#include "platform/net/InetAddr.h"
#include "platform/text/Text.h"

DWORD AddressFromText(std::wstring_view strAddress)
{
    char szAddress[16];
    // A text that does not fit would be cut to a different address; it is
    // no address at all.
    if (!platform::WideToAnsi(strAddress, szAddress))
        return 0;
    const std::uint32_t dwNetwork = platform::InetAddr(szAddress);
    if (dwNetwork == INADDR_NONE)
        return 0;
    return ntohl(dwNetwork);
}
