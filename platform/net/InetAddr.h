#pragma once
// inet_addr as Windows Sockets has it.
//
// The text is an IPv4 address in the forms the Berkeley sockets always
// took: a.b.c.d, a.b.c (c fills the last two bytes), a.b (b fills the last
// three) or a (all four bytes); each part decimal, octal with a leading 0,
// or hexadecimal with 0x or 0X. The first character must be a digit. The
// address ends at the end of the text or at the first white space
// character (' ', \t, \n, \v, \f, \r), and whatever follows that is
// ignored ("1.2.3.4 x" is 1.2.3.4). A part beyond its room (255 for each
// part before the last; 0xFFFFFFFF, 0xFFFFFF, 0xFFFF or 0xFF for the last
// of one to four) makes the text invalid.
//
// glibc's inet_addr agrees on all of this; where the two differ, this
// follows Windows: the text " " (one space, nothing else) gives 0
// (INADDR_ANY) where glibc gives INADDR_NONE. A part whose value does not
// fit 32 bits is invalid, as in both.

#include <arpa/inet.h> // INADDR_NONE, ntohl: the names the callers' description uses

#include <cstdint>

namespace platform {

// The address in network byte order, or INADDR_NONE (0xFFFFFFFF) for text
// that is no address, and also for "255.255.255.255" itself. A null pointer
// gives INADDR_NONE.
std::uint32_t InetAddr(const char* text);

} // namespace platform
