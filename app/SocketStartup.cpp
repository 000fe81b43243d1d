#include "app/SocketStartup.h"

#include "platform/core/System.h"

BOOL StartSocketLayer()
{
    auto probe = platform::sys::Socket(AF_INET, SOCK_STREAM);
    return probe ? 1 : 0;
}
