#include "ports/UpdateModeEntry.h"

#include "ports/Wire.h"

#include <cstring>

BOOL SendUpdateModeEntry(const char* accessCode, const SendEntryMessage& send)
{
    if (accessCode == nullptr)
        return 0;

    // The messages go without their terminators.
    auto accessMessage = std::span(reinterpret_cast<const std::uint8_t*>(accessCode), std::strlen(accessCode));
    if (!send(accessMessage))
        return 0;

    auto pipeMonitor = std::span(reinterpret_cast<const std::uint8_t*>(wire::kPipeMonitor.data()),
                                 wire::kPipeMonitor.size());
    if (!send(pipeMonitor))
        return 0;

    // Built afresh for every entry rather than kept in a shared buffer that
    // a port could alter.
    const wire::BootPacketBytes bootPacket = wire::MakeBootPacket();
    return send(bootPacket);
}
