#pragma once
// The one interface over every way of reaching the printer. The update
// driver and the progress dialog call nothing else.
//
// Every operation acquires what it uses (socket, device handle, loaded
// library) and releases it before it returns; between operations a port
// holds only its configuration. Each reports success as a nonzero BOOL.

#include "platform/core/WinTypes.h"

#include <cstdint>
#include <string>

class CPort {
public:
    CPort(const CPort&) = delete;
    CPort& operator=(const CPort&) = delete;

    // The printer's raw status text, as it sent it; parsed by CStatusReply.
    virtual BOOL QueryStatus(std::wstring& statusText) = 0;
    // Switch the printer into its firmware-receive mode.
    virtual BOOL EnterUpdateMode() = 0;
    // Send `length` bytes as they are, in pieces of at most `chunkSize`
    // bytes; 0 selects the port's default piece size.
    virtual BOOL SendData(const std::uint8_t* data, DWORD length, DWORD chunkSize) = 0;
    // The port's zero-terminated access-code message, or nullptr when its
    // printer takes none. A constant of the program, never freed.
    virtual const char* GetAccessCode() const = 0;

    // Owners release ports through a CPort pointer, so the destructor must
    // be virtual for the derived parts to be destroyed at all.
    virtual ~CPort() = default;

protected:
    CPort() = default;
};
