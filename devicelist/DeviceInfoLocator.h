#pragma once
// Finds the print server's device list through the print server's registry
// entry.

#include <string>

class CDeviceInfoLocator {
public:
    // The print server's install folder as the registry gives it; empty
    // when neither registry location holds a usable value. Read once: a
    // non-empty result is kept.
    std::wstring GetInstallPath();

    // The path of the device list; empty when no file (or folder) exists at
    // either place. Searched until found, then kept. Without an install
    // folder the places are looked for from the current directory.
    std::wstring GetDeviceInfoPath();

private:
    std::wstring m_strInstallPath;
    std::wstring m_strDeviceInfoPath;
};
