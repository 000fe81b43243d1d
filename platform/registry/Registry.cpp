#include "platform/registry/Registry.h"

#include <locale.h>
#include <wctype.h>

#include <algorithm>
#include <utility>

#include "platform/text/Unicode.h"

namespace platform {

struct RegistryNode {
    std::wstring name;
    std::vector<std::unique_ptr<RegistryNode>> subkeys;
    std::vector<std::pair<std::wstring, RegValue>> values;
};

namespace {

// Windows compares key and value names by upper-casing each character
// (simple case mapping, not only ASCII). The C.UTF-8 locale's towupper is
// that mapping, and unlike the process locale it is the same for every user.
wchar_t FoldCase(wchar_t c)
{
    static const locale_t unicode = newlocale(LC_CTYPE_MASK, "C.UTF-8", static_cast<locale_t>(nullptr));
    if (unicode != static_cast<locale_t>(nullptr))
        return static_cast<wchar_t>(towupper_l(static_cast<wint_t>(c), unicode));
    return (c >= L'a' && c <= L'z') ? static_cast<wchar_t>(c - L'a' + L'A') : c;
}

bool SameName(std::wstring_view a, std::wstring_view b)
{
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(), [](wchar_t x, wchar_t y) { return FoldCase(x) == FoldCase(y); });
}

RegistryNode* FindSubkey(const RegistryNode& node, std::wstring_view name)
{
    for (const auto& subkey : node.subkeys) {
        if (SameName(subkey->name, name))
            return subkey.get();
    }
    return nullptr;
}

const RegValue* FindValue(const RegistryNode& node, std::wstring_view name)
{
    for (const auto& [valueName, value] : node.values) {
        if (SameName(valueName, name))
            return &value;
    }
    return nullptr;
}

std::unique_ptr<RegistryNode> MakeNode(std::wstring name)
{
    auto node = std::make_unique<RegistryNode>();
    node->name = std::move(name);
    return node;
}

} // namespace

const std::wstring& RegistryKey::Name() const
{
    return m_node->name;
}

std::optional<RegistryKey> RegistryKey::OpenSubKey(std::wstring_view subKey) const
{
    const RegistryNode* node = m_node;
    std::size_t start = 0;
    while (start < subKey.size()) {
        const std::size_t end = std::min(subKey.find(L'\\', start), subKey.size());
        node = FindSubkey(*node, subKey.substr(start, end - start));
        if (node == nullptr)
            return std::nullopt;
        // A trailing backslash names nothing more, an inner empty name
        // (two backslashes) matches no key.
        start = end + 1;
    }
    return RegistryKey(node);
}

std::optional<std::wstring> RegistryKey::EnumKey(std::size_t index) const
{
    if (index >= m_node->subkeys.size())
        return std::nullopt;
    return m_node->subkeys[index]->name;
}

std::vector<std::wstring> RegistryKey::SubKeyNames() const
{
    std::vector<std::wstring> names;
    for (const auto& subkey : m_node->subkeys)
        names.push_back(subkey->name);
    return names;
}

std::vector<std::wstring> RegistryKey::ValueNames() const
{
    std::vector<std::wstring> names;
    for (const auto& value : m_node->values)
        names.push_back(value.first);
    return names;
}

Result<RegValue, RegError> RegistryKey::QueryValue(std::wstring_view name, std::size_t bufferBytes) const
{
    const RegValue* value = FindValue(*m_node, name);
    if (value == nullptr)
        return RegError::NotFound;
    if (value->data.size() > bufferBytes)
        return RegError::MoreData;
    return *value;
}

Result<std::wstring, RegError> RegistryKey::QueryString(std::wstring_view name, std::size_t bufferBytes) const
{
    const RegValue* value = FindValue(*m_node, name);
    if (value == nullptr)
        return RegError::NotFound;
    if (value->type != REG_SZ && value->type != REG_EXPAND_SZ)
        return RegError::WrongType;
    // Whole UTF-16 units only; an odd last byte belongs to no character.
    std::string_view data(value->data.data(), value->data.size() & ~std::size_t{1});
    const bool terminated = data.size() >= 2 && data[data.size() - 2] == '\0' && data[data.size() - 1] == '\0';
    if (data.size() + (terminated ? 0 : 2) > bufferBytes)
        return RegError::MoreData;
    std::wstring text = Utf16LeToWide(data);
    text.resize(std::min(text.size(), text.find(L'\0')));
    return text;
}

Result<DWORD, RegError> RegistryKey::QueryDword(std::wstring_view name) const
{
    const RegValue* value = FindValue(*m_node, name);
    if (value == nullptr)
        return RegError::NotFound;
    if (value->type != REG_DWORD || value->data.size() != 4)
        return RegError::WrongType;
    DWORD number = 0;
    for (int i = 3; i >= 0; --i)
        number = (number << 8) | static_cast<unsigned char>(value->data[static_cast<std::size_t>(i)]);
    return number;
}

Registry::Registry()
    : m_roots{MakeNode(L"HKEY_LOCAL_MACHINE"), MakeNode(L"HKEY_CURRENT_USER"), MakeNode(L"HKEY_USERS")}
{
}

Registry::~Registry() = default;
Registry::Registry(Registry&&) noexcept = default;
Registry& Registry::operator=(Registry&&) noexcept = default;

void Registry::Apply(const RegFileContents& contents)
{
    for (const RegOperation& operation : contents.operations) {
        const auto rootIndex = static_cast<std::size_t>(operation.key.root);
        if (rootIndex >= m_roots.size())
            continue;
        RegistryNode* node = m_roots[rootIndex].get();
        const auto& names = operation.key.names;
        const bool deleteKey = operation.kind == RegOperation::Kind::DeleteKey;
        if (deleteKey && names.empty())
            continue; // a root cannot be deleted
        // Walk to the key (to its parent when deleting it), creating what
        // is missing only when the operation adds something.
        const std::size_t depth = deleteKey ? names.size() - 1 : names.size();
        const bool create = operation.kind == RegOperation::Kind::CreateKey ||
                            operation.kind == RegOperation::Kind::SetValue;
        for (std::size_t i = 0; i < depth && node != nullptr; ++i) {
            RegistryNode* next = FindSubkey(*node, names[i]);
            if (next == nullptr && create)
                next = node->subkeys.emplace_back(MakeNode(names[i])).get();
            node = next;
        }
        if (node == nullptr)
            continue;

        switch (operation.kind) {
        case RegOperation::Kind::CreateKey:
            break;
        case RegOperation::Kind::DeleteKey:
            std::erase_if(node->subkeys, [&](const auto& subkey) { return SameName(subkey->name, names.back()); });
            break;
        case RegOperation::Kind::SetValue: {
            const auto found = std::find_if(node->values.begin(), node->values.end(), [&](const auto& value) {
                return SameName(value.first, operation.valueName);
            });
            if (found != node->values.end())
                found->second = operation.value;
            else
                node->values.emplace_back(operation.valueName, operation.value);
            break;
        }
        case RegOperation::Kind::DeleteValue:
            std::erase_if(node->values, [&](const auto& value) { return SameName(value.first, operation.valueName); });
            break;
        }
    }
}

std::optional<RegistryKey> Registry::OpenKey(RegRoot root, std::wstring_view subKey) const
{
    const auto index = static_cast<std::size_t>(root);
    if (index >= m_roots.size())
        return std::nullopt;
    return RegistryKey(m_roots[index].get()).OpenSubKey(subKey);
}

} // namespace platform
