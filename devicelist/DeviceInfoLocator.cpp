#include "devicelist/DeviceInfoLocator.h"

#include "platform/fs/Path.h"
#include "platform/registry/HostRegistry.h"

namespace {

struct RegistryLocation {
    platform::RegRoot root;
    const wchar_t* subKey;
};

// In the order they are tried.
constexpr RegistryLocation kInstallPathLocations[] = {
    {platform::RegRoot::LocalMachine, L"SOFTWARE\\Corvex\\Tessaly\\1.0\\Installer"},
    {platform::RegRoot::Users, L".DEFAULT\\SOFTWARE\\Corvex\\Tessaly\\1.0\\Installer"},
};
constexpr const wchar_t* kInstallPathValue = L"InstallPath";

// The value is read into a buffer of MAX_PATH bytes (not characters): 129
// characters and the terminator. A longer install folder counts as none.
constexpr std::size_t kInstallPathBufferBytes = 260;

// Relative to the install folder, in the order they are tried.
constexpr const wchar_t* kDeviceInfoPaths[] = {
    L"Tessaly\\Device\\DeviceInfo.xml",
    L"Tessaly 1.0\\Device\\DeviceInfo.xml",
};

} // namespace

std::wstring CDeviceInfoLocator::GetInstallPath()
{
    if (!m_strInstallPath.empty())
        return m_strInstallPath;
    for (const RegistryLocation& location : kInstallPathLocations) {
        std::optional<platform::RegistryKey> key = platform::OpenRegistryKey(location.root, location.subKey);
        if (!key)
            continue;
        auto value = key->QueryString(kInstallPathValue, kInstallPathBufferBytes);
        if (!value)
            continue;
        // Found, even when empty: an empty value at the first key ends the
        // search too.
        m_strInstallPath = std::move(*value);
        break;
    }
    return m_strInstallPath;
}

std::wstring CDeviceInfoLocator::GetDeviceInfoPath()
{
    if (m_strInstallPath.empty())
        GetInstallPath();
    if (!m_strDeviceInfoPath.empty())
        return m_strDeviceInfoPath;
    // The install folder is at most 129 characters, so joining it with
    // either relative path stays far below any path limit and cannot fail.
    for (const wchar_t* relative : kDeviceInfoPaths) {
        std::wstring path = platform::JoinPath(m_strInstallPath, relative);
        if (platform::PathExists(path)) {
            m_strDeviceInfoPath = std::move(path);
            break;
        }
    }
    return m_strDeviceInfoPath;
}
