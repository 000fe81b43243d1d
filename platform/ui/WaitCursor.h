#pragma once
// The wait cursor for the life of a scope, over every window of the program.
// Scopes nest; each restores what it found.

class CWaitCursor {
public:
    CWaitCursor();
    ~CWaitCursor();
    CWaitCursor(const CWaitCursor&) = delete;
    CWaitCursor& operator=(const CWaitCursor&) = delete;

    // Shows the wait cursor again after something (a box) replaced it.
    void Restore();

private:
    bool m_shown = false;
};

namespace platform::ui {

// Whether the wait cursor is the program's cursor now (for tests).
bool IsWaitCursorShown();

} // namespace platform::ui
