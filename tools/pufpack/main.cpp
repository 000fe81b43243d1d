// pufpack: makes and inspects the installer's firmware resource.
//
//   pufpack pack RAW OUT      raw image -> scrambled resource
//   pufpack unpack RES OUT    resource -> payload, through the installer's own
//                             unscrambling (fails on a bad sum)
//   pufpack info FILE         "<model code> <version in hundredths>" of a raw
//                             image or payload
//   pufpack demo OUT [--model-code C] [--version V] [--size N]
//                             a deterministic demo firmware

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <new>
#include <optional>
#include <string>
#include <vector>

#include "image/PufHeader.h"
#include "image/PufImage.h"
#include "image/PufScrambler.h"
#include "platform/resources/Resources.h"
#include "tools/pufpack/DemoFirmware.h"

// The packer carries no resources of its own.
namespace platform {
const ResourceModule& ExecutableResources()
{
    static const StaticResourceModule empty({});
    return empty;
}
} // namespace platform

namespace {

constexpr int kExitFailure = 1;
constexpr int kExitUsage = 2;

int Usage()
{
    std::fputs("usage: pufpack pack RAW OUT\n"
                "       pufpack unpack RES OUT\n"
                "       pufpack info FILE\n"
                "       pufpack demo OUT [--model-code DIGITS] [--version X.YY] [--size BYTES]\n",
                stderr);
    return kExitUsage;
}

int Fail(const std::string& subject, const std::string& reason)
{
    std::fprintf(stderr, "pufpack: %s: %s\n", subject.c_str(), reason.c_str());
    return kExitFailure;
}

std::optional<std::vector<std::uint8_t>> ReadFile(const char* path, std::string& error)
{
    std::FILE* file = std::fopen(path, "rb");
    if (!file) {
        error = std::string("open: ") + std::strerror(errno);
        return std::nullopt;
    }
    std::vector<std::uint8_t> bytes;
    std::uint8_t chunk[65536];
    std::size_t n;
    while ((n = std::fread(chunk, 1, sizeof chunk, file)) > 0)
        bytes.insert(bytes.end(), chunk, chunk + n);
    bool failed = std::ferror(file);
    int savedErrno = errno;
    std::fclose(file);
    if (failed) {
        error = std::string("read: ") + std::strerror(savedErrno);
        return std::nullopt;
    }
    return bytes;
}

bool WriteFile(const char* path, const std::uint8_t* data, std::size_t size, std::string& error)
{
    std::FILE* file = std::fopen(path, "wb");
    if (!file) {
        error = std::string("open: ") + std::strerror(errno);
        return false;
    }
    bool ok = std::fwrite(data, 1, size, file) == size;
    int savedErrno = errno;
    if (std::fclose(file) != 0 && ok) {
        ok = false;
        savedErrno = errno;
    }
    if (!ok)
        error = std::string("write: ") + std::strerror(savedErrno);
    return ok;
}

int Pack(const char* rawPath, const char* outPath)
{
    std::string error;
    auto raw = ReadFile(rawPath, error);
    if (!raw)
        return Fail(rawPath, error);
    if (raw->size() >= 0xFFFFFFFFu)
        return Fail(rawPath, "too large for a resource (4 GiB or more)");
    auto resource = puf::PackFirmware(*raw);
    if (!WriteFile(outPath, resource.data(), resource.size(), error))
        return Fail(outPath, error);
    return 0;
}

int Unpack(const char* resourcePath, const char* outPath)
{
    std::string error;
    auto resource = ReadFile(resourcePath, error);
    if (!resource)
        return Fail(resourcePath, error);
    if (resource->empty())
        return Fail(resourcePath, "empty resource");
    if (resource->size() > 0xFFFFFFFFu)
        return Fail(resourcePath, "too large for a resource (4 GiB or more)");
    CPufImage image;
    try {
        if (!image.Unscramble(static_cast<DWORD>(resource->size()), resource->data()))
            return Fail(resourcePath, "integrity test failed: the 8-bit sum of the unscrambled bytes is not 0x7F");
    } catch (const std::bad_alloc&) {
        return Fail(resourcePath, "out of memory");
    }
    if (!WriteFile(outPath, image.m_pData.get(), image.m_nSize, error))
        return Fail(outPath, error);
    return 0;
}

int Info(const char* path)
{
    std::string error;
    auto bytes = ReadFile(path, error);
    if (!bytes)
        return Fail(path, error);
    int info[2] = {0, 0};
    if (!puf::ParseImageHeader(*bytes, info))
        return Fail(path, "no \"PUF1\" header");
    std::printf("%d %d\n", info[0], info[1]);
    return 0;
}

int Demo(int argc, char** argv)
{
    const char* outPath = argv[0];
    pufpack::DemoOptions options;
    for (int i = 1; i < argc; i += 2) {
        if (i + 1 >= argc)
            return Usage();
        std::string option = argv[i];
        std::string value = argv[i + 1];
        if (option == "--model-code") {
            options.modelCode = value;
        } else if (option == "--version") {
            options.version = value;
        } else if (option == "--size") {
            char* end = nullptr;
            errno = 0;
            unsigned long long size = std::strtoull(value.c_str(), &end, 10);
            if (errno != 0 || end == value.c_str() || *end != '\0' || size > (1ull << 30))
                return Fail("--size", "not a byte count up to 1 GiB: " + value);
            options.size = static_cast<std::size_t>(size);
        } else {
            return Usage();
        }
    }
    auto image = pufpack::MakeDemoFirmware(options);
    if (image.empty())
        return Fail("demo", "model code must be 1-6 digits, version 1-22 digits and dots, size at least 32");
    std::string error;
    if (!WriteFile(outPath, image.data(), image.size(), error))
        return Fail(outPath, error);
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 2)
        return Usage();
    std::string command = argv[1];
    if (command == "pack" && argc == 4)
        return Pack(argv[2], argv[3]);
    if (command == "unpack" && argc == 4)
        return Unpack(argv[2], argv[3]);
    if (command == "info" && argc == 3)
        return Info(argv[2]);
    if (command == "demo" && argc >= 3)
        return Demo(argc - 2, argv + 2);
    return Usage();
}
