#include "image/PufImage.h"

#include <algorithm>
#include <new>
#include <vector>

#include "image/PufFormat.h"
#include "image/PufHeader.h"
#include "platform/resources/Resources.h"
#include "ports/AccessCodes.h"

// This file is compiled with -O3: the rotation and the key loops below are
// written to vectorise (no per-byte branch, no modulo), and GCC only does
// that for them at -O3. Unscrambling 1.3 MB runs at start-up, on the UI
// thread.

namespace {

const std::array<std::uint8_t, puf::kKeySize>& KeyBlock()
{
    static const auto key = [] {
        std::array<std::uint8_t, puf::kKeySize> block{};
        auto code = accesscodes::CodeA();
        std::copy(code.begin(), code.end(), block.begin());
        block.back() = 0;
        return block;
    }();
    return key;
}

// One stretch of output offsets over which no bit plane's source index
// wraps: dst[j] takes plane b from plane[b][j], all pointers already placed
// at the stretch's start.
void RotateSegment(const std::array<const std::uint8_t*, puf::kBitPlanes>& plane, std::uint8_t* __restrict dst,
                   std::uint32_t count)
{
    const std::uint8_t* __restrict p0 = plane[0];
    const std::uint8_t* __restrict p1 = plane[1];
    const std::uint8_t* __restrict p2 = plane[2];
    const std::uint8_t* __restrict p3 = plane[3];
    const std::uint8_t* __restrict p4 = plane[4];
    const std::uint8_t* __restrict p5 = plane[5];
    const std::uint8_t* __restrict p6 = plane[6];
    const std::uint8_t* __restrict p7 = plane[7];
    for (std::uint32_t j = 0; j < count; ++j) {
        dst[j] = static_cast<std::uint8_t>((p0[j] & 0x01) | (p1[j] & 0x02) | (p2[j] & 0x04) | (p3[j] & 0x08) |
                                           (p4[j] & 0x10) | (p5[j] & 0x20) | (p6[j] & 0x40) | (p7[j] & 0x80));
    }
}

// Subtracts the cycling key and returns the 8-bit sum of the result.
std::uint8_t SubtractKeyAndSum(std::uint8_t* __restrict buffer, std::uint32_t n)
{
    const std::uint8_t* __restrict key = KeyBlock().data();
    std::uint8_t sum = 0;
    std::uint32_t i = 0;
    for (; i + puf::kKeySize <= n; i += puf::kKeySize) {
        std::uint8_t* __restrict block = buffer + i;
        for (std::uint32_t k = 0; k < puf::kKeySize; ++k) {
            block[k] = static_cast<std::uint8_t>(block[k] - key[k]);
            sum = static_cast<std::uint8_t>(sum + block[k]);
        }
    }
    for (std::uint32_t k = 0; i + k < n; ++k) {
        buffer[i + k] = static_cast<std::uint8_t>(buffer[i + k] - key[k]);
        sum = static_cast<std::uint8_t>(sum + buffer[i + k]);
    }
    return sum;
}

} // namespace

int CPufImage::Load(UINT resourceId, const wchar_t* resourceType)
{
    enum ERROR_CODE { RESOURCE_NOT_FOUND = 0, IMAGE_CORRUPT = 1 };
    try {
        auto resource = platform::FindResource(resourceType ? resourceType : L"", resourceId);
        if (!resource)
            throw RESOURCE_NOT_FOUND;
        // A resource larger than 32 bits cannot be described by its size.
        if (resource->size() > 0xFFFFFFFFu)
            throw IMAGE_CORRUPT;
        if (!Unscramble(static_cast<DWORD>(resource->size()), resource->data()))
            throw IMAGE_CORRUPT;
        return 1;
    } catch (ERROR_CODE) {
        return 0;
    } catch (const std::bad_alloc&) {
        return 0;
    }
}

BOOL CPufImage::Unscramble(DWORD n, const std::uint8_t* p)
{
    if (n == 0 || p == nullptr)
        return 0;
    // The resource itself serves as the copy the rotation reads from: it is
    // read-only and already separate from the new buffer.
    std::unique_ptr<std::uint8_t[]> buffer(new std::uint8_t[n]);
    RotateBitPlanes(p, buffer.get(), n);
    if (SubtractKeyAndSum(buffer.get(), n) != puf::kExpectedSum)
        return 0;
    buffer[n - 1] = 0;
    if (n >= 2) {
        m_pData = std::move(buffer);
        m_nSize = n - 1;
    }
    return 1;
}

void CPufImage::RotateBitPlanes(std::uint8_t* buffer, DWORD n)
{
    if (n == 0)
        return;
    std::vector<std::uint8_t> copy(buffer, buffer + n);
    RotateBitPlanes(copy.data(), buffer, n);
}

void CPufImage::RotateBitPlanes(const std::uint8_t* src, std::uint8_t* dst, DWORD n)
{
    if (n == 0)
        return;
    const puf::PlaneShifts shifts = puf::ComputePlaneShifts(n);
    // The shifts rise with b, so they cut [0, n) into nine stretches; in the
    // stretch [shift[k-1], shift[k]) the planes below k read from j - shift
    // and the others have wrapped and read from j - shift + n.
    std::uint32_t lo = 0;
    for (unsigned k = 0; k <= puf::kBitPlanes; ++k) {
        std::uint32_t hi = k < puf::kBitPlanes ? shifts[k] : n;
        if (hi > lo) {
            std::array<const std::uint8_t*, puf::kBitPlanes> plane{};
            for (unsigned b = 0; b < puf::kBitPlanes; ++b)
                plane[b] = src + (b < k ? lo - shifts[b] : lo + (n - shifts[b]));
            RotateSegment(plane, dst + lo, hi - lo);
        }
        lo = std::max(lo, hi);
    }
}

bool CPufImage::GetHeaderInfo(int info[2]) const
{
    if (!m_pData)
        return false;
    // The buffer is m_nSize + 1 bytes and ends in a zero, so the header copy
    // never reads past it even for a payload shorter than a header.
    return puf::ParseImageHeader(std::span<const std::uint8_t>(m_pData.get(), m_nSize + std::size_t{1}), info);
}
