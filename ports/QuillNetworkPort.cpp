#include "ports/QuillNetworkPort.h"

#include "platform/time/Clock.h"
#include "ports/Wire.h"

#include <optional>

BOOL CQuillNetworkPort::EnterUpdateMode()
{
    return Guarded([&]() -> BOOL {
        std::optional<platform::TcpConnection> socket;
        if (!OpenConnection(socket, wire::kQuillBootPort))
            return 0;
        // A frame that did not go out is not held for.
        if (!SendBootFrame(*socket))
            return 0;
        // The connection stays open through the hold; `socket` closes it
        // when the hold is over.
        platform::CurrentClock().Sleep(wire::kQuillBootHold);
        return 1;
    });
}
