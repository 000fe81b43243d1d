#include "ports/AccessCodes.h"

namespace accesscodes {
namespace {

// Each message is "OPEN CODE=" followed by the 500-character code. Code B is
// a permutation of code A's characters. The characters are printable ASCII
// without the blank, '"', '\\' and '?', so the literals need no escapes and
// a code never ends or starts with a blank a peer might trim.
constexpr char kMessageA[] = "OPEN CODE="
    "g+dk:78CnH/tPJH78Ish&s2$6x|q!BDx]~s<b(.<T%Mm$;}0k(X5wor^pKd[z1~3/GzY+)Je_pzVGTXcK@rYjK@O$+m-j#TT$%tY"
    "Iw8kSHaqZDxr1B:zSv<P'7fahP5sx]E*5/.7S]G8}Pt`xpaW^%d$Tys'(pCB.-*fCrAKj:3:V}H<*orT[`_'MdM|swDy)xc5'q=U"
    ">n>,I3DLZfwNH'iY[2(t-bV00}5>JfwtnfTt*M%WA9%<;.=nR0A4`&Kp5;eaXtNJIYmQyt(liQ+Fk_-U+e+L</)*U{HwMfR!ik-}"
    "VBGQ(1OMd9y-&U.^w|)h44^z5PCf8!Q|xu&LZcv6Lvhk_/Tw=;L|g,-6*23qp<$8OafDnjz&!pu8@InVS4(36j~GNLgfK`6F'l/-"
    "g%k1)b]_n^%lDfG[Haq#td;pHYlMCV,~@Ae-V'RCjV>dCCNb(~-*I4={w9~w<55G=K|vo:J.Zjp7zbSYP*=}UX(S}@1iVkE%mP@g";

constexpr char kMessageB[] = "OPEN CODE="
    "*fjb@_GIk8s}x~,C$]sT<f)V}Z5nkkx9k;H1ark}'D&UMrn_m-,:a5t}UQZL/(SyqKzlzwP<-j[^V;34tln@.ngQ2qlgCaiT5tB0"
    "|D7M/:DIT*UC.kV@6=}VL*o*y4v%fwd>J]YZHN(l-^N=pTA2YOd[/fANspf@wDp|(~q^c2j'!{)8/PQ7ML%Q<5%vM(@3mP~p--I*"
    ")BuKh)58:mU-E=bYKxLUcM|I`xp1&t:%R6YXH4xcqd-ys458<Hu~E,gZtr.tnkS(<X>TJ4zS3n<xP(|yM_anasg6d:AVtYPvzOWh"
    "7v{B$wtz;1f}1d)!p3]%'p+[J-CHj7+*(G$b$8iTCTRKwB8@$G1CjfpANHDT7p%>6roYIFh_5zV_05Sd+'5G(Cmh}^'&YjJ=fLbV"
    "0Kf#Dq*zWi&VV0+.dwtKoK|/X'w~JS<%&Gg|+fG9b(G6X=`ia*#!I]CPsM;HRwe.weS'~eL3+w$k.eO`!xH8>-%rP=<jF;`-^/[9";

static_assert(sizeof(kMessageA) == kMessageLength + 1);
static_assert(sizeof(kMessageB) == kMessageLength + 1);

} // namespace

const char* MessageA()
{
    return kMessageA;
}

const char* MessageB()
{
    return kMessageB;
}

std::span<const std::uint8_t, kCodeLength> CodeA()
{
    return std::span<const std::uint8_t, kCodeLength>(
        reinterpret_cast<const std::uint8_t*>(kMessageA) + kPrefixLength, kCodeLength);
}

std::span<const std::uint8_t, kCodeLength> CodeB()
{
    return std::span<const std::uint8_t, kCodeLength>(
        reinterpret_cast<const std::uint8_t*>(kMessageB) + kPrefixLength, kCodeLength);
}

} // namespace accesscodes
