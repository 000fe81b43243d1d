#pragma once
// The socket layer's start-up, as the application records it.
//
// Windows needs WSAStartup before any socket call, and it can fail (no
// usable Winsock version). Linux needs no start-up; what can still fail is
// creating a socket at all (no IPv4 in the kernel, a sandbox that forbids
// sockets, the descriptor limit). So start-up creates one TCP socket and
// closes it again; only the network family of ports needs the answer.

#include "platform/core/WinTypes.h"

// TRUE when an IPv4 TCP socket can be created.
BOOL StartSocketLayer();
