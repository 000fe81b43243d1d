#include "platform/net/SnmpMessage.h"

#include <cstdio>
#include <type_traits>

namespace platform::snmp {
namespace {

template <typename... F>
struct Overloaded : F... {
    using F::operator()...;
};
template <typename... F>
Overloaded(F...) -> Overloaded<F...>;

// --- sizes -------------------------------------------------------------------

std::size_t ValueSize(const Value& value)
{
    return std::visit(
        Overloaded{
            [](const Null&) { return TlvSize(0); },
            [](const Integer& v) { return TlvSize(SignedContentSize(v.value)); },
            [](const OctetString& v) { return TlvSize(v.bytes.size()); },
            [](const ObjectIdValue& v) { return TlvSize(ObjectIdContentSize(v.oid)); },
            [](const IpAddress& v) { return TlvSize(v.octets.size()); },
            [](const Counter32& v) { return TlvSize(UnsignedContentSize(v.value)); },
            [](const Gauge32& v) { return TlvSize(UnsignedContentSize(v.value)); },
            [](const TimeTicks& v) { return TlvSize(UnsignedContentSize(v.value)); },
            [](const Opaque& v) { return TlvSize(v.bytes.size()); },
            [](const Counter64& v) { return TlvSize(UnsignedContentSize(v.value)); },
            [](const NoSuchObject&) { return TlvSize(0); },
            [](const NoSuchInstance&) { return TlvSize(0); },
            [](const EndOfMibView&) { return TlvSize(0); },
            [](const OtherValue& v) { return TlvSize(v.content.size()); },
        },
        value);
}

std::size_t VarBindContentSize(const VarBind& varBind)
{
    return TlvSize(ObjectIdContentSize(varBind.name)) + ValueSize(varBind.value);
}

std::size_t VarBindListContentSize(const std::vector<VarBind>& varBinds)
{
    std::size_t size = 0;
    for (const VarBind& varBind : varBinds)
        size += TlvSize(VarBindContentSize(varBind));
    return size;
}

std::size_t PduContentSize(const Pdu& pdu)
{
    return TlvSize(SignedContentSize(pdu.requestId)) + TlvSize(SignedContentSize(pdu.errorStatus)) +
           TlvSize(SignedContentSize(pdu.errorIndex)) + TlvSize(VarBindListContentSize(pdu.varBinds));
}

std::size_t MessageContentSize(const Message& message)
{
    return TlvSize(SignedContentSize(message.version)) + TlvSize(message.community.size()) +
           TlvSize(PduContentSize(message.pdu));
}

// --- writing -----------------------------------------------------------------

std::span<const std::uint8_t> AsBytes(std::string_view text)
{
    return {reinterpret_cast<const std::uint8_t*>(text.data()), text.size()};
}

void WriteValue(BerWriter& out, const Value& value)
{
    std::visit(Overloaded{
                   [&](const Null&) { out.Empty(Tag::Null); },
                   [&](const Integer& v) { out.Signed(Tag::Integer, v.value); },
                   [&](const OctetString& v) { out.Octets(Tag::OctetString, v.bytes); },
                   [&](const ObjectIdValue& v) { out.ObjectId(Tag::ObjectIdentifier, v.oid); },
                   [&](const IpAddress& v) { out.Octets(Tag::IpAddress, v.octets); },
                   [&](const Counter32& v) { out.Unsigned(Tag::Counter32, v.value); },
                   [&](const Gauge32& v) { out.Unsigned(Tag::Gauge32, v.value); },
                   [&](const TimeTicks& v) { out.Unsigned(Tag::TimeTicks, v.value); },
                   [&](const Opaque& v) { out.Octets(Tag::Opaque, v.bytes); },
                   [&](const Counter64& v) { out.Unsigned(Tag::Counter64, v.value); },
                   [&](const NoSuchObject&) { out.Empty(Tag::NoSuchObject); },
                   [&](const NoSuchInstance&) { out.Empty(Tag::NoSuchInstance); },
                   [&](const EndOfMibView&) { out.Empty(Tag::EndOfMibView); },
                   [&](const OtherValue& v) { out.Octets(static_cast<Tag>(v.tag), v.content); },
               },
               value);
}

// --- reading -----------------------------------------------------------------

void ExpectEmpty(const Tlv& tlv)
{
    if (!tlv.content.empty())
        throw DecodeError::BadNull;
}

Value ReadValue(const Tlv& tlv)
{
    switch (tlv.tag) {
    case Tag::Null: ExpectEmpty(tlv); return Null{};
    case Tag::Integer: return Integer{DecodeInteger32(tlv.content)};
    case Tag::OctetString: return OctetString{Bytes(tlv.content.begin(), tlv.content.end())};
    case Tag::ObjectIdentifier: return ObjectIdValue{DecodeObjectId(tlv.content)};
    case Tag::IpAddress: {
        IpAddress address{};
        if (tlv.content.size() != address.octets.size())
            throw DecodeError::BadIpAddress;
        std::copy(tlv.content.begin(), tlv.content.end(), address.octets.begin());
        return address;
    }
    case Tag::Counter32: return Counter32{DecodeUnsigned32(tlv.content)};
    case Tag::Gauge32: return Gauge32{DecodeUnsigned32(tlv.content)};
    case Tag::TimeTicks: return TimeTicks{DecodeUnsigned32(tlv.content)};
    case Tag::Opaque: return Opaque{Bytes(tlv.content.begin(), tlv.content.end())};
    case Tag::Counter64: return Counter64{DecodeUnsigned64(tlv.content)};
    case Tag::NoSuchObject: ExpectEmpty(tlv); return NoSuchObject{};
    case Tag::NoSuchInstance: ExpectEmpty(tlv); return NoSuchInstance{};
    case Tag::EndOfMibView: ExpectEmpty(tlv); return EndOfMibView{};
    default:
        return OtherValue{static_cast<std::uint8_t>(tlv.tag), Bytes(tlv.content.begin(), tlv.content.end())};
    }
}

bool IsPduTag(Tag tag)
{
    return tag == Tag::GetRequest || tag == Tag::GetNextRequest || tag == Tag::GetResponse ||
           tag == Tag::SetRequest;
}

std::vector<VarBind> ReadVarBindList(std::span<const std::uint8_t> content)
{
    std::vector<VarBind> varBinds;
    BerReader list(content);
    while (!list.AtEnd()) {
        if (varBinds.size() == kMaxVarBinds)
            throw DecodeError::TooManyVarBinds;
        BerReader varBind(list.Read(Tag::Sequence).content);
        Oid name = DecodeObjectId(varBind.Read(Tag::ObjectIdentifier).content);
        Value value = ReadValue(varBind.Read());
        varBind.ExpectEnd();
        varBinds.push_back({std::move(name), std::move(value)});
    }
    return varBinds;
}

Message ReadMessage(std::span<const std::uint8_t> bytes)
{
    BerReader datagram(bytes);
    BerReader fields(datagram.Read(Tag::Sequence).content);
    datagram.ExpectEnd();

    Message message;
    message.version = DecodeInteger32(fields.Read(Tag::Integer).content);
    const Tlv community = fields.Read(Tag::OctetString);
    message.community.assign(community.content.begin(), community.content.end());
    const Tlv pdu = fields.Read();
    if (!IsPduTag(pdu.tag))
        throw DecodeError::UnexpectedTag;
    fields.ExpectEnd();

    BerReader pduFields(pdu.content);
    message.pdu.type = pdu.tag;
    message.pdu.requestId = DecodeInteger32(pduFields.Read(Tag::Integer).content);
    message.pdu.errorStatus = DecodeInteger32(pduFields.Read(Tag::Integer).content);
    message.pdu.errorIndex = DecodeInteger32(pduFields.Read(Tag::Integer).content);
    message.pdu.varBinds = ReadVarBindList(pduFields.Read(Tag::Sequence).content);
    pduFields.ExpectEnd();
    return message;
}

} // namespace

std::string_view ErrorStatusName(std::int32_t status)
{
    switch (static_cast<ErrorStatus>(status)) {
    case ErrorStatus::NoError: return "noError";
    case ErrorStatus::TooBig: return "tooBig";
    case ErrorStatus::NoSuchName: return "noSuchName";
    case ErrorStatus::BadValue: return "badValue";
    case ErrorStatus::ReadOnly: return "readOnly";
    case ErrorStatus::GenErr: return "genErr";
    }
    return "unknown";
}

std::string TypeName(const Value& value)
{
    return std::visit(Overloaded{
                          [](const Null&) -> std::string { return "NULL"; },
                          [](const Integer&) -> std::string { return "INTEGER"; },
                          [](const OctetString&) -> std::string { return "OCTET STRING"; },
                          [](const ObjectIdValue&) -> std::string { return "OBJECT IDENTIFIER"; },
                          [](const IpAddress&) -> std::string { return "IpAddress"; },
                          [](const Counter32&) -> std::string { return "Counter32"; },
                          [](const Gauge32&) -> std::string { return "Gauge32"; },
                          [](const TimeTicks&) -> std::string { return "TimeTicks"; },
                          [](const Opaque&) -> std::string { return "Opaque"; },
                          [](const Counter64&) -> std::string { return "Counter64"; },
                          [](const NoSuchObject&) -> std::string { return "noSuchObject"; },
                          [](const NoSuchInstance&) -> std::string { return "noSuchInstance"; },
                          [](const EndOfMibView&) -> std::string { return "endOfMibView"; },
                          [](const OtherValue& v) -> std::string {
                              char text[16];
                              std::snprintf(text, sizeof text, "type 0x%02X", v.tag);
                              return text;
                          },
                      },
                      value);
}

Bytes EncodeMessage(const Message& message)
{
    const std::size_t messageContent = MessageContentSize(message);
    BerWriter out(TlvSize(messageContent));
    out.Header(Tag::Sequence, messageContent);
    out.Signed(Tag::Integer, message.version);
    out.Octets(Tag::OctetString, AsBytes(message.community));
    out.Header(message.pdu.type, PduContentSize(message.pdu));
    out.Signed(Tag::Integer, message.pdu.requestId);
    out.Signed(Tag::Integer, message.pdu.errorStatus);
    out.Signed(Tag::Integer, message.pdu.errorIndex);
    out.Header(Tag::Sequence, VarBindListContentSize(message.pdu.varBinds));
    for (const VarBind& varBind : message.pdu.varBinds) {
        out.Header(Tag::Sequence, VarBindContentSize(varBind));
        out.ObjectId(Tag::ObjectIdentifier, varBind.name);
        WriteValue(out, varBind.value);
    }
    return std::move(out).Finish();
}

Result<Message, DecodeError> DecodeMessage(std::span<const std::uint8_t> bytes)
{
    try {
        return ReadMessage(bytes);
    } catch (DecodeError error) {
        return error;
    }
}

} // namespace platform::snmp
