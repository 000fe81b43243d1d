#pragma once
// Hand-built BER for tests: bytes written out, not produced by the encoder
// under test, so a fault of the encoder cannot hide in both halves.

#include <cstdint>
#include <initializer_list>
#include <string_view>
#include <vector>

namespace nettest {

using Raw = std::vector<std::uint8_t>;

inline Raw Cat(std::initializer_list<Raw> parts)
{
    Raw out;
    for (const Raw& part : parts)
        out.insert(out.end(), part.begin(), part.end());
    return out;
}

// A TLV with a short-form length, or a two-octet long form from 128 on.
inline Raw Tlv(std::uint8_t tag, const Raw& content)
{
    Raw out{tag};
    if (content.size() < 0x80) {
        out.push_back(static_cast<std::uint8_t>(content.size()));
    } else {
        out.push_back(0x82);
        out.push_back(static_cast<std::uint8_t>(content.size() >> 8));
        out.push_back(static_cast<std::uint8_t>(content.size()));
    }
    out.insert(out.end(), content.begin(), content.end());
    return out;
}

inline Raw Text(std::string_view text)
{
    return Raw(text.begin(), text.end());
}

// OID .1.3.6.1.4.1.32473.2.2.2.1.24.1 (32473 is 81 FD 59 in base 128).
inline Raw StatusOidTlv()
{
    return {0x06, 0x0E, 0x2B, 0x06, 0x01, 0x04, 0x01, 0x81, 0xFD, 0x59, 0x02, 0x02, 0x02, 0x01, 0x18, 0x01};
}

inline Raw VarBind(const Raw& nameTlv, const Raw& valueTlv)
{
    return Tlv(0x30, Cat({nameTlv, valueTlv}));
}

// An SNMPv1 message; `requestId` as its INTEGER TLV.
inline Raw Message(const Raw& requestIdTlv, const Raw& varBinds, std::uint8_t pduTag = 0xA0,
                   std::uint8_t errorStatus = 0, std::uint8_t errorIndex = 0, std::uint8_t version = 0)
{
    const Raw pdu = Tlv(pduTag, Cat({requestIdTlv, Raw{0x02, 0x01, errorStatus}, Raw{0x02, 0x01, errorIndex},
                                     Tlv(0x30, varBinds)}));
    return Tlv(0x30, Cat({Raw{0x02, 0x01, version}, Tlv(0x04, Text("public")), pdu}));
}

// Request id 0x1234.
inline Raw RequestId()
{
    return {0x02, 0x02, 0x12, 0x34};
}

} // namespace nettest
