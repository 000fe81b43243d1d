// The manager against a live agent on loopback: what it accepts, what it
// drops, and how long it waits.

#include <gtest/gtest.h>

#include <chrono>
#include <string>

#include "platform/core/System.h"
#include "platform/net/SnmpAgent.h"
#include "platform/net/SnmpManager.h"
#include "tests/net/TestAgent.h"

namespace {

using namespace platform::snmp;
using namespace std::chrono_literals;
using nettest::Replies;
using nettest::TestAgent;
using Kind = SnmpGetResult::Kind;

const char* const kStatusOid = ".1.3.6.1.4.1.32473.2.2.2.1.24.1";
const std::string kStatusText = "MDL:KX-70;VER:1.10;MODE:NORMAL;STATUS:80000000;";
const std::uint32_t kAgentAddress = nettest::Loopback(61);
// Long enough for a loaded machine; the rows that answer return at once.
constexpr auto kPatient = 5000ms;

Bytes BytesOf(std::string_view text)
{
    return Bytes(text.begin(), text.end());
}

OctetStringLookup Serves(std::string text)
{
    return [text = std::move(text)](const Oid& oid) -> std::optional<Bytes> {
        if (oid != *Oid::Parse(kStatusOid))
            return std::nullopt;
        return BytesOf(text);
    };
}

// A response to `request` carrying `value` for its first object.
Bytes ResponseWith(const GetRequest& request, Value value, std::int32_t requestId)
{
    Message message;
    message.community = request.community;
    message.pdu = {Tag::GetResponse, requestId, 0, 0, {{request.oids.at(0), std::move(value)}}};
    return EncodeMessage(message);
}

TEST(SnmpGet, ReadsWhatTheAgentAnswers)
{
    struct Row {
        const char* name;
        const char* oid;
        nettest::Handler handler;
        Kind kind;
        std::string octets;
        std::string detail;
    };
    const Row rows[] = {
        {"the status text", kStatusOid,
         [](const GetRequest& request) { return Replies{{EncodeGetResponse(request, Serves(kStatusText))}}; },
         Kind::OctetString, kStatusText, ""},
        {"stray datagrams first, then the answer", kStatusOid,
         [](const GetRequest& request) {
             return Replies{
                 {ResponseWith(request, OctetString{BytesOf("STALE")}, request.requestId + 1)},
                 {BytesOf("not BER at all")},
                 {ResponseWith(request, OctetString{BytesOf("OTHER PORT")}, request.requestId), true},
                 {EncodeGetResponse(request, Serves(kStatusText))},
             };
         },
         Kind::OctetString, kStatusText, ""},
        {"an INTEGER", kStatusOid,
         [](const GetRequest& request) { return Replies{{ResponseWith(request, Integer{42}, request.requestId)}}; },
         Kind::OtherAnswer, "", "a value of type INTEGER"},
        {"an object the agent does not have", ".1.3.6.1.4.1.32473.9",
         [](const GetRequest& request) { return Replies{{EncodeGetResponse(request, Serves(kStatusText))}}; },
         Kind::OtherAnswer, "", "error status 2 (noSuchName) at index 1"},
    };
    for (const Row& row : rows) {
        TestAgent agent(kAgentAddress, row.handler);
        SnmpGetResult result = SnmpGet(agent.Address(), "public", row.oid, kPatient, 0, agent.Port());
        EXPECT_EQ(result.kind, row.kind) << row.name << ": " << result.Describe();
        EXPECT_EQ(std::string(result.octets.begin(), result.octets.end()), row.octets) << row.name;
        EXPECT_EQ(result.detail, row.detail) << row.name;
        EXPECT_EQ(agent.Received(), 1) << row.name;
    }
}

TEST(SnmpGet, GivesUpAfterTheTimeOut)
{
    // An agent that reads the request and never answers, and a port where
    // nothing listens (the system's "port unreachable" must not end the
    // wait early either: a printer without an agent costs the full wait).
    TestAgent silent(kAgentAddress, [](const GetRequest&) { return Replies{}; });
    std::uint16_t closedPort = 0;
    {
        TestAgent gone(kAgentAddress, [](const GetRequest&) { return Replies{}; });
        closedPort = gone.Port();
    }
    for (std::uint16_t port : {silent.Port(), closedPort}) {
        const auto start = std::chrono::steady_clock::now();
        SnmpGetResult result = SnmpGet(kAgentAddress, "public", kStatusOid, 200ms, 0, port);
        const auto waited = std::chrono::steady_clock::now() - start;
        EXPECT_EQ(result.kind, Kind::NoAnswer) << result.Describe();
        EXPECT_FALSE(result.Answered());
        EXPECT_GE(waited, 150ms);
        EXPECT_LT(waited, 5s);
    }
    EXPECT_EQ(silent.Received(), 1);
}

TEST(SnmpGet, EachRetrySendsTheRequestAgain)
{
    TestAgent agent(kAgentAddress, [calls = 0](const GetRequest& request) mutable {
        return ++calls == 1 ? Replies{} : Replies{{EncodeGetResponse(request, Serves(kStatusText))}};
    });
    SnmpGetResult result = SnmpGet(agent.Address(), "public", kStatusOid, 200ms, 1, agent.Port());
    EXPECT_EQ(result.kind, Kind::OctetString) << result.Describe();
    EXPECT_EQ(agent.Received(), 2);
}

TEST(SnmpGet, ReportsWhatFailedLocally)
{
    SnmpGetResult badOid = SnmpGet(kAgentAddress, "public", "1.3.6.x", kPatient, 0, 161);
    EXPECT_EQ(badOid.kind, Kind::BadOid);
    EXPECT_FALSE(badOid.Answered());

    // The system refuses to send to port 0.
    SnmpGetResult local = SnmpGet(kAgentAddress, "public", kStatusOid, kPatient, 0, 0);
    ASSERT_EQ(local.kind, Kind::LocalError) << local.Describe();
    ASSERT_TRUE(local.error);
    EXPECT_EQ(local.error->Call(), "sendto");
    EXPECT_EQ(local.Describe(), "snmp 127.0.0.61:0: sendto: EINVAL (Invalid argument)");
}

} // namespace
