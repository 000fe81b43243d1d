#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "image/PufHeader.h"
#include "image/PufImage.h"
#include "image/PufScrambler.h"
#include "platform/resources/Resources.h"
#include "ports/AccessCodes.h"
#include "resources/ResourceIds.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

// The key block, built here independently of the image code.
std::uint8_t KeyAt(std::size_t i)
{
    std::size_t k = i % 501;
    return k == 500 ? 0 : static_cast<std::uint8_t>(accesscodes::MessageA()[10 + k]);
}

// Unscrambling done the slow, literal way: copy, per-bit modulo rotation,
// cycling key. The fast implementation must agree with it byte for byte.
Bytes ReferenceRotate(const Bytes& in)
{
    const std::size_t n = in.size();
    Bytes out(n, 0);
    for (std::size_t j = 0; j < n; ++j) {
        for (unsigned b = 0; b < 8; ++b) {
            std::size_t shift = (b + 1) * n / 9;
            std::size_t from = (j + n - shift) % n;
            out[j] |= in[from] & (1u << b);
        }
    }
    return out;
}

// The inverse rotation, to build a resource whose rotation is a chosen text.
Bytes ReferenceRotateBack(const Bytes& in)
{
    const std::size_t n = in.size();
    Bytes out(n, 0);
    for (std::size_t j = 0; j < n; ++j)
        for (unsigned b = 0; b < 8; ++b)
            out[j] |= in[(j + (b + 1) * n / 9) % n] & (1u << b);
    return out;
}

Bytes RandomBytes(std::size_t n, unsigned seed)
{
    std::mt19937 rng(seed);
    Bytes bytes(n);
    for (auto& b : bytes)
        b = static_cast<std::uint8_t>(rng());
    return bytes;
}

Bytes HeaderImage(const std::string& header32, std::size_t size = 4096)
{
    Bytes raw = RandomBytes(size, 7);
    std::memcpy(raw.data(), header32.data(), std::min<std::size_t>(header32.size(), 32));
    for (std::size_t i = header32.size(); i < 32; ++i)
        raw[i] = ' ';
    return raw;
}

TEST(PufRotation, MatchesTheLiteralRotationForAllShapesOfLength)
{
    std::vector<std::size_t> lengths;
    for (std::size_t n = 1; n <= 40; ++n)
        lengths.push_back(n);
    for (std::size_t n : {500u, 501u, 502u, 1001u, 4095u, 65537u})
        lengths.push_back(n);
    for (std::size_t n : lengths) {
        Bytes in = RandomBytes(n, static_cast<unsigned>(n));
        Bytes fast = in;
        CPufImage::RotateBitPlanes(fast.data(), static_cast<DWORD>(n));
        ASSERT_EQ(fast, ReferenceRotate(in)) << "n = " << n;
    }
}

TEST(PufRotation, ShiftsAreNinthsOfTheLength)
{
    // For n = 18, bit b of the byte at offset 0 must land at 2 * (b + 1).
    Bytes in(18, 0);
    in[0] = 0xFF;
    CPufImage::RotateBitPlanes(in.data(), 18);
    for (unsigned b = 0; b < 8; ++b)
        EXPECT_EQ(in[2 * (b + 1)], 1u << b) << "bit " << b;
    // Below 9 bytes, bit 0 stays put; one byte is not moved at all.
    Bytes small = {0x01, 0, 0, 0, 0, 0, 0, 0};
    CPufImage::RotateBitPlanes(small.data(), 8);
    EXPECT_EQ(small[0] & 0x01, 0x01);
    Bytes one = {0xA5};
    CPufImage::RotateBitPlanes(one.data(), 1);
    EXPECT_EQ(one[0], 0xA5);
}

