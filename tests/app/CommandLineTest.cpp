#include <gtest/gtest.h>

#include <clocale>
#include <optional>
#include <string>
#include <vector>

#include "app/CommandLine.h"
#include "app/ExitCode.h"

namespace {

struct Row {
    const char* what;
    std::vector<std::wstring> arguments; // after the program
    std::optional<CommandLineValues> expected; // nothing: ILLEGAL_PARAMETER
};

// The program's own name is an option lookalike, so every row also shows it
// is never read.
constexpr wchar_t kProgram[] = L"/u";

std::optional<CommandLineValues> Read(const std::vector<std::wstring>& arguments)
{
    std::vector<std::wstring> all{kProgram};
    all.insert(all.end(), arguments.begin(), arguments.end());
    try {
        return ReadCommandLine(all);
    } catch (TallowExitCode::EXITCODE code) {
        EXPECT_EQ(code, TallowExitCode::ILLEGAL_PARAMETER);
        return std::nullopt;
    }
}

CommandLineValues Address(std::wstring text)
{
    return {std::move(text), L""};
}

CommandLineValues Usb(std::wstring text)
{
    return {L"", std::move(text)};
}

TEST(CommandLine, Grammar)
{
    const std::nullopt_t illegal = std::nullopt;
    const Row rows[] = {
        {"no arguments: a normal start", {}, CommandLineValues{}},
        {"a plain word", {L"word"}, illegal},
        {"an unknown option", {L"-x"}, illegal},
        {"a lone dash", {L"-"}, illegal},
        {"-i as the last argument", {L"-i"}, illegal},
        {"-i twice", {L"-i", L"10.0.0.1", L"-i", L"10.0.0.2"}, illegal},
        {"-i and -u", {L"-i", L"10.0.0.1", L"-u", L"USB001"}, illegal},
        {"-i with its value apart", {L"-i", L"10.0.0.1"}, Address(L"10.0.0.1")},
        {"/I with its value attached", {L"/I10.0.0.1"}, Address(L"10.0.0.1")},
        {"-u", {L"-u", L"USB001"}, Usb(L"USB001")},
        {"/U", {L"/U", L"x"}, Usb(L"x")},
        // Only the second character names the option.
        {"-ip 10.0.0.1", {L"-ip", L"10.0.0.1"}, Address(L"p")},
        {"-usb", {L"-usb"}, Usb(L"sb")},
        // The next argument is the value whatever it looks like.
        {"-i -u", {L"-i", L"-u"}, Address(L"-u")},
        {"-u followed by an empty argument", {L"-u", L""}, illegal},
        // An empty value counts as none given: a later one may follow.
        {"-u \"\" -u USB001", {L"-u", L"", L"-u", L"USB001"}, Usb(L"USB001")},
        {"non-options around an option", {L"word", L"-i", L"10.0.0.1", L"-", L"other"}, Address(L"10.0.0.1")},
        // Folding is ASCII only.
        {"a non-ASCII option letter", {L"-\u0130", L"10.0.0.1"}, illegal},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        const std::optional<CommandLineValues> read = Read(row.arguments);
        ASSERT_EQ(read.has_value(), row.expected.has_value());
        if (read) {
            EXPECT_EQ(read->strAddress, row.expected->strAddress);
            EXPECT_EQ(read->strUsb, row.expected->strUsb);
        }
    }
}

TEST(CommandLine, ReadOptionValueConsumesTheNextArgumentOnlyWhenNeeded)
{
    const std::vector<std::wstring> arguments{L"tallow", L"-i", L"10.0.0.1", L"-u"};
    std::wstring value;
    std::size_t next = 2;
    ReadOptionValue(value, L"", arguments, next);
    EXPECT_EQ(value, L"10.0.0.1");
    EXPECT_EQ(next, 3u);

    std::wstring attached;
    ReadOptionValue(attached, L"192.168.0.20", arguments, next);
    EXPECT_EQ(attached, L"192.168.0.20");
    EXPECT_EQ(next, 3u);

    std::wstring last;
    next = 4;
    EXPECT_THROW(ReadOptionValue(last, L"", arguments, next), TallowExitCode::EXITCODE);
    EXPECT_THROW(ReadOptionValue(value, L"x", arguments, next), TallowExitCode::EXITCODE);
}

TEST(CommandLine, WideArgumentsDecodeTheLocalesEncoding)
{
    const std::string saved = std::setlocale(LC_CTYPE, nullptr);
    ASSERT_NE(std::setlocale(LC_CTYPE, "C.UTF-8"), nullptr);
    const char* argv[] = {"tallow", "-u", "Drucker-\xc3\xbc", "bad-\xff", nullptr};
    const std::vector<std::wstring> wide = WideArguments(4, argv);
    std::setlocale(LC_CTYPE, saved.c_str());

    EXPECT_EQ(wide, (std::vector<std::wstring>{L"tallow", L"-u", L"Drucker-\u00fc", L"bad-\ufffd"}));
}

} // namespace
