#pragma once
// The C library's number conversions with the behaviour the program relies
// on, independent of the host: `long` is 32 bits wide here as on Windows,
// and the decimal point is always '.', whatever the process locale says.

#include <cstdint>
#include <optional>

namespace platform {

// atoi: leading white space, optional sign, decimal digits up to the first
// other character; 0 without digits. Out-of-range values clamp to the
// 32-bit limits.
std::int32_t Atoi(const char* text);

// atof: leading white space, optional sign, digits with at most one decimal
// point, optional exponent (also "inf", "nan" and hexadecimal floats, as the
// C library reads them); stops at the first character that does not fit.
double Atof(const char* text);

// wcstol with a 32-bit long: optional white space and sign, digits of the
// base (base 16 accepts a "0x" prefix); 0 without digits; out-of-range
// values clamp to INT32_MAX or INT32_MIN.
std::int32_t Wcstol(const wchar_t* text, int base);

// wcstoul with a 32-bit unsigned long: as Wcstol, but a value beyond 32 bits
// reads as 0xFFFFFFFF whatever its sign, and a leading minus sign negates
// the value modulo 2^32.
std::uint32_t Wcstoul(const wchar_t* text, int base);

} // namespace platform

namespace platform {

// The (int) conversion of a double, truncating towards zero. C++ leaves a
// value outside the int range undefined (and Windows yields INT_MIN there);
// this reports it as nullopt so callers can treat it as unreadable.
std::optional<std::int32_t> TruncateToInt32(double value);

} // namespace platform
