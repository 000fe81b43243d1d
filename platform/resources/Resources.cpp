#include "platform/resources/Resources.h"

#include <algorithm>
#include <cstdlib>

namespace platform {
namespace {

const ResourceModule* g_installed = nullptr;

bool SameTypeName(std::wstring_view a, std::wstring_view b)
{
    auto fold = [](wchar_t c) { return (c >= L'a' && c <= L'z') ? static_cast<wchar_t>(c - L'a' + L'A') : c; };
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [&](wchar_t x, wchar_t y) {
               return fold(x) == fold(y);
           });
}

std::optional<std::wstring_view> FindIn(std::span<const StringResource> table, unsigned id)
{
    for (const StringResource& entry : table) {
        if (entry.id == id && entry.text != nullptr)
            return std::wstring_view(entry.text);
    }
    return std::nullopt;
}

} // namespace

std::optional<std::wstring_view> StaticResourceModule::FindString(unsigned id, Language language) const
{
    switch (language) {
    case Language::English:
        return FindIn(m_tables.english, id);
    case Language::Japanese:
        return FindIn(m_tables.japanese, id);
    case Language::Neutral:
        return FindIn(m_tables.neutral, id);
    }
    return std::nullopt;
}

std::optional<std::span<const std::uint8_t>> StaticResourceModule::FindBinary(std::wstring_view type, unsigned id) const
{
    for (const BinaryResource& entry : m_tables.binaries) {
        if (entry.id == id && SameTypeName(entry.type, type))
            return entry.bytes;
    }
    return std::nullopt;
}

ResourceOverlay& ResourceOverlay::SetString(unsigned id, std::wstring text, Language language)
{
    m_strings[{id, language}] = std::move(text);
    return *this;
}

ResourceOverlay& ResourceOverlay::RemoveString(unsigned id)
{
    std::erase_if(m_strings, [id](const auto& entry) { return entry.first.first == id; });
    m_removedStrings.push_back(id);
    return *this;
}

ResourceOverlay& ResourceOverlay::SetBinary(std::wstring type, unsigned id, std::vector<std::uint8_t> bytes)
{
    for (wchar_t& c : type)
        c = (c >= L'a' && c <= L'z') ? static_cast<wchar_t>(c - L'a' + L'A') : c;
    m_binaries[{std::move(type), id}] = std::move(bytes);
    return *this;
}

ResourceOverlay& ResourceOverlay::RemoveBinary(std::wstring type, unsigned id)
{
    for (wchar_t& c : type)
        c = (c >= L'a' && c <= L'z') ? static_cast<wchar_t>(c - L'a' + L'A') : c;
    m_binaries[{std::move(type), id}] = std::nullopt;
    return *this;
}

std::optional<std::wstring_view> ResourceOverlay::FindString(unsigned id, Language language) const
{
    if (auto it = m_strings.find({id, language}); it != m_strings.end())
        return std::wstring_view(it->second);
    if (std::find(m_removedStrings.begin(), m_removedStrings.end(), id) != m_removedStrings.end())
        return std::nullopt;
    return m_base.FindString(id, language);
}

std::optional<std::span<const std::uint8_t>> ResourceOverlay::FindBinary(std::wstring_view type, unsigned id) const
{
    for (const auto& [key, bytes] : m_binaries) {
        if (key.second == id && SameTypeName(key.first, type)) {
            if (!bytes)
                return std::nullopt;
            return std::span<const std::uint8_t>(*bytes);
        }
    }
    return m_base.FindBinary(type, id);
}

const ResourceModule& CurrentResources()
{
    return g_installed ? *g_installed : ExecutableResources();
}

ScopedResources::ScopedResources(const ResourceModule& module) : m_previous(g_installed)
{
    g_installed = &module;
}

ScopedResources::~ScopedResources()
{
    g_installed = m_previous;
}

Language UiLanguage()
{
    for (const char* name : {"LANGUAGE", "LC_ALL", "LC_MESSAGES", "LANG"}) {
        const char* value = std::getenv(name);
        if (value == nullptr || *value == '\0')
            continue;
        return (value[0] == 'j' && value[1] == 'a') ? Language::Japanese : Language::English;
    }
    return Language::English;
}

std::optional<std::wstring> LoadString(unsigned id)
{
    const ResourceModule& module = CurrentResources();
    for (Language language : {UiLanguage(), Language::Neutral, Language::English}) {
        if (auto text = module.FindString(id, language))
            return std::wstring(*text);
    }
    return std::nullopt;
}

std::optional<std::span<const std::uint8_t>> FindResource(std::wstring_view type, unsigned id)
{
    return CurrentResources().FindBinary(type, id);
}

} // namespace platform
