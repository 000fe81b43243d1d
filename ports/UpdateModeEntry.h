#pragma once
// The update-mode entry shared by the LPR and the direct USB ports: the
// access-code message, "PIPE MONITOR" and the boot packet, in that order.
// How each message travels is the port's business (one LPR data file each,
// or one write each), so the port passes its way of sending one message.

#include "platform/core/WinTypes.h"

#include <cstdint>
#include <functional>
#include <span>

using SendEntryMessage = std::function<BOOL(std::span<const std::uint8_t> message)>;

// Sends each message only when the one before it was delivered; the result
// is that of the last message attempted. A port without an access code
// (nullptr) cannot enter update mode this way: nothing is sent and the
// result is 0.
BOOL SendUpdateModeEntry(const char* accessCode, const SendEntryMessage& send);
