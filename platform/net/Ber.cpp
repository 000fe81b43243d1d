#include "platform/net/Ber.h"

#include <limits>
#include <stdexcept>

namespace platform::snmp {
namespace {

constexpr std::uint8_t kMoreSubidentifier = 0x80;

// Two's complement of up to `maxOctets` (at most 8) content octets.
std::int64_t DecodeSigned(std::span<const std::uint8_t> content, std::size_t maxOctets)
{
    if (content.empty())
        throw DecodeError::BadInteger;
    if (content.size() > maxOctets)
        throw DecodeError::IntegerTooLong;
    // Start from the sign of the first octet, then shift the octets in as
    // unsigned bits so no step overflows a signed type.
    std::uint64_t bits = (content[0] & 0x80u) ? ~std::uint64_t{0} : 0;
    for (std::uint8_t octet : content)
        bits = (bits << 8) | octet;
    return static_cast<std::int64_t>(bits);
}

// An unsigned value of up to `valueOctets` octets, which BER writes with one
// more leading 0x00 when its top bit is set.
std::uint64_t DecodeUnsigned(std::span<const std::uint8_t> content, std::size_t valueOctets)
{
    if (content.empty())
        throw DecodeError::BadInteger;
    if (content[0] & 0x80u)
        throw DecodeError::IntegerOutOfRange;
    if (content.size() == valueOctets + 1 && content[0] == 0x00)
        content = content.subspan(1);
    if (content.size() > valueOctets)
        throw DecodeError::IntegerTooLong;
    std::uint64_t value = 0;
    for (std::uint8_t octet : content)
        value = (value << 8) | octet;
    return value;
}

std::size_t Base128Size(std::uint32_t value)
{
    std::size_t size = 1;
    while (value >>= 7)
        ++size;
    return size;
}

// The first sub-identifier carries the first two arcs.
std::uint32_t FirstSubidentifier(const Oid& oid)
{
    return oid.Arcs()[0] * 40 + oid.Arcs()[1];
}

} // namespace

std::string_view Describe(DecodeError error)
{
    switch (error) {
    case DecodeError::Truncated: return "truncated";
    case DecodeError::IndefiniteLength: return "indefinite length";
    case DecodeError::LengthTooLong: return "length too long";
    case DecodeError::HighTagNumber: return "multi-byte tag";
    case DecodeError::UnexpectedTag: return "unexpected tag";
    case DecodeError::TrailingBytes: return "trailing bytes";
    case DecodeError::BadInteger: return "empty integer";
    case DecodeError::IntegerTooLong: return "integer too long";
    case DecodeError::IntegerOutOfRange: return "integer out of range";
    case DecodeError::BadObjectId: return "malformed object identifier";
    case DecodeError::ObjectIdOverflow: return "object identifier arc beyond 32 bits";
    case DecodeError::ObjectIdTooLong: return "object identifier too long";
    case DecodeError::BadNull: return "NULL with content";
    case DecodeError::BadIpAddress: return "IpAddress not four octets";
    case DecodeError::TooManyVarBinds: return "too many variable bindings";
    case DecodeError::WrongVersion: return "not SNMPv1";
    }
    return "unknown decode error";
}

// --- reading -----------------------------------------------------------------

std::uint8_t BerReader::Byte()
{
    if (m_pos >= m_bytes.size())
        throw DecodeError::Truncated;
    return m_bytes[m_pos++];
}

std::size_t BerReader::Length()
{
    const std::uint8_t first = Byte();
    if (!(first & kLongLengthFlag))
        return first;
    if (first == kIndefiniteLength)
        throw DecodeError::IndefiniteLength;
    const std::size_t octets = first & ~kLongLengthFlag;
    if (octets > kMaxLengthOctets)
        throw DecodeError::LengthTooLong;
    std::size_t length = 0;
    for (std::size_t i = 0; i < octets; ++i)
        length = (length << 8) | Byte();
    return length;
}

Tlv BerReader::Read()
{
    const std::uint8_t tag = Byte();
    if ((tag & kHighTagNumber) == kHighTagNumber)
        throw DecodeError::HighTagNumber;
    const std::size_t length = Length();
    if (length > m_bytes.size() - m_pos)
        throw DecodeError::Truncated;
    Tlv tlv{static_cast<Tag>(tag), m_bytes.subspan(m_pos, length)};
    m_pos += length;
    return tlv;
}

Tlv BerReader::Read(Tag expected)
{
    Tlv tlv = Read();
    if (tlv.tag != expected)
        throw DecodeError::UnexpectedTag;
    return tlv;
}

void BerReader::ExpectEnd() const
{
    if (!AtEnd())
        throw DecodeError::TrailingBytes;
}

std::int32_t DecodeInteger32(std::span<const std::uint8_t> content)
{
    return static_cast<std::int32_t>(DecodeSigned(content, 4));
}

std::uint32_t DecodeUnsigned32(std::span<const std::uint8_t> content)
{
    return static_cast<std::uint32_t>(DecodeUnsigned(content, 4));
}

std::uint64_t DecodeUnsigned64(std::span<const std::uint8_t> content)
{
    return DecodeUnsigned(content, 8);
}

Oid DecodeObjectId(std::span<const std::uint8_t> content)
{
    if (content.empty())
        throw DecodeError::BadObjectId;
    std::vector<std::uint32_t> arcs;
    std::size_t pos = 0;
    while (pos < content.size()) {
        // X.690 forbids padding a sub-identifier with a leading 0x80.
        if (content[pos] == kMoreSubidentifier)
            throw DecodeError::BadObjectId;
        std::uint32_t value = 0;
        std::uint8_t octet = 0;
        do {
            if (pos == content.size())
                throw DecodeError::BadObjectId; // the last octet says more follows
            octet = content[pos++];
            if (value > (std::numeric_limits<std::uint32_t>::max() >> 7))
                throw DecodeError::ObjectIdOverflow;
            value = (value << 7) | (octet & ~kMoreSubidentifier);
        } while (octet & kMoreSubidentifier);

        if (arcs.empty()) {
            const std::uint32_t first = value < 40 ? 0 : value < 80 ? 1 : 2;
            arcs.push_back(first);
            arcs.push_back(value - first * 40);
        } else {
            arcs.push_back(value);
        }
        if (arcs.size() > Oid::kMaxArcs)
            throw DecodeError::ObjectIdTooLong;
    }
    std::optional<Oid> oid = Oid::FromArcs(arcs);
    if (!oid)
        throw DecodeError::BadObjectId;
    return *oid;
}

// --- sizes ---------------------------------------------------------------------

std::size_t LengthSize(std::size_t contentSize)
{
    if (contentSize < 0x80)
        return 1;
    std::size_t octets = 0;
    for (std::size_t rest = contentSize; rest; rest >>= 8)
        ++octets;
    if (octets > kMaxLengthOctets)
        throw std::logic_error("BER content too large");
    return 1 + octets;
}

std::size_t TlvSize(std::size_t contentSize)
{
    return 1 + LengthSize(contentSize) + contentSize;
}

std::size_t SignedContentSize(std::int64_t value)
{
    // The fewest octets whose top bit still carries the sign.
    std::size_t size = 1;
    while (size < 8) {
        const std::int64_t limit = std::int64_t{1} << (8 * size - 1);
        if (value >= -limit && value < limit)
            break;
        ++size;
    }
    return size;
}

std::size_t UnsignedContentSize(std::uint64_t value)
{
    std::size_t size = 1;
    while (size < 8 && (value >> (8 * size)) != 0)
        ++size;
    // A set top bit would read back as negative: one more 0x00 in front.
    if ((value >> (8 * size - 1)) & 1u)
        ++size;
    return size;
}

std::size_t ObjectIdContentSize(const Oid& oid)
{
    std::size_t size = Base128Size(FirstSubidentifier(oid));
    for (std::size_t i = 2; i < oid.Arcs().size(); ++i)
        size += Base128Size(oid.Arcs()[i]);
    return size;
}

// --- writing -------------------------------------------------------------------

void BerWriter::Put(std::uint8_t byte)
{
    if (m_pos >= m_bytes.size())
        throw std::logic_error("BER writer: more bytes than the size computed");
    m_bytes[m_pos++] = byte;
}

void BerWriter::Header(Tag tag, std::size_t contentSize)
{
    Put(static_cast<std::uint8_t>(tag));
    const std::size_t size = LengthSize(contentSize);
    if (size == 1) {
        Put(static_cast<std::uint8_t>(contentSize));
        return;
    }
    Put(static_cast<std::uint8_t>(kLongLengthFlag | (size - 1)));
    for (std::size_t i = size - 1; i-- > 0;)
        Put(static_cast<std::uint8_t>(contentSize >> (8 * i)));
}

void BerWriter::Signed(Tag tag, std::int64_t value)
{
    const std::size_t size = SignedContentSize(value);
    Header(tag, size);
    const auto bits = static_cast<std::uint64_t>(value);
    for (std::size_t i = size; i-- > 0;)
        Put(static_cast<std::uint8_t>(bits >> (8 * i)));
}

void BerWriter::Unsigned(Tag tag, std::uint64_t value)
{
    const std::size_t size = UnsignedContentSize(value);
    Header(tag, size);
    for (std::size_t i = size; i-- > 0;)
        Put(i < 8 ? static_cast<std::uint8_t>(value >> (8 * i)) : 0);
}

void BerWriter::Octets(Tag tag, std::span<const std::uint8_t> bytes)
{
    Header(tag, bytes.size());
    for (std::uint8_t byte : bytes)
        Put(byte);
}

void BerWriter::Empty(Tag tag)
{
    Header(tag, 0);
}

void BerWriter::ObjectId(Tag tag, const Oid& oid)
{
    Header(tag, ObjectIdContentSize(oid));
    auto put = [this](std::uint32_t value) {
        for (std::size_t i = Base128Size(value); i-- > 0;) {
            const auto group = static_cast<std::uint8_t>((value >> (7 * i)) & 0x7Fu);
            Put(i ? static_cast<std::uint8_t>(group | kMoreSubidentifier) : group);
        }
    };
    put(FirstSubidentifier(oid));
    for (std::size_t i = 2; i < oid.Arcs().size(); ++i)
        put(oid.Arcs()[i]);
}

Bytes BerWriter::Finish() &&
{
    if (m_pos != m_bytes.size())
        throw std::logic_error("BER writer: fewer bytes than the size computed");
    return std::move(m_bytes);
}

} // namespace platform::snmp
