#pragma once
// The registry of the machine: the .reg files of the host folder's
// registry/ folder, merged in file-name order.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/registry/RegFile.h"
#include "platform/registry/Registry.h"

namespace platform {

// A .reg file larger than this is refused, not read.
inline constexpr std::size_t kRegMaxFileBytes = 16u << 20;

struct RegistryLoad {
    Registry registry;
    std::vector<RegDiagnostic> diagnostics;
};

// Loads `hostFolder`/registry/*.reg: every file whose name ends in ".reg" and
// does not start with '.' (editors' lock and backup files do), in byte order
// of the names, later files overriding earlier ones. No registry folder is
// an empty registry; a host folder that does not exist, a file that cannot
// be read and every entry that cannot be taken are diagnostics, and the rest
// still loads.
RegistryLoad LoadHostRegistry(const std::string& hostFolder);

// The registry in force: the host folder's (TALLOW_HOST), loaded at first
// use and kept for the life of the process, unless a test has installed
// another. The first load writes each diagnostic to standard error
// ("tallow: registry: file:line: message"), since nothing else would ever
// tell the person who wrote the host folder why a key is missing.
const Registry& CurrentRegistry();

// RegOpenKeyEx on the registry in force.
std::optional<RegistryKey> OpenRegistryKey(RegRoot root, std::wstring_view subKey);

// Installs a registry for the current scope (tests); restores the previous
// one. `registry` must outlive the scope.
class ScopedRegistry {
public:
    explicit ScopedRegistry(const Registry& registry);
    ~ScopedRegistry();
    ScopedRegistry(const ScopedRegistry&) = delete;
    ScopedRegistry& operator=(const ScopedRegistry&) = delete;

private:
    const Registry* m_previous;
};

} // namespace platform
