#pragma once
// Keeps the windows painted while a socket call blocks the UI thread.
//
// The program does its network work on the UI thread, in handlers that
// block. Between the wait slices of a blocking socket call the layer paints
// what is waiting to be painted, and nothing else: no input, no timers, no
// other events, so no handler can run inside another.

#include "platform/net/TcpConnection.h"

namespace platform::ui {

// Paints the windows' pending updates now; every tenth call repaints every
// visible window whole, for damage the window system reports only through
// events that must wait. This is the hook's body.
void RepaintWhileWaiting();

// Installs RepaintWhileWaiting as the sockets' wait hook for as long as the
// returned object lives (the program's main keeps it).
[[nodiscard]] ScopedSocketWaitHook InstallSocketRepaintHook();

} // namespace platform::ui
