#pragma once
// Loopback addresses for tests that serve the printer's fixed ports (161,
// 515, 9100, 9101, 9500). Each test process gets addresses of its own, so
// tests run side by side: 127.<lane>.<pid high byte>.<pid low byte>. CTest
// runs every test case in its own process, and two processes that run at
// the same time never share the low 16 bits of their ids in practice.
//
// Lanes keep the suites apart: 10-19 port tests, 20-29 simulator tests,
// 30-39 end-to-end tests, 40-49 benchmarks. (127.0.0.x is left to the
// system and to tests that pick free ports.)

#include <arpa/inet.h>
#include <unistd.h>

#include <cstdint>
#include <string>

namespace testsupport {

// Network byte order, as the ports keep it.
inline std::uint32_t LoopbackAddress(std::uint8_t lane)
{
    const auto pid = static_cast<std::uint32_t>(::getpid());
    const std::uint32_t host = (127u << 24) | (std::uint32_t{lane} << 16) | (pid & 0xFFFFu);
    return htonl(host);
}

inline std::string LoopbackAddressText(std::uint8_t lane)
{
    const std::uint32_t pid = static_cast<std::uint32_t>(::getpid()) & 0xFFFFu;
    return "127." + std::to_string(lane) + "." + std::to_string(pid >> 8) + "." + std::to_string(pid & 0xFFu);
}

} // namespace testsupport
