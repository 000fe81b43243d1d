// One SNMP GET round trip on loopback, against an agent thread that answers
// with the agent codec: socket, request, poll, response and decoding, as a
// status poll pays them. Expect well under 0.2 ms.
#include <benchmark/benchmark.h>

#include <chrono>
#include <string>

#include "platform/net/SnmpAgent.h"
#include "platform/net/SnmpManager.h"
#include "tests/net/TestAgent.h"

namespace {

using namespace platform::snmp;

void BM_SnmpGet(benchmark::State& state)
{
    const std::string oid = ".1.3.6.1.4.1.32473.2.2.2.1.24.1";
    const std::string text = "MDL:KX-70;VER:1.10;MODE:NORMAL;STATUS:80000000;";
    nettest::TestAgent agent(nettest::Loopback(64), [&text](const GetRequest& request) {
        return nettest::Replies{{EncodeGetResponse(
            request, [&text](const Oid&) { return std::optional<Bytes>(Bytes(text.begin(), text.end())); })}};
    });
    for (auto _ : state) {
        SnmpGetResult result =
            SnmpGet(agent.Address(), "public", oid, std::chrono::milliseconds{200}, 0, agent.Port());
        if (result.kind != SnmpGetResult::Kind::OctetString) {
            state.SkipWithError(result.Describe().c_str());
            return;
        }
        benchmark::DoNotOptimize(result.octets.data());
    }
}
BENCHMARK(BM_SnmpGet)->Unit(benchmark::kMicrosecond);

} // namespace
