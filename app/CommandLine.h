#pragma once
// The installer's command line: an optional preselected printer connection.
//
//   tallow [-i ADDRESS | -u TEXT]
//
// An option is an argument that starts with '-' or '/' and whose second
// character is i or u (either case); the rest of the argument is never
// compared with anything. Its value is the rest of the argument when there
// is any (-i192.168.0.20), else the next argument whatever it looks like
// (-i -u gives the address option the value "-u"). Arguments that are no
// options are skipped. Once any argument is given, exactly one of the two
// options must end up with a non-empty value.

#include <cstddef>
#include <span>
#include <string>
#include <string_view>
#include <vector>

struct CommandLineValues {
    std::wstring strAddress; // option i
    std::wstring strUsb;     // option u

    friend bool operator==(const CommandLineValues&, const CommandLineValues&) = default;
};

// Reads the argument vector; the first argument is the program and is never
// looked at. Throws TallowExitCode::ILLEGAL_PARAMETER when the command line
// breaks the grammar above.
CommandLineValues ReadCommandLine(std::span<const std::wstring> arguments);

// The value of one option. `rest` is the option's argument after its first
// two characters; `next` indexes the argument after it in `arguments` and
// moves past the value when the value is that argument. Throws
// TallowExitCode::ILLEGAL_PARAMETER when `strValue` already holds a value or
// no argument is left to be the value.
void ReadOptionValue(std::wstring& strValue, std::wstring_view rest, std::span<const std::wstring> arguments,
                     std::size_t& next);

// main's arguments as wide text, converted from the process locale's
// encoding (call setlocale first, as Windows hands a program its wide
// command line in the user's terms).
std::vector<std::wstring> WideArguments(int argc, const char* const* argv);
