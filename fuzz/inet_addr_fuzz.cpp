// The address typed after -i: our inet_addr against the C library's, which
// reads the same grammar. They must agree on every text but the one where
// Windows (whose behaviour ours follows) and glibc differ: a lone space.
// The whole command line goes through AddressFromText as well, which must
// never read past its 16-byte buffer.

#include <arpa/inet.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "app/AddressFromText.h"
#include "platform/net/InetAddr.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string text(reinterpret_cast<const char*>(data), size);
    const char* terminated = text.c_str(); // stops at the first zero byte, as a C string does
    if (std::string(terminated) != " " && platform::InetAddr(terminated) != ::inet_addr(terminated))
        std::abort();

    std::wstring wide(text.begin(), text.end());
    (void)AddressFromText(wide);
    return 0;
}