TEST(PufUnscramble, PackedImageLoadsBackByteForByte)
{
    Bytes raw = HeaderImage("PUF1070168    firmware Ver. 1.20", 100'003);
    Bytes resource = puf::PackFirmware(raw);
    ASSERT_EQ(resource.size(), raw.size() + 1);

    platform::ResourceOverlay overlay(platform::ExecutableResources());
    overlay.SetBinary(L"FIRMWARE", 220, resource);
    platform::ScopedResources scope(overlay);
    CPufImage image;
    ASSERT_EQ(image.Load(220, L"FIRMWARE"), 1);
    ASSERT_EQ(image.m_nSize, raw.size());
    EXPECT_EQ(Bytes(image.m_pData.get(), image.m_pData.get() + image.m_nSize), raw);
    EXPECT_EQ(image.m_pData[image.m_nSize], 0); // the sum byte became the terminator
    int info[2] = {};
    ASSERT_TRUE(image.GetHeaderInfo(info));
    EXPECT_EQ(info[0], 70168);
    EXPECT_EQ(info[1], 120);
}

TEST(PufUnscramble, AgreesWithTheLiteralAlgorithmAndSkipsEvery501stByte)
{
    // Choose what the rotation yields: zeros, and one byte that makes the
    // sum come out right. After the key, offsets 500, 1001 and 1502 must
    // still be zero and every other offset must carry minus its key byte.
    const std::size_t n = 2000;
    Bytes rotated(n, 0);
    std::uint8_t keySum = 0;
    for (std::size_t i = 0; i < n; ++i)
        keySum = static_cast<std::uint8_t>(keySum + KeyAt(i));
    rotated[7] = static_cast<std::uint8_t>(0x7F + keySum);
    Bytes resource = ReferenceRotateBack(rotated);
    ASSERT_EQ(ReferenceRotate(resource), rotated);

    CPufImage image;
    ASSERT_TRUE(image.Unscramble(static_cast<DWORD>(n), resource.data()));
    for (std::size_t i : {500u, 1001u, 1502u})
        EXPECT_EQ(image.m_pData[i], 0) << "offset " << i;
    for (std::size_t i : {0u, 1u, 499u, 501u, 502u, 1000u, 1002u, 1503u})
        EXPECT_EQ(image.m_pData[i], static_cast<std::uint8_t>(-KeyAt(i))) << "offset " << i;
}

TEST(PufUnscramble, SumTestAndSizeEdges)
{
    CPufImage image;
    Bytes loaded = puf::PackFirmware(HeaderImage("PUF1070168                  1.20", 600));
    ASSERT_TRUE(image.Unscramble(static_cast<DWORD>(loaded.size()), loaded.data()));
    const std::uint8_t* before = image.m_pData.get();

    // Empty and damaged resources fail and leave the image as it was.
    EXPECT_FALSE(image.Unscramble(0, loaded.data()));
    Bytes damaged = loaded;
    damaged[300] ^= 0x10;
    EXPECT_FALSE(image.Unscramble(static_cast<DWORD>(damaged.size()), damaged.data()));
    EXPECT_EQ(image.m_pData.get(), before);
    EXPECT_EQ(image.m_nSize, 600u);

    // One byte whose value minus the key's first byte is 0x7F passes the
    // sum test but is no image: an empty image stays empty.
    std::uint8_t single = static_cast<std::uint8_t>(0x7F + KeyAt(0));
    CPufImage empty;
    EXPECT_TRUE(empty.Unscramble(1, &single));
    EXPECT_EQ(empty.m_pData, nullptr);
    EXPECT_EQ(empty.m_nSize, 0u);
    int info[2] = {};
    EXPECT_FALSE(empty.GetHeaderInfo(info));
    std::uint8_t wrong = static_cast<std::uint8_t>(single + 1);
    EXPECT_FALSE(empty.Unscramble(1, &wrong));
}

TEST(PufLoad, FailuresReturnZeroAndKeepTheImage)
{
    Bytes good = puf::PackFirmware(HeaderImage("PUF1070168                  1.20", 1000));
    Bytes bad = good;
    bad[10] ^= 0x01;
    platform::ResourceOverlay overlay(platform::ExecutableResources());
    overlay.SetBinary(L"FIRMWARE", 220, good).SetBinary(L"FIRMWARE", 221, bad).SetBinary(L"FIRMWARE", 222, {});
    platform::ScopedResources scope(overlay);

    CPufImage image;
    ASSERT_EQ(image.Load(220, L"FIRMWARE"), 1);
    EXPECT_EQ(image.Load(221, L"FIRMWARE"), 0); // sum test
    EXPECT_EQ(image.Load(222, L"FIRMWARE"), 0); // empty
    EXPECT_EQ(image.Load(223, L"FIRMWARE"), 0); // missing
    EXPECT_EQ(image.Load(220, L"DLL"), 0);      // wrong type
    EXPECT_EQ(image.Load(220, nullptr), 0);
    EXPECT_EQ(image.m_nSize, 1000u);
    int info[2] = {};
    EXPECT_TRUE(image.GetHeaderInfo(info));
}

TEST(PufLoad, TheEmbeddedFirmwareMatchesTheBuildConfiguration)
{
    CPufImage image;
    ASSERT_EQ(image.Load(ids::IDR_FIRMWARE, ids::RT_FIRMWARE), 1);
    int info[2] = {};
    ASSERT_TRUE(image.GetHeaderInfo(info));
    EXPECT_EQ(info[0], 70168);
    EXPECT_EQ(info[1], 120);
}

TEST(PufHeader, ReadsModelCodeAndVersion)
{
    struct Row {
        const char* name;
        std::string header; // up to 32 bytes; shorter means a zero follows
        bool ok;
        int modelCode;
        int version;
    } rows[] = {
        {"plain", "PUF1070168 KX-70 firmware   1.20", true, 70168, 120},
        {"trailing blanks", "PUF1070168 KX-70 fw 1.20        ", true, 70168, 120},
        {"1.15 is not 114", "PUF1070168                  1.15", true, 70168, 115},
        {"2.01", "PUF1070168                  2.01", true, 70168, 201},
        {"no rounding", "PUF1070168                 1.206", true, 70168, 120},
        {"second dot stops", "PUF1070168                 1.2.3", true, 70168, 120},
        {"whole number", "PUF1070168                    12", true, 70168, 1200},
        {"no digit or dot", "PUF1070168 no version here at al", true, 70168, 0},
        {"run reaches offset 10", std::string("PUF1070168") + "1.20", true, 70168, 120},
        {"ten characters", "PUF1070168 firmware  1234567.89", true, 70168, 123456789},
        {"eleven characters", "PUF1070168 firmware 12345678.90", true, 70168, -1},
        {"whole field", "PUF10701681.2.3.4.5.6.7.8.9.0.1.", true, 70168, -1},
        // Ten digits fit the length rule but not an int: unreadable, not a
        // wrapped or undefined number.
        {"too large for int", "PUF1070168 firmware   9999999999", true, 70168, -1},
        {"header ends early", "PUF1070168", true, 70168, 0},
        {"short model code", "PUF17", true, 7, 0},
        {"model code stops at letter", "PUF112a456 firmware         1.20", true, 12, 120},
        {"lower-case magic", "puf1070168                  1.20", false, 0, 0},
        {"other magic", "PUF2070168                  1.20", false, 0, 0},
        {"only magic cut", "PUF", false, 0, 0},
        {"empty", "", false, 0, 0},
    };
    for (const Row& row : rows) {
        std::vector<std::uint8_t> image(row.header.begin(), row.header.end());
        image.resize(40, 0);
        int info[2] = {0, 0};
        EXPECT_EQ(puf::ParseImageHeader(image, info), row.ok) << row.name;
        if (row.ok) {
            EXPECT_EQ(info[0], row.modelCode) << row.name;
            EXPECT_EQ(info[1], row.version) << row.name;
        }
    }
}

} // namespace
