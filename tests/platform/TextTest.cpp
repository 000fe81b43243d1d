#include <gtest/gtest.h>

#include <array>
#include <clocale>
#include <cmath>
#include <cstdint>
#include <string>

#include "platform/text/Crt.h"
#include "platform/text/Format.h"
#include "platform/text/Text.h"

namespace {

TEST(Crt, AtoiReadsLikeTheCLibrary)
{
    struct Row {
        const char* text;
        std::int32_t expected;
    } rows[] = {
        {"070168", 70168},      {"  42abc", 42},       {"\t-17", -17},          {"+8", 8},
        {"", 0},                {"abc", 0},            {"- 5", 0},              {"2147483647", 2147483647},
        {"2147483648", INT32_MAX}, {"9999999999", INT32_MAX}, {"-2147483648", INT32_MIN},
        {"-99999999999", INT32_MIN},
    };
    for (const Row& row : rows)
        EXPECT_EQ(platform::Atoi(row.text), row.expected) << '"' << row.text << '"';
}

TEST(Crt, AtofIgnoresTheProcessLocale)
{
    // A locale with a decimal comma must not change how "1.20" reads.
    const char* previous = std::setlocale(LC_NUMERIC, nullptr);
    std::string saved = previous ? previous : "C";
    bool switched = std::setlocale(LC_NUMERIC, "de_DE.UTF-8") != nullptr;
    EXPECT_DOUBLE_EQ(platform::Atof("1.20"), 1.20);
    EXPECT_DOUBLE_EQ(platform::Atof("  1.2.3"), 1.2);
    EXPECT_DOUBLE_EQ(platform::Atof("12"), 12.0);
    EXPECT_DOUBLE_EQ(platform::Atof("1e2x"), 100.0);
    EXPECT_DOUBLE_EQ(platform::Atof("."), 0.0);
    EXPECT_DOUBLE_EQ(platform::Atof("abc"), 0.0);
    EXPECT_DOUBLE_EQ(platform::Atof("-1.20"), -1.20);
    std::setlocale(LC_NUMERIC, saved.c_str());
    if (!switched)
        GTEST_LOG_(INFO) << "de_DE.UTF-8 not installed; the locale switch was not exercised";
}

TEST(Crt, WcstolAndWcstoulBase16HaveThirtyTwoBitLongs)
{
    struct Row {
        const wchar_t* text;
        std::int32_t asLong;
        std::uint32_t asUnsigned;
    } rows[] = {
        {L"01", 1, 1u},
        {L"ff", 255, 255u},
        {L"  0x1A", 26, 26u},
        {L"0x", 0, 0u},            // the prefix without digits reads as the 0
        {L"zz", 0, 0u},
        {L"-1", -1, 0xFFFFFFFFu},  // negation modulo 2^32
        {L"-80000000", INT32_MIN, 0x80000000u},
        {L"80000000", INT32_MAX, 0x80000000u},
        {L"F0000000", INT32_MAX, 0xF0000000u},
        {L"7fffffff", INT32_MAX, 0x7FFFFFFFu},
        {L"100000000", INT32_MAX, 0xFFFFFFFFu},  // beyond 32 bits
        {L"-100000000", INT32_MIN, 0xFFFFFFFFu}, // overflow wins over the sign
        {L"+C0", 0xC0, 0xC0u},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(platform::Wcstol(row.text, 16), row.asLong) << '"' << platform::WideToAnsi(row.text) << '"';
        EXPECT_EQ(platform::Wcstoul(row.text, 16), row.asUnsigned) << '"' << platform::WideToAnsi(row.text) << '"';
    }
}

TEST(Crt, TruncateToInt32RefusesWhatDoesNotFit)
{
    EXPECT_EQ(platform::TruncateToInt32(119.999), 119);
    EXPECT_EQ(platform::TruncateToInt32(-120.4), -120);
    EXPECT_EQ(platform::TruncateToInt32(2147483647.9), INT32_MAX);
    EXPECT_EQ(platform::TruncateToInt32(2147483648.0), std::nullopt);
    EXPECT_EQ(platform::TruncateToInt32(-2147483649.0), std::nullopt);
    EXPECT_EQ(platform::TruncateToInt32(std::nan("")), std::nullopt);
    EXPECT_EQ(platform::TruncateToInt32(HUGE_VAL), std::nullopt);
}

class NarrowText : public testing::Test {
protected:
    void SetUp() override
    {
        const char* previous = std::setlocale(LC_CTYPE, nullptr);
        m_saved = previous ? previous : "C";
        ASSERT_NE(std::setlocale(LC_CTYPE, "C.UTF-8"), nullptr);
    }
    void TearDown() override { std::setlocale(LC_CTYPE, m_saved.c_str()); }

private:
    std::string m_saved;
};

TEST_F(NarrowText, FixedBufferHoldsFifteenBytesAndTheTerminator)
{
    std::array<char, 16> buffer;
    EXPECT_TRUE(platform::WideToAnsi(L"DLL_USB", buffer));
    EXPECT_STREQ(buffer.data(), "DLL_USB");
    EXPECT_TRUE(platform::WideToAnsi(L"123456789012345", buffer));
    EXPECT_STREQ(buffer.data(), "123456789012345");
    // One more character does not fit: the buffer is left empty, not cut.
    EXPECT_FALSE(platform::WideToAnsi(L"1234567890123456", buffer));
    EXPECT_STREQ(buffer.data(), "");
    // The limit counts bytes of the narrow encoding: five 3-byte characters
    // fit, six do not.
    EXPECT_TRUE(platform::WideToAnsi(L"インストー", buffer));
    EXPECT_EQ(std::string(buffer.data()).size(), 15u);
    EXPECT_FALSE(platform::WideToAnsi(L"インストール", buffer));
    // Text stops at an embedded zero, as a C string would.
    EXPECT_TRUE(platform::WideToAnsi(std::wstring_view(L"AB\0CD", 5), buffer));
    EXPECT_STREQ(buffer.data(), "AB");
}

TEST_F(NarrowText, RoundTripsAndMarksWhatDoesNotDecode)
{
    EXPECT_EQ(platform::WideToAnsi(L"KX-70 ユーザー"), "KX-70 \xE3\x83\xA6\xE3\x83\xBC\xE3\x82\xB6\xE3\x83\xBC");
    EXPECT_EQ(platform::AnsiToWide("KX-70 \xE3\x83\xA6"), L"KX-70 ユ");
    EXPECT_EQ(platform::AnsiToWide("A\xFF" "B"), L"A\uFFFDB");
    EXPECT_EQ(platform::AnsiToWide("A\xE3\x83"), L"A\uFFFD\uFFFD"); // cut-off sequence
    EXPECT_EQ(platform::AnsiToWide(std::string_view("A\0B", 3)), std::wstring(L"A\0B", 3));
}

TEST(NarrowTextInCLocale, UnrepresentableCharactersBecomeQuestionMarks)
{
    const char* previous = std::setlocale(LC_CTYPE, nullptr);
    std::string saved = previous ? previous : "C";
    std::setlocale(LC_CTYPE, "C");
    EXPECT_EQ(platform::WideToAnsi(L"KX\u00E9-70"), "KX?-70");
    std::setlocale(LC_CTYPE, saved.c_str());
}

TEST(Format, FillsTheProgramsFormats)
{
    struct Row {
        const wchar_t* format;
        std::wstring expected;
        std::initializer_list<platform::FormatArg> args;
    };
    const Row rows[] = {
        {L"%d.%02d", L"1.20", {1, 20}},
        {L"%d.%02d", L"0.05", {0, 5}},
        {L"%s [ %s ] ", L"KX-70 [ office ] ", {std::wstring_view(L"KX-70"), std::wstring_view(L"office")}},
        {L"From %s  To %s", L"From -.--  To 1.20", {std::wstring_view(L"-.--"), std::wstring_view(L"1.20")}},
        {L"Current version is %s. \nInstallation is not necessary.",
         L"Current version is 1.20. \nInstallation is not necessary.", {std::wstring_view(L"1.20")}},
        {L"100%% %5d|%-4d|%04d", L"100%     7|7   |-007", {7, 7, -7}},
        // A placeholder without an argument, or of another type, prints
        // nothing instead of reading whatever follows.
        {L"[%s][%d]", L"[][]", {}},
        {L"[%s]", L"[]", {42}},
        {L"tail %", L"tail ", {}},
    };
    for (const Row& row : rows)
        EXPECT_EQ(platform::Format(row.format, row.args), row.expected) << platform::WideToAnsi(row.format);
}

} // namespace
