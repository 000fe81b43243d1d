#pragma once
// The install sequence's progress as one line on a terminal, redrawn in
// place: phase, bytes sent of the total, poll n of the limit, elapsed time.

#include "update/InstallSession.h"

#include <iosfwd>
#include <string>

// The line, without terminal control: "installing: poll 3 of 36, 1310720 of
// 1310720 bytes sent [0:19]".
std::string DescribeProgress(const InstallProgress& progress);

class CTerminalProgress {
public:
    explicit CTerminalProgress(std::ostream& terminal) : m_terminal(terminal) {}

    void Show(const InstallProgress& progress);
    // Ends the line, so what is written next starts on a line of its own.
    void Finish();

private:
    std::ostream& m_terminal;
    bool m_lineOpen = false;
};
