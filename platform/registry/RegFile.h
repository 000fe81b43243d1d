#pragma once
// The REGEDIT text format (version 5.00, UTF-8): parsing one file into the
// changes it makes.
//
// A .reg file is outside input: the parser reads it only through bounds-
// checked steps, caps every length it takes from it, and reports each entry
// it cannot take with the file and line, then goes on with the next. The
// subset read is described in docs/host-folder.md.

#include <string>
#include <string_view>
#include <vector>

#include "platform/registry/RegTypes.h"

namespace platform {

// A problem with one entry (or the whole file, line 0) of a .reg file.
struct RegDiagnostic {
    std::string file;
    int line = 0; // 1-based; 0 when it concerns the whole file
    std::string message;

    // "file:line: message", or "file: message" for line 0.
    std::string Text() const;
};

struct RegKeyPath {
    RegRoot root = RegRoot::LocalMachine;
    std::vector<std::wstring> names; // below the root; empty for the root itself
};

struct RegOperation {
    enum class Kind {
        CreateKey,   // [key]: the key exists, with its parents
        DeleteKey,   // [-key]: the key and everything below it are gone
        SetValue,    // "name"=...: set (or replace) one value of the key
        DeleteValue, // "name"=-: remove one value of the key
    };
    Kind kind = Kind::CreateKey;
    RegKeyPath key;
    std::wstring valueName; // "" is the default value (@)
    RegValue value;         // SetValue only
    int line = 0;
};

struct RegFileContents {
    std::vector<RegOperation> operations; // in file order
    std::vector<RegDiagnostic> diagnostics;
};

// Limits taken from Windows' own, so a host registry that loads here would
// load there too.
inline constexpr std::size_t kRegMaxKeyNameLength = 255;
inline constexpr std::size_t kRegMaxKeyDepth = 512;
inline constexpr std::size_t kRegMaxValueNameLength = 16383;
// Windows' only limit on value data is memory; a megabyte is far beyond any
// value this program reads.
inline constexpr std::size_t kRegMaxValueBytes = 1u << 20;

// Parses the bytes of one .reg file; `fileName` is only used in diagnostics.
RegFileContents ParseRegFile(std::string_view bytes, std::string_view fileName);

} // namespace platform
