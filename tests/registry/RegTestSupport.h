#pragma once
// Builds registries from .reg text for the tests.

#include <string>
#include <string_view>

#include "platform/registry/RegFile.h"
#include "platform/registry/Registry.h"

namespace regtest {

inline constexpr std::string_view kHeader = "Windows Registry Editor Version 5.00\n";

// A registry from the text of one file, with the header put in front.
inline platform::Registry FromReg(std::string_view body)
{
    platform::Registry registry;
    registry.Apply(platform::ParseRegFile(std::string(kHeader) + std::string(body), "test.reg"));
    return registry;
}

// The text of a string value (an empty text for a missing one).
inline std::wstring StringAt(const platform::Registry& registry, platform::RegRoot root, std::wstring_view key,
                             std::wstring_view value)
{
    auto opened = registry.OpenKey(root, key);
    if (!opened)
        return L"<no key>";
    auto text = opened->QueryString(value, 4096);
    return text ? *text : L"<no value>";
}

} // namespace regtest
