#pragma once
// The installer's process exit codes: its answer to whoever started it.
// Scripts that run the installer unattended depend on these values; never
// renumber them.
//
// The same type is thrown by value as an early exit: the command-line
// reader throws ILLEGAL_PARAMETER, and start-up turns whatever it catches
// into the exit code.
//
// One more value reaches the caller: -1 (255 as a POSIX exit status) when
// the main window could not be created at all, which is the platform's
// DoModal result for that case. Nothing was done; check that a display is
// available (DISPLAY or WAYLAND_DISPLAY) and run again.

namespace TallowExitCode {

enum EXITCODE : int {
    // The firmware was sent and the printer reported the new version.
    // Done; nothing more to do.
    INSTALLED = 0,
    // The user left without installing, or aborted the send. The printer
    // keeps its firmware (after an aborted send, switch it off and on).
    // Run again when wanted; not an error to report.
    CANCELLED = 1,
    // Another copy of the installer is running. Wait for it to finish (its
    // own exit code tells its outcome), then run again if still needed.
    ALREADY_RUNNING = 2,
    // The command line is wrong: not exactly one of -i ADDRESS or -u TEXT,
    // an option without its value, the option twice; or the option does not
    // suit this build's connection family, or the address is invalid. Fix
    // the call; no printer was contacted.
    ILLEGAL_PARAMETER = 3,
    // Making the printer ready, sending the firmware or installing it
    // failed. Check the printer (power, cable or network, its panel), then
    // run again; retrying at once without a change rarely helps.
    INSTALL_FAILED = 4,
    // The installer could not get ready: the network layer, a missing text
    // or control, a firmware image that is missing, damaged or not the
    // expected one, or memory. No printer was contacted. Retrying will not
    // help unless the machine changes; get another build of the installer.
    STARTUP_FAILED = 5,
};

} // namespace TallowExitCode
