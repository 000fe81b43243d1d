#pragma once
// A test seam of the installer program: with TALLOW_MESSAGEBOX_LOG set (to
// anything but the empty text), every message box is written to standard
// error instead of being shown, and answered with its default button (OK
// for the boxes that only inform). Tests of the whole program use it to run
// the installer without a display or a user and to read what it told the
// user. Nobody else should set it: the user would see nothing.
//
// One line per box, UTF-8 whatever the locale, the text escaped (\n, \\, \"):
//
//   tallow: message box: icon=stop buttons=ok default=ok caption="Corvex Firmware Installer" text="Illegal command parameter."

#include <ostream>

#include "platform/ui/MessageBox.h"

inline constexpr char kMessageBoxLogVariable[] = "TALLOW_MESSAGEBOX_LOG";

class CMessageBoxLog final : public platform::ui::MessagePresenter {
public:
    explicit CMessageBoxLog(std::ostream& out) : m_out(out) {}
    int Present(const platform::ui::MessageBoxRequest& request) override;

    // Whether the environment asks for the log.
    static bool Requested();

private:
    std::ostream& m_out;
};
