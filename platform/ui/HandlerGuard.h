#pragma once
// The layer's catch around every handler it calls.
//
// An exception that escapes a dialog's handler is shown to the user in an
// error box and the dialog carries on, as the framework the dialogs were
// written for does. It never unwinds into the toolkit's event loop, which
// is not built to carry exceptions, and it never ends the program.

#include <exception>
#include <utility>

namespace platform::ui {

// Shows an error box (stop icon, OK) for the exception; never throws.
void ReportException(std::exception_ptr error) noexcept;

template <typename Handler>
void RunGuarded(Handler&& handler) noexcept
{
    try {
        std::forward<Handler>(handler)();
    } catch (...) {
        ReportException(std::current_exception());
    }
}

// For a handler with a result: `fallback` when it threw.
template <typename T, typename Handler>
T RunGuarded(Handler&& handler, T fallback) noexcept
{
    try {
        return std::forward<Handler>(handler)();
    } catch (...) {
        ReportException(std::current_exception());
    }
    return fallback;
}

} // namespace platform::ui
