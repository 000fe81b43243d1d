#pragma once
// The host folder: the parts of a Windows machine that Linux lacks (its
// registry, later the endpoint table of devices and spooler ports), as
// files in the folder that TALLOW_HOST names. See docs/host-folder.md.

#include <optional>
#include <string>

namespace platform {

inline constexpr const char* kHostFolderVariable = "TALLOW_HOST";

// The folder TALLOW_HOST names; nothing when it is unset or empty (the
// machine then has no keys, printers or device interfaces).
std::optional<std::string> HostFolder();

} // namespace platform
