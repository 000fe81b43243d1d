#include "app/CommandLine.h"

#include "app/ExitCode.h"
#include "platform/text/Text.h"

namespace {

// Only ASCII letters fold: an option letter is one of i and u.
wchar_t FoldAsciiLower(wchar_t ch)
{
    return (ch >= L'A' && ch <= L'Z') ? static_cast<wchar_t>(ch - L'A' + L'a') : ch;
}

} // namespace

void ReadOptionValue(std::wstring& strValue, std::wstring_view rest, std::span<const std::wstring> arguments,
                     std::size_t& next)
{
    if (!strValue.empty())
        throw TallowExitCode::ILLEGAL_PARAMETER;
    if (!rest.empty()) {
        strValue = rest;
        return;
    }
    if (next >= arguments.size())
        throw TallowExitCode::ILLEGAL_PARAMETER;
    strValue = arguments[next++];
}

CommandLineValues ReadCommandLine(std::span<const std::wstring> arguments)
{
    CommandLineValues values;
    if (arguments.size() < 2)
        return values;

    for (std::size_t next = 1; next < arguments.size();) {
        const std::wstring_view argument = arguments[next++];
        if (argument.size() < 2 || (argument[0] != L'-' && argument[0] != L'/'))
            continue;
        const std::wstring_view rest = argument.substr(2);
        switch (FoldAsciiLower(argument[1])) {
        case L'i':
            ReadOptionValue(values.strAddress, rest, arguments, next);
            break;
        case L'u':
            ReadOptionValue(values.strUsb, rest, arguments, next);
            break;
        default:
            break;
        }
    }

    if (values.strAddress.empty() == values.strUsb.empty())
        throw TallowExitCode::ILLEGAL_PARAMETER;
    return values;
}

std::vector<std::wstring> WideArguments(int argc, const char* const* argv)
{
    std::vector<std::wstring> arguments;
    arguments.reserve(argc > 0 ? static_cast<std::size_t>(argc) : 0);
    for (int i = 0; i < argc && argv[i] != nullptr; ++i)
        arguments.push_back(platform::AnsiToWide(argv[i]));
    return arguments;
}
