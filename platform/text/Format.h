#pragma once
// printf-style formatting of the program's message texts.
//
// The message formats are resources (translated texts carry their own
// placeholders), so the formatter checks them at run time against the
// arguments instead of handing them to the C library's variadic printf:
// a %s receives wide text, a %d an int, and a placeholder without a
// matching argument formats as nothing rather than reading the stack.
//
// Supported: %s, %d and %i with optional '-' / '0' flags and a width, %%.

#include <initializer_list>
#include <string>
#include <string_view>
#include <variant>

namespace platform {

using FormatArg = std::variant<int, std::wstring_view>;

std::wstring Format(std::wstring_view format, std::initializer_list<FormatArg> args);

} // namespace platform
