// Loading the embedded firmware against copying the same number of bytes.
// Both run in steady state (buffers warm, allocator warmed up) side by side,
// so their ratio is what to read: Load should stay within 15x of memcpy.
#include <benchmark/benchmark.h>

#include <cstring>
#include <vector>

#include "image/PufImage.h"
#include "platform/resources/Resources.h"
#include "resources/ResourceIds.h"

namespace {

std::size_t FirmwareSize()
{
    auto resource = platform::FindResource(ids::RT_FIRMWARE, ids::IDR_FIRMWARE);
    return resource ? resource->size() : 0;
}

void BM_Memcpy(benchmark::State& state)
{
    auto resource = platform::FindResource(ids::RT_FIRMWARE, ids::IDR_FIRMWARE);
    if (!resource) {
        state.SkipWithError("no firmware resource");
        return;
    }
    std::vector<std::uint8_t> target(resource->size());
    for (auto _ : state) {
        std::memcpy(target.data(), resource->data(), resource->size());
        benchmark::DoNotOptimize(target.data());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * resource->size()));
}
BENCHMARK(BM_Memcpy)->Unit(benchmark::kMicrosecond);

void BM_ImageLoad(benchmark::State& state)
{
    for (auto _ : state) {
        CPufImage image;
        if (!image.Load(ids::IDR_FIRMWARE, ids::RT_FIRMWARE)) {
            state.SkipWithError("Load failed");
            return;
        }
        benchmark::DoNotOptimize(image.m_pData.get());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * FirmwareSize()));
}
BENCHMARK(BM_ImageLoad)->Unit(benchmark::kMicrosecond);

} // namespace
