// The BER codec and SNMP message format: object identifier text, integer
// encodings, round trips of every value type, and malformed datagrams.

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <optional>
#include <string>
#include <vector>

#include "platform/net/Ber.h"
#include "platform/net/Oid.h"
#include "platform/net/SnmpManager.h"
#include "platform/net/SnmpMessage.h"
#include "tests/net/BerBuilder.h"

namespace {

using namespace platform::snmp;
using platform::Result;
using nettest::Cat;
using nettest::Raw;
using nettest::Tlv;

std::string Arcs(std::size_t count)
{
    std::string text = "1.3";
    for (std::size_t i = 2; i < count; ++i)
        text += ".7";
    return text;
}

TEST(OidText, ParsesValidAndRejectsBadText)
{
    struct Row {
        std::string text;
        std::optional<std::string> formatted; // nothing: rejected
    };
    const Row rows[] = {
        {".1.3.6.1.4.1.32473.2.2.2.1.24.1", ".1.3.6.1.4.1.32473.2.2.2.1.24.1"},
        {"1.3.6.1.4.1.39021.3.2.1.1", ".1.3.6.1.4.1.39021.3.2.1.1"},
        {"0.39", ".0.39"},
        {"1.3.4294967295", ".1.3.4294967295"},
        {"2.4294967215", ".2.4294967215"}, // 80 + second is the largest sub-identifier
        {"1.03", ".1.3"},
        {Arcs(128), "." + Arcs(128)},
        {Arcs(129), std::nullopt},
        {"2.4294967216", std::nullopt},
        {"1.3.4294967296", std::nullopt},
        {"1.40", std::nullopt},
        {"3.1", std::nullopt},
        {"1", std::nullopt},
        {".1", std::nullopt},
        {"", std::nullopt},
        {".", std::nullopt},
        {"..1.3", std::nullopt},
        {"1..3", std::nullopt},
        {"1.3.", std::nullopt},
        {" 1.3", std::nullopt},
        {"1.3 ", std::nullopt},
        {"1.-3", std::nullopt},
        {"1.+3", std::nullopt},
        {"1.3.x", std::nullopt},
        {"1.3.0x10", std::nullopt},
    };
    for (const Row& row : rows) {
        std::optional<Oid> oid = Oid::Parse(row.text);
        if (!row.formatted) {
            EXPECT_FALSE(oid) << '"' << row.text << '"';
            continue;
        }
        ASSERT_TRUE(oid) << '"' << row.text << '"';
        EXPECT_EQ(oid->ToString(), *row.formatted);
        EXPECT_EQ(Oid::Parse(oid->ToString()), oid);
    }
}

TEST(BerInteger, MinimalTwosComplementBothWays)
{
    struct Row {
        std::int64_t value;
        Raw content;
    };
    const Row rows[] = {
        {0, {0x00}},
        {127, {0x7F}},
        {128, {0x00, 0x80}},
        {-1, {0xFF}},
        {-128, {0x80}},
        {-129, {0xFF, 0x7F}},
        {0x1234, {0x12, 0x34}},
        {std::numeric_limits<std::int32_t>::max(), {0x7F, 0xFF, 0xFF, 0xFF}},
        {std::numeric_limits<std::int32_t>::min(), {0x80, 0x00, 0x00, 0x00}},
    };
    for (const Row& row : rows) {
        BerWriter out(TlvSize(SignedContentSize(row.value)));
        out.Signed(Tag::Integer, row.value);
        EXPECT_EQ(std::move(out).Finish(), Cat({Raw{0x02, static_cast<std::uint8_t>(row.content.size())}, row.content}))
            << row.value;
        EXPECT_EQ(DecodeInteger32(row.content), row.value);
    }
}

TEST(BerInteger, UnsignedGainsALeadingZeroForTheTopBit)
{
    struct Row {
        std::uint64_t value;
        Raw content;
    };
    const Row rows[] = {
        {0, {0x00}},
        {0x7F, {0x7F}},
        {0x80, {0x00, 0x80}},
        {0xFFFFFFFFu, {0x00, 0xFF, 0xFF, 0xFF, 0xFF}},
        {std::numeric_limits<std::uint64_t>::max(), {0x00, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF}},
    };
    for (const Row& row : rows) {
        BerWriter out(TlvSize(UnsignedContentSize(row.value)));
        out.Unsigned(Tag::Counter64, row.value);
        EXPECT_EQ(std::move(out).Finish(), Cat({Raw{0x46, static_cast<std::uint8_t>(row.content.size())}, row.content}))
            << row.value;
        EXPECT_EQ(DecodeUnsigned64(row.content), row.value);
    }
}

TEST(SnmpMessage, GetRequestHasTheExactBytes)
{
    const Oid oid = *Oid::Parse(".1.3.6.1.4.1.32473.2.2.2.1.24.1");
    const Raw expected = nettest::Message(nettest::RequestId(),
                                          nettest::VarBind(nettest::StatusOidTlv(), Raw{0x05, 0x00}));
    EXPECT_EQ(EncodeGetRequest("public", 0x1234, oid), expected);
}

TEST(SnmpMessage, EveryValueTypeRoundTrips)
{
    Oid longest = *Oid::Parse(Arcs(128));
    Message message;
    message.community = std::string("pub\0lic", 7);
    message.pdu.type = Tag::GetResponse;
    message.pdu.requestId = std::numeric_limits<std::int32_t>::min();
    message.pdu.errorStatus = 5;
    message.pdu.errorIndex = 300;
    const Value values[] = {
        Null{},
        Integer{std::numeric_limits<std::int32_t>::min()},
        Integer{std::numeric_limits<std::int32_t>::max()},
        OctetString{},
        OctetString{Bytes(300, 0xAB)}, // long-form length
        ObjectIdValue{*Oid::Parse("2.4294967215.4294967295")},
        ObjectIdValue{longest},
        IpAddress{{192, 0, 2, 7}},
        Counter32{0xFFFFFFFFu},
        Gauge32{0x80000000u},
        TimeTicks{0},
        Opaque{Bytes{0x9F, 0x78, 0x04}},
        Counter64{std::numeric_limits<std::uint64_t>::max()},
        NoSuchObject{},
        NoSuchInstance{},
        EndOfMibView{},
        OtherValue{0x47, Bytes{0x01, 0x02}},
    };
    for (const Value& value : values)
        message.pdu.varBinds.push_back({longest, value});

    const Bytes encoded = EncodeMessage(message);
    Result<Message, DecodeError> decoded = DecodeMessage(encoded);
    ASSERT_TRUE(decoded) << Describe(decoded.Error());
    EXPECT_EQ(*decoded, message);
}

TEST(SnmpMessage, VarBindCountIsCapped)
{
    Message message;
    message.pdu.varBinds.assign(kMaxVarBinds, VarBind{Oid{}, Null{}});
    EXPECT_TRUE(DecodeMessage(EncodeMessage(message)));

    message.pdu.varBinds.push_back(VarBind{Oid{}, Null{}});
    Result<Message, DecodeError> decoded = DecodeMessage(EncodeMessage(message));
    ASSERT_FALSE(decoded);
    EXPECT_EQ(decoded.Error(), DecodeError::TooManyVarBinds);
}

// Each row breaks one rule of the format; the decoder must refuse it for
// that reason, and never read outside the bytes.
TEST(SnmpMessage, MalformedDatagramsAreRefused)
{
    using nettest::Message;
    using nettest::RequestId;
    using nettest::StatusOidTlv;
    using nettest::VarBind;
    const Raw null{0x05, 0x00};
    const Raw valid = Message(RequestId(), VarBind(StatusOidTlv(), null));
    const Raw cut(valid.begin(), valid.end() - 1);
    const Raw validContent(valid.begin() + 2, valid.end());
    const auto withValue = [&](const Raw& value) { return Message(RequestId(), VarBind(StatusOidTlv(), value)); };
    const auto withName = [&](const Raw& name) { return Message(RequestId(), VarBind(name, null)); };

    Raw tooManyArcs{0x2B};
    tooManyArcs.insert(tooManyArcs.end(), 127, 0x01); // 2 + 127 arcs

    struct Row {
        const char* name;
        Raw bytes;
        DecodeError error;
    };
    const Row rows[] = {
        {"empty datagram", {}, DecodeError::Truncated},
        {"last byte missing", cut, DecodeError::Truncated},
        {"long-form length beyond the datagram", Cat({Raw{0x30, 0x82, 0xFF, 0xFF}, validContent}),
         DecodeError::Truncated},
        {"length octets cut off", {0x30, 0x82, 0x01}, DecodeError::Truncated},
        {"five length octets", Cat({Raw{0x30, 0x85, 0x00, 0x00, 0x00, 0x00, 0x2D}, validContent}),
         DecodeError::LengthTooLong},
        {"reserved length octet 0xFF", {0x30, 0xFF}, DecodeError::LengthTooLong},
        {"indefinite length", Cat({Raw{0x30, 0x80}, validContent, Raw{0x00, 0x00}}), DecodeError::IndefiniteLength},
        {"multi-byte tag", {0x1F, 0x81, 0x00, 0x00}, DecodeError::HighTagNumber},
        {"not a SEQUENCE", Cat({Raw{0x31, 0x2D}, validContent}), DecodeError::UnexpectedTag},
        {"bytes after the message", Cat({valid, Raw{0x00}}), DecodeError::TrailingBytes},
        {"community not an OCTET STRING",
         Tlv(0x30, Cat({Raw{0x02, 0x01, 0x00}, Tlv(0x02, nettest::Text("public")), Raw{0xA0, 0x00}})),
         DecodeError::UnexpectedTag},
        {"trap PDU", Message(RequestId(), VarBind(StatusOidTlv(), null), 0xA4), DecodeError::UnexpectedTag},
        {"request id of five octets", Message({0x02, 0x05, 0x00, 0x80, 0x00, 0x00, 0x00}, VarBind(StatusOidTlv(), null)),
         DecodeError::IntegerTooLong},
        {"empty request id", Message({0x02, 0x00}, VarBind(StatusOidTlv(), null)), DecodeError::BadInteger},
        {"request id not an INTEGER", Message({0x04, 0x01, 0x01}, VarBind(StatusOidTlv(), null)),
         DecodeError::UnexpectedTag},
        {"sub-identifier beyond 32 bits", withName({0x06, 0x06, 0x2B, 0x90, 0x80, 0x80, 0x80, 0x00}),
         DecodeError::ObjectIdOverflow},
        {"sub-identifier cut off", withName({0x06, 0x02, 0x2B, 0x86}), DecodeError::BadObjectId},
        {"padded sub-identifier", withName({0x06, 0x03, 0x2B, 0x80, 0x01}), DecodeError::BadObjectId},
        {"empty object identifier", withName({0x06, 0x00}), DecodeError::BadObjectId},
        {"129 arcs", withName(Tlv(0x06, tooManyArcs)), DecodeError::ObjectIdTooLong},
        {"name not an OBJECT IDENTIFIER", withName(Tlv(0x04, nettest::Text("1.3"))), DecodeError::UnexpectedTag},
        {"NULL with content", withValue({0x05, 0x01, 0x00}), DecodeError::BadNull},
        {"noSuchObject with content", withValue({0x80, 0x01, 0x00}), DecodeError::BadNull},
        {"IpAddress of three octets", withValue({0x40, 0x03, 0x7F, 0x00, 0x01}), DecodeError::BadIpAddress},
        {"INTEGER of five octets", withValue({0x02, 0x05, 0x00, 0xFF, 0xFF, 0xFF, 0xFF}), DecodeError::IntegerTooLong},
        {"negative Counter32", withValue({0x41, 0x01, 0x80}), DecodeError::IntegerOutOfRange},
        {"Counter32 beyond 32 bits", withValue({0x41, 0x05, 0x01, 0x00, 0x00, 0x00, 0x00}),
         DecodeError::IntegerTooLong},
        {"binding without a value", Message(RequestId(), Tlv(0x30, StatusOidTlv())), DecodeError::Truncated},
        {"binding with two values", Message(RequestId(), Tlv(0x30, Cat({StatusOidTlv(), null, null}))),
         DecodeError::TrailingBytes},
        {"binding longer than its list",
         Message(RequestId(), Cat({Raw{0x30, 0x13}, StatusOidTlv(), null})), DecodeError::Truncated},
    };
    for (const Row& row : rows) {
        auto decoded = DecodeMessage(row.bytes);
        ASSERT_FALSE(decoded) << row.name;
        EXPECT_EQ(decoded.Error(), row.error)
            << row.name << ": got " << Describe(decoded.Error()) << ", want " << Describe(row.error);
    }
    EXPECT_TRUE(DecodeMessage(valid));
}

} // namespace
