#pragma once
// The few Windows integer types that the system's interfaces are described in.
// Kept as plain aliases so the callers read like their description.

#include <cstdint>

using BOOL = int;            // nonzero means success
using DWORD = std::uint32_t; // 32-bit unsigned, as on Windows
using UINT = unsigned int;
