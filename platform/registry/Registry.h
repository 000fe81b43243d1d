#pragma once
// A read-only registry: keys under the predefined roots, each with subkeys
// and values in the order they were first written, names compared without
// regard to case as Windows compares them.
//
// The registry is built once from the changes of .reg files (RegFile.h) and
// then only read. A RegistryKey is a view into it, valid while the registry
// lives.

#include <array>
#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/core/Result.h"
#include "platform/registry/RegFile.h"
#include "platform/registry/RegTypes.h"

namespace platform {

struct RegistryNode;

class RegistryKey {
public:
    // The key's name as first written (the root's is its predefined name).
    const std::wstring& Name() const;

    // A key below this one; `subKey` may name several levels, separated by
    // backslashes; the empty text names this key itself.
    std::optional<RegistryKey> OpenSubKey(std::wstring_view subKey) const;

    // RegEnumKeyEx: the name of the index-th subkey, nothing past the last.
    std::optional<std::wstring> EnumKey(std::size_t index) const;
    std::vector<std::wstring> SubKeyNames() const;
    std::vector<std::wstring> ValueNames() const;

    // RegQueryValueEx into a caller's buffer of `bufferBytes` bytes: the
    // value's type and data, or MoreData when the data is longer than the
    // buffer. The empty name is the default value.
    Result<RegValue, RegError> QueryValue(std::wstring_view name, std::size_t bufferBytes) const;

    // A REG_SZ or REG_EXPAND_SZ value as text up to its first zero
    // character. `bufferBytes` counts as Windows does: two bytes per UTF-16
    // code unit, terminator included, so a buffer of 260 bytes takes 129
    // characters and not 130. A value stored without a terminator needs room
    // for one (as RegGetValue adds it). Another type is WrongType, never
    // read as text.
    Result<std::wstring, RegError> QueryString(std::wstring_view name, std::size_t bufferBytes) const;

    // A REG_DWORD value.
    Result<DWORD, RegError> QueryDword(std::wstring_view name) const;

private:
    friend class Registry;
    explicit RegistryKey(const RegistryNode* node) : m_node(node) {}

    const RegistryNode* m_node;
};

class Registry {
public:
    Registry();
    ~Registry();
    Registry(Registry&&) noexcept;
    Registry& operator=(Registry&&) noexcept;
    Registry(const Registry&) = delete;
    Registry& operator=(const Registry&) = delete;

    // Applies a file's changes in order: keys are created with their
    // parents, later values replace earlier ones of the same name (keeping
    // their place), deletions remove what is there and ignore what is not.
    void Apply(const RegFileContents& contents);

    // RegOpenKeyEx under a root.
    std::optional<RegistryKey> OpenKey(RegRoot root, std::wstring_view subKey) const;

private:
    std::array<std::unique_ptr<RegistryNode>, 3> m_roots;
};

} // namespace platform
