#include "platform/registry/HostRegistry.h"

#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>

#include "platform/fs/File.h"
#include "platform/fs/FileCalls.h"
#include "platform/fs/HostFolder.h"
#include "platform/fs/Path.h"

namespace platform {
namespace {

const Registry* g_installed = nullptr;

const Registry& ProcessRegistry()
{
    static const Registry registry = [] {
        std::optional<std::string> host = HostFolder();
        if (!host)
            return Registry();
        RegistryLoad load = LoadHostRegistry(*host);
        for (const RegDiagnostic& diagnostic : load.diagnostics)
            std::fprintf(stderr, "tallow: registry: %s\n", diagnostic.Text().c_str());
        return std::move(load.registry);
    }();
    return registry;
}

} // namespace

RegistryLoad LoadHostRegistry(const std::string& hostFolder)
{
    RegistryLoad load;
    auto host = sys::Stat(hostFolder);
    if (!host || !S_ISDIR(host->st_mode)) {
        const SystemError error = host ? SystemError("stat", ENOTDIR) : host.Error();
        load.diagnostics.push_back({hostFolder, 0, "host folder: " + error.Message()});
        return load;
    }
    const std::string folder = JoinPath(hostFolder, "registry");
    auto names = sys::ListFolder(folder);
    if (!names) {
        if (names.Error().Code() != ENOENT)
            load.diagnostics.push_back({folder, 0, names.Error().Message()});
        return load;
    }
    std::erase_if(*names, [](const std::string& name) { return name.front() == '.' || !name.ends_with(".reg"); });
    std::sort(names->begin(), names->end());
    for (const std::string& name : *names) {
        const std::string path = JoinPath(folder, name);
        auto bytes = ReadWholeFile(path, kRegMaxFileBytes);
        if (!bytes) {
            load.diagnostics.push_back({path, 0, bytes.Error().Message()});
            continue;
        }
        RegFileContents contents = ParseRegFile(*bytes, path);
        load.registry.Apply(contents);
        load.diagnostics.insert(load.diagnostics.end(), contents.diagnostics.begin(), contents.diagnostics.end());
    }
    return load;
}

const Registry& CurrentRegistry()
{
    return g_installed ? *g_installed : ProcessRegistry();
}

std::optional<RegistryKey> OpenRegistryKey(RegRoot root, std::wstring_view subKey)
{
    return CurrentRegistry().OpenKey(root, subKey);
}

ScopedRegistry::ScopedRegistry(const Registry& registry) : m_previous(g_installed)
{
    g_installed = &registry;
}

ScopedRegistry::~ScopedRegistry()
{
    g_installed = m_previous;
}

} // namespace platform
