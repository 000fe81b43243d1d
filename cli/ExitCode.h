#pragma once
// tallowctl's exit codes. Where a meaning is the installer's own, so is the
// value; 6 is new, because a script must tell "nothing to do" from a failure.

enum class ExitCode : int {
    // Installed, the check passed (the printer can take this firmware), or
    // the status was read. Nothing more to do.
    Success = 0,
    // Ctrl-C before any of the firmware went out: the printer still runs its
    // old firmware (switch it off and on if it was left in update mode).
    // Run again when ready.
    Cancelled = 1,
    // The command line is wrong: unknown option, command or port type, or an
    // address that is missing, invalid or given for a USB port type. Fix the
    // call; no printer was contacted.
    BadArguments = 3,
    // The printer was not found, is another model, reports no readable
    // version or is not ready, or entering update mode, sending, installing
    // or waiting for it failed. Follow the message on standard error (power,
    // cable, address, the panel), then run again.
    Failed = 4,
    // This build's firmware image or configuration is missing, damaged or
    // does not match: no printer was contacted. Get another build.
    ImageUnusable = 5,
    // The printer already runs this firmware version (or a newer one).
    // Nothing to do.
    NothingToInstall = 6,
};
