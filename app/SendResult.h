#pragma once
// What the send-status dialog reports back to the install flow (its DoModal
// result). The install flow turns each into the final message and the exit
// code in one place; values are fixed because that mapping depends on them.

enum SEND_RESULT : int {
    // The printer reports the target model at the image's version.
    SEND_RESULT_INSTALLED = 16,
    // The image went out, but the timer that watches the installation could
    // not be created: nobody knows how the installation ends.
    SEND_RESULT_NO_TIMER = 17,
    // The driver was not set up, the printer refused its update mode, the
    // image did not go out, or the dialog could not start its first timer.
    SEND_RESULT_SEND_FAILED = 18,
    // The printer reports another model after taking the image.
    SEND_RESULT_INSTALL_FAILED = 19,
    // 36 polls passed without a final answer (about 180 s after sending).
    SEND_RESULT_TIMED_OUT = 20,
    // The user confirmed leaving through the hidden abort.
    SEND_RESULT_ABORTED = 21,
};
