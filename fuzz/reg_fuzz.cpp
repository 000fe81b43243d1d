// Arbitrary bytes as a .reg file of the host folder: the parser must never
// read outside its input, every diagnostic must name a line of the file, and
// whatever it accepts must load and read back.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "platform/registry/RegFile.h"
#include "platform/registry/Registry.h"

namespace {

void Walk(const platform::RegistryKey& key, int depth)
{
    if (depth > static_cast<int>(platform::kRegMaxKeyDepth))
        __builtin_trap();
    for (const std::wstring& value : key.ValueNames()) {
        (void)key.QueryString(value, 260);
        (void)key.QueryDword(value);
        auto raw = key.QueryValue(value, platform::kRegMaxValueBytes);
        if (!raw) // every stored value fits the largest the parser allows
            __builtin_trap();
    }
    for (std::size_t i = 0; auto name = key.EnumKey(i); ++i) {
        auto subkey = key.OpenSubKey(*name);
        if (!subkey) // a name the registry gave must open
            __builtin_trap();
        Walk(*subkey, depth + 1);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const platform::RegFileContents contents = platform::ParseRegFile(bytes, "fuzz.reg");

    std::size_t lines = 1;
    for (char c : bytes)
        lines += c == '\n';
    for (const platform::RegDiagnostic& diagnostic : contents.diagnostics) {
        if (diagnostic.line < 1 || static_cast<std::size_t>(diagnostic.line) > lines)
            __builtin_trap();
    }

    platform::Registry registry;
    registry.Apply(contents);
    for (auto root : {platform::RegRoot::LocalMachine, platform::RegRoot::CurrentUser, platform::RegRoot::Users})
        Walk(*registry.OpenKey(root, L""), 0);
    return 0;
}
