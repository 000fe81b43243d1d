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

void BM_PlainSocketSend(benchmark::State& state)
{
    const CPufImage* image = Payload();
    if (!image) {
        state.SkipWithError("the firmware does not load");
        return;
    }
    const std::uint32_t address = testsupport::LoopbackAddress(40);
    auto receiver = Receiver(state, address, kImagePort, nullptr);
    if (!receiver)
        return;
    std::size_t sent = 0;
    for (auto _ : state) {
        ++sent;
        if (!PlainSend(address, kImagePort, {image->m_pData.get(), image->m_nSize}) ||
            receiver->WaitForEnded(sent) != sent) {
            state.SkipWithError("send failed");
            return;
        }
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * image->m_nSize);
}
BENCHMARK(BM_PlainSocketSend)->Unit(benchmark::kMicrosecond);

void BM_RawSend(benchmark::State& state)
{
    const CPufImage* image = Payload();
    if (!image) {
        state.SkipWithError("the firmware does not load");
        return;
    }
    const std::uint32_t address = testsupport::LoopbackAddress(40);
    auto receiver = Receiver(state, address, kImagePort, nullptr);
    if (!receiver)
        return;
    CVantaNetworkPort port(address);
    std::size_t sent = 0;
    for (auto _ : state) {
        ++sent;
        if (!port.SendData(image->m_pData.get(), image->m_nSize, 0) || receiver->WaitForEnded(sent) != sent) {
            state.SkipWithError("SendData failed");
            return;
        }
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * image->m_nSize);
}
BENCHMARK(BM_RawSend)->Unit(benchmark::kMicrosecond);

void BM_LprSend(benchmark::State& state)
{
    const CPufImage* image = Payload();
    if (!image) {
        state.SkipWithError("the firmware does not load");
        return;
    }
    const std::uint32_t address = testsupport::LoopbackAddress(41);
    auto receiver = Receiver(state, address, kLpdPort, testsupport::LpdReceiver());
    if (!receiver)
        return;
    CLprNetworkPort port(address, 0);
    std::size_t sent = 0;
    for (auto _ : state) {
        ++sent;
        if (!port.SendData(image->m_pData.get(), image->m_nSize, 0) || receiver->WaitForEnded(sent) != sent) {
            state.SkipWithError("SendData failed");
            return;
        }
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * image->m_nSize);
}
BENCHMARK(BM_LprSend)->Unit(benchmark::kMicrosecond);

} // namespace
