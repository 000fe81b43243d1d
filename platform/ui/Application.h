#pragma once
// The window system connection for the program's main and for test programs.
//
// Without a display to open (no DISPLAY, WAYLAND_DISPLAY or QT_QPA_PLATFORM),
// nothing is opened: dialogs then cannot be created (DoModal returns -1) and
// message boxes answer 0, instead of the toolkit ending the process.

#include <memory>

class QApplication;

namespace platform::ui {

class Application {
public:
    // argc and argv must outlive the object (main's own do).
    Application(int& argc, char** argv);
    ~Application();
    Application(const Application&) = delete;
    Application& operator=(const Application&) = delete;

    // Whether windows can be created.
    bool IsReady() const;

private:
    std::unique_ptr<QApplication> m_app;
};

// Whether the environment names a window system to open.
bool HasDisplay();

} // namespace platform::ui
