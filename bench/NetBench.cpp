// Sending the embedded firmware payload over loopback TCP, three ways, side
// by side in one run so their ratios can be read:
//   BM_PlainSocketSend  a blocking socket: connect, send every byte, close
//   BM_RawSend          CVantaNetworkPort::SendData: the same, through the
//                       port (pieces of 102400 bytes, poll-slice waits)
//   BM_LprSend          CLprNetworkPort::SendData: connect, receive-job
//                       command, 13 data files with two acknowledgements
//                       each, close
// Every iteration includes its connection's setup and close, and ends when
// the receiver (a thread of this process) has read the connection to its
// end: without that wait the sender only fills socket buffers, runs ahead of
// the receiver, and stalls on a full accept queue. Targets: RawSend within
// 1.2x and LprSend within 2x of PlainSocketSend.
#include <benchmark/benchmark.h>

#include <sys/socket.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <stdexcept>

#include "image/PufImage.h"
#include "platform/core/StreamCalls.h"
#include "platform/core/System.h"
#include "ports/LprNetworkPort.h"
#include "ports/VantaNetworkPort.h"
#include "resources/ResourceIds.h"
#include "tests/support/LoopbackAddress.h"
#include "tests/support/ScriptedLpd.h"
#include "tests/support/ScriptedTcpPeer.h"

namespace {

using testsupport::ScriptedTcpPeer;

constexpr std::uint16_t kImagePort = 9100;
constexpr std::uint16_t kLpdPort = 515;

// The unscrambled firmware, loaded once.
const CPufImage* Payload()
{
    static const std::unique_ptr<CPufImage> image = [] {
        auto loaded = std::make_unique<CPufImage>();
        if (!loaded->Load(ids::IDR_FIRMWARE, ids::RT_FIRMWARE))
            loaded.reset();
        return loaded;
    }();
    return image.get();
}

// A receiver that reads each connection to its end and keeps nothing.
std::unique_ptr<ScriptedTcpPeer> Receiver(benchmark::State& state, std::uint32_t address, std::uint16_t port,
                                          testsupport::PeerScript script)
{
    try {
        return std::make_unique<ScriptedTcpPeer>(address, port, std::move(script), ScriptedTcpPeer::Recording::Off);
    } catch (const std::exception& error) {
        state.SkipWithError(error.what());
        return nullptr;
    }
}

bool PlainSend(std::uint32_t address, std::uint16_t port, std::span<const std::uint8_t> bytes)
{
    auto socket = platform::sys::Socket(AF_INET, SOCK_STREAM);
    if (!socket || !platform::sys::Connect(socket->Get(), platform::sys::MakeSockAddr(address, port)))
        return false;
    while (!bytes.empty()) {
        auto sent = platform::sys::Send(socket->Get(), bytes);
        if (!sent)
            return false;
        bytes = bytes.subspan(*sent);
    }
    return true;
}

using PayloadSender = std::function<bool(std::uint32_t address, std::span<const std::uint8_t> payload)>;

// Every send benchmark: connect, send the payload, close, and wait until the
// receiver has read that connection to its end, so no sender runs ahead of
// its reader into full socket buffers.
void RunSendBenchmark(benchmark::State& state, std::uint8_t lane, std::uint16_t port,
                      testsupport::PeerScript script, const PayloadSender& send)
{
    const CPufImage* image = Payload();
    if (!image) {
        state.SkipWithError("the firmware does not load");
        return;
    }
    const std::uint32_t address = testsupport::LoopbackAddress(lane);
    auto receiver = Receiver(state, address, port, std::move(script));
    if (!receiver)
        return;
    const std::span<const std::uint8_t> payload(image->m_pData.get(), image->m_nSize);
    std::size_t sent = 0;
    for (auto _ : state) {
        ++sent;
        if (!send(address, payload) || receiver->WaitForEnded(sent) != sent) {
            state.SkipWithError("send failed");
            return;
        }
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * image->m_nSize);
}

void BM_PlainSocketSend(benchmark::State& state)
{
    RunSendBenchmark(state, 40, kImagePort, nullptr, [](std::uint32_t address, std::span<const std::uint8_t> payload) {
        return PlainSend(address, kImagePort, payload);
    });
}
BENCHMARK(BM_PlainSocketSend)->Unit(benchmark::kMicrosecond);

void BM_RawSend(benchmark::State& state)
{
    RunSendBenchmark(state, 40, kImagePort, nullptr, [](std::uint32_t address, std::span<const std::uint8_t> payload) {
        CVantaNetworkPort port(address);
        return port.SendData(payload.data(), static_cast<DWORD>(payload.size()), 0) != 0;
    });
}
BENCHMARK(BM_RawSend)->Unit(benchmark::kMicrosecond);

void BM_LprSend(benchmark::State& state)
{
    RunSendBenchmark(state, 41, kLpdPort, testsupport::LpdReceiver(),
                     [](std::uint32_t address, std::span<const std::uint8_t> payload) {
                         CLprNetworkPort port(address, 0);
                         return port.SendData(payload.data(), static_cast<DWORD>(payload.size()), 0) != 0;
                     });
}
BENCHMARK(BM_LprSend)->Unit(benchmark::kMicrosecond);

} // namespace
