// The agent's codec and the manager's reading of a response, without a
// socket.

#include <gtest/gtest.h>

#include <map>
#include <optional>
#include <string>

#include "platform/net/SnmpAgent.h"
#include "platform/net/SnmpManager.h"
#include "platform/net/SnmpMessage.h"

namespace {

using namespace platform::snmp;
using platform::Result;
using Kind = SnmpGetResult::Kind;

const Oid kStatusOid = *Oid::Parse(".1.3.6.1.4.1.32473.2.2.2.1.24.1");
const Oid kQuillOid = *Oid::Parse(".1.3.6.1.4.1.39021.3.2.1.1");
constexpr std::int32_t kRequestId = 4711;

Bytes BytesOf(std::string_view text)
{
    return Bytes(text.begin(), text.end());
}

OctetStringLookup Objects(std::map<Oid, std::string> objects)
{
    return [objects = std::move(objects)](const Oid& oid) -> std::optional<Bytes> {
        auto found = objects.find(oid);
        if (found == objects.end())
            return std::nullopt;
        return BytesOf(found->second);
    };
}

TEST(SnmpAgentCodec, DecodesTheManagersRequest)
{
    Result<GetRequest, DecodeError> request = DecodeGetRequest(EncodeGetRequest("public", kRequestId, kStatusOid));
    ASSERT_TRUE(request) << Describe(request.Error());
    EXPECT_EQ(request->community, "public");
    EXPECT_EQ(request->requestId, kRequestId);
    EXPECT_EQ(request->oids, std::vector<Oid>{kStatusOid});
}

TEST(SnmpAgentCodec, RefusesWhatAnSnmpV1AgentDrops)
{
    Message message;
    message.community = "public";
    message.pdu.varBinds.push_back({kStatusOid, Null{}});

    message.version = 1; // SNMPv2c
    Result<GetRequest, DecodeError> v2 = DecodeGetRequest(EncodeMessage(message));
    ASSERT_FALSE(v2);
    EXPECT_EQ(v2.Error(), DecodeError::WrongVersion);

    message.version = kVersion1;
    message.pdu.type = Tag::GetNextRequest;
    Result<GetRequest, DecodeError> next = DecodeGetRequest(EncodeMessage(message));
    ASSERT_FALSE(next);
    EXPECT_EQ(next.Error(), DecodeError::UnexpectedTag);
}

TEST(SnmpAgentCodec, AnswersKnownObjectsInOrder)
{
    const GetRequest request{"public", kRequestId, {kQuillOid, kStatusOid}};
    Result<Message, DecodeError> response = DecodeMessage(
        EncodeGetResponse(request, Objects({{kStatusOid, "MDL:KX-70;"}, {kQuillOid, "VER:1.10;"}})));
    ASSERT_TRUE(response);

    Message expected;
    expected.community = "public";
    expected.pdu = {Tag::GetResponse, kRequestId, 0, 0,
                    {{kQuillOid, OctetString{BytesOf("VER:1.10;")}}, {kStatusOid, OctetString{BytesOf("MDL:KX-70;")}}}};
    EXPECT_EQ(*response, expected);
}

TEST(SnmpAgentCodec, UnknownObjectIsNoSuchNameAtItsIndex)
{
    const GetRequest request{"public", kRequestId, {kStatusOid, kQuillOid}};
    Result<Message, DecodeError> response =
        DecodeMessage(EncodeGetResponse(request, Objects({{kStatusOid, "MDL:KX-70;"}})));
    ASSERT_TRUE(response);

    Message expected;
    expected.community = "public";
    expected.pdu = {Tag::GetResponse, kRequestId, static_cast<std::int32_t>(ErrorStatus::NoSuchName), 2,
                    {{kStatusOid, Null{}}, {kQuillOid, Null{}}}};
    EXPECT_EQ(*response, expected);
}

// What the manager makes of each datagram that arrives from the agent.
TEST(SnmpResponse, OnlyAnOctetStringForTheAskedObjectIsTheText)
{
    const auto response = [](auto change) {
        Message message;
        message.community = "public";
        message.pdu = {Tag::GetResponse, kRequestId, 0, 0, {{kStatusOid, OctetString{BytesOf("MDL:KX-70;")}}}};
        change(message);
        return EncodeMessage(message);
    };
    const auto same = [](Message&) {};

    struct Row {
        const char* name;
        Bytes datagram;
        std::optional<Kind> kind; // nothing: dropped, the wait goes on
        std::string detail;
    };
    const Row rows[] = {
        {"the text", response(same), Kind::OctetString, ""},
        {"an empty text", response([](Message& m) { m.pdu.varBinds[0].value = OctetString{}; }), Kind::OctetString, ""},
        {"another request's answer", response([](Message& m) { m.pdu.requestId = kRequestId + 1; }), std::nullopt, ""},
        {"SNMPv2c", response([](Message& m) { m.version = 1; }), std::nullopt, ""},
        {"not a response", response([](Message& m) { m.pdu.type = Tag::GetRequest; }), std::nullopt, ""},
        {"not BER", BytesOf("MDL:KX-70;"), std::nullopt, ""},
        {"error status with the text",
         response([](Message& m) { m.pdu.errorStatus = 2, m.pdu.errorIndex = 1; }), Kind::OtherAnswer,
         "error status 2 (noSuchName) at index 1"},
        {"unnamed error status", response([](Message& m) { m.pdu.errorStatus = 17; }), Kind::OtherAnswer,
         "error status 17 (unknown) at index 0"},
        {"an INTEGER", response([](Message& m) { m.pdu.varBinds[0].value = Integer{42}; }), Kind::OtherAnswer,
         "a value of type INTEGER"},
        {"Opaque bytes", response([](Message& m) { m.pdu.varBinds[0].value = Opaque{BytesOf("MDL:KX-70;")}; }),
         Kind::OtherAnswer, "a value of type Opaque"},
        {"noSuchObject", response([](Message& m) { m.pdu.varBinds[0].value = NoSuchObject{}; }), Kind::OtherAnswer,
         "a value of type noSuchObject"},
        {"another object", response([](Message& m) { m.pdu.varBinds[0].name = kQuillOid; }), Kind::OtherAnswer,
         "a binding for .1.3.6.1.4.1.39021.3.2.1.1"},
        {"no binding", response([](Message& m) { m.pdu.varBinds.clear(); }), Kind::OtherAnswer,
         "0 bindings for one object asked"},
        {"two bindings", response([](Message& m) { m.pdu.varBinds.push_back(m.pdu.varBinds[0]); }),
         Kind::OtherAnswer, "2 bindings for one object asked"},
    };
    for (const Row& row : rows) {
        std::optional<SnmpGetResult> result = ReadGetResponse(row.datagram, kRequestId, kStatusOid);
        if (!row.kind) {
            EXPECT_FALSE(result) << row.name << ": " << result->Describe();
            continue;
        }
        ASSERT_TRUE(result) << row.name;
        EXPECT_EQ(result->kind, *row.kind) << row.name << ": " << result->Describe();
        EXPECT_EQ(result->detail, row.detail) << row.name;
        EXPECT_TRUE(result->Answered()) << row.name;
        if (result->kind != Kind::OctetString) {
            EXPECT_TRUE(result->octets.empty()) << row.name;
        }
    }
    EXPECT_EQ(ReadGetResponse(response(same), kRequestId, kStatusOid)->octets, BytesOf("MDL:KX-70;"));
}

} // namespace
