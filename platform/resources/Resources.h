#pragma once
// The program's embedded resources: string tables by id and language, and
// binary blocks by type name and integer id.
//
// The executable's own module is assembled at build time (see resources/).
// Tests can install another module for a scope, the way the framework lets a
// program switch its resource handle, to see the program run with other
// configuration strings or a damaged firmware image.

#include <cstdint>
#include <map>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace platform {

enum class Language : std::uint16_t {
    Neutral = 0,
    English = 1033,
    Japanese = 1041,
};

struct StringResource {
    unsigned id;
    const wchar_t* text;
};

struct BinaryResource {
    const wchar_t* type; // the resource type name, e.g. L"FIRMWARE"
    unsigned id;
    std::span<const std::uint8_t> bytes;
};

class ResourceModule {
public:
    virtual ~ResourceModule() = default;

    // The string of exactly this language table, without fallback.
    virtual std::optional<std::wstring_view> FindString(unsigned id, Language language) const = 0;
    // Type names compare ignoring ASCII case, as resource type names do.
    virtual std::optional<std::span<const std::uint8_t>> FindBinary(std::wstring_view type, unsigned id) const = 0;
};

// A module over constant tables that live as long as the program.
class StaticResourceModule final : public ResourceModule {
public:
    struct Tables {
        std::span<const StringResource> english;
        std::span<const StringResource> japanese;
        std::span<const StringResource> neutral;
        std::span<const BinaryResource> binaries;
    };

    explicit StaticResourceModule(Tables tables) : m_tables(tables) {}

    std::optional<std::wstring_view> FindString(unsigned id, Language language) const override;
    std::optional<std::span<const std::uint8_t>> FindBinary(std::wstring_view type, unsigned id) const override;

private:
    Tables m_tables;
};

// Another module seen through changes: strings and binaries replaced or
// removed. Owns what it replaces. For tests and tools.
class ResourceOverlay final : public ResourceModule {
public:
    explicit ResourceOverlay(const ResourceModule& base) : m_base(base) {}

    ResourceOverlay& SetString(unsigned id, std::wstring text, Language language = Language::Neutral);
    ResourceOverlay& RemoveString(unsigned id); // from every language
    ResourceOverlay& SetBinary(std::wstring type, unsigned id, std::vector<std::uint8_t> bytes);
    ResourceOverlay& RemoveBinary(std::wstring type, unsigned id);

    std::optional<std::wstring_view> FindString(unsigned id, Language language) const override;
    std::optional<std::span<const std::uint8_t>> FindBinary(std::wstring_view type, unsigned id) const override;

private:
    const ResourceModule& m_base;
    std::map<std::pair<unsigned, Language>, std::wstring> m_strings;
    std::vector<unsigned> m_removedStrings;
    std::map<std::pair<std::wstring, unsigned>, std::optional<std::vector<std::uint8_t>>> m_binaries;
};

// The module linked into this executable (defined by the resources library).
const ResourceModule& ExecutableResources();

// The module in force: the executable's own unless one has been installed.
const ResourceModule& CurrentResources();

class ScopedResources {
public:
    explicit ScopedResources(const ResourceModule& module);
    ~ScopedResources();
    ScopedResources(const ScopedResources&) = delete;
    ScopedResources& operator=(const ScopedResources&) = delete;

private:
    const ResourceModule* m_previous;
};

// The user-interface language: the first of LANGUAGE, LC_ALL, LC_MESSAGES
// and LANG that is set and not empty decides; a value starting with "ja"
// selects Japanese, anything else (or none) English.
Language UiLanguage();

// LoadString: the user-interface language's table, then the language-neutral
// one, then English. nullopt when the id exists in none of them.
std::optional<std::wstring> LoadString(unsigned id);

// The binary resource of this type and id from the module in force.
std::optional<std::span<const std::uint8_t>> FindResource(std::wstring_view type, unsigned id);

} // namespace platform
