#pragma once
// The firmware image that the installer carries, unscrambled and verified.

#include <cstdint>
#include <memory>

#include "platform/core/WinTypes.h"

class CPufImage {
public:
    CPufImage() = default;
    virtual ~CPufImage() = default;
    CPufImage(const CPufImage&) = delete;
    CPufImage& operator=(const CPufImage&) = delete;

    // Loads, unscrambles and verifies the resource of this type and id from
    // the program's own resources. 1 on success, 0 on any failure; a failure
    // leaves the image as it was. Throws nothing.
    int Load(UINT resourceId, const wchar_t* resourceType);

    // Model code (info[0]) and version in hundredths (info[1]) from the
    // header. False when the image is empty or the magic is wrong.
    bool GetHeaderInfo(int info[2]) const;

    // Unscrambles n bytes at p and checks the sum. On success with n >= 2 the
    // result replaces the payload; n == 1 passes but leaves the image as it
    // was. Throws std::bad_alloc when memory runs out.
    BOOL Unscramble(DWORD n, const std::uint8_t* p);

    // Rotates bit plane b of n bytes by floor((b + 1) * n / 9) positions
    // towards higher offsets. The in-place form makes the copy the rotation
    // needs; the other reads from src, which must not overlap dst.
    static void RotateBitPlanes(std::uint8_t* buffer, DWORD n);
    static void RotateBitPlanes(const std::uint8_t* src, std::uint8_t* dst, DWORD n);

    // The unscrambled payload (header included, without the sum byte), read
    // directly by the send step. The buffer holds m_nSize + 1 bytes; the last
    // is the zero that replaced the sum byte. Null exactly when m_nSize is 0.
    std::unique_ptr<std::uint8_t[]> m_pData;
    DWORD m_nSize = 0;
};
